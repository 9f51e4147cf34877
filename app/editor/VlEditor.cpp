#include "app/editor/VlEditor.h"

#include "app/VlApplication.h"
#include "app/editor/EditorRows.h"
#include "app/editor/JEditorContentComponent.h"
#include "engine/VlEngine.h"
#include "engine/VlTexts.h"

namespace
{
    VlEditor* instance = nullptr;
    std::unique_ptr<VlEditor> created;

    const juce::String emptyPanelText ("No editable properties");

    constexpr int patchPanel = 1, controlPanel = 2, statePanel = 3, actionPanel = 4;

    // A label whose editor is open takes what was typed into it, as a click elsewhere does.
    void commitEditsIn (juce::Component& component)
    {
        if (auto* label = dynamic_cast<juce::Label*> (&component); label != nullptr && label->isBeingEdited())
            label->hideEditor (false);

        for (auto* child : component.getChildren())
            commitEditsIn (*child);
    }
}

VlEditor::VlEditor (VlEngine& engineToEdit)
    : engine (engineToEdit)
{
    jassert (instance == nullptr);    // one editor at a time: the lists and rows reach it through getInstance()
    instance = this;
}

VlEditor::~VlEditor()
{
    cancelPendingUpdate();
    content = nullptr;

    if (instance == this)
        instance = nullptr;
}

VlEditor* VlEditor::getInstance (bool create)
{
    if (instance == nullptr && create)
        created = std::make_unique<VlEditor> (*VlEngine::getInstance (true));

    return instance;
}

