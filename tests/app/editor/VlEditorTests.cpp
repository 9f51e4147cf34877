#include "app/editor/EPC_Choice.h"
#include "app/editor/EPC_Color.h"
#include "engine/VlaSysExContinuos.h"
#include "fixtures/EditorFixture.h"
#include "fixtures/ModalTest.h"
#include "fixtures/RunningApplication.h"

using Kind = EditorList::Kind;

class VlEditorTests : public EditorFixture
{
protected:
    /** The pedal board's note for footswitch 1. */
    void pressFootswitchOne()
    {
        engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOn (1, 1, (juce::uint8) 100));
    }

    void releaseFootswitchOne() { engine.handleIncomingMidiMessage (nullptr, juce::MidiMessage::noteOff (1, 1)); }

    /** Types into the text row of the editor on the desktop and presses Return, as the user does. */
    static void type (juce::PropertyComponent* row, const juce::String& text)
    {
        EditorPanel::typeInto (row, text);
        dynamic_cast<juce::Label&> (*row->getChildComponent (0))
            .getCurrentTextEditor()
            ->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));

        // The text editor posts its Return to itself.
        MessageLoop::pumpFor (5);
    }

    /** Counts the paintings of the area of the main window under it: a repaint of anything
        there paints it too.
    */
    struct PaintProbe : juce::Component
    {
        PaintProbe (juce::Component& window, juce::Rectangle<int> area)
        {
            setInterceptsMouseClicks (false, false);
            window.addAndMakeVisible (this);
            setBounds (area);
        }

        void paint (juce::Graphics&) override { ++paints; }

        /** Lets the window finish what it paints now (until it paints nothing for 200 ms),
            then forgets it.
        */
        void settle()
        {
            for (int i = 0; i < 20; ++i)
            {
                paints = 0;
                MessageLoop::pumpFor (200);

                if (paints == 0)
                    break;
            }
        }

        /** True when it is painted within a second (the window paints on a timer, after
            the X server has taken its last picture).
        */
        bool isPainted()
        {
            for (int i = 0; i < 200 && paints == 0; ++i)
                MessageLoop::pumpFor (5);

            return std::exchange (paints, 0) > 0;
        }

        int paints = 0;
    };
};

//==============================================================================
TEST_F (VlEditorTests, PrimingStartsAtTheCurrentPatchInModeSixWhichAPatchChosenInsideKeeps)
{
    // From navigation mode: the document's patch, not the navigation patch.
    engine.goToPatch (1, true);
    engine.onFootswitch (10, true);
    open();
    EXPECT_EQ (engine.getMode(), ModeEditing);
    EXPECT_EQ (selectionShown(), "1 0 0 0 id 1");
    EXPECT_EQ (textsOf (Kind::patches) + " | " + textsOf (Kind::controls) + " | " + textsOf (Kind::states) + " | "
                   + textsOf (Kind::actions),
               "0. Intro,1. Verse,2. Solo | footswitch 1,expr. pedal 2 | #1 | go to patch");
    EXPECT_EQ (buttons.getButton (1)->getButtonText(), "Back");

    list (Kind::patches).selectRow (0);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getMode(), ModeEditing);
    EXPECT_EQ (rowsOf (Kind::patches) + " | " + rowsOf (Kind::controls) + " | " + rowsOf (Kind::states) + " | "
                   + rowsOf (Kind::actions),
               "name,level,color,comment | is link,label,target,color,init state | label,color"
               " | comment,device,channel,number,velocity");
    pressFootswitchOne();
    EXPECT_TRUE (takeSent().empty());

    editor.finish();
    EXPECT_EQ (engine.getMode(), ModePlay);
    pressFootswitchOne();
    EXPECT_FALSE (takeSent().empty());
}

TEST_F (VlEditorTests, APrimingThatSelectsNoPatchLeavesNothingOfAnEarlierShowing)
{
    open();
    editor.finish();

    for (const auto patchesLeft : { 0, 2 })
    {
        engine.clear();
        addPatches (patchesLeft);    // none of them current
        open();
        EXPECT_EQ (selectionShown(), "-1 -1 -1 -1 id -1") << patchesLeft;
        EXPECT_EQ (textsOf (Kind::controls) + textsOf (Kind::states) + textsOf (Kind::actions), "");
        EXPECT_EQ (rowsOf (Kind::patches) + rowsOf (Kind::controls) + rowsOf (Kind::states) + rowsOf (Kind::actions),
                   "----");
        EXPECT_EQ (pane (Kind::patches).getPropertyPanel().getMessageWhenEmpty(), "No editable properties");
        EXPECT_TRUE (editor.getCurrentControl() == nullptr && editor.getCurrentState() == nullptr
                     && editor.getCurrentAction() == nullptr);
        editor.finish();
    }
}

