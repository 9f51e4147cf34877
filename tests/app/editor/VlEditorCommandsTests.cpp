#include "app/VlLookAndFeel.h"
#include "app/editor/EPC_Choice.h"
#include "engine/VlaMute.h"
#include "fixtures/EditorFixture.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/FocusedWindow.h"
#include "fixtures/ModalTest.h"

using Kind = EditorList::Kind;
using Command = VlEditor::Command;

/** The editor open on the fixture's document, which reset() brings back; the editor's
    menus answer `menuAnswer` (0: dismissed) and the questions prompts.okCancelAnswers.
*/
class VlEditorCommandsTests : public EditorFixture
{
protected:
    VlEditorCommandsTests()
    {
        VlEditor::setMenuRun ([this] (const juce::PopupMenu& menu, juce::Button& button) {
            shownMenu = itemsOf (menu) + (button.getToggleState() ? "" : " (button up)");
            return menuAnswer;
        });
        open();
    }

    ~VlEditorCommandsTests() override { VlEditor::setMenuRun (nullptr); }

    FakePrompts prompts;
    int menuAnswer = 0;
    juce::String shownMenu;
    const std::unique_ptr<juce::XmlElement> navigation = engine.createNavigationXml(),
                                            saved = engine.createPatchesXml();

    void reset()
    {
        editor.finish();
        ASSERT_TRUE (engine.loadDocumentContent (*navigation, *saved, false));
        engine.startPlaying (0);
        editor.told.clear();
        prompts.prompts.clear();
        menuAnswer = 0;
        open();
    }

    static juce::String itemsOf (const juce::PopupMenu& menu)
    {
        juce::StringArray items;

        for (juce::PopupMenu::MenuItemIterator i (menu); i.next();)
            items.add (i.getItem().isSeparator ? "-"
                                               : juce::String (i.getItem().itemID)
                                                     + (i.getItem().isEnabled ? " " : " (off) ") + i.getItem().text);

        return items.joinIntoString (", ");
    }

    static Kind paneOf (Command c)
    {
        return c <= Command::movePatchDown       ? Kind::patches
               : c <= Command::deleteAllControls ? Kind::controls
               : c <= Command::moveStateDown     ? Kind::states
                                                 : Kind::actions;
    }

    static void pen (juce::Component& c, juce::Point<int> point, bool down)
    {
        mouse (c, point, down, juce::MouseInputSource::InputSourceType::pen);
    }

    juce::TextButton& button (Command c) { return *pane (paneOf (c)).getButton (c); }

    /** A click on the command's button with a pen, whose first press JUCE takes as its arrival. */
    void clickButton (Command c)
    {
        for (auto down : { false, true, false })
            pen (button (c), { 5, 5 }, down);
    }
    void run (Command c) { editor.runCommand (c, button (c), 0); }
    void reopen()
    {
        editor.finish();
        open();
    }
    VlPatch& patch (int index) { return *engine.getPatch ((juce::uint16) index); }

    /** Each pane's buttons in command order, 1 enabled, 0 not. */
    juce::String enabled()
    {
        juce::String bits;

        for (int c = 0; c <= (int) Command::testState; ++c)
            bits << (c > 0 && paneOf ((Command) c) != paneOf ((Command) (c - 1)) ? " " : "")
                 << (button ((Command) c).isEnabled() ? "1" : "0");

        return bits;
    }

    /** Patches, controls, the current control's state labels, actions, and the selection. */
    juce::String shown()
    {
        juce::StringArray labels;

        for (int s = 0; s < editor.getStateCount(); ++s)
            labels.add (editor.getCurrentControl()->getState (s)->getLabel());

        return patchNames() + " | " + textsOf (Kind::controls) + " | " + labels.joinIntoString (",") + " | "
               + textsOf (Kind::actions) + " | " + selectionShown();
    }

