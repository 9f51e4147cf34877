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
};

TEST_F (VlControlCfgTests, ReleasesStepThroughTheStatesInCircle)
{
    auto& patch = addPatch();
    auto& control = addNotes (patch, 4, 3);
    play();

    juce::StringArray current;

    for (int i = 0; i < 4; ++i)
    {
        control.trigger (4, 1);
        control.trigger (4, 0);
        current.add (juce::String (control.getCurrentStateIndex()));
    }

    EXPECT_EQ (takeStatesRun(), "+0 -0 +1 -1 +2 -2 +0 -0");
    EXPECT_EQ (current.joinIntoString (","), "1,2,0,1");
    EXPECT_EQ (ui.getCalls().size(), 4);
    EXPECT_EQ (ui.getCalls()[0], "refresh button 4 ");
}

TEST_F (VlControlCfgTests, ASingleStateNeitherStepsNorRedraws)
{
    auto& patch = addPatch();
    auto& control = addNotes (patch, 2, 1);
    play();

    control.trigger (2, 1);
    control.trigger (2, 0);

    EXPECT_EQ (takeStatesRun(), "+0 -0");
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
    EXPECT_TRUE (ui.getCalls().isEmpty());
}

TEST_F (VlControlCfgTests, AMutedControlRunsNothingButKeepsItsValueAndStillSteps)
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
    footswitch.trigger (1, 1);
    footswitch.trigger (1, 0);
    EXPECT_EQ (footswitch.getCurrentStateIndex(), 1);
}

TEST_F (VlControlCfgTests, MutingAgainActsOnlyInModeFive)
{
    auto& patch = addPatch();
    auto& control = addNotes (patch, 3, 1);
    play();

    control.setMuted (true);
    control.setMuted (true);
    EXPECT_EQ (takeStatesRun(), "-0");

    engine.setMode (ModeInitialising);
    control.setMuted (true);
    EXPECT_EQ (takeStatesRun(), "-0");
}

TEST_F (VlControlCfgTests, ACraftedSelfMutingChainDoesNotRecurse)
{
    // Pedal 11 of patch 0 links to footswitch 1 of patch 1, whose state mutes that pedal.
    auto& first = addPatch();
    auto& second = addPatch();
    auto& footswitch = addNotes (second, 1, 1);
    auto& link = addControl (first, 11, 0);
    link.setPendingLink (true, 1, 1);
    auto& mute = addAction<VlaMute> (*footswitch.getState (0));
    mute.setPatch (0);
    mute.setPedalId (11);
    ASSERT_TRUE (link.resolveLink());
    ASSERT_EQ (mute.getPedal(), &link);
    play();

    engine.setMode (ModeInitialising);
    link.setMuted (true);

    EXPECT_TRUE (footswitch.isMuted());
    EXPECT_EQ (takeStatesRun(), "-0");
}

TEST_F (VlControlCfgTests, InitialStatePlaysThePressAndReleaseOfTheStateBefore)
{
    auto& patch = addPatch();
    auto& control = addNotes (patch, 5, 3);

    control.playInitState();
    EXPECT_EQ (takeStatesRun(), "");    // outputs not open yet

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

    auto& single = addNotes (patch, 6, 1);
    single.playInitState();
    EXPECT_EQ (takeStatesRun(), "");
}

TEST_F (VlControlCfgTests, InitialValueRunsStateZeroClampedToAPedalValue)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 12);
    addAction<VlamCCContinuos> (*pedal.getState (0)).setController (7);
    play();

    pedal.setInitValue (200);
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
    auto* a = control.getState (0);
    auto* c = control.getState (2);

    control.setCurrentState (2);
    control.deleteState (a);
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
    EXPECT_EQ (control.getState (1), c);

    control.setCurrentState (1);
    control.deleteState (c);
    EXPECT_EQ (control.getCurrentStateIndex(), 0);

    VlControlState other;
    control.deleteState (&other);
    EXPECT_EQ (control.getStateCount(), 1);

    control.setCurrentState (4);
    EXPECT_EQ (control.getCurrentStateIndex(), 0);
}

