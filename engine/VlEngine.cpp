#include "engine/VlEngine.h"

#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "common/CXmlHelpers.h"
#include "engine/VlDocumentStage.h"
#include "engine/VlTexts.h"
#include "engine/VlXmlVocabulary.h"
#include "engine/VlaGoTo.h"

namespace
{
    std::atomic<VlEngine*> registered { nullptr };
    std::unique_ptr<VlEngine> created;

    // Older visits are dropped beyond this many; positions stay well inside 16 bits.
    constexpr size_t maxHistory = 1000;

    bool isInteger (const juce::String& text)
    {
        const auto trimmed = text.trim();
        const auto digits = trimmed.startsWithChar ('-') || trimmed.startsWithChar ('+') ? trimmed.substring (1)
                                                                                        : trimmed;
        return digits.isNotEmpty() && digits.containsOnly ("0123456789");
    }

    template <typename Item>
    void addOnce (std::vector<Item*>& items, Item* item)
    {
        if (std::find (items.begin(), items.end(), item) == items.end())
            items.push_back (item);
    }

    const juce::String fileDataError ("Error in file data");
    const juce::String cannotFindTarget ("cannot find its target.");

    constexpr juce::uint32 defaultPatchColor = 0xffe3e3e3;
    constexpr juce::uint32 defaultItemColor = 0xffffffff;

    constexpr juce::uint32 patchPalette[] = { 0xffe3e3e3, 0xff7b68ee, 0xffee687b, 0xffeee8aa, 0xffffa500, 0xff1e90ff,
                                              0xfffffacd, 0xfffafad2, 0xff90ee90, 0xff778899, 0xff66cdaa, 0xff00fa9a };
    constexpr juce::uint32 controlPalette[] = { 0xffffffff, 0xff00ff00, 0xffffff00, 0xffffa500 };
    constexpr juce::uint32 statePalette[] = { 0xffffffff, 0xffff0000, 0xff00ff00, 0xff0000ff };
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

    for (int id = 1; id <= 10; ++id)
        setLearntMessage (id, id);

    setLearntMessage (FirstPedalId, 1);
    setLearntMessage (SecondPedalId, 7);
}

VlEngine::~VlEngine()
{
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
VlPatch* VlEngine::getPatch (juce::uint16 index) const noexcept
{
    return index < patches.size() ? patches[index].get() : nullptr;
}

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
void VlEngine::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto currentMode = getMode();

    if (currentMode != ModePlay && currentMode != ModeNavigation && currentMode != ModeMidiLearn)
        return;

    if (! message.isForChannel (getMidiChannel()))
        return;

    const auto isController = message.isController();

    if (currentMode == ModeMidiLearn)
    {
        if (! isController && ! message.isNoteOn())
            return;

        const auto number = isController ? message.getControllerNumber() : message.getNoteNumber();

        inputLock.callLocked ([this, isController, number]
        {
            if (userInterface != nullptr)
                userInterface->learnMessage (isController, number);
        });
        return;
    }

    if (! isController && ! message.isNoteOnOrOff())
        return;

    const auto key = isController ? 128 + message.getControllerNumber() : message.getNoteNumber();
    const auto controlId = learntKeys[(size_t) key].load (std::memory_order_relaxed);

    if (controlId == 0)
        return;

    if (isController)
    {
        const auto value = message.getControllerValue();

        inputLock.callLocked ([this, controlId, value]
        {
            if (userInterface != nullptr)
                userInterface->setPedalValue (controlId, value);
        });
    }
    else
    {
        const auto down = message.isNoteOn();    // a note-on with velocity 0 is a release

        inputLock.callLocked ([this, controlId, down]
        {
            if (userInterface != nullptr)
                userInterface->footswitchEvent (controlId, down);
        });
    }
}

void VlEngine::onFootswitch (int footswitch, bool pressed)
{
    const auto currentMode = getMode();

    if (currentMode == ModeNavigation)
    {
        runNavigationFunction (footswitch, pressed);
        return;
    }

    if (currentMode != ModePlay)
        return;

    const auto onOff = getFootswitchOfFunction (NavOnOff);

    if (footswitch == onOff && isFootswitchId (onOff))
    {
        if (pressed)
        {
            setMode (ModeNavigation);

            if (userInterface != nullptr)
                userInterface->refreshPatchList();

            refreshBoard();
        }

        return;
    }

    if (auto* patch = getPatch (currentPatch))
        if (auto* control = patch->getControl (footswitch))
            control->trigger (footswitch, pressed ? 1 : 0);
}

