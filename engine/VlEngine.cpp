#include "engine/VlEngine.h"

// The engine's other jobs live beside this file, one each: VlEnginePlaying.cpp,
// VlEngineNavigation.cpp, VlEngineDocument.cpp, VlEngineDependants.cpp and
// VlEngineColors.cpp; the learn table is a class of its own, VlLearnTable.
namespace
{
    std::atomic<VlEngine*> registered { nullptr };
    std::unique_ptr<VlEngine> created;
}

//==============================================================================
VlEngine::VlEngine (std::unique_ptr<CMidiPorts> ports)
{
    jassert (registered.load() == nullptr);    // one engine at a time: the model reaches it through getInstance()
    registered = this;

    midiDevices = std::make_unique<CMidiDevices> (this, std::move (ports));

    setNavigationFunction (NavOnOff, 10, false);
    setNavigationFunction (NavGoUp, 9, false);
    setNavigationFunction (NavBackward, 4, false);
    setNavigationFunction (NavForward, 5, false);
    setNavigationFunction (NavPrevious, 1, false);
    setNavigationFunction (NavNext, 2, false);

    for (int id = 1; id <= SecondPedalId; ++id)
        learnPatch.setControl (id, std::make_unique<VlControlCfg>());
}

VlEngine::~VlEngine()
{
    heldFootswitches = {};    // nothing plays any more, not even a release
    clear();
    midiDevices.reset();

    auto* self = this;
    registered.compare_exchange_strong (self, nullptr);
}

VlEngine* VlEngine::getInstance (bool create)
{
    if (registered.load() == nullptr && create)
        created = std::make_unique<VlEngine>();

    return registered.load();
}

void VlEngine::deleteInstance()
{
    created.reset();
}

//==============================================================================
VlPatch* VlEngine::getCurrentPatch() noexcept
{
    return getMode() == ModeNavigation ? &navigationPatch : getPatch (currentPatch);
}

VlPatch* VlEngine::getPatchForMode (int forMode) noexcept
{
    if (forMode == ModeNavigation)
        return &navigationPatch;

    if (forMode == ModeMidiSetup)
        return &learnPatch;

    return getPatch (currentPatch);
}

int VlEngine::indexOfPatch (const VlPatch* patch) const noexcept
{
    for (size_t i = 0; i < patches.size(); ++i)
        if (patches[i].get() == patch)
            return (int) i;

    return -1;
}

int VlEngine::addPatch (std::unique_ptr<VlPatch> patch)
{
    jassert (patch != nullptr);

    if (patch == nullptr || patches.size() >= (size_t) MaxPatches)
        return -1;

    patches.push_back (std::move (patch));

    if (userInterface != nullptr)
        userInterface->refreshPatchList();

    return (int) patches.size() - 1;
}

void VlEngine::clear()
{
    // The controls that held footswitches played are about to go.
    releaseHeldFootswitches();

    history.clear();
    historyPos = -1;
    patches.clear();
    currentPatch = NoIndex;

    // Targets into the old list would be followed in navigation mode.
    goUpPatch = prevVisited = nextVisited = prevInList = nextInList = NoIndex;
}

void VlEngine::movePatch (juce::uint16 a, juce::uint16 b)
{
    if (a < patches.size() && b < patches.size())
    {
        std::swap (patches[a], patches[b]);
        updateNavigation();
    }
}

//==============================================================================
void VlEngine::refreshButton (int footswitch)
{
    if (userInterface != nullptr)
        userInterface->refreshButton (footswitch, getDisplayedControl (footswitch));
}

void VlEngine::refreshBoard()
{
    if (userInterface != nullptr)
    {
        userInterface->refreshButtons();
        userInterface->refreshPedals();
        userInterface->repaintBoard();
    }
}

void VlEngine::refreshPedals()
{
    if (userInterface != nullptr)
        userInterface->refreshPedals();
}
