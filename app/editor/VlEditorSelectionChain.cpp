#include "app/editor/VlEditor.h"

#include "app/editor/EditorList.h"
#include "engine/VlEngine.h"

// The selection chain: a patch chosen selects its first control, whose first state and
// that state's first action follow, each panel rebuilt on the way.

VlPatch* VlEditor::getCurrentPatch()
{
    return engine.getCurrentPatch();
}

// Before the selection changes or the editor closes: what was typed goes to the objects
// selected before the click, and a test held down is released while what it played is
// still selected.
void VlEditor::settleEditsAndTest()
{
    commitOpenEdits();
    releaseTest();
}

void VlEditor::patchSelectionChanged (int row)
{
    settleEditsAndTest();

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
    settleEditsAndTest();

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
    settleEditsAndTest();

    // A state's position is 8 bits in the model: a control holds at most MaxStates.
    if (currentControl != nullptr
        && juce::isPositiveAndBelow (row, juce::jmin (currentControl->getStateCount(), MaxStates)))
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
    settleEditsAndTest();

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