    void onePatchWithoutPedals()
    {
        editor.finish();
        engine.clear();
        addPatch ("Only");
        engine.goToPatch (0, true);
        open();
    }
    void linkInSolo()
    {
        addLink (patch (2), 4, 0, 1).resolveLink();
        list (Kind::patches).selectRow (2);
        list (Kind::controls).selectRow (1);
    }
    void select (Kind k, int row) { list (k).selectRow (row); }

    void addFootswitches (std::initializer_list<int> ids, int onOff = 10)
    {
        engine.setNavigationFunction (NavOnOff, onOff, false);
        for (auto id : ids)
            addControl (patch (0), id);
        reopen();
    }

    /** The 256th state of footswitch 1, added and selected through the editor. */
    void add256thState()
    {
        while (patch (0).getControl (1)->getStateCount() < 255)
            patch (0).getControl (1)->addState (std::make_unique<VlControlState>());

        reopen();
        run (Command::addState);
    }
};

//==============================================================================
TEST_F (VlEditorCommandsTests, ButtonsAreEnabledByWhatIsSelected)
{
    const struct
    {
        std::function<void()> setUp;
        const char* buttons;
    } cases[] {
        { [] {}, "111101 1111 111101 11110111" },
        { [&] { onePatchWithoutPedals(); }, "110000 1000 000000 00000000" },
        { [&] { linkInSolo(); }, "111110 1111 000000 00000000" },
        { [&] { select (Kind::controls, 2); }, "111101 1111 000000 11110000" },    // a pedal
        { [&] { select (Kind::patches, 1); }, "111111 1111 110000 10110011" },     // a go-to
        { [&] { list (Kind::controls).deselectAllRows(); }, "111101 1001 000000 00000000" },
        { [&] {
             addFootswitches ({ 3, 4, 5, 6, 7, 8, 9, 12 });
         },
          "111101 0011 111101 11110111" },    // 11 controls, on/off on 10
        { [&] {
             addFootswitches ({ 3, 4, 5, 6, 7, 8, 9, 12 }, -1);
         },
          "111101 1111 111101 11110111" },
        { [&] {
             addFootswitches ({ 3, 4, 5, 6, 7, 8, 9, 10, 12 }, -1);
         },
          "111101 0011 111101 11110111" },
        { [&] {
             addFootswitches ({ 3, 4, 5, 6, 7, 8, 10, 12 });
         },
          "111101 1111 111101 11110111" },                              // 9 free beside a control on 10
        { [&] { add256thState(); }, "111101 1111 001110 10000000" },    // positions are 8 bits
    };

    for (const auto& c : cases)
    {
        reset();
        c.setUp();
        EXPECT_EQ (enabled(), c.buttons) << selectionShown();
        EXPECT_TRUE ((editor.getCurrentState() != nullptr) == (editor.getCurrentStateIndex() != -1)
                     && (editor.getCurrentAction() != nullptr) == (editor.getCurrentActionIndex() != -1));
    }
}

