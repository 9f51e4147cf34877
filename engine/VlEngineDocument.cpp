#include "engine/VlEngine.h"

#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "common/CXmlHelpers.h"
#include "engine/VlDocumentStage.h"
#include "engine/VlTexts.h"
#include "engine/VlXmlVocabulary.h"

// The document's content: writing it, opening or merging it all or nothing, and the
// check of its targets after a load.
namespace
{
    const juce::String fileDataError ("Error in file data");
    const juce::String cannotFindTarget ("cannot find its target.");
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
    // Before the board stops playing: a release during the load would be dropped.
    releaseHeldFootswitches();

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
    const auto report = [] (const juce::String& text) {
        const CStMenuLock menuLock;
        CPrompts::get().showMessage (CPrompts::Icon::warning, fileDataError, text);
    };

    // The texts are made only for what is reported: a large document has none to report.
    const auto patchText = [this] (size_t index) {
        juce::String text;
        VlTexts::getPatchText (*this, (int) index, text);
        return text;
    };

    const auto controlText = [] (int id) {
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