void VlEngine::onPedalValue (int pedal, juce::uint8 value)
{
    if (getMode() != ModePlay)
        return;

    if (auto* patch = getPatch (currentPatch))
        if (auto* control = patch->getControl (pedal))
            control->trigger (pedal, value);
}

void VlEngine::selectPatch (juce::uint16 index)
{
    setMode (ModePlay);

    if (index >= patches.size())
        return;

    if (recordNextVisit && index != currentPatch)
        recordVisit (index);

    currentPatch = index;
    updateNavigation();

    if (userInterface != nullptr)
        userInterface->scrollPatchListTo (index);

    refreshBoard();
}

void VlEngine::goToPatch (juce::uint16 index, bool record)
{
    if (index >= patches.size())
        return;

    recordNextVisit = record;

    // The list's selection callback selects the patch, so list and engine agree
    // whichever side starts the change.
    if (userInterface == nullptr || userInterface->getSelectedPatchRow() == (int) index
        || ! userInterface->selectPatchRow (index))
        selectPatch (index);

    recordNextVisit = true;
}

void VlEngine::startPlaying (juce::uint16 firstPatch)
{
    setMode (ModeInitialising);

    // Every pedal of those patches before any footswitch.
    for (size_t i = firstPatch; i < patches.size(); ++i)
        for (const auto& [id, control] : patches[i]->getControls())
            if (isPedalId (id))
                control->sendInitValue();

    for (size_t i = firstPatch; i < patches.size(); ++i)
        for (const auto& [id, control] : patches[i]->getControls())
            if (isFootswitchId (id))
                control->playInitState();

    setMode (ModePlay);

    // Without a patch nothing is selected, and the board still shows mode 5's nothing.
    if (currentPatch >= patches.size())
        refreshBoard();

    goToPatch (currentPatch, true);
}

void VlEngine::sendMidiMessage (const juce::String& device, const juce::MidiMessage& message)
{
    if (auto* output = midiDevices->getOpenOutput (device))
        output->sendMessageNow (message);
}

void VlEngine::setMidiInput (const juce::String& device, int channel)
{
    if (device != midiInDevice)
    {
        midiDevices->removeInput (midiInDevice);
        midiInDevice = device;

        if (device.isNotEmpty())
            midiDevices->addInput (device);
    }

    midiDevices->updateInputs();
    midiChannel = juce::jlimit (1, 16, channel & 0xff);
}

bool VlEngine::isMidiInputOpen() const
{
    return midiDevices->getOpenInput (midiInDevice) != nullptr;
}

void VlEngine::openMidiOutputs()
{
    midiDevices->clearOutputs();

    // Actions one after another mostly name the same device: it is added once.
    juce::String last;

    const auto want = [this, &last] (const juce::String& device)
    {
        if (device != last || last.isEmpty())
        {
            midiDevices->addOutput (device);
            last = device;
        }
    };

    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            if (! control->isLinked())
                for (const auto& state : control->getStates())
                    for (const auto& action : state->getActions())
                        if (const auto* device = action->getOutputDevice())
                            want (*device);

    midiDevices->updateOutputs();
}

//==============================================================================
void VlEngine::setNavigationFunction (int function, int footswitch, bool ask)
{
    // An entry below 1 comes only from a file and is kept to be written back; it is
    // no function: it shows no symbol and takes no footswitch from a real one.
    if (function < 1)
    {
        navFunctions[function] = footswitch;
        return;
    }

    if (const auto entry = navFunctions.find (function); entry != navFunctions.end())
    {
        navigationPatch.removeControl (navigationPatch.getControl (entry->second));
        navFunctions.erase (entry);
    }

    // "None" (-1) is taken from its function like any footswitch: one function at most holds it.
    if (const auto previous = getFunctionOfFootswitch (footswitch); previous != 0)
    {
        navigationPatch.removeControl (navigationPatch.getControl (footswitch));
        navFunctions.erase (previous);
    }

    // Only a footswitch can carry a symbol; a stray number from a file is kept but shows nothing.
    if (isFootswitchId (footswitch))
    {
        auto symbol = std::make_unique<VlControlCfg>();
        symbol->setColor (navigationColor);
        symbol->setLabel (VlNames::navigationSymbol (function));

        const auto userWantsRearranging = []
        {
            const CStMenuLock menuLock;
            return CPrompts::get().askOkCancel (CPrompts::Icon::question, "Rearrangement of the foot switches...",
                                                "Do you want conflicting foot switches to be automatically rearranged?",
                                                "yes", "no");
        };

        if (function == NavOnOff && ask && userWantsRearranging())
        {
            for (const auto& patch : patches)
                patch->rearrange (footswitch);
        }

        navigationPatch.setControl (footswitch, std::move (symbol));
    }

    navFunctions[function] = footswitch;
}