TEST_F (VlEditorCommandsTests, EachCommandChangesTheModelAndSelectsWhatItMadeInModeSix)
{
    const juce::String intro ("Intro,Verse,Solo | footswitch 1,footswitch 2,expr. pedal 1 | ");
    const struct
    {
        Command command;
        Kind kind;
        int row, answer;
        juce::String after;
    } cases[] {
        { Command::addPatch, Kind::patches, 0, 0, "Intro,Verse,Solo,Untitled |  |  |  | 3 -1 -1 -1 id -1" },
        { Command::duplicatePatch, Kind::patches, 0, 0,
          "Intro,Verse,Solo,Intro | footswitch 1,footswitch 2,expr. pedal 1 | Off,Half,Full | midi note,midi program "
          "change | 3 0 0 0 id 1" },
        { Command::deletePatch, Kind::patches, 0, 0,
          "Verse,Solo | footswitch 1,expr. pedal 2 |  | go to patch | 0 0 0 0 id 1" },
        { Command::deleteAllPatches, Kind::patches, 0, 0, "Untitled |  |  |  | 0 -1 -1 -1 id -1" },
        { Command::movePatchDown, Kind::patches, 0, 0,
          "Verse,Intro,Solo | footswitch 1,footswitch 2,expr. pedal 1 | Off,Half,Full | midi note,midi program change "
          "| 1 0 0 0 id 1" },
        { Command::movePatchUp, Kind::patches, 1, 0,
          "Verse,Intro,Solo | footswitch 1,expr. pedal 2 |  | go to patch | 0 0 0 0 id 1" },
        { Command::addControl, Kind::controls, 0, 5,
          "Intro,Verse,Solo | footswitch 1,footswitch 2,footswitch 5,expr. pedal 1 |  |  | 0 2 0 -1 id 5" },
        { Command::duplicateControl, Kind::controls, 0, 4,
          "Intro,Verse,Solo | footswitch 1,footswitch 2,footswitch 4,expr. pedal 1 | Off,Half,Full | midi note,midi "
          "program change | 0 2 0 0 id 4" },
        { Command::deleteControl, Kind::controls, 0, 0,
          "Intro,Verse,Solo | footswitch 2,expr. pedal 1 |  | midi sysex | 0 0 0 0 id 2" },
        { Command::deleteAllControls, Kind::controls, 0, 0, "Intro,Verse,Solo |  |  |  | 0 -1 -1 -1 id -1" },
        { Command::addState, Kind::states, 0, 0, intro + "Off,Half,Full,??? |  | 0 0 3 -1 id 1" },
        { Command::duplicateState, Kind::states, 0, 0,
          intro + "Off,Half,Full,Off | midi note,midi program change | 0 0 3 0 id 1" },
        { Command::deleteState, Kind::states, 0, 0, intro + "Half,Full | midi program change | 0 0 0 0 id 1" },
        { Command::deleteAllStates, Kind::states, 0, 0, intro + " |  | 0 0 0 -1 id 1" },
        { Command::moveStateDown, Kind::states, 0, 0,
          intro + "Half,Off,Full | midi note,midi program change | 0 0 1 0 id 1" },
        { Command::moveStateUp, Kind::states, 1, 0, intro + "Half,Off,Full | midi program change | 0 0 0 0 id 1" },
        { Command::addAction, Kind::actions, 0, 25,
          intro + "Off,Half,Full | midi note,midi program change,midi note | 0 0 0 2 id 1" },
        { Command::duplicateAction, Kind::actions, 0, 0,
          intro + "Off,Half,Full | midi note,midi program change,midi note | 0 0 0 2 id 1" },
        { Command::deleteAction, Kind::actions, 0, 0, intro + "Off,Half,Full | midi program change | 0 0 0 0 id 1" },
        { Command::deleteAllActions, Kind::actions, 0, 0, intro + "Off,Half,Full |  | 0 0 0 -1 id 1" },
        { Command::moveActionDown, Kind::actions, 0, 0,
          intro + "Off,Half,Full | midi program change,midi note | 0 0 0 1 id 1" },
        { Command::moveActionUp, Kind::actions, 1, 0,
          intro + "Off,Half,Full | midi program change,midi note | 0 0 0 0 id 1" },
    };

    for (const auto& c : cases)
    {
        reset();
        select (c.kind, c.row);
        menuAnswer = c.answer;
        prompts.okCancelAnswers = { true };
        run (c.command);
        EXPECT_EQ (shown(), c.after) << (int) c.command;
        EXPECT_EQ (editor.told, std::vector<int> { 0 }) << (int) c.command;
        EXPECT_EQ (engine.getMode(), ModeEditing) << (int) c.command;
    }

    // A new control and a new state as the user finds them.
    reset();
    menuAnswer = 7;
    run (Command::addControl);
    EXPECT_EQ (editor.getCurrentControl()->getOwnLabel() + editor.getCurrentControl()->getOwnTarget(), "??????");
}

