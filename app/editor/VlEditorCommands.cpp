#include "app/editor/VlEditor.h"

#include "app/VlLookAndFeel.h"
#include "app/editor/JEditorContentComponent.h"
#include "common/CPrompts.h"
#include "common/CStMenuLock.h"
#include "engine/VlEngine.h"
#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlaSysExContinuos.h"
#include "engine/VlaSysExFixed.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamCCFixed.h"
#include "engine/VlamNote.h"
#include "engine/VlamProgramChange.h"

// The commands behind the panes' buttons, their menus and questions, and the rules
// that enable the buttons.

namespace
{
    VlEditor::MenuRun menuRun;

    constexpr int lastFootswitchId = 10;
    const juce::String newText ("???");

    bool isEnabledItem (const juce::PopupMenu& menu, int itemId)
    {
        for (juce::PopupMenu::MenuItemIterator items (menu, true); items.next();)
            if (items.getItem().itemID == itemId)
                return items.getItem().isEnabled;

        return false;
    }

    void selectLastRow (EditorList* list)
    {
        if (list != nullptr)
            list->selectRow (list->getNumRows() - 1);
    }

    void reloadAndSelect (EditorList* list, int row)
    {
        if (list != nullptr)
        {
            list->updateContent();
            list->selectRow (row);
        }
    }
}

//==============================================================================
void VlEditor::runCommand (Command command, juce::Button& button, int value)
{
    // What was typed belongs to the objects selected now: it goes into the model
    // before a command changes the selection or rebuilds a panel.
    commitOpenEdits();

    // A test still held is released before anything changes what it played.
    const auto isTest = command == Command::testAction || command == Command::testState;

    if (! isTest)
        releaseTest();

    switch (command)
    {
        case Command::addPatch: addPatch(); break;
        case Command::duplicatePatch: duplicatePatch(); break;
        case Command::deletePatch: deletePatch(); break;
        case Command::deleteAllPatches: deleteAllPatches(); break;
        case Command::movePatchUp: movePatchUp(); break;
        case Command::movePatchDown: movePatchDown(); break;
        case Command::addControl: addControl (button); break;
        case Command::duplicateControl: duplicateControl (button); break;
        case Command::deleteControl: deleteControl(); break;
        case Command::deleteAllControls: deleteAllControls(); break;
        case Command::addState: addState(); break;
        case Command::duplicateState: duplicateState(); break;
        case Command::deleteState: deleteState(); break;
        case Command::deleteAllStates: deleteAllStates(); break;
        case Command::moveStateUp: moveStateUp(); break;
        case Command::moveStateDown: moveStateDown(); break;
        case Command::addAction: addAction (button); break;
        case Command::duplicateAction: duplicateAction(); break;
        case Command::deleteAction: deleteAction(); break;
        case Command::deleteAllActions: deleteAllActions(); break;
        case Command::moveActionUp: moveActionUp(); break;
        case Command::moveActionDown: moveActionDown(); break;
        case Command::testAction: testAction (value); break;
        case Command::testState: testState (value); break;
    }

    // No pedal that a test touched may be remembered after it is deleted: another control
    // may be made where it was.
    if (! isTest)
        forgetDeletedPedals();
}

//==============================================================================
bool VlEditor::canRun (Command command)
{
    if (! open || content == nullptr)
        return false;

    auto* patch = getCurrentPatch();
    const auto numStates = getStateCount();
    const auto numActions = getActionCount();

    // A link shows the states and actions of the control it links to: they are edited there.
    const auto editable = currentControl != nullptr && ! currentControl->isLinked();
    const auto footswitch = editable && isFootswitchId (currentControlId);

    switch (command)
    {
        case Command::addPatch: return true;
        case Command::duplicatePatch: return patch != nullptr;
        case Command::deletePatch: return patch != nullptr && engine.getNumPatches() >= 2;
        case Command::deleteAllPatches: return engine.getNumPatches() >= 2;
        case Command::movePatchUp: return canMovePatchUp();
        case Command::movePatchDown: return canMovePatchDown();
        case Command::addControl: return patch != nullptr && hasFreeControlSlot (-1);
        case Command::duplicateControl: return currentControl != nullptr && hasFreeControlSlot (currentControlId);
        case Command::deleteControl: return patch != nullptr && currentControl != nullptr;
        case Command::deleteAllControls: return patch != nullptr && patch->getNumControls() > 0;
        case Command::addState: return footswitch && numStates < MaxStates;
        case Command::duplicateState: return footswitch && currentState != nullptr && numStates < MaxStates;
        case Command::deleteState: return editable && currentState != nullptr && numStates >= 2;
        case Command::deleteAllStates: return editable && numStates >= 2;
        case Command::moveStateUp: return editable && canMoveStateUp();
        case Command::moveStateDown: return editable && canMoveStateDown();
        case Command::addAction: return editable && currentState != nullptr;
        case Command::duplicateAction:
            return editable && currentAction != nullptr && dynamic_cast<VlaGoTo*> (currentAction) == nullptr;
        case Command::deleteAction: return editable && currentAction != nullptr;
        case Command::deleteAllActions: return editable && numActions > 0;
        case Command::moveActionUp: return editable && canMoveActionUp();
        case Command::moveActionDown: return editable && canMoveActionDown();
        case Command::testAction: return footswitch && currentAction != nullptr;
        case Command::testState: return footswitch && numActions > 0;
    }

    return false;
}

