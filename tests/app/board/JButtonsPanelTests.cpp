#include "engine/VlamNote.h"
#include "fixtures/BoardFixture.h"

class JButtonsPanelTests : public BoardFixture
{
protected:
    VlButton& button (int footswitch) { return *buttons.getButton (footswitch); }

    /** The footswitches showing a control, as "number:label" joined by blanks. */
    juce::String shown()
    {
        juce::StringArray enabled;
        for (int footswitch = 1; footswitch <= 10; ++footswitch)
            if (button (footswitch).isEnabled())
                enabled.add (juce::String (footswitch) + ":" + button (footswitch).getButtonText());

        return enabled.joinIntoString (" ");
    }
};

//==============================================================================
TEST_F (JButtonsPanelTests, EachModeShowsItsOwnControls)
{
    auto& control = addControl (addPatch(), 3);
    control.setLabel ("Boost");
    control.setTarget ("Amp");
    control.setColor (0xff2040c0);
    addPatch();
    play();

    // Play: the patch's controls and the symbol of the footswitch that enters navigation.
    EXPECT_EQ (shown(), "3:Boost 10:*");
    EXPECT_EQ (button (3).getTargetText(), "Amp");
    EXPECT_EQ (button (3).findColour (juce::TextButton::buttonColourId), juce::Colour (0xff2040c0));
    EXPECT_EQ (button (4).findColour (juce::TextButton::buttonColourId), juce::Colour (0xff555555));
    engine.onFootswitch (10, true);    // navigation from patch 0: only "+" has somewhere to go
    EXPECT_EQ (shown(), "2:+ 10:*");
    engine.setMode (ModeMidiSetup);
    engine.getLearnPatch().getControl (4)->setLabel ("note 4");
    buttons.refreshAll();
    EXPECT_EQ (shown(), "1: 2: 3: 4:note 4 5: 6: 7: 8: 9: 10:");
    engine.setMode (ModeInitialising);
    buttons.refreshAll();
    EXPECT_EQ (shown(), "");
}

TEST_F (JButtonsPanelTests, AMultiStateControlShowsItsCurrentStateOrNone)
{
    auto& cycling = addControl (addPatch(), 1, 2);
    cycling.getState (0)->setLabel ("Slow");
    cycling.getState (1)->setLabel ("Fast");
    cycling.getState (1)->setColor (0xffff0000);
    auto& stateless = addControl (addPatch(), 1, 4);
    stateless.setCurrentState (3);    // past the two states added below
    stateless.deleteAllStates();
    stateless.addState (std::make_unique<VlControlState>());
    stateless.addState (std::make_unique<VlControlState>());
    play();
    EXPECT_EQ (button (1).getStateLabel(), "Slow");
    buttons.footswitchEvent (1, true);
    buttons.footswitchEvent (1, false);
    EXPECT_EQ (button (1).getStateLabel(), "Fast");
    EXPECT_EQ (button (1).getStateColour(), juce::Colour (0xffff0000));
    engine.goToPatch (1, true);
    EXPECT_TRUE (button (1).isMultiState());
    EXPECT_EQ (button (1).getStateLabel(), "");
    EXPECT_EQ (button (1).getStateColour().getAlpha(), 0);
}

TEST_F (JButtonsPanelTests, MouseClicksPressAndReleaseTheFootswitch)
{
    addAction<VlamNote> (*addControl (addPatch(), 7).getState (0)).setNumber (60);
    play();
    showOnDesktop();
    const auto centre = button (7).getLocalBounds().getCentre();
    mouse (button (7), centre, true);
    EXPECT_TRUE (button (7).isDown());
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 60, 100 } }));
    mouse (button (7), centre + juce::Point<int> (0, 200), true);    // released off the button
    mouse (button (7), centre + juce::Point<int> (0, 200), false);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x80, 60, 0 } }));
}

TEST_F (JButtonsPanelTests, EventsOfOtherIdsReachNeitherButtonNorEngine)
{
    engine.setNavigationFunction (NavOnOff, 0, false);    // 0 would enter navigation
    buttons.footswitchEvent (0, true);
    buttons.footswitchEvent (11, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
}