// Cancelled, dismissed or refused: the document, the selection and the changed mark stay.
TEST_F (VlEditorCommandsTests, ACancelledOrRefusedCommandChangesNothing)
{
    const struct
    {
        Command command;
        std::function<void()> setUp;
        int answer;
        const char* asked;
    } cases[] {
        { Command::deletePatch, {}, 0, "Deleting patches..." },
        { Command::deleteAllPatches, {}, 0, "Deleting all patches..." },
        { Command::deleteControl, {}, 0, "Deleting controls..." },
        { Command::deleteAllControls, {}, 0, "Deleting controls..." },
        { Command::deleteState, {}, 0, "Deleting states..." },
        { Command::deleteAllStates, {}, 0, "Deleting all states..." },
        { Command::deleteAction, {}, 0, "Deleting actions..." },
        { Command::deleteAllActions, {}, 0, "Deleting all actions..." },
        { Command::addControl, {}, 0, "" },
        { Command::addControl, {}, 1, "" },    // taken
        { Command::addAction, {}, 11, "" },    // a pedal's action on a footswitch
        { Command::movePatchUp, {}, 0, "" },
        { Command::movePatchDown, [&] { select (Kind::patches, 2); }, 0, "" },
        { Command::moveStateUp, {}, 0, "" },
        { Command::moveStateDown, [&] { select (Kind::states, 2); }, 0, "" },
        { Command::moveActionUp, {}, 0, "" },
        { Command::moveActionDown, [&] { select (Kind::actions, 1); }, 0, "" },
        { Command::duplicateControl, [&] { list (Kind::controls).deselectAllRows(); }, 3, "" },
        { Command::addState, [&] { select (Kind::controls, 2); }, 0, "" },    // a pedal
        { Command::duplicateState, [&] { select (Kind::controls, 2); }, 0, "" },
        { Command::addAction, [&] { linkInSolo(); }, 25, "" },
        { Command::addState, [&] { linkInSolo(); }, 0, "" },
        { Command::duplicateAction, [&] { select (Kind::patches, 1); }, 0, "" },    // a go-to
        { Command::testAction, [&] { select (Kind::controls, 2); }, 0, "" },
        { Command::addState, [&] { add256thState(); }, 0, "" },
        { Command::duplicateState, [&] { add256thState(); }, 0, "" },
    };

    for (const auto& c : cases)
    {
        reset();

        if (c.setUp != nullptr)
            c.setUp();

        editor.told.clear();
        const auto before = engine.createPatchesXml()->toString() + shown();
        takeSent();
        menuAnswer = c.answer;
        run (c.command);
        EXPECT_EQ (engine.createPatchesXml()->toString() + shown(), before) << (int) c.command;
        EXPECT_TRUE (editor.told.empty() && takeSent().empty()) << (int) c.command;
        EXPECT_EQ (prompts.prompts.empty() ? "" : prompts.prompts.back().title, c.asked) << (int) c.command;
        EXPECT_TRUE (prompts.prompts.empty() || prompts.prompts.back().lockCount > 0);
    }

    // The last patch is never deleted, even when the question would be answered yes.
    reset();
    onePatchWithoutPedals();
    prompts.okCancelAnswers = { true, true };
    run (Command::deleteAllPatches);
    run (Command::deletePatch);
    EXPECT_TRUE (prompts.prompts.empty() && editor.told.empty());
}