bool VlEditor::canMovePatchUp() const noexcept
{
    const auto index = (int) engine.getCurrentPatchIndex();
    return index > 0 && index < engine.getNumPatches();
}

bool VlEditor::canMovePatchDown() const noexcept
{
    return (int) engine.getCurrentPatchIndex() < engine.getNumPatches() - 1;
}

bool VlEditor::canMoveStateUp() const noexcept
{
    return currentStateIndex > 0;
}
bool VlEditor::canMoveStateDown() const noexcept
{
    return currentStateIndex != -1 && currentStateIndex < getStateCount() - 1;
}
bool VlEditor::canMoveActionUp() const noexcept
{
    return currentActionIndex > 0;
}
bool VlEditor::canMoveActionDown() const noexcept
{
    return currentActionIndex != -1 && currentActionIndex < getActionCount() - 1;
}

bool VlEditor::isControlSlotFree (int controlId)
{
    // The on/off footswitch plays navigation: a control of the patch there would never be played.
    auto* patch = getCurrentPatch();
    return patch != nullptr && patch->getControl (controlId) == nullptr
           && controlId != engine.getFootswitchOfFunction (NavOnOff);
}

bool VlEditor::hasFreeControlSlot (int controlId)
{
    const auto first = isPedalId (controlId) ? FirstPedalId : 1;
    const auto last = isFootswitchId (controlId) ? lastFootswitchId : SecondPedalId;

    for (int id = first; id <= last; ++id)
        if (isControlSlotFree (id))
            return true;

    return false;
}

void VlEditor::updatePatchButtons()
{
    updateButtons ((int) EditorList::Kind::patches);
}
void VlEditor::updateControlButtons()
{
    updateButtons ((int) EditorList::Kind::controls);
}
void VlEditor::updateStateButtons()
{
    updateButtons ((int) EditorList::Kind::states);
}
void VlEditor::updateActionButtons()
{
    updateButtons ((int) EditorList::Kind::actions);
}

void VlEditor::updateButtons (int kind)
{
    auto* pane = content != nullptr ? content->getPane (kind) : nullptr;

    if (pane == nullptr)
        return;

    for (int c = (int) Command::addPatch; c <= (int) Command::testState; ++c)
        if (auto* button = pane->getButton ((Command) c))
            button->setEnabled (canRun ((Command) c));
}

//==============================================================================
juce::PopupMenu VlEditor::createAddControlMenu()
{
    juce::PopupMenu menu;

    if (getCurrentPatch() == nullptr)
        return menu;

    for (int id = 1; id <= SecondPedalId; ++id)
    {
        if (id == FirstPedalId)
            menu.addSeparator();

        juce::String text;
        getControlText (id, text);
        menu.addItem (id, text, isControlSlotFree (id));
    }

    return menu;
}

juce::PopupMenu VlEditor::createDuplicateControlMenu()
{
    juce::PopupMenu menu;

    if (getCurrentPatch() == nullptr || currentControl == nullptr)
        return menu;

    const auto pedal = isPedalId (currentControlId);

    for (int id = pedal ? FirstPedalId : 1; id <= (pedal ? SecondPedalId : lastFootswitchId); ++id)
    {
        juce::String text;
        getControlText (id, text);
        menu.addItem (id, "As " + text, isControlSlotFree (id));
    }

    return menu;
}