void VlEngine::clearNavigation()
{
    navigationPatch.deleteAllControls();
    navFunctions.clear();
}

int VlEngine::getFunctionOfFootswitch (int footswitch) const
{
    // Entries below 1 come only from a file: they must not hide the real function.
    for (const auto& [function, assigned] : navFunctions)
        if (function >= 1 && assigned == footswitch)
            return function;

    return 0;
}

int VlEngine::getFootswitchOfFunction (int function) const
{
    const auto entry = navFunctions.find (function);
    return entry != navFunctions.end() ? entry->second : -1;
}

void VlEngine::setNavigationColor (juce::uint32 color)
{
    navigationColor = color;

    for (const auto& [id, control] : navigationPatch.getControls())
        control->setColor (color);
}

VlControlCfg* VlEngine::getDisplayedControl (int controlId)
{
    switch (getMode())
    {
        case ModePlay:
        case ModeEditing:
        {
            const auto onOff = getFootswitchOfFunction (NavOnOff);

            if (controlId == onOff && isFootswitchId (onOff))
                return navigationPatch.getControl (controlId);

            auto* patch = getPatch (currentPatch);
            return patch != nullptr ? patch->getControl (controlId) : nullptr;
        }

        case ModeNavigation:
        {
            const juce::uint16 targets[] = { goUpPatch, prevVisited, nextVisited, prevInList, nextInList };
            const auto function = getFunctionOfFootswitch (controlId);

            if (function >= NavGoUp && function <= NavNext && targets[function - NavGoUp] == NoIndex)
                return nullptr;

            return isFootswitchId (controlId) ? navigationPatch.getControl (controlId) : nullptr;
        }

        case ModeMidiSetup:
        case ModeMidiLearn:
            return learnPatch.getControl (controlId);

        default:
            return nullptr;
    }
}

void VlEngine::updateNavigation()
{
    auto* current = getPatch (currentPatch);
    goUpPatch = prevInList = nextInList = NoIndex;

    if (current != nullptr)
    {
        navigationPatch.setColor (current->getColor());

        // Of several candidates, the most recently visited one: "go up" leads back
        // where the player came from.
        std::vector<juce::uint16> candidates;

        if (findHigherRankPatches (currentPatch, current->getLevel(), candidates))
        {
            goUpPatch = candidates.front();

            const auto visited = std::find_first_of (history.rbegin(), history.rend(),
                                                     candidates.begin(), candidates.end());
            if (visited != history.rend())
                goUpPatch = *visited;
        }

        if (currentPatch > 0)
            prevInList = (juce::uint16) (currentPatch - 1);

        if (currentPatch + 1 < (int) patches.size())
            nextInList = (juce::uint16) (currentPatch + 1);
    }

    prevVisited = findVisit (historyPos - 1, -1);
    nextVisited = findVisit (historyPos + 1, 1);
}

juce::uint16 VlEngine::findVisit (int from, int step) const
{
    // Entries that no longer name a patch (patches were deleted) are stepped over.
    for (auto i = from; i >= 0 && i < (int) history.size(); i += step)
        if (history[(size_t) i] < patches.size())
            return (juce::uint16) i;

    return NoIndex;
}

bool VlEngine::findHigherRankPatches (juce::uint16 target, juce::uint8 level, std::vector<juce::uint16>& found) const
{
    found.clear();
    auto* targetPatch = getPatch (target);

    if (targetPatch == nullptr)
        return false;

    int greatest = 0;

    for (size_t i = 0; i < patches.size(); ++i)
    {
        const auto& patch = *patches[i];

        if (patch.getLevel() >= level)
            continue;

        for (const auto& [id, control] : patch.getControls())
        {
            if (control->isLinked())
                continue;

            for (const auto& state : control->getStates())
            {
                for (const auto& action : state->getActions())
                {
                    if (dynamic_cast<const VlaGoTo*> (action.get()) == nullptr || ! action->refersToPatch (*targetPatch))
                        continue;

                    if (patch.getLevel() < greatest)
                        continue;

                    if (patch.getLevel() > greatest)
                    {
                        found.clear();
                        greatest = patch.getLevel();
                    }

                    found.push_back ((juce::uint16) i);
                }
            }
        }
    }

    return ! found.empty();
}