TEST_F (VlEditorCommandsTests, MenusOfferTheFreeSlotsAndTheActionsOfTheControlsKind)
{
    const struct
    {
        Command command;
        std::function<void()> setUp;
        const char* items;
    } cases[] {
        { Command::addControl, [&] { engine.setNavigationFunction (NavOnOff, 5, false); },
          "1 (off) footswitch 1, 2 (off) footswitch 2, 3 footswitch 3, 4 footswitch 4, 5 (off) footswitch 5, 6 "
          "footswitch 6, "
          "7 footswitch 7, 8 footswitch 8, 9 footswitch 9, 10 footswitch 10, -, 11 (off) expr. pedal 1, 12 expr. pedal "
          "2" },
        { Command::duplicateControl, [&] { select (Kind::controls, 2); },
          "11 (off) As expr. pedal 1, 12 As expr. pedal 2" },
        { Command::addAction, [] {},
          "23 midi program change, 24 midi control change, 25 midi note, 26 midi sysex, -, 21 go to patch, 22 mute "
          "expr. pedal" },
        { Command::addAction, [&] { select (Kind::patches, 1); },
          "23 midi program change, 24 midi control change, 25 midi note, 26 midi sysex, -, 21 (off) go to patch, 22 "
          "mute expr. pedal" },
        { Command::addAction,
          [&] {
              onePatchWithoutPedals();
              addControl (patch (0), 1);
              reopen();
          },
          "23 midi program change, 24 midi control change, 25 midi note, 26 midi sysex, -, 21 (off) go to patch, 22 "
          "(off) mute expr. pedal" },
        { Command::addAction, [&] { select (Kind::controls, 2); }, "11 midi control change, 12 midi sysex" },
    };

    for (const auto& c : cases)
    {
        reset();
        c.setUp();
        run (c.command);
        EXPECT_EQ (shownMenu, c.items);
        EXPECT_FALSE (button (c.command).getToggleState());
    }
}

// JUCE's own menu, chosen by its keys: the first enabled item is footswitch 3.
TEST_F (VlEditorCommandsTests, TheMenuOpensAtItsButtonInTheApplicationsLook)
{
    VlEditor::setMenuRun (nullptr);
    showEditorOnDesktop();
    auto& add = button (Command::addControl);

    ModalTest::whenModal ([&] (juce::Component& menu) {
        EXPECT_TRUE (add.getToggleState());
        EXPECT_EQ (&menu.getLookAndFeel(), VlLookAndFeel::getInstance (false));
        EXPECT_LT (std::abs (menu.getScreenY() - add.getScreenBounds().getBottom()), 10);
        ModalTest::press (menu, juce::KeyPress (juce::KeyPress::downKey));
        ModalTest::pressReturn (menu);
    });

    run (Command::addControl);
    EXPECT_EQ (textsOf (Kind::controls), "footswitch 1,footswitch 2,footswitch 3,expr. pedal 1");
    EXPECT_FALSE (add.getToggleState());
}

// A note left sounding hangs on the instrument: one press per mouse press, always its release.
TEST_F (VlEditorCommandsTests, TestButtonsPressOnceAndAlwaysRelease)
{
    showEditorOnDesktop();
    auto& single = button (Command::testAction);
    const juce::Point<int> in (5, 5), out (5, -20);
    const MidiBytes noteOn { 0x90, 0, 100 }, noteOff { 0x80, 0, 0 }, program { 0xc0, 0 };
    takeSent();
    pen (single, in, false);    // JUCE takes a new kind of pointer's first press as its arrival

    const struct
    {
        std::vector<std::pair<juce::Point<int>, bool>> moves;
        std::vector<MidiBytes> sent;
    } cases[] {
        { { { in, true } }, { noteOn } },
        { { { out, true }, { in, true }, { out, true } }, {} },      // dragged out and back in, still held
        { { { out, false } }, { noteOff } },                         // let go away from the button
        { { { in, true }, { in, false } }, { noteOn, noteOff } },    // a click
    };

    for (const auto& c : cases)
    {
        for (const auto& [point, down] : c.moves)
            pen (single, point, down);

        EXPECT_EQ (takeSent(), c.sent);
    }

    pen (button (Command::testState), in, true);
    pen (button (Command::testState), in, false);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, program, noteOff }));
    EXPECT_TRUE (editor.told.empty());

    // Taken off the screen while held, as when its window closes.
    pen (single, in, true);
    juce::Component closedWindow;
    closedWindow.addChildComponent (dialog());
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, noteOff }));
}

