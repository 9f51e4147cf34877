#include "VlEngineTests.h"
#include "engine/VlaGoTo.h"
#include "engine/VlamNote.h"

// Navigation: the functions on the footswitches, the visit history and the targets.
//==============================================================================
TEST_F (VlEngineTests, OnOffFootswitchEntersNavigationAndLeavesOnTheSamePatchAndPreviousAndNextActAtTheRelease)
{
    // Without a patch to select, leaving still ends in play mode and refreshes the board.
    engine.onFootswitch (10, true);
    ASSERT_EQ (engine.getMode(), ModeNavigation);
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_TRUE (ui.getCalls().contains ("refresh buttons"));
    addPatches (2);
    addControl (*engine.getPatch (0), 10).setLabel ("own");
    play();
    engine.onFootswitch (10, true);
    EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board");
    engine.onFootswitch (10, false);
    engine.onPedalValue (11, 3);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0 }));

    // Previous and next in the list act at the release and hide at the ends.
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (1) + displayed (2) + displayed (11), "none+none");
    engine.onFootswitch (2, true);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    engine.onFootswitch (2, false);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (1) + displayed (2), "-none");
    engine.onFootswitch (2, false);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
}

TEST_F (VlEngineTests, BackAndForwardWalkTheVisitHistory)
{
    addPatches (9);
    visit ({ 3, 5, 7 });
    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 5);
    EXPECT_EQ (engine.getMode(), ModePlay);

    // Halfway through the history both ways are shown, each by its own symbol.
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (4) + displayed (5), "<>");
    press (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 3);
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (4) + displayed (5), "none>");
    press (5);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 5);
    engine.goToPatch (8, true);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 3, 5, 8 }));
}

TEST_F (VlEngineTests, GoUpLeadsToThePatchesOfTheNearestHigherRank)
{
    for (juce::uint8 level : { 1, 2, 3, 2 })
        addPatch ("", level);
    for (int from : { 0, 1, 3 })
        addAction<VlaGoTo> (*addControl (*engine.getPatch ((juce::uint16) from), 3).getState (0)).setPatch (2);
    std::vector<juce::uint16> found;
    EXPECT_TRUE (engine.findHigherRankPatches (2, 3, found));
    EXPECT_EQ (found, (std::vector<juce::uint16> { 1, 3 }));
    visit ({ 3, 2 });
    navigate (9);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 3);    // of two candidates, the one visited
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (9), "none");
}

TEST_F (VlEngineTests, GoUpNeverLeadsToThePatchItselfNorToItsOwnLevelWhicheverOrderTheRanksHave)
{
    // A (level 1), B (level 2), C itself and D of C's level (3) go to C: only B goes up
    // from C, whether A or B comes first (had C or D counted, their level 3 would win).
    // The navigation patch shows the colour of the patch played, here its level.
    for (const int first : { 1, 2 })
    {
        engine.clear();
        for (const int level : { first, 3 - first, 3, 3 })
            addPatch ("", (juce::uint8) level).setColor (0xff000000u + (juce::uint32) level);
        for (const auto& patch : engine.getPatches())
            addAction<VlaGoTo> (*addControl (*patch, 3).getState (0)).setPatch (2);
        const auto b = (juce::uint16) (2 - first);
        std::vector<juce::uint16> found;
        EXPECT_TRUE (engine.findHigherRankPatches (2, 3, found));
        EXPECT_EQ (found, std::vector<juce::uint16> { b });
        engine.goToPatch (2, true);
        EXPECT_EQ (engine.getNavigationPatch().getColor(), 0xff000003u);
        navigate (9);
        EXPECT_EQ (engine.getCurrentPatchIndex(), b);
        EXPECT_EQ (engine.getNavigationPatch().getColor(), 0xff000002u);
    }
}

// A function number below 1 from a file blanked the symbol of a real function given the
// same footswitch after it, or took the footswitch when it came after.
TEST_F (VlEngineTests, AFunctionBelowOneFromAFileShowsNoSymbolAndTakesNoFootswitch)
{
    for (const juce::String functions : { R"(<function type="0" control="9"/><function type="2" control="9"/>)",
                                          R"(<function type="2" control="9"/><function type="-1" control="9"/>)" })
    {
        ASSERT_TRUE (load (document (patch ("A"), "0",
                                     R"(<navigation color="ff00ff00"><function type="-3" control="4"/>)" + functions
                                         + "</navigation>")));
        EXPECT_EQ (engine.getNavigationPatch().getControl (9)->getLabel(), "^");
        EXPECT_EQ (engine.getNavigationPatch().getControl (4), nullptr);
        EXPECT_TRUE (writeDocument().contains (R"(<function type="-3" control="4"/>)"));
    }
}

