#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"

// Triggering, state stepping, muting, initial playing and links of one control.
class VlControlCfgTests : public EngineFixture
{
protected:
    // A footswitch whose state n plays note 60 + n.
    VlControlCfg& addNotes (VlPatch& patch, int controlId, int numStates)
    {
        auto& control = addControl (patch, controlId, numStates);

        for (int i = 0; i < numStates; ++i)
            addAction<VlamNote> (*control.getState (i)).setNumber ((juce::uint8) (60 + i));

        return control;
    }

    // The states that ran, from the notes sent: "+n" for a press of state n, "-n" for a release.
    juce::String takeStatesRun()
    {
        juce::String run;

        for (auto& bytes : takeSent())
            run << ((bytes[0] & 0xf0) == 0x90 ? " +" : " -") << (bytes[1] - 60);

        return run.trim();
    }

    static void pressAndRelease (VlControlCfg& control, int id)
    {
        control.trigger (id, 1);
        control.trigger (id, 0);
    }
};

TEST_F (VlControlCfgTests, ReleasesStepThroughSeveralStatesInCircleAndAGoToThereRedrawsTheNewPatchsButton)
{
    auto& patch = addPatch();
    auto& three = addNotes (patch, 4, 3);
    auto& single = addNotes (patch, 2, 1);
    play();
    juce::String current;
    for (int i = 0; i < 4; ++i)
    {
        pressAndRelease (three, 4);
        current << three.getCurrentStateIndex();
    }
    EXPECT_EQ (takeStatesRun(), "+0 -0 +1 -1 +2 -2 +0 -0");
    EXPECT_EQ (current, "1201");
    EXPECT_EQ (ui.takeCalls().size(), 4);
    pressAndRelease (single, 2);
    EXPECT_EQ (single.getCurrentStateIndex(), 0);
    EXPECT_TRUE (ui.getCalls().isEmpty());

    // A go-to at the release redraws the button of the new patch.
    auto& second = addPatch();
    addControl (second, 3).setLabel ("there");
    auto& control = addControl (patch, 3, 2);
    addAction<VlaGoTo> (*control.getState (0)).setPatch (1);
    play();
    press (3);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (ui.getCalls()[ui.getCalls().size() - 1], "refresh button 3 there");
}

TEST_F (VlControlCfgTests, AMutedControlRunsNothingButKeepsItsValueAndStillStepsAndACopyIsUnmuted)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 11);
    addAction<VlamCCContinuos> (*pedal.getState (0));
    auto& footswitch = addNotes (patch, 1, 2);
    play();
    pedal.setMuted (true);
    pedal.trigger (11, 90);
    EXPECT_EQ (pedal.getCurrentValue(), 90);
    EXPECT_TRUE (takeSent().empty());    // muting maps to 0, which counts as sent already
    pedal.setMuted (false);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 0, 90 } }));
    footswitch.setMuted (true);
    footswitch.setMuted (true);
    EXPECT_EQ (takeStatesRun(), "-0");
    engine.setMode (ModeInitialising);
    footswitch.setMuted (true);
    EXPECT_EQ (takeStatesRun(), "-0");
    pressAndRelease (footswitch, 1);
    EXPECT_EQ (footswitch.getCurrentStateIndex(), 1);
    EXPECT_EQ (takeStatesRun(), "");

    // A copy owns copies of the states and starts unmuted at 0.
    pedal.setMuted (true);
    VlControlCfg copy (pedal);
    EXPECT_FALSE (copy.isMuted());
    EXPECT_EQ (copy.getCurrentValue(), 0);
    copy.getState (0)->deleteAllActions();
    EXPECT_EQ (pedal.getState (0)->getActions().size(), 1u);
}

TEST_F (VlControlCfgTests, AMuteLeftBehindALinkDoesNotSilenceTheControlOnceItIsPlainAgain)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 11);
    addControl (addPatch(), 11);
    play();
    pedal.setMuted (true);
    pedal.setLinked (true);
    pedal.setLinked (false);
    addAction<VlamCCContinuos> (*pedal.getState (0)).setController (7);
    engine.openMidiOutputs();
    pedal.trigger (11, 90);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 7, 90 } }));
}

TEST_F (VlControlCfgTests, ACraftedSelfMutingChainDoesNotRecurse)
{
    // Pedal 11 of patch 0 links to footswitch 1 of patch 1, whose state mutes that pedal.
    auto& first = addPatch();
    auto& second = addPatch();
    auto& footswitch = addNotes (second, 1, 1);
    auto& link = addLink (first, 11, 1, 1);
    auto& mute = addAction<VlaMute> (*footswitch.getState (0));
    mute.setPatch (0);
    ASSERT_TRUE (link.resolveLink());
    ASSERT_EQ (mute.getPedal(), &link);
    play();
    engine.setMode (ModeInitialising);
    link.setMuted (true);
    EXPECT_TRUE (footswitch.isMuted());
    EXPECT_EQ (takeStatesRun(), "-0");
}