// Changed while a test button is held, the selection would take the note-off with it.
TEST_F (VlEditorCommandsTests, ATestButtonReleasesExactlyWhatItsPressPlayed)
{
    showEditorOnDesktop();
    auto& single = button (Command::testAction);
    auto& all = button (Command::testState);
    const juce::Point<int> in (5, 5);
    const MidiBytes noteOn { 0x90, 0, 100 }, noteOff { 0x80, 0, 0 }, program { 0xc0, 0 };
    pen (single, in, false);
    takeSent();

    // An arrow key in the actions list: the release comes first, and the button's own finds nothing left.
    pen (single, in, true);
    list (Kind::actions).keyPressed (juce::KeyPress (juce::KeyPress::downKey));
    EXPECT_EQ (editor.getCurrentActionIndex(), 1);
    pen (single, in, false);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, noteOff }));

    // A click in another list while "test all" is held.
    pen (all, in, true);
    click (list (Kind::controls), list (Kind::controls).getRowPosition (1, true).getCentre());
    EXPECT_EQ (editor.getCurrentControlId(), 2);
    pen (all, in, false);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, program, noteOff }));

    // The note changed in its row while held: the release is for the note that sounds.
    select (Kind::controls, 0);
    pen (single, in, true);
    dynamic_cast<EPC_Choice&> (*rowOf (Kind::actions, PropertyId::noteNumber))
        .getComboBox()
        .setSelectedId (61, juce::sendNotificationSync);
    pen (single, in, false);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, noteOff }));
    EXPECT_EQ (dynamic_cast<VlamNote&> (*editor.getCurrentAction()).getNumber(), 60);
}

// Muted by a test, the pedal would play nothing once the editor is closed.
TEST_F (VlEditorCommandsTests, AMuteTriedInTheEditorLeavesThePedalPlayingAfterwards)
{
    auto& pedal = *patch (0).getControl (11);
    addAction<VlaMute> (*footswitch.getState (0)).setPatch (0);
    reopen();
    showEditorOnDesktop();
    select (Kind::actions, 2);
    takeSent();

    for (auto command : { Command::testAction, Command::testState })
    {
        clickButton (command);
        EXPECT_TRUE (pedal.isMuted());
    }

    editor.finish();
    EXPECT_FALSE (pedal.isMuted());
    takeSent();
    engine.onPedalValue (11, 64);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 0, 64 } }));

    // Muted while playing, it stays muted: only what a test did is undone.
    press (1);
    ASSERT_TRUE (pedal.isMuted());
    open();
    select (Kind::actions, 2);
    dynamic_cast<VlaMute&> (*editor.getCurrentAction()).setMuteSwitch (0);
    clickButton (Command::testAction);
    EXPECT_FALSE (pedal.isMuted());
    editor.finish();
    EXPECT_TRUE (pedal.isMuted());
}

// A mute left without its pedal is saved with pedal="-1", which reading the file reports.
TEST_F (VlEditorCommandsTests, DeletingAPedalTakesEveryMuteOfItAndTheFileReadsBackWhole)
{
    addAction<VlaMute> (*patch (0).getControl (2)->getState (0)).setPatch (0);
    reopen();
    showEditorOnDesktop();
    click (list (Kind::controls), list (Kind::controls).getRowPosition (2, true).getCentre());
    prompts.okCancelAnswers = { true };
    clickButton (Command::deleteControl);
    ASSERT_EQ (prompts.prompts.size(), 1u);
    EXPECT_EQ (prompts.prompts[0].details, "The following definitions will be deleted too:\n\n"
                                           "Action <mute expr. pedal> of state <#1> of control <footswitch 2> of "
                                           "patch <0. Intro>;\n\n");
    select (Kind::controls, 1);
    EXPECT_EQ (textsOf (Kind::actions), "midi sysex");

    editor.finish();
    prompts.prompts.clear();
    ASSERT_TRUE (engine.loadDocumentContent (*engine.createNavigationXml(), *engine.createPatchesXml(), false));
    engine.startPlaying (0);
    EXPECT_TRUE (prompts.prompts.empty()) << prompts.prompts[0].text;
}