void VlEngine::recordVisit (juce::uint16 index)
{
    history.resize ((size_t) (historyPos + 1));
    history.push_back (index);
    ++historyPos;

    if (history.size() > maxHistory)
    {
        history.erase (history.begin());
        --historyPos;
    }
}

void VlEngine::runNavigationFunction (int footswitch, bool pressed)
{
    const auto function = getFunctionOfFootswitch (footswitch);

    if (function == NavOnOff)
    {
        if (! pressed)
            return;

        goToPatch (currentPatch, false);

        // Back to play mode even when no patch could be selected.
        if (getMode() != ModePlay)
        {
            setMode (ModePlay);
            refreshBoard();
        }

        return;
    }

    if (pressed)
        return;

    // A target is checked against the list it names before it is followed.
    const auto isPatch = [this] (juce::uint16 index) { return index < patches.size(); };

    switch (function)
    {
        case NavGoUp:
            if (isPatch (goUpPatch))
                goToPatch (goUpPatch, true);
            break;

        case NavBackward:
        case NavForward:
        {
            const auto visit = function == NavBackward ? prevVisited : nextVisited;

            if (visit < history.size() && isPatch (history[visit]))
            {
                historyPos = visit;
                goToPatch (history[visit], false);
            }
            break;
        }

        case NavPrevious:
            if (isPatch (prevInList))
                goToPatch (prevInList, true);
            break;

        case NavNext:
            if (isPatch (nextInList))
                goToPatch (nextInList, true);
            break;

        default:
            break;
    }
}

//==============================================================================
bool VlEngine::setLearntMessage (int controlId, int number)
{
    constexpr auto none = (juce::uint16) NoLearntKey;
    auto key = (juce::uint16) number;

    if (key != none && isPedalId (controlId))
        key = (juce::uint16) (number + 128);

    for (auto it = learntMessages.begin(); it != learntMessages.end(); ++it)
    {
        if (it->second == controlId)
        {
            learntMessages.erase (it);
            break;
        }
    }

    const auto stored = key == none || learntMessages.emplace (key, controlId).second;
    updateLearntKeys();
    return stored;
}

int VlEngine::getLearntMessage (int controlId) const
{
    for (const auto& [key, id] : learntMessages)
        if (id == controlId)
            return (juce::int16) key;

    return NoLearntKey;
}

void VlEngine::restoreLearntMessages (const std::map<int, juce::String>& saved)
{
    std::map<int, int> values;

    for (const auto& [controlId, text] : saved)
        if (controlId >= 1 && controlId <= SecondPedalId && isInteger (text))
            values[controlId] = text.getIntValue();

    // Clear first: a note that moved between two footswitches is still held by the
    // other one when its new owner is stored.
    for (const auto& entry : values)
        setLearntMessage (entry.first, NoLearntKey);

    for (const auto& [controlId, value] : values)
        setLearntMessage (controlId, isPedalId (controlId) ? value - 128 : value);
}

void VlEngine::saveMidiInToXml (juce::XmlElement& element) const
{
    element.setAttribute (VlXml::device, midiInDevice);
    element.setAttribute (VlXml::channel, getMidiChannel());

    for (int id = 1; id <= SecondPedalId; ++id)
        element.setAttribute (VlXml::learntKeyAttribute (id), getLearntMessage (id));
}

void VlEngine::updateLearntKeys()
{
    std::array<int, 256> ids {};

    for (const auto& [key, id] : learntMessages)
        if (key < ids.size())
            ids[key] = id;

    // Entry by entry, never emptied first: the MIDI thread reads them meanwhile.
    for (size_t key = 0; key < ids.size(); ++key)
        learntKeys[key].store (ids[key], std::memory_order_relaxed);
}

//==============================================================================
int VlEngine::patchIndexOfControl (const VlControlCfg& control) const
{
    for (size_t i = 0; i < patches.size(); ++i)
        if (patches[i]->getIdOfControl (&control) >= 0)
            return (int) i;

    return -1;
}