void VlEditor::deleteInstance()
{
    created = nullptr;
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
    commitOpenEdits();

    // Nothing of this showing may act after it: the next one selects afresh.
    open = false;
    cancelPendingUpdate();
    pendingUpdates = 0;
    forgetSelection();

    engine.setMode (ModePlay);
    resetControlStates();
    engine.openMidiOutputs();

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

void VlEditor::commitOpenEdits()
{
    for (int kind = patchPanel; kind <= actionPanel; ++kind)
        if (auto* panel = panelOf (kind))
            commitEditsIn (*panel);
}

//==============================================================================
void VlEditor::registerList (EditorList& list)
{
    switch (list.getKind())
    {
        case EditorList::Kind::patches:  patchesList = &list; break;
        case EditorList::Kind::controls: controlsList = &list; break;
        case EditorList::Kind::states:   statesList = &list; break;
        case EditorList::Kind::actions:  actionsList = &list; break;
    }
}

void VlEditor::unregisterList (EditorList& list)
{
    for (auto** registered : { &patchesList, &controlsList, &statesList, &actionsList })
        if (*registered == &list)
            *registered = nullptr;
}

EditorList* VlEditor::getList (int kind) const noexcept
{
    switch ((EditorList::Kind) kind)
    {
        case EditorList::Kind::patches:  return patchesList;
        case EditorList::Kind::controls: return controlsList;
        case EditorList::Kind::states:   return statesList;
        case EditorList::Kind::actions:  return actionsList;
    }

    return nullptr;
}

juce::PropertyPanel* VlEditor::panelOf (int kind) const
{
    auto* pane = content != nullptr ? content->getPane (kind) : nullptr;
    return pane != nullptr ? &pane->getPropertyPanel() : nullptr;
}

//==============================================================================
VlPatch* VlEditor::getCurrentPatch()
{
    return engine.getCurrentPatch();
}

void VlEditor::propertyChanged (int propertyId)
{
    auto* ui = getUserInterface();

    switch ((PropertyId) propertyId)
    {
        case PropertyId::patchName:
            if (patchesList != nullptr)
                patchesList->repaint();

            if (ui != nullptr)
                ui->refreshPatchList();

            break;

        case PropertyId::controlLabel:
        case PropertyId::controlTarget:
        case PropertyId::controlColor:
            if (ui != nullptr)
            {
                ui->refreshButtons();
                ui->refreshPedals();
            }

            break;

        case PropertyId::stateLabel:
        case PropertyId::stateColor:
            if (ui != nullptr)
                ui->refreshButtons();

            break;

        case PropertyId::sysexMinValue:
        case PropertyId::sysexMaxValue:
        case PropertyId::mutePatch:
        case PropertyId::datumSize:
        case PropertyId::ccMinValue:
        case PropertyId::ccMaxValue:
            deferUpdates (rebuildActionPanel);
            break;

        // The control's shown states change with its link: the old ones may be deleted
        // already ("is link" yes), so no state or action stays selected until the lists
        // are refreshed.
        case PropertyId::isLink:
        case PropertyId::linkPatch:
        case PropertyId::linkControl:
            currentState = nullptr;
            currentStateIndex = -1;
            currentAction = nullptr;
            currentActionIndex = -1;
            deferUpdates ((juce::uint8) (propertyId == (int) PropertyId::linkControl ? refreshStateAndActionLists
                                                                              : rebuildControlPanel | refreshStateAndActionLists));
            break;

        case PropertyId::patchColor:
            if (ui != nullptr)
                ui->repaintBoard();

            break;

        default:
            break;
    }

    if (auto* app = VlApplication::getInstance())
        app->documentChanged();
}

void VlEditor::deferUpdates (juce::uint8 updates)
{
    pendingUpdates |= updates;
    triggerAsyncUpdate();
}

void VlEditor::handleAsyncUpdate()
{
    commitOpenEdits();
    const auto updates = std::exchange (pendingUpdates, (juce::uint8) 0);

    if ((updates & rebuildControlPanel) != 0)
        buildControlProperties();

    if ((updates & rebuildActionPanel) != 0)
        buildActionProperties();

    if ((updates & refreshStateAndActionLists) != 0)
    {
        refreshStatesList();
        refreshActionsList();
    }
}

//==============================================================================
int VlEditor::getPatchCount() const noexcept
{
    return (int) (juce::uint16) engine.getNumPatches();
}

int VlEditor::getControlCount()
{
    auto* patch = getCurrentPatch();
    return patch != nullptr ? patch->getNumControls() : 0;
}

int VlEditor::getStateCount() const noexcept
{
    return currentControl != nullptr ? currentControl->getStateCount() : 0;
}

int VlEditor::getActionCount() const noexcept
{
    return currentState != nullptr ? (int) currentState->getActions().size() : 0;
}

void VlEditor::getPatchText (int index, juce::String& text) const
{
    VlTexts::getPatchText (engine, index, text);
}

void VlEditor::getControlText (int controlId, juce::String& text)
{
    VlTexts::getControlText (controlId, text);
}

void VlEditor::getControlRowText (const VlPatch* patch, int row, juce::String& text)
{
    if (patch == nullptr)
        patch = getCurrentPatch();

    if (patch != nullptr)
        VlTexts::getControlRowText (*patch, row, text);
}

void VlEditor::getStateText (const VlControlCfg* control, int index, juce::String& text) const
{
    if (control == nullptr)
        control = currentControl;

    if (control != nullptr)
        VlTexts::getStateText (*control, index, text);
}

void VlEditor::getActionText (const VlControlState* state, int index, juce::String& text) const
{
    if (state == nullptr)
        state = currentState;

    if (state != nullptr && juce::isPositiveAndBelow (index, (int) state->getActions().size()))
        text = state->getActions()[(size_t) index]->getTypeName();
}

//==============================================================================
void VlEditor::patchSelectionChanged (int row)
{
    // What was typed belongs to the objects selected before the click.
    commitOpenEdits();

    if (row >= 0)
        selectPatch (row);

    updatePatchButtons();
}

void VlEditor::refreshList (EditorList* list, bool enabled)
{
    if (list == nullptr)
        return;

    // Its object goes either way: reported by the list when it loses a selection, else here.
    if (list->getNumSelectedRows() == 0)
        list->selectedRowsChanged (-1);
    else
        list->deselectAllRows();

    list->updateContent();
    list->repaint();
    list->setEnabled (enabled);
    list->selectRow (0);
}

void VlEditor::selectPatch (int index)
{
    if (index != engine.getCurrentPatchIndex())
    {
        engine.goToPatch ((juce::uint16) index, false);
        keepEditingMode();
    }

    if (content != nullptr)
    {
        buildPatchProperties();
        refreshControlsList();
    }
}

void VlEditor::refreshControlsList()
{
    refreshList (controlsList, getCurrentPatch() != nullptr);
}

void VlEditor::selectControl (int row)
{
    commitOpenEdits();

    auto* patch = getCurrentPatch();
    int controlId = -1;
    auto* control = row >= 0 && patch != nullptr ? patch->getControlAt (row, controlId) : nullptr;

    setCurrentControl (control, control != nullptr ? controlId : -1);
    updateControlButtons();
}

void VlEditor::setCurrentControl (VlControlCfg* control, int controlId)
{
    currentControl = control;
    currentControlId = control != nullptr ? controlId : -1;

    if (content != nullptr)
    {
        buildControlProperties();
        refreshStatesList();
    }
}

void VlEditor::refreshStatesList()
{
    refreshList (statesList, currentControl != nullptr);
}

void VlEditor::selectState (int row)
{
    commitOpenEdits();

    // A state's position is 8 bits in the model: a control holds at most MaxStates.
    if (currentControl != nullptr && juce::isPositiveAndBelow (row, juce::jmin (currentControl->getStateCount(), MaxStates)))
    {
        currentControl->setCurrentState ((juce::uint8) row);
        currentStateIndex = row;
        setCurrentState (currentControl->getState (row));
    }
    else
        setCurrentState (nullptr);

    updateStateButtons();
}

void VlEditor::setCurrentState (VlControlState* state)
{
    currentState = state;

    if (state == nullptr)
        currentStateIndex = -1;

    if (content != nullptr)
    {
        buildStateProperties();
        refreshActionsList();

        // The main board shows the selected state's label and colour.
        if (auto* ui = getUserInterface())
        {
            ui->refreshButtons();
            ui->refreshPedals();
        }
    }
}

void VlEditor::refreshActionsList()
{
    refreshList (actionsList, currentState != nullptr);
}

void VlEditor::selectAction (int row)
{
    commitOpenEdits();

    const auto* actions = currentState != nullptr ? &currentState->getActions() : nullptr;
    auto* action = actions != nullptr && juce::isPositiveAndBelow (row, (int) actions->size())
                       ? (*actions)[(size_t) row].get()
                       : nullptr;

    currentActionIndex = action != nullptr ? row : -1;
    setCurrentAction (action);
    updateActionButtons();
}

void VlEditor::setCurrentAction (VlAction* action)
{
    currentAction = action;

    if (action == nullptr)
        currentActionIndex = -1;

    if (content != nullptr)
        buildActionProperties();
}

//==============================================================================
namespace
{
    // Empties the panel (its rows are deleted) for the rows of a new object, or none.
    juce::PropertyPanel* emptied (juce::PropertyPanel* panel)
    {
        if (panel != nullptr)
        {
            panel->clear();
            panel->setMessageWhenEmpty (emptyPanelText);
            panel->setEnabled (true);
        }

        return panel;
    }
}

void VlEditor::buildPatchProperties()
{
    auto* panel = emptied (panelOf (patchPanel));

    if (panel == nullptr || getCurrentPatch() == nullptr)
        return;

    EditorRows::addToPanel (*panel, *this, { VlPropertyRow::text ("name", PropertyId::patchName, 32),
                                             VlPropertyRow::choice ("level", PropertyId::patchLevel),
                                             VlPropertyRow::color ("color", PropertyId::patchColor),
                                             VlPropertyRow::text ("comment", PropertyId::patchComment, 1024, 150) });
}

void VlEditor::buildControlProperties()
{
    auto* panel = emptied (panelOf (controlPanel));

    if (panel == nullptr || currentControl == nullptr)
        return;

    VlPropertyRows rows { VlPropertyRow::choice ("is link", PropertyId::isLink) };

    if (currentControl->isLinked())
    {
        rows.push_back (VlPropertyRow::choice ("patch", PropertyId::linkPatch));
        rows.push_back (VlPropertyRow::choice ("control", PropertyId::linkControl));
    }
    else
    {
        rows.push_back (VlPropertyRow::text ("label", PropertyId::controlLabel, 32));
        rows.push_back (VlPropertyRow::text ("target", PropertyId::controlTarget, 32));
        rows.push_back (VlPropertyRow::color ("color", PropertyId::controlColor));

        if (isFootswitchId (currentControlId) && currentControl->getStateCount() >= 2)
            rows.push_back (VlPropertyRow::choice ("init state", PropertyId::initState));
        else if (isPedalId (currentControlId))
            rows.push_back (VlPropertyRow::choice ("init value", PropertyId::initValue));
    }

    EditorRows::addToPanel (*panel, *this, rows);
}

void VlEditor::buildStateProperties()
{
    auto* panel = emptied (panelOf (statePanel));

    // A single state is the control itself: its label and colour are the control's.
    if (panel == nullptr || currentControl == nullptr || currentState == nullptr || currentControl->getStateCount() < 2)
        return;

    EditorRows::addToPanel (*panel, *this, { VlPropertyRow::text ("label", PropertyId::stateLabel, 32),
                                             VlPropertyRow::color ("color", PropertyId::stateColor) });

    // A link shows the states of the control it links to, which are edited there.
    panel->setEnabled (! currentControl->isLinked());
}

void VlEditor::buildActionProperties()
{
    auto* panel = emptied (panelOf (actionPanel));

    if (panel == nullptr || currentControl == nullptr || currentAction == nullptr)
        return;

    VlPropertyRows rows;
    currentAction->addProperties (rows);
    EditorRows::addToPanel (*panel, *this, rows);
    panel->setEnabled (! currentControl->isLinked());
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

    const auto take = [&] (const juce::String& device)
    {
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
