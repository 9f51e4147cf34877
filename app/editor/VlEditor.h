#pragma once

#include "app/editor/EditorSelection.h"
#include "common/CSingleInstance.h"
#include "common/gui/CModalDialog.h"

class EditorList;
class JEditorContentComponent;
class VlUserInterface;

//==============================================================================
/** The patches editor, "Patches setup": four lists (patches, the current patch's
    controls, the current control's states, the current state's actions), each with a
    property panel whose rows edit the model directly.

    The editor keeps no patch of its own: the current patch is the engine's, and a
    patch chosen in the editor becomes the engine's current patch. It holds the
    selected control, state and action, which the rows ask for at every read and
    write. A selection flows down the chain at once: choosing a patch selects its
    first control, whose first state and that state's first action follow, each panel
    rebuilt on the way. A row's change that needs panels rebuilt has them rebuilt on a
    later turn of the message loop, so no row is deleted inside its own notification; a
    row that had the keyboard focus has it again once rebuilt.

    While it is open the engine is in mode 6 (input plays nothing), also after a patch
    was selected inside it; when it closes the engine is in mode 1, every control is
    back at its first state (nothing is sent) and the outputs that the actions name are
    open.

    Showing is split so that tests can run it without a modal loop: prepare() opens
    the editor, runModal() blocks while the window is up, finish() closes it.

    A normal object over an engine that outlives it; while it exists it is the instance
    that getInstance() answers (getInstance(true) makes one over the engine singleton,
    owned until deleteInstance()). The window's place is kept in windowState.
    Main thread only.

    Each job lives in a file of its own, named in its section below: the dialog's life
    (VlEditor.cpp), the lists' data (VlEditorLists.cpp), the selection chain
    (VlEditorSelectionChain.cpp), the property panels (VlEditorPanels.cpp), what follows
    a row's change (VlEditorChanges.cpp) and the panes' commands (VlEditorCommands.cpp).
*/
class VlEditor : public CModalDialog,
                 public EditorSelection,
                 private juce::AsyncUpdater
{
public:
    /** What the panes' buttons ask for, in the panes' order. */
    enum class Command
    {
        addPatch,
        duplicatePatch,
        deletePatch,
        deleteAllPatches,
        movePatchUp,
        movePatchDown,
        addControl,
        duplicateControl,
        deleteControl,
        deleteAllControls,
        addState,
        duplicateState,
        deleteState,
        deleteAllStates,
        moveStateUp,
        moveStateDown,
        addAction,
        duplicateAction,
        deleteAction,
        deleteAllActions,
        moveActionUp,
        moveActionDown,
        testAction,
        testState
    };

    //==============================================================================
    /** @name The dialog's life (VlEditor.cpp). */

    /** Nothing selected, no device names; the content is made at the first showing. */
    explicit VlEditor (VlEngine& engine);

    /** Deletes the content with its panes, lists and rows. */
    ~VlEditor() override;

    /** The editor that exists; when there is none and `create` is true, a new one over
        the engine singleton, owned until deleteInstance(). Null otherwise.
    */
    static VlEditor* getInstance (bool create);

    /** Deletes the editor that getInstance(true) made, if any. */
    static void deleteInstance();

    /** Shows the editor modally (1020 x 500, where it was last closed) and returns
        when it is closed: prepare(), runModal(), finish().
    */
    void show();

    /** Opens the editor without showing its window: makes the content at the first
        time, sets mode 6, collects the device names and selects the engine's current
        patch, its first control, state and action. With no current patch every panel
        shows "No editable properties". False, changing nothing, when the content cannot
        be made.
    */
    bool prepare();

    /** Shows the prepared content in a modal window; returns when it is closed. */
    void runModal();

    /** Closes the editor: commits a text being typed, drops the selection and any
        rebuild still pending, sets mode 1, puts every control back to its first state,
        opens the outputs the actions name and refreshes the main window.
    */
    void finish();

    /** True between prepare() and finish(). */
    bool isOpen() const noexcept { return open; }

    /** The content, null before the first showing. */
    JEditorContentComponent* getContent() const noexcept { return content.get(); }

    /** The names the device rows offer: the present outputs, then, when some output is
        present and an action names one that is not, an empty entry (a separator), then
        each absent name once in the order of first use. Names compare case-sensitively.
    */
    void collectOutputDeviceNames();

    /** Puts every control of every patch back to its first state, sending nothing, and
        redraws the main board.
    */
    void resetControlStates();

    //==============================================================================
    /** @name The lists and what they show (VlEditorLists.cpp). A text operation leaves
        `text` as it was when its object does not exist.
    */

    /** Called by each list as it is made: the editor keeps one list of each kind. */
    void registerList (EditorList& list);

    /** Called by each list as it goes. */
    void unregisterList (EditorList& list);

    /** The list of that kind (1..4), null before it registered. */
    EditorList* getList (int kind) const noexcept;

    int getPatchCount() const noexcept;
    int getControlCount();
    int getStateCount() const noexcept;
    int getActionCount() const noexcept;

    /** "3. Solo" for the patch at position 3 named Solo. */
    void getPatchText (int index, juce::String& text) const;

    /** "footswitch 4" for 4, "expr. pedal 2" for 12. */
    static void getControlText (int controlId, juce::String& text);

    /** The control text of the control at that row (id order) of the patch; a null
        patch means the current patch.
    */
    void getControlRowText (const VlPatch* patch, int row, juce::String& text);

    /** "#1" for the first state of the control (null: the current control). */
    void getStateText (const VlControlCfg* control, int index, juce::String& text) const;

    /** The type name ("midi note", "go to patch"...) of the state's action at that index
        (null: the current state).
    */
    void getActionText (const VlControlState* state, int index, juce::String& text) const;

    //==============================================================================
    /** @name What the rows edit (EditorSelection) and the selection chain, fed by the
        lists' selection reports, -1 for none (VlEditorSelectionChain.cpp).
    */
    VlEngine& getEngine() override { return engine; }

    /** The engine's current patch (its real patch, not the navigation patch, while open). */
    VlPatch* getCurrentPatch() override;

    VlControlCfg* getCurrentControl() override { return currentControl; }
    VlControlState* getCurrentState() override { return currentState; }
    VlAction* getCurrentAction() override { return currentAction; }
    const juce::StringArray& getOutputDeviceNames() override { return outputDeviceNames; }

    /** The id (1..12) of the current control, -1 for none. */
    int getCurrentControlId() const noexcept { return currentControlId; }

    /** The row of the current state, -1 for none. */
    int getCurrentStateIndex() const noexcept { return currentStateIndex; }

    /** The row of the current action, -1 for none. */
    int getCurrentActionIndex() const noexcept { return currentActionIndex; }

    void patchSelectionChanged (int row);
    void selectPatch (int index);
    void refreshControlsList();
    void selectControl (int row);
    void setCurrentControl (VlControlCfg* control, int controlId);
    void refreshStatesList();
    void selectState (int row);
    void setCurrentState (VlControlState* state);
    void refreshActionsList();
    void selectAction (int row);
    void setCurrentAction (VlAction* action);

    //==============================================================================
    /** @name The property panels (VlEditorPanels.cpp): each empties its panel and, when
        its object exists, fills it with that object's rows.
    */
    void buildPatchProperties();
    void buildControlProperties();
    void buildStateProperties();
    void buildActionProperties();

    //==============================================================================
    /** @name What follows a row's change (VlEditorChanges.cpp). */

    /** After a row wrote a value (or, with 0, after a command): repaints what shows it,
        schedules the panel rebuilds the id needs, and marks the document changed.
        A change of a link (ids 13 to 15) drops the current state and action at once:
        the states they belonged to may be gone already.
    */
    void propertyChanged (int propertyId) override;

    //==============================================================================
    /** @name The panes' commands, their menus and the rules that enable their buttons
        (VlEditorCommands.cpp).
    */

    /** A pane's button was clicked (or, for the test buttons, pressed: `value` 1, and
        released: 0). A text being typed is committed first.
    */
    void runCommand (Command command, juce::Button& button, int value);

    /** True when the command's button is to be enabled: the panes' rules, which every
        command checks again itself, so that one reached while its button is disabled (a
        key, a test, a rebuild still pending) does nothing. False while the editor is closed.
    */
    bool canRun (Command command);

    /** @name The patches pane's commands. A new or copied patch goes at the end of the list
        and is selected; nothing is added to a full list (MaxPatches). The engine asks before
        a patch is deleted, with what depends on it; clearing asks here and leaves one new
        "Untitled" patch. The moves exchange the current patch with its neighbour.
    */
    void addPatch();
    void duplicatePatch();
    void deletePatch();
    void deleteAllPatches();
    void movePatchUp();
    void movePatchDown();

    /** @name The controls pane's commands. Adding and duplicating offer, in a menu at the
        button, the free ids (duplicating: of the current control's kind); the new control
        has the label and target "???" and one empty state. The engine asks before controls
        are deleted, with the links and actions that go with them.
    */
    void addControl (juce::Button& button);
    void duplicateControl (juce::Button& button);
    void deleteControl();
    void deleteAllControls();

    /** @name The states pane's commands, for a control that is not a link. A footswitch holds
        at most MaxStates states; clearing asks, and leaves one new empty state.
    */
    void addState();
    void duplicateState();
    void deleteState();
    void deleteAllStates();
    void moveStateUp();
    void moveStateDown();

    /** @name The actions pane's commands, for a control that is not a link. Adding offers the
        kinds of action of the control's kind in a menu at the button.
    */
    void addAction (juce::Button& button);
    void duplicateAction();
    void deleteAction();
    void deleteAllActions();
    void moveActionUp();
    void moveActionDown();

    /** With 1, a press: runs the current action (testAction) or every action of the current
        state (testState) as a footswitch would, after opening the outputs the actions name.
        With 0, the release of what that press played, whatever is selected or changed since;
        a release is also sent before the selection changes, before any other command runs
        and as the editor closes. Changes nothing in the document; a pedal that a test muted
        or unmuted gets back its flag when the editor closes.
    */
    void testAction (int value);
    void testState (int value);

    /** The most states a footswitch holds: the model keeps state positions in 8 bits. */
    static constexpr int MaxStates = 256;

    //==============================================================================
    /** @name What the enabling rules ask. */
    bool canMovePatchUp() const noexcept;
    bool canMovePatchDown() const noexcept;
    bool canMoveStateUp() const noexcept;
    bool canMoveStateDown() const noexcept;
    bool canMoveActionUp() const noexcept;
    bool canMoveActionDown() const noexcept;

    /** True when the current patch can take a control under that id: the id is not
        defined there and is not the footswitch of the navigation on/off function.
    */
    bool isControlSlotFree (int controlId);

    /** True when some id of the kind of `controlId` (footswitches for 1..10, pedals for
        11 and 12, any control for other values) is free.
    */
    bool hasFreeControlSlot (int controlId);

    /** Sets the buttons of a pane enabled by canRun(); called after each selection report
        of the pane's list. Nothing before the content exists.
    */
    void updatePatchButtons();
    void updateControlButtons();
    void updateStateButtons();
    void updateActionButtons();

    //==============================================================================
    /** The item ids of the add-action menu. */
    enum class AddActionMenuId
    {
        pedalControlChange = 11,
        pedalSysex = 12,
        goToPatch = 21,
        muteExprPedal = 22,
        programChange = 23,
        controlChange = 24,
        note = 25,
        sysex = 26
    };

    /** "footswitch 1".."footswitch 10", a separator, "expr. pedal 1" and "2", item id the
        control id, each enabled when isControlSlotFree(). Empty without a current patch.
    */
    juce::PopupMenu createAddControlMenu();

    /** "As footswitch 1".."10", or "As expr. pedal 1" and "2" for a pedal: the ids of the
        current control's kind, enabled as in the add-control menu. Empty without a current
        control.
    */
    juce::PopupMenu createDuplicateControlMenu();

    /** For a footswitch: program change, control change, note, system-exclusive message, a
        separator, "go to patch" (while the document has two patches or more and the state no
        go-to yet) and "mute expr. pedal" (while some patch defines a pedal). For a pedal: the
        continuous control change and system-exclusive message. Empty without a current state.
    */
    juce::PopupMenu createAddActionMenu();

    /** A new action of the class of that add-action menu item, with its defaults; null for
        another id.
    */
    static std::unique_ptr<VlAction> createAction (AddActionMenuId itemId);

    /** Shows `menu` at `button` and returns the id of the item chosen, 0 for none. */
    using MenuRun = std::function<int (const juce::PopupMenu& menu, juce::Button& button)>;

    /** Replaces how the editor's menus are shown (tests script them); null restores JUCE's
        modal popup under the button in the application's look.
    */
    static void setMenuRun (MenuRun run);

private:
    //==============================================================================
    // The dialog's life (VlEditor.cpp).
    void forgetSelection() noexcept;
    void keepEditingMode();
    void refreshMainWindow();
    VlUserInterface* getUserInterface() const noexcept;

    // The selection chain (VlEditorSelectionChain.cpp).
    void refreshList (EditorList* list, bool enabled);
    void settleEditsAndTest();

    // The property panels (VlEditorPanels.cpp).
    juce::PropertyPanel* panelOf (int kind) const;
    void rebuildProperties (int kind);
    void commitOpenEdits();

    // What follows a row's change (VlEditorChanges.cpp).
    void handleAsyncUpdate() override;
    void deferUpdates (juce::uint8 updates);

    // The commands (VlEditorCommands.cpp).
    void updateButtons (int kind);
    int chooseFrom (juce::PopupMenu (VlEditor::*createMenu)(), Command command, juce::Button& button);
    bool confirm (const juce::String& title, const juce::String& question);
    void appendPatch (std::unique_ptr<VlPatch> patch);
    void reselectCurrentPatch();
    void movePatchTo (int target);
    void putControl (int controlId, std::unique_ptr<VlControlCfg> control);
    void appendState (std::unique_ptr<VlControlState> state);
    void moveStateTo (int target);
    void appendAction (std::unique_ptr<VlAction> action);
    void moveActionTo (int target);
    void pressTest (const std::vector<const VlAction*>& actions);
    void releaseTest();
    void runTestedActions (juce::uint8 value);
    void noteMutedBeforeTests (VlControlCfg& pedal);
    void forgetDeletedPedals();
    void restoreMutesBeforeTests();

    //==============================================================================
    VlEngine& engine;
    std::unique_ptr<JEditorContentComponent> content;
    EditorList* patchesList = nullptr;
    EditorList* controlsList = nullptr;
    EditorList* statesList = nullptr;
    EditorList* actionsList = nullptr;
    VlControlCfg* currentControl = nullptr;
    int currentControlId = -1;
    VlControlState* currentState = nullptr;
    int currentStateIndex = -1;
    VlAction* currentAction = nullptr;
    int currentActionIndex = -1;
    juce::StringArray outputDeviceNames;
    bool open = false;

    // What the test button held down played (copies, so that its release is exactly that),
    // and the pedals its mutes touched, with the flag each had before.
    std::vector<std::unique_ptr<VlAction>> testedActions;
    std::vector<std::pair<VlControlCfg*, bool>> mutedBeforeTests;

    // Deferred rebuilds, merged until the next turn of the message loop.
    enum PendingUpdate : juce::uint8
    {
        rebuildControlPanel = 1,
        rebuildActionPanel = 2,
        refreshStateAndActionLists = 4
    };
    juce::uint8 pendingUpdates = 0;

    // One editor at a time: the lists and rows reach it through getInstance().
    CSingleInstance<VlEditor> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlEditor)
};
