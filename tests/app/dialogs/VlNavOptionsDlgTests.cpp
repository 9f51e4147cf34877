#include "app/dialogs/JNavOptionsDlg.h"
#include "app/dialogs/VlNavOptionsDlg.h"
#include "app/editor/EPC_Choice.h"
#include "app/editor/EPC_Color.h"
#include "engine/VlamNote.h"
#include "fixtures/BoardFixture.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/ModalTest.h"
#include "fixtures/RunningApplication.h"

namespace
{
    // The rows of the dialog's panel, top to bottom.
    void collectRows (juce::Component& parent, std::vector<juce::PropertyComponent*>& rows)
    {
        for (auto* child : parent.getChildren())
            if (auto* row = dynamic_cast<juce::PropertyComponent*> (child))
                rows.push_back (row);
            else
                collectRows (*child, rows);
    }

    std::vector<juce::PropertyComponent*> rowsOf (VlNavOptionsDlg& dialog)
    {
        std::vector<juce::PropertyComponent*> rows;
        collectRows (dialog.getContent()->getPanel(), rows);
        return rows;
    }

    juce::PropertyComponent& row (VlNavOptionsDlg& dialog, size_t index)
    {
        return *rowsOf (dialog).at (index);
    }
}

/** The dialog over the engine, whose user interface is the main window's content. */
class VlNavOptionsDlgTests : public BoardFixture
{
protected:
    void whileShown (std::function<void()> steps)
    {
        ModalTest::whileShown ([this] { dialog.show(); }, std::move (steps));
    }

    // Rows 1..6: what the function row shows, or picks the choice at that index as the user does.
    juce::String shown (size_t n) { return dynamic_cast<EPC_Choice&> (row (dialog, n)).getComboBox().getText(); }
    void choose (size_t n, int index)
    {
        dynamic_cast<EPC_Choice&> (row (dialog, n)).getComboBox().setSelectedId (index + 1, juce::sendNotificationSync);
    }
    juce::String board (int footswitch) { return buttons.getButton (footswitch)->getButtonText(); }

    /** A note-on from the pedal board through the input port; the loop runs until `until` holds. */
    void fromBoard (int note, const std::function<bool()>& until)
    {
        ASSERT_TRUE (ports.injectMessage (fcb, juce::MidiMessage::noteOn (1, note, (juce::uint8) 100)));
        MessageLoop::pumpUntil (until);
    }
    bool sentSomething() const { return ! ports.getSentMessages (synth).isEmpty(); }

    /** A note-on from the pedal board; what "Synth" received for it. */
    std::vector<MidiBytes> played (int note)
    {
        std::vector<MidiBytes> received;
        fromBoard (note, [&] { return ! (received = takeSent()).empty(); });
        return received;
    }

    FakePrompts prompts;
    VlNavOptionsDlg dialog { engine };
};

//==============================================================================
TEST_F (VlNavOptionsDlgTests, ShowsTheEngineAfreshAtEachShowingNothingWithoutAPatchOnAGreyGradient)
{
    whileShown ([this] { EXPECT_TRUE (dialog.getContent()->getPanel().isEmpty()); });
    addPatch();
    play();

    for (const int backward : { -1, 4 })
    {
        engine.setNavigationFunction (NavBackward, backward, false);
        whileShown ([this, backward] {
            EXPECT_EQ (rowsOf (dialog).size(), 7u);
            juce::StringArray rows { row (dialog, 0).getName() };
            for (size_t n = 1; n <= 6; ++n)
                rows.add (row (dialog, n).getName() + "=" + shown (n));
            EXPECT_EQ (rows.joinIntoString (", "),
                       "switches color, on/off (*)=Footswitch 10, go up (^)=Footswitch 9, go backward (<)="
                           + juce::String (backward < 0 ? "none" : "Footswitch 4")
                           + ", go forward (>)=Footswitch 5, "
                             "next patch # (+)=Footswitch 2, last patch # (-)=Footswitch 1");
        });
    }

    const auto image = dialog.getContent()->createComponentSnapshot ({ 0, 0, 380, 194 });
    EXPECT_EQ (image.getPixelAt (4, 0), juce::Colour (0xffe3e3e3));
    EXPECT_NEAR (image.getPixelAt (4, 193).getBrightness(),
                 juce::Colour (0xffe3e3e3).contrasting (0.3f).getBrightness(), 0.01f);
}