TEST_F (VlEditorTests, ASelectionFlowsDownTheChainAndAChosenStateShowsOnTheMainBoard)
{
    open();
    list (Kind::states).selectRow (2);
    EXPECT_EQ (footswitch.getCurrentStateIndex(), 2);
    EXPECT_EQ (buttons.getButton (1)->getStateLabel(), "Full");
    EXPECT_EQ (textsOf (Kind::actions) + " | " + rowsOf (Kind::actions), " | -");

    // A single state is the control itself; a pedal has its initial value instead.
    const struct
    {
        int row;
        const char* controlRows;
    } controls[] {
        { 1, "is link,label,target,color" },
        { 2, "is link,label,target,color,init value" },
    };

    for (const auto& c : controls)
    {
        list (Kind::controls).selectRow (c.row);
        EXPECT_EQ (rowsOf (Kind::controls) + " | " + rowsOf (Kind::states), juce::String (c.controlRows) + " | -");
        EXPECT_EQ (editor.getCurrentActionIndex(), 0);
    }
}

// "is link" yes deletes the control's states while its row tells the editor; no panel is
// rebuilt inside its own row's notification.
TEST_F (VlEditorTests, ALinkChangeDropsTheStateAtOnceAndRebuildsOnTheNextTurn)
{
    engine.goToPatch (2, true);
    open();
    auto& control = *solo.getControl (3);
    ASSERT_EQ (textsOf (Kind::actions), "midi note");

    choose (rowOf (Kind::controls, PropertyId::isLink), 0);
    EXPECT_TRUE (control.isLinked());
    EXPECT_EQ (editor.told, std::vector<int> { (int) PropertyId::isLink });
    EXPECT_TRUE (editor.getCurrentState() == nullptr && editor.getCurrentAction() == nullptr
                 && editor.getCurrentStateIndex() == -1 && editor.getCurrentActionIndex() == -1);
    EXPECT_EQ (rowsOf (Kind::controls), "is link,label,target,color");

    // The lists still show their rows until the rebuild; painting them reads nothing deleted.
    // Requests made meanwhile are served by the same rebuild.
    const auto image = dialog().createComponentSnapshot (dialog().getLocalBounds());
    editor.propertyChanged ((int) PropertyId::linkControl);
    MessageLoop::pumpFor (20);
    EXPECT_EQ (rowsOf (Kind::controls), "is link,patch,control");
    mark (rowOf (Kind::controls, PropertyId::isLink));
    MessageLoop::pumpFor (20);
    EXPECT_TRUE (isMarked (rowOf (Kind::controls, PropertyId::isLink)));
    EXPECT_EQ (textsOf (Kind::states) + " | " + rowsOf (Kind::states), "#1,#2,#3 | label,color");
    EXPECT_FALSE (pane (Kind::states).getPropertyPanel().isEnabled());

    // Back to a plain control, with one new state.
    choose (rowOf (Kind::controls, PropertyId::isLink), 1);
    MessageLoop::pumpFor (20);
    EXPECT_FALSE (control.isLinked());
    EXPECT_EQ (rowsOf (Kind::controls) + " | " + textsOf (Kind::states) + " | " + textsOf (Kind::actions),
               "is link,label,target,color | #1 | ");
}

TEST_F (VlEditorTests, ClosingSendsNothingResetsTheStatesOpensTheNamedOutputsAndForgetsTheSelection)
{
    const auto drums = ports.plugOutput ("Drums");
    engine.onFootswitch (10, true);
    open();
    dynamic_cast<VlamNote&> (*editor.getCurrentAction()).setDevice ("Drums");
    list (Kind::states).selectRow (1);
    mark (rowOf (Kind::actions, PropertyId::actionComment));
    editor.propertyChanged ((int) PropertyId::datumSize);
    takeSent();

    editor.finish();
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (footswitch.getCurrentStateIndex(), 0);
    EXPECT_TRUE (takeSent().empty());
    EXPECT_TRUE (ports.isOpen (drums));
    EXPECT_EQ (buttons.getButton (1)->getButtonText() + " " + buttons.getButton (1)->getStateLabel(), "Lead Off");
    EXPECT_TRUE (editor.getCurrentControl() == nullptr && editor.getCurrentState() == nullptr
                 && editor.getCurrentAction() == nullptr && editor.getCurrentControlId() == -1);

    // The rebuild asked for before closing never comes.
    MessageLoop::pumpFor (20);
    EXPECT_TRUE (isMarked (rowOf (Kind::actions, PropertyId::actionComment)));

    // Opened from navigation mode, the board and the patch list showed it: both are refreshed.
    engine.setUserInterface (&ui);
    engine.onFootswitch (10, true);
    open();
    ui.takeCalls();
    editor.finish();
    const auto calls = ui.takeCalls();
    EXPECT_TRUE (calls.contains ("refresh list") && calls.contains ("repaint board")) << calls.joinIntoString (",");
}

