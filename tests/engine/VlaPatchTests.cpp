#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlamCCContinuos.h"
#include "fixtures/EngineFixture.h"

// Go-to and mute actions: references read from a file, merge offsets, what they do.
class VlaPatchTests : public EngineFixture
{
protected:
    template <typename Action>
    static std::unique_ptr<Action> read (const juce::String& text, juce::uint16 offset = 0)
    {
        auto action = std::make_unique<Action>();
        EXPECT_TRUE (action->loadFromXml (*juce::parseXML (text), offset)) << text;
        return action;
    }
};

TEST_F (VlaPatchTests, APatchReadIsPendingUntilResolvedAndMovedBehindAMerge)
{
    addPatches (9);
    auto opened = read<VlaGoTo> (R"(<goto comment="" patch="3"/>)");
    auto merged = read<VlaGoTo> (R"(<goto comment="" patch="3"/>)", 5);
    EXPECT_EQ (opened->getPatch(), nullptr);
    EXPECT_EQ (opened->createXml()->getIntAttribute ("patch"), 65535);
    EXPECT_TRUE (opened->resolveReferences());
    EXPECT_TRUE (merged->resolveReferences());
    EXPECT_EQ (opened->getPatchIndex(), 3);
    EXPECT_EQ (merged->getPatchIndex(), 8);

    // "No target" stays so behind a merge, and a sum past the last index is no target.
    for (auto stored : { "65535", "-1", "65534", "70000" })
        EXPECT_FALSE (
            read<VlaGoTo> (R"(<goto comment="" patch=")" + juce::String (stored) + "\"/>", 2)->resolveReferences());
}

TEST_F (VlaPatchTests, GoToSelectsItsTargetAtTheReleaseInPlayAndNavigationModesOnly)
{
    addPatches (2);
    play();
    VlaGoTo goTo;
    goTo.setPatch (1);
    goTo.execute (1);
    for (auto mode : { ModeMidiSetup, ModeMidiLearn, ModeInitialising, ModeEditing })
    {
        engine.setMode (mode);
        goTo.execute (0);
    }
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    engine.setMode (ModeNavigation);
    goTo.execute (0);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0, 1 }));

    // Without a target: nothing, not even the mode.
    engine.setMode (ModeNavigation);
    VlaGoTo().execute (0);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
}

TEST_F (VlaPatchTests, MuteTargetsOnlyAPedalOfItsOwnPatch)
{
    auto& both = addPatch();
    addControl (both, 11);
    addControl (both, 12);
    auto& second = addPatch();
    auto& footswitch = addControl (second, 3);
    auto& onlyTwelve = addControl (second, 12);
    addPatch();
    for (auto [pedalId, resolves] : { std::pair { 12, true }, std::pair { 11, false }, std::pair { 3, false } })
    {
        auto mute =
            read<VlaMute> (R"(<mute comment="" patch="1" pedal=")" + juce::String (pedalId) + R"(" switch="1"/>)");
        EXPECT_EQ (mute->resolveReferences(), resolves) << pedalId;
        EXPECT_EQ (mute->getPedalId(), resolves ? pedalId : -1);
    }
    VlaMute mute;
    mute.setPatch (0);
    EXPECT_EQ (mute.getPedalId(), 11);
    mute.setPatch (1);
    EXPECT_TRUE (mute.refersToPatch (second) && mute.refersToControl (onlyTwelve));
    mute.setPedalId (3);
    EXPECT_FALSE (mute.refersToControl (footswitch));
    mute.setPatch (2);    // a patch without pedals, while others have some
    EXPECT_EQ (mute.createXml()->toString (juce::XmlElement::TextFormat().withoutHeader().singleLine()),
               R"(<mute comment="" patch="2" pedal="-1" switch="1"/>)");
}

TEST_F (VlaPatchTests, MuteSilencesItsPedalAtTheReleaseAndUnmuteReplaysIt)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 11);
    addAction<VlamCCContinuos> (*pedal.getState (0)).setController (4);
    auto& button = addControl (patch, 1, 2);
    addAction<VlaMute> (*button.getState (0)).setPatch (0);
    auto& unmute = addAction<VlaMute> (*button.getState (1));
    unmute.setPatch (0);
    unmute.setMuteSwitch (2);
    play();
    engine.onPedalValue (11, 90);
    press (1);
    EXPECT_TRUE (pedal.isMuted());
    engine.onPedalValue (11, 70);
    press (1);
    EXPECT_FALSE (pedal.isMuted());
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 4, 90 }, { 0xb0, 4, 0 }, { 0xb0, 4, 70 } }));
    EXPECT_TRUE (ui.getCalls().contains ("refresh pedals"));
}