TEST_F (VlNavOptionsDlgTests, AFootswitchTakenFromAFunctionOrSetToNoneLeavesItUnassignedWhileTheBoardPlays)
{
    addPatches (2);
    play();
    engine.onFootswitch (10, true);
    ASSERT_EQ (board (2), "+");

    whileShown ([this] {
        choose (2, 3);    // go up: footswitch 2, which "+" had; "^" has nowhere to go from here
        EXPECT_EQ (shown (2) + "|" + shown (5) + "|" + board (2), "Footswitch 2|none|");
        choose (5, 4);
        choose (2, 0);
        EXPECT_EQ (shown (2) + "|" + juce::String (engine.getFootswitchOfFunction (NavGoUp)) + "|" + board (3),
                   "none|-1|+");
        press (3);
        EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    });

    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (VlNavOptionsDlgTests, ANewOnOffFootswitchMovesTheControlsInTheWayOnlyWhenTheUserAgrees)
{
    auto& patch = addPatch();
    auto& lead = addControl (patch, 3);
    lead.setLabel ("Lead");
    play();

    for (const bool yes : { false, true })
    {
        engine.setNavigationFunction (NavOnOff, 10, false);
        prompts.okCancelAnswers = { yes };
        whileShown ([this] { choose (1, 4); });
        EXPECT_EQ (patch.getControl (yes ? 1 : 3), &lead);
        EXPECT_EQ (board (3) + board (1) + juce::String (prompts.prompts.back().lockCount), yes ? "*Lead2" : "*2");
    }
}

TEST_F (VlNavOptionsDlgTests, AHeldFootswitchGivenTheOnOffFunctionIsReleasedFirstWhateverTheAnswer)
{
    auto& patch = addPatch();
    auto& lead = addControl (patch, 3);
    addAction<VlamNote> (*lead.getState (0)).setNumber (60);
    play();
    const std::vector<MidiBytes> noteOff { { 0x80, 60, 0 } };

    for (const bool yes : { true, false })
    {
        engine.setNavigationFunction (NavOnOff, 10, false);
        buttons.footswitchEvent (patch.getIdOfControl (&lead), true);
        takeSent();
        prompts.okCancelAnswers = { yes };
        whileShown ([&] { choose (1, patch.getIdOfControl (&lead) + 1); });    // after "none" and a separator
        EXPECT_EQ (takeSent(), noteOff) << yes;
        EXPECT_FALSE (buttons.getButton (engine.getFootswitchOfFunction (NavOnOff))->isFootDown()) << yes;

        // Lifted afterwards: neither a second release nor navigation mode.
        buttons.footswitchEvent (engine.getFootswitchOfFunction (NavOnOff), false);
        EXPECT_TRUE (takeSent().empty()) << yes;
        EXPECT_EQ (engine.getMode(), ModePlay) << yes;
    }
}

TEST_F (VlNavOptionsDlgTests, WhileTheOnOffQuestionIsOpenTheOldFootswitchStillSwitchesNavigation)
{
    // Regression: the function was taken from footswitch 10 before the question, whose
    // press then played the patch's own control there (note 70).
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 10).getState (0)).setNumber (70);
    play();
    engine.setMidiInput ("FCB1010", 1);
    prompts.whileOpen = [this] (auto&) {
        fromBoard (10, [this] { return engine.getMode() == ModeNavigation || sentSomething(); });
        EXPECT_EQ (engine.getMode(), ModeNavigation);
        EXPECT_TRUE (takeSent().empty());
    };

    whileShown ([this] { choose (1, 4); });
    EXPECT_EQ (engine.getFootswitchOfFunction (NavOnOff), 3);
    fromBoard (3, [this] { return engine.getMode() == ModePlay; });
    EXPECT_EQ (played (10), (std::vector<MidiBytes> { { 0x90, 70, 100 } }));
}