// The editor plays nothing: a footswitch held as it opens would never hear its release.
TEST_F (VlEditorTests, AFootswitchHeldAsTheEditorOpensIsReleasedAtOnceAndOnePressedInsidePlaysNothing)
{
    const MidiBytes noteOn { 0x90, 0, 100 }, noteOff { 0x80, 0, 0 }, program { 0xc0, 0 };
    auto& button = *buttons.getButton (1);
    takeSent();
    pressFootswitchOne();
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, program }));
    EXPECT_TRUE (button.isDown());

    open();
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOff }));
    EXPECT_FALSE (button.isDown());
    releaseFootswitchOne();
    editor.finish();
    EXPECT_TRUE (takeSent().empty());

    // Pressed while the editor is open, released after: no sound, no step to the next state.
    open();
    pressFootswitchOne();
    editor.finish();
    releaseFootswitchOne();
    EXPECT_TRUE (takeSent().empty());
    EXPECT_EQ (footswitch.getCurrentStateIndex(), 0);
    EXPECT_FALSE (button.isDown());
    pressFootswitchOne();
    releaseFootswitchOne();
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { noteOn, program, noteOff }));
}

// While the editor is open, the main window shows what is being edited.
TEST_F (VlEditorTests, TheMainWindowFollowsNamesLabelsAndThePatchColourWhileTheEditorIsOpen)
{
    showOnDesktop();
    PaintProbe patchList (content, content.getPatchesList().getBounds()), background (content, { 0, 0, 4, 4 });
    open();
    showEditorOnDesktop();
    patchList.settle();

    type (rowOf (Kind::patches, PropertyId::patchName), "Opening");
    EXPECT_TRUE (patchList.isPainted());
    type (rowOf (Kind::controls, PropertyId::controlLabel), "Solo");
    EXPECT_EQ (buttons.getButton (1)->getButtonText(), "Solo");
    type (rowOf (Kind::states, PropertyId::stateLabel), "Soft");
    EXPECT_EQ (buttons.getButton (1)->getStateLabel(), "Soft");
    list (Kind::controls).selectRow (2);
    type (rowOf (Kind::controls, PropertyId::controlLabel), "Swell");
    EXPECT_EQ (sliders.getNameLabel (11)->getText(), "Swell");

    background.settle();
    dynamic_cast<EPC_Color&> (*rowOf (Kind::patches, PropertyId::patchColor)).setColour (0xff336699);
    EXPECT_TRUE (background.isPainted());
}

// Navigation after the editor: "go up" and the colour of the patch as the editor left them.
TEST_F (VlEditorTests, AfterClosingNavigationFollowsTheEditedLevelAndColour)
{
    engine.goToPatch (2, true);    // Solo, which Verse's "Back" goes to, at the same level
    open();
    choose (rowOf (Kind::patches, PropertyId::patchLevel), 1);
    dynamic_cast<EPC_Color&> (*rowOf (Kind::patches, PropertyId::patchColor)).setColour (0xff336699);
    editor.finish();

    engine.onFootswitch (10, true);
    EXPECT_EQ (buttons.getButton (9)->getButtonText(), "^");
    EXPECT_EQ (engine.getCurrentPatch()->getColor(), 0xff336699);
    press (9);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
}

// Patches chosen in the editor are for editing: "go backward" must not lead to them.
TEST_F (VlEditorTests, ChoosingAPatchInTheEditorRecordsNoVisit)
{
    const auto history = engine.getHistory();
    open();
    showEditorOnDesktop();
    click (list (Kind::patches), list (Kind::patches).getRowPosition (2, true).getCentre());
    ASSERT_EQ (engine.getCurrentPatchIndex(), 2);
    editor.finish();
    EXPECT_EQ (engine.getHistory(), history);
}