TEST_F (VlControlCfgTests, ACopyOwnsCopiesAndStartsUnmutedAtZero)
{
    auto& patch = addPatch();
    auto& control = addNotes (patch, 1, 2);
    control.setLabel ("Lead");
    control.trigger (1, 1);
    control.setMuted (true);

    VlControlCfg copy (control);
    EXPECT_FALSE (copy.isMuted());
    EXPECT_EQ (copy.getCurrentValue(), 0);
    EXPECT_EQ (copy.getLabel(), "Lead");
    EXPECT_NE (copy.getState (0), control.getState (0));

    copy.getState (0)->deleteAllActions();
    EXPECT_EQ (control.getState (0)->getActions().size(), 1u);
}

TEST_F (VlControlCfgTests, ALinkShowsAndPlaysTheControlAtTheEndOfItsChain)
{
    auto& first = addPatch();
    auto& second = addPatch();
    auto& target = addNotes (second, 3, 2);
    target.setLabel ("Solo");
    auto& link = addControl (first, 4, 0);
    link.setPendingLink (true, 1, 3);
    link.setLabel ("own");

    EXPECT_TRUE (link.resolveLink());
    EXPECT_EQ (link.getLabel(), "Solo");
    EXPECT_EQ (link.getOwnLabel(), "own");
    EXPECT_EQ (link.getLinkPatchIndex(), 1);
    EXPECT_EQ (link.getLinkControlId(), 3);
    play();

    link.trigger (4, 1);
    link.trigger (4, 0);
    EXPECT_EQ (takeStatesRun(), "+0 -0");
    EXPECT_EQ (target.getCurrentStateIndex(), 1);
    EXPECT_EQ (link.getCurrentState(), target.getState (1));
}

TEST_F (VlControlCfgTests, AnUnresolvedLinkPlaysNothing)
{
    auto& patch = addPatch();
    auto& link = addControl (patch, 2, 0);
    link.setPendingLink (true, 9, 1);

    EXPECT_FALSE (link.resolveLink());
    EXPECT_TRUE (link.isLinked());
    EXPECT_EQ (link.getLinkPatchIndex(), 65535);
    EXPECT_EQ (link.getLinkControlId(), -1);
    link.trigger (2, 1);
    EXPECT_EQ (link.getCurrentState(), nullptr);
}

TEST_F (VlControlCfgTests, ACyclicChainIsALinkWithoutTarget)
{
    auto& first = addPatch();
    auto& second = addPatch();
    auto& a = addControl (first, 1, 0);
    auto& b = addControl (second, 1, 0);
    a.setPendingLink (true, 1, 1);
    b.setPendingLink (true, 0, 1);

    EXPECT_TRUE (a.resolveLink());     // its target b is not resolved yet
    EXPECT_FALSE (b.resolveLink());    // b -> a -> b: cut
    EXPECT_EQ (b.getLinkControl(), nullptr);
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
    addControl (first, 5);
    addControl (second, 11);
    auto& plain = addControl (third, 7);
    auto& other = addControl (third, 8);
    addControl (second, 9, 0).setPendingLink (true, 2, 7);

    control.setLinked (true);
    EXPECT_EQ (control.getStates().size(), 0u);
    EXPECT_EQ (control.getLinkPatch(), &third);
    EXPECT_EQ (control.getLinkControl(), &plain);

    control.setLinkControl (8);
    EXPECT_EQ (control.getLinkControl(), &other);

    control.setLinkPatch (1);    // patch 1 has only a pedal and a link
    EXPECT_EQ (control.getLinkPatch(), &second);
    EXPECT_EQ (control.getLinkControl(), nullptr);

    control.setLinked (false);
    EXPECT_EQ (control.getStateCount(), 1);
    EXPECT_EQ (control.getLinkPatchIndex(), 0);
}

TEST_F (VlControlCfgTests, AGoToAtReleaseRedrawsTheButtonOfTheNewPatch)
{
    auto& first = addPatch();
    auto& second = addPatch();
    addControl (second, 3).setLabel ("there");
    auto& control = addControl (first, 3, 2);
    addAction<VlaGoTo> (*control.getState (0)).setPatch (1);
    play();

    engine.onFootswitch (3, true);
    engine.onFootswitch (3, false);

    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (ui.getCalls()[ui.getCalls().size() - 1], "refresh button 3 there");
}