bool VlEngine::collectLinkableControls (int controlId, ControlsByPatch& result, const VlPatch* leaveOut) const
{
    result.clear();
    const auto footswitches = isFootswitchId (controlId);

    for (size_t i = 0; i < patches.size(); ++i)
    {
        if (patches[i].get() == leaveOut)
            continue;

        std::vector<int> ids;

        for (const auto& [id, control] : patches[i]->getControls())
            if ((footswitches ? isFootswitchId (id) : isPedalId (id)) && ! control->isLinked())
                ids.push_back (id);

        if (! ids.empty())
            result[(juce::uint16) i] = std::move (ids);
    }

    return ! result.empty();
}

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

bool VlEngine::collectPatchPedals (ControlsByPatch& result) const
{
    result.clear();

    for (size_t i = 0; i < patches.size(); ++i)
    {
        std::vector<int> ids;

        for (auto id : { FirstPedalId, SecondPedalId })
            if (patches[i]->getControl (id) != nullptr)
                ids.push_back (id);

        if (! ids.empty())
            result[(juce::uint16) i] = std::move (ids);
    }

    return ! result.empty();
}

VlControlCfg* VlEngine::controlOfState (const VlControlState& state) const
{
    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            if (! control->isLinked() && control->indexOfState (&state) >= 0)
                return control.get();

    return nullptr;
}

VlControlState* VlEngine::stateOfAction (const VlAction& action) const
{
    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            if (! control->isLinked())
                for (const auto& state : control->getStates())
                    for (const auto& held : state->getActions())
                        if (held.get() == &action)
                            return state.get();

    return nullptr;
}

//==============================================================================
void VlEngine::collectControlsLinkedToPatch (const VlPatch& patch, ControlRefs& found) const
{
    const auto index = indexOfPatch (&patch);

    if (index < 0)
        return;

    for (const auto& held : patches)
        for (const auto& [id, control] : held->getControls())
            if (control->isLinked() && control->getLinkPatchIndex() == index)
                addOnce (found, control.get());
}

void VlEngine::collectControlsLinkedToControl (const VlControlCfg& control, ControlRefs& found) const
{
    const auto index = patchIndexOfControl (control);

    if (index < 0)
        return;

    const auto id = patches[(size_t) index]->getIdOfControl (&control);

    for (const auto& held : patches)
        for (const auto& [heldId, link] : held->getControls())
            if (link->isLinked() && link->getLinkPatchIndex() == index && link->getLinkControlId() == id)
                addOnce (found, link.get());
}

void VlEngine::collectActionsReferringToPatch (const VlPatch& patch, ActionRefs& found) const
{
    for (const auto& held : patches)
        if (held.get() != &patch)
            for (const auto& [id, control] : held->getControls())
                if (! control->isLinked())
                    for (const auto& state : control->getStates())
                        for (const auto& action : state->getActions())
                            if (action->refersToPatch (patch))
                                addOnce (found, action.get());
}

void VlEngine::collectActionsReferringToControl (const VlControlCfg& control, ActionRefs& found,
                                                 const VlPatch* leaveOut) const
{
    auto* owner = getPatch ((juce::uint16) patchIndexOfControl (control));

    if (owner == nullptr)
        return;

    for (const auto& held : patches)
        if (held.get() != leaveOut)
            for (const auto& [id, plain] : held->getControls())
                if (! plain->isLinked())
                    for (const auto& state : plain->getStates())
                        for (const auto& action : state->getActions())
                            if (action->refersToPatch (*owner) && action->refersToControl (control))
                                addOnce (found, action.get());
}

juce::String VlEngine::describeDependants (const ControlRefs& controls, const ActionRefs& actions) const
{
    juce::String text;

    for (auto* control : controls)
    {
        const auto patchIndex = patchIndexOfControl (*control);
        juce::String controlText, patchText;

        if (auto* patch = getPatch ((juce::uint16) patchIndex))
            VlTexts::getControlRowText (*patch, patch->indexOfControl (control), controlText);

        VlTexts::getPatchText (*this, patchIndex, patchText);
        text << "Control <" << controlText << "> of patch <" << patchText << ">;\n\n";
    }

    for (auto* action : actions)
    {
        juce::String stateText, controlText, patchText;
        auto* state = stateOfAction (*action);
        auto* control = state != nullptr ? controlOfState (*state) : nullptr;

        if (control != nullptr)
        {
            const auto patchIndex = patchIndexOfControl (*control);
            VlTexts::getStateText (*control, control->indexOfState (state), stateText);

            if (auto* patch = getPatch ((juce::uint16) patchIndex))
                VlTexts::getControlRowText (*patch, patch->indexOfControl (control), controlText);

            VlTexts::getPatchText (*this, patchIndex, patchText);
        }

        text << "Action <" << action->getTypeName() << "> of state <" << stateText << "> of control <"
             << controlText << "> of patch <" << patchText << ">;\n\n";
    }

    return text;
}