juce::PopupMenu VlEditor::createAddActionMenu()
{
    juce::PopupMenu menu;

    if (currentState == nullptr)
        return menu;

    const auto add = [&menu] (AddActionMenuId id, bool enabled) {
        menu.addItem ((int) id, createAction (id)->getTypeName(), enabled);
    };

    if (isFootswitchId (currentControlId))
    {
        VlEngine::ControlsByPatch pedals;

        for (auto id : { AddActionMenuId::programChange, AddActionMenuId::controlChange, AddActionMenuId::note,
                         AddActionMenuId::sysex })
            add (id, true);

        menu.addSeparator();

        // One go-to a state: of two, only the first would ever be followed.
        add (AddActionMenuId::goToPatch, engine.getNumPatches() >= 2 && ! currentState->hasGoToAction());
        add (AddActionMenuId::muteExprPedal, engine.collectPatchPedals (pedals));
    }
    else
    {
        add (AddActionMenuId::pedalControlChange, true);
        add (AddActionMenuId::pedalSysex, true);
    }

    return menu;
}

std::unique_ptr<VlAction> VlEditor::createAction (AddActionMenuId itemId)
{
    switch (itemId)
    {
        case AddActionMenuId::pedalControlChange: return std::make_unique<VlamCCContinuos>();
        case AddActionMenuId::pedalSysex: return std::make_unique<VlaSysExContinuos>();
        case AddActionMenuId::goToPatch: return std::make_unique<VlaGoTo>();
        case AddActionMenuId::muteExprPedal: return std::make_unique<VlaMute>();
        case AddActionMenuId::programChange: return std::make_unique<VlamProgramChange>();
        case AddActionMenuId::controlChange: return std::make_unique<VlamCCFixed>();
        case AddActionMenuId::note: return std::make_unique<VlamNote>();
        case AddActionMenuId::sysex: return std::make_unique<VlaSysExFixed>();
    }

    return nullptr;
}

void VlEditor::setMenuRun (MenuRun run)
{
    menuRun = std::move (run);
}

int VlEditor::chooseFrom (juce::PopupMenu (VlEditor::*createMenu)(), Command command, juce::Button& button)
{
    const auto menu = (this->*createMenu)();

    // The button stays pressed while its menu is open.
    button.setToggleState (true, juce::dontSendNotification);
    auto chosen = 0;

    if (menuRun != nullptr)
    {
        chosen = menuRun (menu, button);
    }
    else
    {
        juce::PopupMenu shown (menu);
        shown.setLookAndFeel (VlLookAndFeel::getInstance (true));
        chosen = shown.showAt (&button);
    }

    button.setToggleState (false, juce::dontSendNotification);

    // The menu's loop runs the rebuilds still pending, which may change the selection:
    // what was chosen must still be offered now.
    return canRun (command) && isEnabledItem ((this->*createMenu)(), chosen) ? chosen : 0;
}

bool VlEditor::confirm (const juce::String& title, const juce::String& question)
{
    return CPrompts::get().askOkCancel (CPrompts::Icon::question, title, question, "OK", "Cancel");
}

//==============================================================================
void VlEditor::addPatch()
{
    if (canRun (Command::addPatch))
        appendPatch (std::make_unique<VlPatch>());
}

void VlEditor::duplicatePatch()
{
    if (canRun (Command::duplicatePatch))
        appendPatch (std::make_unique<VlPatch> (*getCurrentPatch()));
}

void VlEditor::appendPatch (std::unique_ptr<VlPatch> patch)
{
    const auto index = engine.addPatch (std::move (patch));
    keepEditingMode();

    // A full list takes no more.
    if (index < 0)
        return;

    reloadAndSelect (patchesList, index);
    propertyChanged (0);
}

void VlEditor::deletePatch()
{
    if (! canRun (Command::deletePatch))
        return;

    const auto deleted = engine.deletePatches (getCurrentPatch());
    keepEditingMode();

    if (! deleted)
        return;

    forgetSelection();
    reselectCurrentPatch();
    propertyChanged (0);
}

void VlEditor::deleteAllPatches()
{
    if (! canRun (Command::deleteAllPatches))
        return;

    const CStMenuLock menuLock;

    if (! confirm ("Deleting all patches...", "Do you really want to delete all patches?")
        || ! canRun (Command::deleteAllPatches))
        return;

    // Before anything goes: nothing may read a selected object meanwhile.
    forgetSelection();
    engine.clear();
    engine.newDocument();
    keepEditingMode();
    reselectCurrentPatch();
    propertyChanged (0);
}

void VlEditor::reselectCurrentPatch()
{
    if (patchesList != nullptr)
    {
        patchesList->deselectAllRows();
        reloadAndSelect (patchesList, engine.getCurrentPatchIndex());
    }
}

void VlEditor::movePatchUp()
{
    if (canRun (Command::movePatchUp))
        movePatchTo (engine.getCurrentPatchIndex() - 1);
}