// "init state" lists the states: the control panel is built again whenever their number changes.
TEST_F (VlEditorCommandsTests, TheControlPanelFollowsTheNumberOfStates)
{
    showEditorOnDesktop();
    select (Kind::controls, 1);
    prompts.okCancelAnswers = { true, true };
    const auto initStates = [this] {
        auto* row = dynamic_cast<EPC_Choice*> (rowOf (Kind::controls, PropertyId::initState));
        juce::StringArray items;

        for (int i = 0; row != nullptr && i < row->getComboBox().getNumItems(); ++i)
            items.add (row->getComboBox().getItemText (i));

        return row != nullptr ? items.joinIntoString (",") : juce::String ("-");
    };
    const struct
    {
        Command command;
        const char* offered;
    } steps[] {
        { Command::addState, "#1,#2" },
        { Command::duplicateState, "#1,#2,#3" },
        { Command::deleteState, "#1,#2" },
        { Command::deleteAllStates, "-" },
    };

    for (const auto& step : steps)
    {
        clickButton (step.command);
        MessageLoop::pumpFor (20);
        EXPECT_EQ (initStates(), juce::String (step.offered)) << (int) step.command;
    }
}

// The initial state chosen stays initial while others are deleted; when it goes, the first one is.
TEST_F (VlEditorCommandsTests, DeletingStatesNeverMakesAnotherStateInitial)
{
    showEditorOnDesktop();
    const struct
    {
        int initial;
        Command command;
        int selected;
        const char* initialOnStage;
    } cases[] {
        { 1, Command::deleteState, 1, "Off" },    // "Half", the initial state, deleted
        { 2, Command::deleteState, 0, "Full" },
        { 1, Command::deleteAllStates, 0, "" },    // the one empty state that clearing leaves
    };

    for (const auto& c : cases)
    {
        reset();
        choose (rowOf (Kind::controls, PropertyId::initState), c.initial);
        select (Kind::states, c.selected);
        prompts.okCancelAnswers = { true };
        clickButton (c.command);
        clickButton (Command::addState);
        MessageLoop::pumpFor (20);

        // Saved, then opened: a load plays each footswitch's initial state.
        editor.finish();
        ASSERT_TRUE (engine.loadDocumentContent (*navigation, *engine.createPatchesXml(), false));
        engine.startPlaying (0);
        EXPECT_EQ (patch (0).getControl (1)->getCurrentState()->getLabel(), juce::String (c.initialOnStage))
            << (int) c.command;
    }
}

// "is link" yes deletes the control's states: when they hold actions, it asks first, as deleting asks.
TEST_F (VlEditorCommandsTests, MakingALinkAsksFirstWhenItsStatesHoldActions)
{
    const juce::String question ("Making a link... Do you really want to make this control a link? Its states are "
                                 "deleted.\nThe following definitions will be deleted too:\n\n"
                                 "Action <midi note> of state <#1> of control <footswitch 1> of patch <0. Intro>;\n\n"
                                 "Action <midi program change> of state <#1> of control <footswitch 1> of patch "
                                 "<0. Intro>;\n\n"
                                 "Action <midi program change> of state <#2> of control <footswitch 1> of patch "
                                 "<0. Intro>;\n\n");
    const struct
    {
        int patch, control;
        bool answer, asked, linked;
    } cases[] {
        { 0, 0, false, true, false },    // "no", or Escape
        { 0, 0, true, true, true },
        { 1, 1, false, false, true },    // Verse's pedal, whose one state holds nothing
    };

    for (const auto& c : cases)
    {
        reset();
        select (Kind::patches, c.patch);
        select (Kind::controls, c.control);
        auto& control = *editor.getCurrentControl();
        const auto before = engine.createPatchesXml()->toString();
        prompts.okCancelAnswers = { c.answer };
        auto& isLink = dynamic_cast<EPC_Choice&> (*rowOf (Kind::controls, PropertyId::isLink)).getComboBox();
        isLink.keyPressed (juce::KeyPress (juce::KeyPress::upKey));    // "no" to "yes"
        MessageLoop::pumpFor (20);

        EXPECT_EQ (control.isLinked(), c.linked);
        ASSERT_EQ (prompts.prompts.size(), c.asked ? 1u : 0u);

        if (c.asked)
        {
            const auto& asked = prompts.prompts[0];
            EXPECT_EQ (asked.title + " " + asked.text + "\n" + asked.details, question);
            EXPECT_GT (asked.lockCount, 0);
        }

        if (! c.linked)
        {
            EXPECT_EQ (engine.createPatchesXml()->toString(), before);
            EXPECT_EQ (dynamic_cast<EPC_Choice&> (*rowOf (Kind::controls, PropertyId::isLink)).getComboBox().getText(),
                       "no");
            EXPECT_TRUE (editor.told.empty());
        }
    }
}

