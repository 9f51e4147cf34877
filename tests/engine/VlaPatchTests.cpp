#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlamCCContinuos.h"
#include "fixtures/EngineFixture.h"

// Go-to and mute actions: references read from a file, merge offsets, what they do.
class VlaPatchTests : public EngineFixture
{
protected:
    static std::unique_ptr<juce::XmlElement> parse (const char* text)
    {
        return juce::parseXML (juce::String (text));
    }

    static juce::String written (const VlAction& action)
    {
        return action.createXml()->toString (juce::XmlElement::TextFormat().withoutHeader().singleLine());
    }
};

TEST_F (VlaPatchTests, PatchReadFromAFileIsPendingUntilResolvedAndMovedBehindAMerge)
{
    for (int i = 0; i < 9; ++i)
        addPatch ("p" + juce::String (i));

    auto xml = parse (R"(<goto comment="" patch="3"/>)");
    VlaGoTo opened, merged;
    ASSERT_TRUE (opened.loadFromXml (*xml, 0));
    ASSERT_TRUE (merged.loadFromXml (*xml, 5));

    EXPECT_EQ (opened.getPatch(), nullptr);
    EXPECT_EQ (opened.getPendingPatchIndex(), std::optional<juce::uint16> (3));
    EXPECT_EQ (written (opened), R"(<goto comment="" patch="65535"/>)");

    EXPECT_TRUE (opened.resolveReferences());
    EXPECT_TRUE (merged.resolveReferences());
    EXPECT_EQ (opened.getPatchIndex(), 3);
    EXPECT_EQ (merged.getPatchIndex(), 8);
    EXPECT_FALSE (opened.getPendingPatchIndex().has_value());
}

TEST_F (VlaPatchTests, TargetLessReferencesStayTargetLessAcrossAMerge)
{
    addPatch();
    addPatch();

    for (auto text : { R"(<goto comment="" patch="65535"/>)", R"(<goto comment="" patch="-1"/>)",
                       R"(<goto comment="" patch="65533"/>)", R"(<goto comment="" patch="70000"/>)" })
    {
        VlaGoTo action;
        ASSERT_TRUE (action.loadFromXml (*parse (text), 2));
        EXPECT_FALSE (action.resolveReferences()) << text;
        EXPECT_EQ (action.getPatch(), nullptr);
    }
}

TEST_F (VlaPatchTests, GoToSelectsItsTargetAtTheReleaseInPlayAndNavigationModesOnly)
{
    addPatch ("A");
    auto& b = addPatch ("B");
    play();

    VlaGoTo goTo;
    goTo.setPatch (1);
    EXPECT_EQ (goTo.getPatch(), &b);

    goTo.execute (1);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);

    for (auto mode : { ModeMidiSetup, ModeMidiLearn, ModeInitialising, ModeEditing })
    {
        engine.setMode (mode);
        goTo.execute (0);
        EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    }

    engine.setMode (ModeNavigation);
    goTo.execute (0);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0, 1 }));
}

TEST_F (VlaPatchTests, GoToWithoutTargetChangesNothing)
{
    addPatch();
    play();
    engine.setMode (ModeNavigation);

    VlaGoTo goTo;
    goTo.execute (0);

    EXPECT_EQ (engine.getMode(), ModeNavigation);
    EXPECT_TRUE (ui.getCalls().isEmpty());
}

TEST_F (VlaPatchTests, MuteResolvesOnlyTheTwoPedals)
{
    auto& patch = addPatch();
    auto& footswitch = addControl (patch, 3);
    addControl (patch, 12);

    for (auto [pedalId, resolves] : { std::pair { 12, true }, std::pair { 11, false }, std::pair { 3, false } })
    {
        auto xml = parse (R"(<mute comment="" patch="0" pedal="0" switch="1"/>)");
        xml->setAttribute ("pedal", pedalId);
        VlaMute mute;
        ASSERT_TRUE (mute.loadFromXml (*xml, 0));
        EXPECT_EQ (mute.resolveReferences(), resolves) << pedalId;
        EXPECT_EQ (mute.getPedalId(), resolves ? pedalId : -1);
    }

    VlaMute mute;
    mute.setPatch (0);
    mute.setPedalId (3);
    EXPECT_EQ (mute.getPedal(), nullptr);
    EXPECT_FALSE (mute.refersToControl (footswitch));
}

TEST_F (VlaPatchTests, MuteTakesItsPedalFromTheTargetPatchItself)
{
    auto& both = addPatch();
    addControl (both, 11);
    addControl (both, 12);
    auto& second = addPatch();
    auto& onlyTwelve = addControl (second, 12);
    addPatch();

    VlaMute mute;
    mute.setPatch (0);
    EXPECT_EQ (mute.getPedalId(), 11);

    mute.setPatch (1);
    EXPECT_EQ (mute.getPedal(), &onlyTwelve);
    EXPECT_TRUE (mute.refersToPatch (second));
    EXPECT_TRUE (mute.refersToControl (onlyTwelve));

    mute.setPatch (2);    // a patch without pedals, while others have some
    EXPECT_EQ (mute.getPedal(), nullptr);
    EXPECT_EQ (written (mute), R"(<mute comment="" patch="2" pedal="-1" switch="1"/>)");
}

TEST_F (VlaPatchTests, MuteSilencesItsPedalAtTheReleaseAndUnmuteReplaysIt)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 11);
    auto& cc = addAction<VlamCCContinuos> (*pedal.getState (0));
    cc.setController (4);
    auto& button = addControl (patch, 1, 2);
    auto& mute = addAction<VlaMute> (*button.getState (0));
    mute.setPatch (0);
    auto& unmute = addAction<VlaMute> (*button.getState (1));
    unmute.setPatch (0);
    unmute.setMuteSwitch (2);
    play();

    engine.onPedalValue (11, 90);
    engine.onFootswitch (1, true);
    engine.onFootswitch (1, false);
    EXPECT_TRUE (pedal.isMuted());
    engine.onPedalValue (11, 70);
    EXPECT_EQ (pedal.getCurrentValue(), 70);

    engine.onFootswitch (1, true);
    engine.onFootswitch (1, false);
    EXPECT_FALSE (pedal.isMuted());
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 4, 90 }, { 0xb0, 4, 0 }, { 0xb0, 4, 70 } }));
    EXPECT_TRUE (ui.getCalls().contains ("refresh pedals"));
}