TEST_F (VlEngineTests, AssigningAFootswitchTakesItFromItsFunctionAndOnlyARealOneSwitchesNavigation)
{
    engine.setNavigationFunction (NavGoUp, 2, false);
    EXPECT_EQ (engine.getFootswitchOfFunction (NavNext), -1);
    EXPECT_EQ (engine.getNavigationPatch().getControl (2)->getLabel(), "^");
    EXPECT_EQ (engine.getNavigationPatch().getControl (9), nullptr);

    // "None" is taken the same way: only the last function given none keeps its entry.
    engine.setNavigationFunction (NavGoUp, -1, false);
    engine.setNavigationFunction (NavBackward, -1, false);
    EXPECT_EQ (engine.getNavigationFunctions(), (std::map<int, int> { { 1, 10 }, { 3, -1 }, { 4, 5 }, { 5, 1 } }));
    EXPECT_EQ (engine.createNavigationXml()->getNumChildElements(), 4);

    // Without an on/off footswitch every footswitch plays.
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 10).getState (0)).setNumber (70);
    engine.setNavigationFunction (NavOnOff, -1, false);
    play();
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 70, 100 } }));

    // Only a real function on a real footswitch switches navigation: a stray function 0
    // from a file on the on/off footswitch must not hide "*".
    auto& pedal = addControl (patch, 11);
    engine.setNavigationFunction (0, 10, false);
    engine.setNavigationFunction (NavOnOff, 10, false);
    engine.onFootswitch (10, true);
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    engine.setNavigationFunction (NavOnOff, 11, false);
    EXPECT_EQ (engine.getDisplayedControl (11), &pedal);
    engine.onFootswitch (11, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
}

TEST_F (VlEngineTests, RearrangesConflictingFootswitchesOnlyWhenTheUserAgrees)
{
    prompts.okCancelAnswers = { false, true };
    auto& patch = addPatch();
    auto& onThree = addControl (patch, 3);
    addControl (patch, 1);
    engine.setNavigationFunction (NavOnOff, 3, true);
    EXPECT_EQ (patch.getControl (3), &onThree);
    engine.setNavigationFunction (NavOnOff, 3, true);
    EXPECT_EQ (patch.getControl (2), &onThree);
    engine.setNavigationFunction (NavGoUp, 5, true);
    ASSERT_EQ (prompts.prompts.size(), 2u);
    const auto& asked = prompts.prompts[0];    // the menus are locked while the box is open
    EXPECT_EQ (asked.title + "|" + asked.text + "|" + asked.buttons.joinIntoString (",") + "|"
                   + juce::String (asked.lockCount),
               "Rearrangement of the foot switches...|Do you want conflicting foot switches to be automatically "
               "rearranged?|yes,no|1");
}

TEST_F (VlEngineTests, BackAndForwardSkipVisitsOfPatchesThatAreGoneInAHistoryOfAtMostAThousand)
{
    addPatches (4);
    visit ({ 0, 3, 1, 2 });

    // As a later deletion of patches would leave it: entry 1 names no patch now.
    const_cast<std::vector<std::unique_ptr<VlPatch>>&> (engine.getPatches()).pop_back();
    engine.goToPatch (2, false);
    navigate (4);
    navigate (4);
    EXPECT_EQ (where(), "0@0");
    navigate (5);
    EXPECT_EQ (where(), "1@2");

    // The history keeps the latest thousand visits.
    for (int i = 0; i < 1005; ++i)
        engine.goToPatch ((juce::uint16) (i % 2), true);
    EXPECT_EQ (engine.getHistory().size(), 1000u);
    EXPECT_EQ (where(), "0@999");
    navigate (4);
    EXPECT_EQ (where(), "1@998");
}

TEST_F (VlEngineTests, OpeningADocumentWithoutPatchesLeavesNoNavigationTarget)
{
    addPatches (3);
    visit ({ 0, 1, 2 });
    const auto navigation =
        engine.createNavigationXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    ASSERT_TRUE (load (document ({}, "0", navigation)));
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (9) + displayed (4) + displayed (5) + displayed (1) + displayed (2), "nonenonenonenonenone");
    engine.onFootswitch (4, false);
    EXPECT_EQ (engine.getHistoryPosition(), -1);

    // The next visit starts the history afresh.
    engine.onFootswitch (10, true);
    addPatch();
    engine.goToPatch (0, true);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0 }));
}

TEST_F (VlEngineTests, DeletingOrMovingPatchesRecomputesTheNavigationTargets)
{
    prompts.okCancelAnswers = { true };
    addPatch ("low", 2);
    addPatch ("middle", 1);
    auto& high = addPatch ("high", 0);
    addAction<VlaGoTo> (*addControl (high, 3).getState (0)).setPatch (1);
    play();
    engine.goToPatch (1, true);    // "^" and "+" both lead to "high"
    ASSERT_TRUE (engine.deletePatches (&high));
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (9) + displayed (1) + displayed (2), "none-none");
    engine.onFootswitch (2, false);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    engine.onFootswitch (10, true);

    // "low" goes up to "middle"; once they change places, "middle" is played and goes nowhere up.
    addAction<VlaGoTo> (*addControl (*engine.getPatch (1), 3).getState (0)).setPatch (0);
    engine.goToPatch (0, true);
    engine.movePatch (0, 1);
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (9) + displayed (1) + displayed (2), "nonenone+");
}