// A row changed with the arrow keys rebuilds its panel: the next key goes on in the rebuilt row.
TEST_F (VlEditorCommandsTests, ARowChangedByKeyKeepsTheFocusThroughItsPanelsRebuild)
{
    FocusedWindow window (dialog());
    const auto up = juce::KeyPress::upKey, down = juce::KeyPress::downKey;
    const struct
    {
        int patch, control;
        Kind pane;
        PropertyId id;
        int keys[2];
        const char* shown;    // after each key: the row's choice, and whether the rebuilt row has the focus
    } cases[] {
        { 0, 2, Kind::actions, PropertyId::ccMinValue, { down, down }, "1 1,2 1" },
        { 0, 2, Kind::actions, PropertyId::ccMaxValue, { up, up }, "126 1,125 1" },
        { 1, 1, Kind::controls, PropertyId::isLink, { up, down }, "yes 1,no 1" },    // Verse's pedal: no action
    };

    for (const auto& c : cases)
    {
        select (Kind::patches, c.patch);
        select (Kind::controls, c.control);
        auto* row = rowOf (c.pane, c.id);
        click (*row, { 5, row->getHeight() / 2 });    // on its name: the focus goes to its choices
        juce::StringArray shown;

        for (auto key : c.keys)
        {
            mark (rowOf (c.pane, c.id));
            window.getPeer()->handleKeyPress (juce::KeyPress (key));

            for (int i = 0; i < 100 && isMarked (rowOf (c.pane, c.id)); ++i)
                MessageLoop::pumpFor (10);

            row = rowOf (c.pane, c.id);
            shown.add (dynamic_cast<EPC_Choice&> (*row).getComboBox().getText() + " "
                       + juce::String ((int) (! isMarked (row) && row->hasKeyboardFocus (true))));
        }

        EXPECT_EQ (shown.joinIntoString (","), juce::String (c.shown)) << (int) c.id;
    }
}

TEST_F (VlEditorCommandsTests, HoldingDnMovesTheStateToTheLast)
{
    footswitch.addState (std::make_unique<VlControlState>());
    reopen();
    showEditorOnDesktop();
    auto& dn = button (Command::moveStateDown);

    // JUCE repeats while a pointer of any kind is down on the button and the real one is over it.
    dialog().setTopLeftPosition (dialog().getScreenPosition() + juce::Desktop::getMousePosition()
                                 - dn.getScreenBounds().getCentre());
    pen (dn, { 5, 5 }, false);
    pen (dn, { 5, 5 }, true);
    MessageLoop::pumpUntil ([&] { return ! dn.isEnabled(); });
    pen (dn, { 5, 5 }, false);
    EXPECT_EQ (
        shown().fromFirstOccurrenceOf ("| ", false, false),
        "footswitch 1,footswitch 2,expr. pedal 1 | Half,Full,,Off | midi note,midi program change | 0 0 3 0 id 1");
}
