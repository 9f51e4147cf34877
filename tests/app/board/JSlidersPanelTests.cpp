#include "engine/VlamCCContinuos.h"
#include "fixtures/BoardFixture.h"

// The soft take-over holds back every value, from the pedal board or the mouse,
// until the pedal has reached the shown control's last value.
class JSlidersPanelTests : public BoardFixture
{
protected:
    VlSlider& slider (int id) { return *sliders.getSlider (id); }

    /** A pedal control that follows with controller `controller` on "Synth". */
    static VlControlCfg& addPedal (VlPatch& patch, int id, int controller)
    {
        auto& control = addControl (patch, id);
        addAction<VlamCCContinuos> (*control.getState (0)).setController ((juce::uint8) controller);
        return control;
    }

    /** The pedal board moves the pedal; the main thread then delivers the change. */
    void pedal (int id, int value)
    {
        sliders.setPedalValue (id, (juce::uint8) value);
        deliverNotifications();
    }

    /** Pedal 11 of the only patch last had 90 while the slider stands at 40. */
    VlControlCfg& pendingFrom40To90()
    {
        auto& control = addPedal (addPatch(), 11, 7);
        control.setInitValue (90);
        pedal (11, 40);
        engine.openMidiOutputs();
        engine.startPlaying (0);
        play();
        takeSent();
        return control;
    }

    static std::vector<MidiBytes> cc7 (std::initializer_list<int> values)
    {
        std::vector<MidiBytes> messages;
        for (auto value : values)
            messages.push_back ({ 0xb0, 7, (juce::uint8) value });
        return messages;
    }
};

//==============================================================================
TEST_F (JSlidersPanelTests, ShowsTheControlOfEachPedalOrNothingAndDimsItWhileMuted)
{
    auto& control = addPedal (addPatch(), 12, 7);
    control.setLabel ("Volume");
    control.setTarget ("Synth");
    control.setColor (0xff30a050);
    play();
    EXPECT_TRUE (slider (12).isEnabled());
    EXPECT_EQ (sliders.getNameLabel (12)->getText() + "/" + sliders.getTargetLabel (12)->getText(), "Volume/Synth");
    EXPECT_EQ (slider (12).getBarColour(), juce::Colour (0xff30a050));
    EXPECT_FALSE (slider (11).isEnabled());
    EXPECT_EQ (sliders.getNameLabel (11)->getText() + sliders.getTargetLabel (11)->getText(), "");

    // Muted, the pedal is dimmed and still moves its control; unmuted, the value is sent.
    control.setMuted (true);
    EXPECT_TRUE (slider (12).isMuted());
    pedal (12, 64);
    EXPECT_EQ (control.getCurrentValue(), 64);
    control.setMuted (false);
    EXPECT_EQ (takeSent(), cc7 ({ 64 }));
}

TEST_F (JSlidersPanelTests, NothingPassesUntilThePedalReachesTheControlsValue)
{
    auto& control = pendingFrom40To90();
    EXPECT_EQ (slider (11).getDirection(), 1);
    pedal (11, 89);
    pedal (11, 85);
    EXPECT_TRUE (takeSent().empty());
    EXPECT_EQ (control.getCurrentValue(), 90);

    // Passing the value completes the take-over with the value reached; then every change passes.
    pedal (11, 95);
    pedal (11, 94);
    EXPECT_EQ (takeSent(), cc7 ({ 95, 94 }));

    // Values that arrive before the main thread runs reach the engine as one, the latest.
    for (int value : { 10, 20, 30 })
        sliders.setPedalValue (11, (juce::uint8) value);

    sliders.setPedalValue (12, 90);    // no control there
    EXPECT_TRUE (takeSent().empty());
    deliverNotifications();
    EXPECT_EQ (takeSent(), cc7 ({ 30 }));
}

TEST_F (JSlidersPanelTests, APedalKeepsItsValueWhenItsPatchIsSelectedAgain)
{
    addPedal (addPatch(), 11, 7);
    addPedal (addPatch(), 11, 8);
    play();
    EXPECT_TRUE (slider (11).isTakenOver());
    pedal (11, 50);

    // Patch 1's pedal last had 0: the slider must come down to it.
    engine.goToPatch (1, true);
    EXPECT_EQ (slider (11).getDirection(), -1);
    pedal (11, 1);

    // Patch 0's pedal kept its 50: the slider must come up to it.
    engine.goToPatch (0, true);
    EXPECT_EQ (slider (11).getDirection(), 1);
    pedal (11, 49);
    pedal (11, 55);
    EXPECT_EQ (takeSent(), cc7 ({ 50, 55 }));
}

TEST_F (JSlidersPanelTests, MouseDragsTakeTheSameRoad)
{
    auto& control = pendingFrom40To90();
    showOnDesktop();
    const auto drag = [this] (int value, bool down) {
        mouse (slider (11), { slider (11).getWidth() / 2, juce::roundToInt (slider (11).getPositionOfValue (value)) },
               down);
    };

    drag (40, true);
    drag (60, true);
    EXPECT_TRUE (takeSent().empty());
    drag (100, true);
    drag (110, true);
    drag (110, false);
    EXPECT_EQ (takeSent().size(), 2u);
    EXPECT_EQ (control.getCurrentValue(), (int) slider (11).getValue());
    EXPECT_GT (control.getCurrentValue(), 100);
}

TEST_F (JSlidersPanelTests, ARefreshBeforeAPedalValueArrivesKeepsTheTakeOverOfTheSameControl)
{
    auto& patch = addPatch();
    auto& control = addPedal (patch, 11, 7);
    auto& other = addPedal (patch, 12, 8);
    addPedal (addPatch(), 11, 9);
    play();
    pedal (11, 30);

    // 60 is on its way to the main thread when muting the other pedal refreshes the board.
    sliders.setPedalValue (11, 60);
    other.setMuted (true);
    EXPECT_TRUE (slider (11).isTakenOver());
    takeSent();
    deliverNotifications();
    EXPECT_EQ (takeSent(), cc7 ({ 60 }));

    // The same control with a value that changed meanwhile must be reached again.
    control.trigger (11, 90);
    takeSent();
    sliders.refreshAll();
    EXPECT_EQ (slider (11).getDirection(), 1);
    pedal (11, 70);
    EXPECT_TRUE (takeSent().empty());
    pedal (11, 95);
    EXPECT_EQ (takeSent(), cc7 ({ 95 }));

    // Another control (a patch change) starts a take-over, and the value on its way is dropped.
    sliders.setPedalValue (11, 100);
    engine.goToPatch (1, true);
    EXPECT_EQ (slider (11).getDirection(), -1);
    deliverNotifications();
    EXPECT_TRUE (takeSent().empty());
    EXPECT_EQ (control.getCurrentValue(), 95);
}