TEST_F (VlNavOptionsDlgTests, OnOffLosingItsFootswitchInNavigationModeReturnsToPlayOnTheSamePatch)
{
    // With one patch no symbol can move: the player would be stranded in navigation mode.
    auto& patch = addPatch();
    auto& lead = addControl (patch, 1);
    lead.setLabel ("Lead");
    addAction<VlamNote> (*lead.getState (0)).setNumber (60);
    play();
    engine.setMidiInput ("FCB1010", 1);

    // "none" for on/off, then footswitch 10 given to go up.
    for (const auto& [rowIndex, choice] : { std::pair<size_t, int> { 1, 0 }, std::pair<size_t, int> { 2, 11 } })
    {
        engine.setNavigationFunction (NavOnOff, 10, false);
        fromBoard (10, [this] { return engine.getMode() == ModeNavigation; });
        ASSERT_EQ (board (1), "");

        whileShown ([this, rowIndex = rowIndex, choice = choice] {
            choose (rowIndex, choice);
            EXPECT_EQ (engine.getMode(), ModePlay);
            EXPECT_EQ (board (1), "Lead");
        });

        EXPECT_EQ (engine.getFootswitchOfFunction (NavOnOff), -1);
        EXPECT_EQ (played (1), (std::vector<MidiBytes> { { 0x90, 60, 100 } }));

        // Lifted, so that the next round's press is one of its own.
        ASSERT_TRUE (ports.injectMessage (fcb, juce::MidiMessage::noteOff (1, 1)));
        MessageLoop::pumpUntil ([this] { return ! takeSent().empty(); });
    }
}

TEST_F (VlNavOptionsDlgTests, ALibraryCommandOfTheSwitchesColourRecoloursThePedalsOnTheBoard)
{
    // Regression: the document's pedals took the default colour while the board kept the old one.
    constexpr juce::uint32 green = 0xff00ff00, white = 0xffffffff;
    auto& patch = addPatch();
    addControl (patch, 11).setColor (green);
    addControl (patch, 1).setColor (green);
    play();
    engine.resetColors (&engine.getControlColors());
    const auto colours = [this] {
        return sliders.getSlider (11)->findColour (juce::Slider::thumbColourId).toDisplayString (true) + " "
               + buttons.getButton (1)->findColour (juce::TextButton::buttonColourId).toDisplayString (true);
    };
    ASSERT_EQ (colours(), "FF00FF00 FF00FF00");

    for (const int command : { ColorEditorComponent::deleteCurrentId, ColorEditorComponent::deleteAllId })
    {
        engine.addColor (&engine.getControlColors(), green);
        patch.getControl (11)->setColor (green);
        engine.refreshPedals();
        ColorEditorComponent::setMenuRun ([command] (const juce::PopupMenu&, juce::Component&) { return command; });
        prompts.okCancelAnswers = { true };

        whileShown ([&] {
            auto& swatch = dynamic_cast<EPC_Color&> (row (dialog, 0)).getEditor();
            click (swatch, swatch.getLocalBounds().getCentre());
            EXPECT_EQ (patch.getControl (11)->getColor(), white);
            EXPECT_EQ (colours(), "FFFFFFFF FFFFFFFF");
        });

        EXPECT_EQ (colours(), "FFFFFFFF FFFFFFFF");
    }

    ColorEditorComponent::setMenuRun (nullptr);
}

//==============================================================================
using VlNavOptionsDlgAppTests = RunningApplication;

TEST_F (VlNavOptionsDlgAppTests, ANewColourRecoloursTheSymbolsMarksTheDocumentAndTheWindowKeepsItsPlace)
{
    start (R"(<preferences><nav_dlg state="200 100 380 194"/></preferences>)");

    ModalTest::whenModal ([this] (juce::Component& window) {
        EXPECT_EQ (window.getPosition(), juce::Point<int> (200, 100));
        EXPECT_TRUE (isGreyed (VlApplication::CommandId::navigationPreferences));
        const auto& library = engine.getControlColors();
        dynamic_cast<EPC_Color&> (row (*VlNavOptionsDlg::getInstance (false), 0))
            .getEditor()
            .menuItemChosen ((int) std::distance (library.begin(), library.find (0xffffffff)) + 1);
        window.setTopLeftPosition (300, 220);
        ModalTest::pressEscape (window);
    });

    EXPECT_FALSE (title().endsWith (" *"));
    EXPECT_TRUE (perform (VlApplication::CommandId::navigationPreferences));
    EXPECT_TRUE (title().endsWith (" *")) << title();
    auto& onOff = *JContentComponent::getInstance()->getButtonsPanel().getButton (10);
    EXPECT_EQ (onOff.getButtonText() + " " + onOff.findColour (juce::TextButton::buttonColourId).toDisplayString (true),
               "* FFFFFFFF");
    stop();
    EXPECT_TRUE (home.getPreferencesFile().loadFileAsString().contains (R"(<nav_dlg state="300 220 380 194)"));
}