bool VlEngine::confirmDeletion (const juce::String& title, const juce::String& question,
                                const ControlRefs& controls, const ActionRefs& actions)
{
    const auto dependants = describeDependants (controls, actions);
    const CStMenuLock menuLock;

    if (dependants.isEmpty())
        return CPrompts::get().askOkCancel (CPrompts::Icon::question, title, question, "OK", "Cancel");

    return CPrompts::get().askOkCancelWithDetails (CPrompts::Icon::question, title, question,
                                                   "The following definitions will be deleted too:\n\n" + dependants,
                                                   "OK", "Cancel");
}

void VlEngine::deleteWithDependants (const std::set<const VlPatch*>& goingPatches,
                                     std::set<const VlControlCfg*> goingControls,
                                     const ControlRefs& dependantControls, const ActionRefs& dependantActions)
{
    // Where every dependant sits, found while everything still exists.
    std::vector<std::pair<VlControlState*, const VlAction*>> actionPlaces;
    std::vector<std::pair<VlPatch*, const VlControlCfg*>> controlPlaces;

    for (auto* action : dependantActions)
        if (auto* state = stateOfAction (*action))
            actionPlaces.emplace_back (state, action);

    for (auto* control : dependantControls)
    {
        goingControls.insert (control);

        if (auto* patch = getPatch ((juce::uint16) patchIndexOfControl (*control)))
            controlPlaces.emplace_back (patch, control);
    }

    for (auto* patch : goingPatches)
        for (const auto& [id, control] : patch->getControls())
            goingControls.insert (control.get());

    // Nothing that stays may point at what goes, collected or not.
    for (const auto& patch : patches)
        for (const auto& [id, control] : patch->getControls())
            control->forgetTargets (goingPatches, goingControls);

    for (const auto& [state, action] : actionPlaces)
        state->deleteAction (action);

    for (const auto& [patch, control] : controlPlaces)
        patch->removeControl (control);
}

bool VlEngine::deleteControls (VlControlCfg* control)
{
    auto* patch = getPatch (currentPatch);

    if (patch == nullptr || (control != nullptr && patch->getIdOfControl (control) < 0))
        return false;

    std::vector<VlControlCfg*> going;

    if (control != nullptr)
        going.push_back (control);
    else
        for (const auto& [id, held] : patch->getControls())
            going.push_back (held.get());

    ControlRefs links;
    ActionRefs actions;

    for (auto* goingControl : going)
        collectControlsLinkedToControl (*goingControl, links);

    for (auto* goingControl : going)
        collectActionsReferringToControl (*goingControl, actions, patch);

    if (! confirmDeletion ("Deleting controls...",
                           control != nullptr ? "Do you really want to delete this control?"
                                              : "Do you really want to delete all controls?",
                           links, actions))
        return false;

    deleteWithDependants ({}, { going.begin(), going.end() }, links, actions);

    if (control != nullptr)
        patch->removeControl (control);
    else
        patch->deleteAllControls();

    refreshBoard();
    return true;
}

bool VlEngine::deletePatches (VlPatch* patch)
{
    const auto index = indexOfPatch (patch);

    if (patches.size() < 2 || index < 0)
        return false;

    ControlRefs links;
    ActionRefs actions;
    collectControlsLinkedToPatch (*patch, links);
    collectActionsReferringToPatch (*patch, actions);

    if (! confirmDeletion ("Deleting patches...", "Do you really want to delete this patch?", links, actions))
        return false;

    deleteWithDependants ({ patch }, {}, links, actions);

    const auto wasCurrent = index == currentPatch;
    patches.erase (patches.begin() + index);

    if (wasCurrent)
    {
        goToPatch (0, false);
    }
    else
    {
        // The same patch stays current at its new position; its targets may have gone.
        if (currentPatch != NoIndex && index < currentPatch)
            --currentPatch;

        updateNavigation();
    }

    if (userInterface != nullptr)
        userInterface->refreshPatchList();

    refreshBoard();
    return true;
}