void VlEditor::movePatchDown()
{
    if (canRun (Command::movePatchDown))
        movePatchTo (engine.getCurrentPatchIndex() + 1);
}

void VlEditor::movePatchTo (int target)
{
    engine.movePatch (engine.getCurrentPatchIndex(), (juce::uint16) target);

    // The moved patch is selected again at its new place; both rows show other names.
    reloadAndSelect (patchesList, target);
    keepEditingMode();

    if (auto* ui = getUserInterface())
        ui->refreshPatchList();

    propertyChanged (0);
}

//==============================================================================
void VlEditor::addControl (juce::Button& button)
{
    if (! canRun (Command::addControl))
        return;

    if (const auto id = chooseFrom (&VlEditor::createAddControlMenu, Command::addControl, button); id != 0)
    {
        auto control = std::make_unique<VlControlCfg>();
        control->addNewState();
        control->setLabel (newText);
        control->setTarget (newText);
        putControl (id, std::move (control));
    }
}

void VlEditor::duplicateControl (juce::Button& button)
{
    if (! canRun (Command::duplicateControl))
        return;

    if (const auto id = chooseFrom (&VlEditor::createDuplicateControlMenu, Command::duplicateControl, button); id != 0)
        putControl (id, std::make_unique<VlControlCfg> (*currentControl));
}

void VlEditor::putControl (int controlId, std::unique_ptr<VlControlCfg> control)
{
    auto* patch = getCurrentPatch();

    if (auto* placed = patch->setControl (controlId, std::move (control)))
    {
        refreshControlsList();

        if (controlsList != nullptr)
            controlsList->selectRow (patch->indexOfControl (placed));

        propertyChanged (0);
    }
}

void VlEditor::deleteControl()
{
    if (canRun (Command::deleteControl) && engine.deleteControls (currentControl))
    {
        forgetSelection();
        refreshControlsList();
        propertyChanged (0);
    }
}

void VlEditor::deleteAllControls()
{
    if (canRun (Command::deleteAllControls) && engine.deleteControls (nullptr))
    {
        forgetSelection();
        refreshControlsList();
        propertyChanged (0);
    }
}

//==============================================================================
void VlEditor::addState()
{
    if (canRun (Command::addState))
    {
        auto state = std::make_unique<VlControlState>();
        state->setLabel (newText);
        appendState (std::move (state));
    }
}

void VlEditor::duplicateState()
{
    if (canRun (Command::duplicateState))
        appendState (std::make_unique<VlControlState> (*currentState));
}

void VlEditor::appendState (std::unique_ptr<VlControlState> state)
{
    currentControl->addState (std::move (state));
    refreshStatesList();
    selectLastRow (statesList);
    propertyChanged (0);

    // "init state" is offered from two states on.
    deferUpdates (rebuildControlPanel);
}

void VlEditor::deleteState()
{
    if (! canRun (Command::deleteState))
        return;

    const CStMenuLock menuLock;
    auto* asked = currentState;

    // The box's loop runs the rebuilds still pending: the state asked about must still be the one selected.
    if (! confirm ("Deleting states...", "Do you really want to delete this state?") || ! canRun (Command::deleteState)
        || currentState != asked)
        return;

    setCurrentState (nullptr);
    currentControl->deleteState (asked);
    refreshStatesList();
    propertyChanged (0);
    deferUpdates (rebuildControlPanel);
}

void VlEditor::deleteAllStates()
{
    if (! canRun (Command::deleteAllStates))
        return;

    const CStMenuLock menuLock;

    if (! confirm ("Deleting all states...", "Do you really want to delete all states?")
        || ! canRun (Command::deleteAllStates))
        return;

    setCurrentState (nullptr);
    currentControl->deleteAllStates();
    currentControl->addNewState();
    refreshStatesList();
    propertyChanged (0);
    deferUpdates (rebuildControlPanel);
}

void VlEditor::moveStateUp()
{
    if (canRun (Command::moveStateUp))
        moveStateTo (currentStateIndex - 1);
}

void VlEditor::moveStateDown()
{
    if (canRun (Command::moveStateDown))
        moveStateTo (currentStateIndex + 1);
}

void VlEditor::moveStateTo (int target)
{
    currentControl->moveState (currentStateIndex, target);
    reloadAndSelect (statesList, target);
    propertyChanged (0);
}