// Two 7-bit bytes carry at most 16383: a greater value would be shown and saved, but play as another.
TEST_F (VlEditorTests, TheValueRowsOfATwoByteSysexKeepToWhatTwoBytesCarry)
{
    addAction<VlaSysExContinuos> (*intro.getControl (11)->getState (0)).setDatumSize (2);
    open();
    showEditorOnDesktop();
    list (Kind::controls).selectRow (2);
    list (Kind::actions).selectRow (1);
    const auto shown = [this] (PropertyId id) {
        return dynamic_cast<juce::Label&> (*rowOf (Kind::actions, id)->getChildComponent (0)).getText();
    };

    type (rowOf (Kind::actions, PropertyId::sysexMaxValue), "99999");
    type (rowOf (Kind::actions, PropertyId::sysexMinValue), "20000");
    MessageLoop::pumpFor (20);
    EXPECT_EQ (shown (PropertyId::sysexMinValue) + " " + shown (PropertyId::sysexMaxValue), "16382 16383");
}

TEST_F (VlEditorTests, ADoubleClickInTheMainPatchListOpensTheEditor)
{
    showOnDesktop();
    auto shown = juce::String();
    ModalTest::whenModal ([&] (juce::Component& window) {
        shown = window.getName();
        ModalTest::pressEscape (window);
    });
    const auto row = content.getPatchesList().getRowPosition (1, true).getCentre();
    click (content.getPatchesList(), row);
    click (content.getPatchesList(), row);
    EXPECT_EQ (shown + " " + juce::String (engine.getCurrentPatchIndex()) + " " + juce::String (engine.getMode()),
               "Patches setup 1 1");
}

// Names compare case-sensitively: "synth" is not the present "Synth".
TEST_F (VlEditorTests, DeviceRowsOfferThePresentOutputsThenTheAbsentNamesInOrderOfFirstUse)
{
    dynamic_cast<VlaMidi&> (*footswitch.getState (0)->getActions()[0]).setDevice ("X");
    dynamic_cast<VlaMidi&> (*footswitch.getState (0)->getActions()[1]).setDevice ("synth");
    dynamic_cast<VlaMidi&> (*intro.getControl (11)->getState (0)->getActions()[0]).setDevice ("X");

    const auto drums = ports.plugOutput ("Drums");

    for (const auto* names : { "Synth,Drums,,X,synth,Keys", "X,synth,Synth,Keys" })
    {
        open();
        EXPECT_EQ (editor.getOutputDeviceNames().joinIntoString (","), names);
        EXPECT_EQ (dynamic_cast<EPC_Choice&> (*rowOf (Kind::actions, PropertyId::midiDevice)).getComboBox().getText(),
                   "X");
        editor.finish();

        // Without any output present, no separator.
        ports.unplug (synth);
        ports.unplug (drums);
    }
}

//==============================================================================
using VlEditorAppTests = RunningApplication;

TEST_F (VlEditorAppTests, PatchesOpensModallyWhereItWasClosedAndMarksTheDocumentChanged)
{
    start (R"(<preferences><patches_dlg state="150 120 1020 500"/></preferences>)");

    ModalTest::whenModal ([this] (juce::Component& window) {
        EXPECT_EQ (window.getName() + " " + window.getBounds().toString(), "Patches setup 150 120 1020 500");
        EXPECT_TRUE (isGreyed (VlApplication::CommandId::patchesSetup));
        EXPECT_EQ (engine.getMode(), ModeEditing);

        auto& panel = VlEditor::getInstance (false)->getContent()->getPatchesPane().getPropertyPanel();
        EditorPanel::typeInto (EditorPanel::findRow (panel, PropertyId::patchName), "Opening");
        window.setTopLeftPosition (300, 220);
        ModalTest::pressEscape (window);
    });

    EXPECT_TRUE (perform (VlApplication::CommandId::patchesSetup));
    EXPECT_EQ (engine.getPatch (0)->getName(), "Opening");
    EXPECT_TRUE (title().endsWith (" *")) << title();
    EXPECT_EQ (engine.getMode(), ModePlay);

    stop();
    EXPECT_EQ (VlEditor::getInstance (false), nullptr);
    const auto saved = home.getPreferencesFile().loadFileAsString();
    EXPECT_TRUE (saved.contains (R"(<patches_dlg state="300 220 1020 500)")) << saved;
}