//==============================================================================
std::unique_ptr<juce::XmlElement> VlEngine::createNavigationXml() const
{
    auto element = std::make_unique<juce::XmlElement> (VlXml::navigation);
    element->setAttribute (VlXml::color, colorToText (navigationColor));

    for (const auto& [function, footswitch] : navFunctions)
    {
        auto* child = element->createNewChildElement (VlXml::function);
        child->setAttribute (VlXml::type, function);
        child->setAttribute (VlXml::control, footswitch);
    }

    return element;
}

std::unique_ptr<juce::XmlElement> VlEngine::createPatchesXml() const
{
    auto element = std::make_unique<juce::XmlElement> (VlXml::patches);
    element->setAttribute (VlXml::current, (int) currentPatch);

    for (const auto& patch : patches)
        element->addChildElement (patch->createXml().release());

    return element;
}

void VlEngine::takeNavigation (const VlDocumentStage& stage)
{
    clearNavigation();
    setNavigationColor (stage.getNavigationColor());

    for (const auto& [function, footswitch] : stage.getNavigationFunctions())
        setNavigationFunction (function, footswitch, false);
}

void VlEngine::takePatches (VlDocumentStage& stage, bool merging)
{
    if (! merging)
    {
        clear();
        patches = stage.takePatches();

        // A "current" outside the list would leave the board without a patch.
        const auto current = stage.getCurrent().value_or (NoIndex);
        currentPatch = current < patches.size() ? current : (patches.empty() ? NoIndex : (juce::uint16) 0);
    }
    else
    {
        for (auto& patch : stage.takePatches())
            patches.push_back (std::move (patch));
    }

    updateNavigation();

    if (userInterface != nullptr)
        userInterface->refreshPatchList();

    // The board must let go of the controls that were freed; in mode 5 it shows none.
    refreshBoard();
}

bool VlEngine::loadDocumentContent (const juce::XmlElement& navigation, const juce::XmlElement& patchesElement,
                                    bool merging)
{
    const auto modeBefore = getMode();
    setMode (ModeInitialising);

    const auto firstPatch = merging ? (juce::uint16) patches.size() : (juce::uint16) 0;
    VlDocumentStage stage;

    if ((! merging && ! stage.readNavigation (navigation)) || ! stage.readPatches (patchesElement, merging, firstPatch))
    {
        abandonLoad (modeBefore);
        return false;
    }

    if (! merging)
    {
        takeNavigation (stage);
        patchColors.clear();
        controlColors.clear();
        stateColors.clear();
    }

    stage.addColorsTo (patchColors, controlColors, stateColors);
    takePatches (stage, merging);
    openMidiOutputs();
    checkTargets (firstPatch);
    return true;
}

bool VlEngine::loadNavigationFromXml (bool merging, const juce::XmlElement& navigation)
{
    if (merging)
        return true;

    VlDocumentStage stage;

    if (! stage.readNavigation (navigation))
        return false;

    takeNavigation (stage);
    stage.addColorsTo (patchColors, controlColors, stateColors);
    return true;
}

bool VlEngine::loadPatchesFromXml (bool merging, const juce::XmlElement& patchesElement)
{
    const auto modeBefore = getMode();
    setMode (ModeInitialising);

    VlDocumentStage stage;

    if (! stage.readPatches (patchesElement, merging, merging ? (juce::uint16) patches.size() : (juce::uint16) 0))
    {
        abandonLoad (modeBefore);
        return false;
    }

    stage.addColorsTo (patchColors, controlColors, stateColors);
    takePatches (stage, merging);
    openMidiOutputs();
    return true;
}

void VlEngine::abandonLoad (int modeBefore)
{
    setMode (ModePlay);

    // From navigation mode the board still shows the symbols while the footswitches
    // play the patch again.
    if (modeBefore != ModePlay)
    {
        if (userInterface != nullptr)
            userInterface->refreshPatchList();

        refreshBoard();
    }
}

