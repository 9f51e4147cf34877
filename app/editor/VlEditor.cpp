#include "app/editor/VlEditor.h"

#include "app/editor/JEditorContentComponent.h"
#include "engine/VlEngine.h"

// The editor's life: the one instance, opening and closing, and what opening collects
// and closing puts back.

VlEditor::VlEditor (VlEngine& engineToEdit)
    : engine (engineToEdit)
{
}

VlEditor::~VlEditor()
{
    cancelPendingUpdate();
    content = nullptr;
}

VlEditor* VlEditor::getInstance (bool create)
{
    return CSingleInstance<VlEditor>::getOrCreate (
        create, [] { return std::make_unique<VlEditor> (*VlEngine::getInstance (true)); });
}

void VlEditor::deleteInstance()
{
    CSingleInstance<VlEditor>::deleteInstance();
}

//==============================================================================
void VlEditor::show()
{
    if (! prepare())
        return;

    runModal();
    finish();
}

bool VlEditor::prepare()
{
    if (content == nullptr)
    {
        try
        {
            content = std::make_unique<JEditorContentComponent> (*this);
        }
        catch (const std::bad_alloc&)
        {
            return false;
        }
    }

    // A footswitch held now would never hear its release while the editor is open.
    engine.releaseHeldFootswitches();

    // Before the lists are primed: opened from navigation mode, the engine's current
    // patch would be the navigation patch, and a pedal board note would play meanwhile.
    open = true;
    engine.setMode (ModeEditing);
    collectOutputDeviceNames();

    if (patchesList != nullptr)
    {
        patchesList->updateContent();
        patchesList->deselectAllRows();
        patchesList->selectRow (engine.getCurrentPatchIndex());

        // No row to select (no patches, or none current): the chain still runs, so that
        // nothing selected at an earlier showing survives.
        if (patchesList->getNumSelectedRows() == 0)
        {
            buildPatchProperties();
            refreshControlsList();
            updatePatchButtons();
        }
    }

    refreshMainWindow();
    return true;
}

void VlEditor::runModal()
{
    if (content != nullptr)
        showModal ("Patches setup", *content, juce::Colours::white, false, false);
}

void VlEditor::finish()
{
    settleEditsAndTest();

    // Nothing of this showing may act after it: the next one selects afresh.
    open = false;
    cancelPendingUpdate();
    pendingUpdates = 0;
    forgetSelection();

    engine.setMode (ModePlay);
    resetControlStates();
    engine.openMidiOutputs();
    restoreMutesBeforeTests();

    // Levels, go-to actions and the patch colour may have changed: "go up" and the
    // navigation symbols' colour follow the edited document.
    engine.updateNavigation();

    // Opened from navigation mode, the patch list's highlight was off and the board
    // showed the navigation symbols.
    refreshMainWindow();
}

void VlEditor::forgetSelection() noexcept
{
    currentControl = nullptr;
    currentControlId = -1;
    currentState = nullptr;
    currentStateIndex = -1;
    currentAction = nullptr;
    currentActionIndex = -1;
}

void VlEditor::keepEditingMode()
{
    // Selecting a patch sets mode 1; while the editor is open, input must play nothing.
    if (open)
        engine.setMode (ModeEditing);
}

void VlEditor::refreshMainWindow()
{
    if (auto* ui = getUserInterface())
    {
        ui->refreshButtons();
        ui->refreshPedals();
        ui->repaintBoard();
        ui->refreshPatchList();
    }
}

VlUserInterface* VlEditor::getUserInterface() const noexcept
{
    return engine.getUserInterface();
}

//==============================================================================
void VlEditor::collectOutputDeviceNames()
{
    outputDeviceNames.clear();

    // The ports the engine opens: file-backed and in-memory devices are offered too.
    for (const auto& device : engine.getMidiDevices().getPorts().getOutputs())
        outputDeviceNames.addIfNotAlreadyThere (device.name);

    const auto somePresent = ! outputDeviceNames.isEmpty();
    auto absentAdded = false;
    juce::String last;

    const auto take = [&] (const juce::String& device) {
        // Actions one after another mostly name the same device: it is looked up once.
        if (device == last)
            return;

        last = device;

        // An empty name is no device; the comparison minds letter case, as the ports do.
        if (device.isEmpty() || outputDeviceNames.contains (device))
            return;

        if (somePresent && ! absentAdded)
            outputDeviceNames.add ({});

        absentAdded = true;
        outputDeviceNames.add (device);
    };

    for (const auto& patch : engine.getPatches())
        for (const auto& [id, control] : patch->getControls())
            for (int s = 0; s < control->getStateCount(); ++s)
                for (const auto& action : control->getState (s)->getActions())
                    if (const auto* device = action->getOutputDevice())
                        take (*device);
}

void VlEditor::resetControlStates()
{
    for (const auto& patch : engine.getPatches())
        for (const auto& [id, control] : patch->getControls())
            control->setCurrentState (0);

    if (auto* ui = getUserInterface())
    {
        ui->refreshButtons();
        ui->refreshPedals();
    }
}