//==============================================================================
void VlEditor::addAction (juce::Button& button)
{
    if (! canRun (Command::addAction))
        return;

    if (const auto id = chooseFrom (&VlEditor::createAddActionMenu, Command::addAction, button); id != 0)
        appendAction (createAction ((AddActionMenuId) id));
}

void VlEditor::duplicateAction()
{
    if (canRun (Command::duplicateAction))
        if (auto copy = currentAction->clone())
            appendAction (std::move (copy));
}

void VlEditor::appendAction (std::unique_ptr<VlAction> action)
{
    currentState->addAction (std::move (action));
    refreshActionsList();
    selectLastRow (actionsList);
    propertyChanged (0);
}

void VlEditor::deleteAction()
{
    if (! canRun (Command::deleteAction))
        return;

    const CStMenuLock menuLock;
    auto* asked = currentAction;

    if (! confirm ("Deleting actions...", "Do you really want to delete this action?")
        || ! canRun (Command::deleteAction) || currentAction != asked)
        return;

    setCurrentAction (nullptr);
    currentState->deleteAction (asked);
    refreshActionsList();
    propertyChanged (0);
}

void VlEditor::deleteAllActions()
{
    if (! canRun (Command::deleteAllActions))
        return;

    const CStMenuLock menuLock;
    auto* asked = currentState;

    if (! confirm ("Deleting all actions...", "Do you really want to delete all actions?")
        || ! canRun (Command::deleteAllActions) || currentState != asked)
        return;

    setCurrentAction (nullptr);
    currentState->deleteAllActions();
    refreshActionsList();
    propertyChanged (0);
}

void VlEditor::moveActionUp()
{
    if (canRun (Command::moveActionUp))
        moveActionTo (currentActionIndex - 1);
}

void VlEditor::moveActionDown()
{
    if (canRun (Command::moveActionDown))
        moveActionTo (currentActionIndex + 1);
}

void VlEditor::moveActionTo (int target)
{
    currentState->moveAction (currentActionIndex, target);
    reloadAndSelect (actionsList, target);
    propertyChanged (0);
}

//==============================================================================
void VlEditor::testAction (int value)
{
    if (value == 0)
        releaseTest();
    else if (canRun (Command::testAction))
        pressTest ({ currentAction });
}

void VlEditor::testState (int value)
{
    if (value == 0)
    {
        releaseTest();
        return;
    }

    if (! canRun (Command::testState))
        return;

    std::vector<const VlAction*> actions;

    for (const auto& action : currentState->getActions())
        actions.push_back (action.get());

    pressTest (actions);
}

void VlEditor::pressTest (const std::vector<const VlAction*>& actions)
{
    // One test at a time.
    releaseTest();

    // An action added or changed here may name an output that nothing else named yet.
    engine.openMidiOutputs();

    // Copies of what plays now: the release goes to the very notes that sound, whatever
    // is selected or changed in the rows before the mouse is let go.
    for (const auto* action : actions)
        testedActions.push_back (action->clone());

    runTestedActions (1);
}

void VlEditor::releaseTest()
{
    runTestedActions (0);
    testedActions.clear();
}

void VlEditor::runTestedActions (juce::uint8 value)
{
    for (const auto& action : testedActions)
    {
        if (auto* mute = dynamic_cast<VlaMute*> (action.get()); mute != nullptr && mute->getPedal() != nullptr)
            noteMutedBeforeTests (mute->getPedal()->getEnd());

        action->execute (value);
    }
}

void VlEditor::noteMutedBeforeTests (VlControlCfg& pedal)
{
    for (const auto& [noted, muted] : mutedBeforeTests)
        if (noted == &pedal)
            return;

    mutedBeforeTests.emplace_back (&pedal, pedal.isMuted());
}

void VlEditor::forgetDeletedPedals()
{
    const auto held = [this] (const VlControlCfg* pedal) {
        for (const auto& patch : engine.getPatches())
            if (patch->getIdOfControl (pedal) >= 0)
                return true;

        return false;
    };

    mutedBeforeTests.erase (std::remove_if (mutedBeforeTests.begin(), mutedBeforeTests.end(),
                                            [&] (const auto& noted) { return ! held (noted.first); }),
                            mutedBeforeTests.end());
}

void VlEditor::restoreMutesBeforeTests()
{
    // A test leaves nothing behind: the pedal plays again as it did before the editor
    // opened, and the instrument hears where it stands (or its minimum, muted again).
    forgetDeletedPedals();

    for (const auto& [pedal, muted] : mutedBeforeTests)
        if (&pedal->getEnd() == pedal)
            pedal->setMuted (muted);

    mutedBeforeTests.clear();
}