void VlEngine::checkTargets (juce::uint16 firstPatch)
{
    const auto report = [] (const juce::String& text)
    {
        const CStMenuLock menuLock;
        CPrompts::get().showMessage (CPrompts::Icon::warning, fileDataError, text);
    };

    // The texts are made only for what is reported: a large document has none to report.
    const auto patchText = [this] (size_t index)
    {
        juce::String text;
        VlTexts::getPatchText (*this, (int) index, text);
        return text;
    };

    const auto controlText = [] (int id)
    {
        juce::String text;
        VlTexts::getControlText (id, text);
        return text;
    };

    // By position: the list does not change while the boxes are open, but a box lets
    // the message loop run.
    for (size_t index = firstPatch; index < patches.size(); ++index)
    {
        const auto& patch = *patches[index];

        for (const auto& [id, control] : patch.getControls())
        {
            if (control->isLinked())
            {
                if (! control->resolveLink())
                    report ("Linked control <" + controlText (id) + "> of patch <" + patchText (index) + "> "
                            + cannotFindTarget);

                continue;
            }

            for (size_t s = 0; s < control->getStates().size(); ++s)
            {
                for (const auto& action : control->getStates()[s]->getActions())
                {
                    if (action->resolveReferences())
                        continue;

                    juce::String stateText;
                    VlTexts::getStateText (*control, (int) s, stateText);
                    report ("Action <" + action->getTypeName() + "> of state <" + stateText + "> of control <"
                            + controlText (id) + "> of patch <" + patchText (index) + "> " + cannotFindTarget);
                }
            }
        }
    }
}

void VlEngine::newDocument()
{
    resetColors (&patchColors);
    resetColors (&controlColors);
    resetColors (&stateColors);

    const auto index = addPatch (std::make_unique<VlPatch>());
    goToPatch ((juce::uint16) index, true);
    openMidiOutputs();
}

//==============================================================================
ColorSet* VlEngine::findColorSet (const ColorSet* set) noexcept
{
    for (auto* own : { &patchColors, &controlColors, &stateColors })
        if (own == set)
            return own;

    return nullptr;
}

void VlEngine::recolor (const ColorSet& set, juce::uint32 oldColor, juce::uint32 newColor, bool everyItem)
{
    // A link shows its target's colour, so that is the one compared; all are compared
    // before any changes, so that a link recolours alike before or after its target.
    std::vector<VlControlCfg*> controls;

    for (const auto& patch : patches)
    {
        if (&set == &patchColors)
        {
            if (everyItem || patch->getColor() == oldColor)
                patch->setColor (newColor);

            continue;
        }

        for (const auto& [id, control] : patch->getControls())
        {
            if (&set == &controlColors && (everyItem || control->getColor() == oldColor))
                controls.push_back (control.get());

            if (&set == &stateColors && ! control->isLinked())
                for (const auto& state : control->getStates())
                    if (everyItem || state->getColor() == oldColor)
                        state->setColor (newColor);
        }
    }

    for (auto* control : controls)
        control->setColor (newColor);
}

void VlEngine::resetColors (const ColorSet* set)
{
    auto* own = findColorSet (set);

    if (own == nullptr)
        return;

    own->clear();

    if (own == &patchColors)
    {
        own->insert (std::begin (patchPalette), std::end (patchPalette));

        for (const auto& patch : patches)
            own->insert (patch->getColor());
    }
    else
    {
        if (own == &controlColors)
            own->insert (std::begin (controlPalette), std::end (controlPalette));
        else
            own->insert (std::begin (statePalette), std::end (statePalette));

        for (const auto& patch : patches)
            for (const auto& [id, control] : patch->getControls())
            {
                if (own == &controlColors)
                    own->insert (control->getColor());
                else if (! control->isLinked())
                    for (const auto& state : control->getStates())
                        own->insert (state->getColor());
            }
    }
}

juce::uint32 VlEngine::getDefaultColor (const ColorSet* set) const
{
    return set == &patchColors ? defaultPatchColor : defaultItemColor;
}

void VlEngine::addColor (const ColorSet* set, juce::uint32 color)
{
    if (auto* own = findColorSet (set))
        own->insert (color);
}

void VlEngine::replaceColor (const ColorSet* set, juce::uint32 oldColor, juce::uint32 newColor)
{
    if (auto* own = findColorSet (set))
        recolor (*own, oldColor, newColor, false);
}

void VlEngine::removeColor (const ColorSet* set, juce::uint32 color)
{
    auto* own = findColorSet (set);

    if (own == nullptr || color == getDefaultColor (set))
        return;

    own->erase (color);
    recolor (*own, color, getDefaultColor (set), false);
}

void VlEngine::removeAllColors (const ColorSet* set)
{
    auto* own = findColorSet (set);

    if (own == nullptr)
        return;

    own->clear();
    own->insert (getDefaultColor (set));
    recolor (*own, 0, getDefaultColor (set), true);
}