TEST_F (VlControlCfgTests, InitialStateAndValuePlayWhatTheUserWouldHave)
{
    auto& patch = addPatch();
    auto& control = addNotes (patch, 5, 3);
    auto& pedal = addControl (patch, 12);
    addAction<VlamCCContinuos> (*pedal.getState (0)).setController (7);
    play();
    control.playInitState();
    EXPECT_EQ (takeStatesRun(), "+2 -2");
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
    control.setInitState (2);
    control.playInitState();
    EXPECT_EQ (takeStatesRun(), "+1 -1");
    EXPECT_EQ (control.getCurrentStateIndex(), 2);
    control.setInitState (5);
    control.playInitState();
    EXPECT_EQ (control.getInitState(), 0);
    EXPECT_EQ (takeStatesRun(), "+2 -2");
    pedal.setInitValue (200);    // only a file holds such a value
    pedal.sendInitValue();
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 7, 127 } }));
    EXPECT_EQ (pedal.getCurrentValue(), 127);
}

TEST_F (VlControlCfgTests, DeletingStatesKeepsOneAndACurrentIndexInRange)
{
    VlControlCfg control;
    control.addNewState();
    control.deleteState (control.getState (0));
    EXPECT_EQ (control.getStateCount(), 1);
    control.addNewState();
    control.addNewState();
    auto* c = control.getState (2);
    control.setCurrentState (2);
    control.deleteState (control.getState (0));
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
    EXPECT_EQ (control.getState (1), c);
    control.setCurrentState (1);
    control.deleteState (c);
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
    control.setCurrentState (4);
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
}

TEST_F (VlControlCfgTests, ALinkShowsAndPlaysTheControlAtTheEndOfItsChainOrNothingWhenLostOrCyclic)
{
    auto& first = addPatch();
    auto& second = addPatch();
    auto& target = addNotes (second, 3, 2);
    target.setLabel ("Solo");
    auto& link = addLink (first, 4, 1, 3);
    link.setLabel ("own");
    auto& lost = addNotes (first, 5, 1);    // states a link cannot have: never played
    lost.setPendingLink (true, 9, 1);
    EXPECT_TRUE (link.resolveLink());
    EXPECT_EQ (link.getLabel() + "/" + link.getOwnLabel(), "Solo/own");
    EXPECT_EQ (link.getLinkPatchIndex() * 100 + link.getLinkControlId(), 103);
    play();
    pressAndRelease (link, 4);
    EXPECT_EQ (takeStatesRun(), "+0 -0");
    EXPECT_EQ (link.getCurrentState(), target.getState (1));

    // A target that is not in the document: the link stays, plays nothing, is written as such.
    EXPECT_FALSE (lost.resolveLink());
    EXPECT_EQ (lost.getLinkPatchIndex(), 65535);
    EXPECT_EQ (lost.getLinkControlId(), -1);
    EXPECT_EQ (lost.getStateCount(), 0);
    EXPECT_EQ (lost.getCurrentState(), nullptr);
    pressAndRelease (lost, 5);
    EXPECT_EQ (takeStatesRun(), "");

    // A cyclic chain is a link without target.
    auto& a = addLink (first, 1, 1, 1);
    auto& b = addLink (second, 1, 0, 1);
    EXPECT_TRUE (a.resolveLink());     // its target b is not resolved yet
    EXPECT_FALSE (b.resolveLink());    // b -> a -> b: cut
    EXPECT_EQ (&a.getEnd(), &b);
    EXPECT_EQ (&b.getEnd(), &b);
    a.trigger (1, 0);
}

TEST_F (VlControlCfgTests, LinkingPicksTheFirstLinkableControlOfAnotherPatch)
{
    auto& first = addPatch();
    auto& second = addPatch();
    auto& third = addPatch();
    auto& control = addNotes (first, 2, 2);
    addControl (second, 11);
    addLink (second, 9, 2, 7);
    auto& plain = addControl (third, 7);
    auto& other = addControl (third, 8);
    control.setLinked (true);
    EXPECT_EQ (control.getStates().size(), 0u);
    EXPECT_EQ (control.getLinkControl(), &plain);
    control.setLinkControl (8);
    EXPECT_EQ (control.getLinkControl(), &other);
    control.setLinkPatch (1);    // only a pedal and a link there
    EXPECT_EQ (control.getLinkPatch(), &second);
    EXPECT_EQ (control.getLinkControl(), nullptr);
    control.setLinked (false);
    EXPECT_EQ (control.getStateCount(), 1);
}
