#include "VlEngineTests.h"
#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"

// Deletion with dependants, and the references that moving patches carries.
//==============================================================================
TEST_F (VlEngineTests, DeletingAControlAsksWithTheLinksToItAndDeletesThemOnOk)
{
    ASSERT_TRUE (load (document (patch ("0") + patch ("1") + patch ("Two", plain (4)) + patch ("3") + patch ("4")
                                 + patch ("Five", plain (1) + link (4, 2, 4)))));
    engine.goToPatch (2, true);
    auto& target = *engine.getPatch (2)->getControl (4);
    prompts.okCancelAnswers = { false };
    EXPECT_FALSE (engine.deleteControls (&target));
    ASSERT_EQ (prompts.prompts.size(), 1u);
    const auto& question = prompts.prompts[0];
    EXPECT_TRUE (question.kind == FakePrompts::Kind::okCancelWithDetails && question.icon == CPrompts::Icon::question);
    EXPECT_EQ (question.title + "|" + question.buttons.joinIntoString (",") + "|" + juce::String (question.lockCount),
               "Deleting controls...|OK,Cancel|1");
    EXPECT_EQ (asked (0), "Do you really want to delete this control?" + juce::String (alsoDeleted)
                              + "Control <footswitch 4> of patch <5. Five>;\n\n");
    EXPECT_EQ (engine.getPatch (5)->getNumControls(), 2);
    prompts.okCancelAnswers = { true };
    EXPECT_TRUE (engine.deleteControls (&target));
    EXPECT_EQ (engine.getPatch (2)->getNumControls(), 0);
    EXPECT_EQ (engine.getPatch (5)->getNumControls(), 1);

    // A control of another patch is not the current patch's.
    EXPECT_FALSE (engine.deleteControls (engine.getPatch (5)->getControl (1)));
    EXPECT_EQ (prompts.prompts.size(), 2u);
}

// A mute left without its pedal is saved with pedal="-1", which its own load calls damaged.
TEST_F (VlEngineTests, DeletingAPedalDeletesItsMutesInEveryPatchItsOwnIncluded)
{
    const auto mute = R"(<mute comment="" patch="1" pedal="11" switch="1"/>)";
    ASSERT_TRUE (load (document (patch ("0") + patch ("One", plain (11) + plain (2, mute)) + patch ("2")
                                 + patch ("Three", plain (1) + plain (3, mute)))));
    engine.goToPatch (1, true);
    prompts.okCancelAnswers = { true };
    ASSERT_TRUE (engine.deleteControls (engine.getPatch (1)->getControl (11)));
    EXPECT_EQ (asked (0),
               "Do you really want to delete this control?" + juce::String (alsoDeleted)
                   + "Action <mute expr. pedal> of state <#1> of control <footswitch 2> of patch <1. One>;\n\n"
                     "Action <mute expr. pedal> of state <#1> of control <footswitch 3> of patch <3. Three>;\n\n");
    EXPECT_TRUE (engine.getPatch (3)->getControl (3)->getState (0)->getActions().empty());
    EXPECT_TRUE (engine.getPatch (1)->getControl (2)->getState (0)->getActions().empty());
    EXPECT_FALSE (writeDocument().contains ("pedal=\"-1\""));
    press (2);
}

TEST_F (VlEngineTests, DeletingAllControlsListsEachDependantOnceAndLeavesNothingDangling)
{
    // Patch 2 links into patch 1; patch 3 links to one of those links (deeper than the
    // editor makes), mutes patch 1's pedal, and mutes patch 2's link to that pedal.
    ASSERT_TRUE (load (
        document (patch ("0") + patch ("One", plain (1) + plain (2) + plain (11))
                  + patch ("Two", link (1, 1, 1) + link (2, 1, 2) + link (11, 1, 11))
                  + patch ("Three", link (5, 2, 1) + plain (6, R"(<mute comment="" patch="1" pedal="11" switch="0"/>)")
                                        + plain (7, R"(<mute comment="" patch="2" pedal="11" switch="1"/>)")))));
    engine.goToPatch (1, true);
    prompts.okCancelAnswers = { true };
    ASSERT_TRUE (engine.deleteControls (nullptr));
    EXPECT_EQ (asked (0),
               "Do you really want to delete all controls?" + juce::String (alsoDeleted)
                   + "Control <footswitch 1> of patch <2. Two>;\n\n"
                     "Control <footswitch 2> of patch <2. Two>;\n\n"
                     "Control <expr. pedal 1> of patch <2. Two>;\n\n"
                     "Control <footswitch 5> of patch <3. Three>;\n\n"
                     "Action <mute expr. pedal> of state <#1> of control <footswitch 6> of patch <3. Three>;\n\n"
                     "Action <mute expr. pedal> of state <#1> of control <footswitch 7> of patch <3. Three>;\n\n");
    EXPECT_EQ (engine.getPatch (1)->getNumControls(), 0);
    EXPECT_EQ (engine.getPatch (2)->getNumControls(), 0);
    EXPECT_EQ (engine.getPatch (3)->getControl (5), nullptr);
    EXPECT_TRUE (engine.getPatch (3)->getControl (6)->getState (0)->getActions().empty());
    EXPECT_TRUE (engine.getPatch (3)->getControl (7)->getState (0)->getActions().empty());

    // Everything left is used and written without touching what went, and reads back whole.
    engine.goToPatch (3, true);
    for (int id : { 5, 6, 7 })
        press (id);
    const auto written = writeDocument();
    EXPECT_FALSE (written.contains (R"(pedal="-1")"));
    prompts.prompts.clear();
    ASSERT_TRUE (load (written));
    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (VlEngineTests, DeletingAPatchKeepsEveryReferenceOnTheSamePatch)
{
    ASSERT_TRUE (
        load (document (patch ("0", link (1, 1, 1)) + patch ("One", plain (1)) + patch ("Two") + patch ("Three")
                        + patch ("Four", plain (2, goTo (3)) + plain (3, goTo (2))) + patch ("Five"))));
    engine.goToPatch (3, true);
    prompts.okCancelAnswers = { true, true, true };
    ASSERT_TRUE (engine.deletePatches (engine.getPatch (2)));
    EXPECT_EQ (prompts.prompts[0].title, "Deleting patches...");
    EXPECT_EQ (asked (0), "Do you really want to delete this patch?" + juce::String (alsoDeleted)
                              + "Action <go to patch> of state <#1> of control <footswitch 3> of patch <4. Four>;\n\n");
    EXPECT_EQ (patchNames(), "0,One,Three,Four,Five");
    EXPECT_EQ (engine.getCurrentPatch()->getName(), "Three");
    EXPECT_TRUE (engine.getPatch (3)->getControl (3)->getState (0)->getActions().empty());
    const auto& goTo = dynamic_cast<VlaGoTo&> (*engine.getPatch (3)->getControl (2)->getState (0)->getActions()[0]);
    EXPECT_EQ (goTo.createXml()->getIntAttribute ("patch"), 2);

    // Nothing refers to Five: the plain question.
    ASSERT_TRUE (engine.deletePatches (engine.getPatch (4)));
    EXPECT_EQ (prompts.prompts[1].text, "Do you really want to delete this patch?");
    EXPECT_EQ (engine.getCurrentPatch()->getName(), "Three");

    // The current patch itself: patch 0 becomes current, and the link to it goes too.
    engine.goToPatch (1, true);
    ASSERT_TRUE (engine.deletePatches (engine.getPatch (1)));
    EXPECT_EQ (asked (2), "Do you really want to delete this patch?" + juce::String (alsoDeleted)
                              + "Control <footswitch 1> of patch <0. 0>;\n\n");
    EXPECT_EQ (patchNames(), "0,Three,Four");
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getPatch (0)->getNumControls(), 0);
    EXPECT_EQ (goTo.createXml()->getIntAttribute ("patch"), 1);
}

TEST_F (VlEngineTests, DeletingAPatchTakesTheLinksToItsLinksAndTheMutesOfThoseLinks)
{
    ASSERT_TRUE (load (document (
        patch ("0") + patch ("One", plain (11)) + patch ("Two", link (11, 1, 11))
        + patch ("Three", link (12, 2, 11) + plain (1, R"(<mute comment="" patch="2" pedal="11" switch="1"/>)")
                              + plain (2, goTo (0))))));
    prompts.okCancelAnswers = { true };
    ASSERT_TRUE (engine.deletePatches (engine.getPatch (1)));
    EXPECT_EQ (asked (0),
               "Do you really want to delete this patch?" + juce::String (alsoDeleted)
                   + "Control <expr. pedal 1> of patch <2. Two>;\n\n"
                     "Control <expr. pedal 2> of patch <3. Three>;\n\n"
                     "Action <mute expr. pedal> of state <#1> of control <footswitch 1> of patch <3. Three>;\n\n");
    EXPECT_EQ (patchNames(), "0,Two,Three");
    EXPECT_EQ (engine.getPatch (1)->getNumControls(), 0);
    EXPECT_EQ (engine.getPatch (2)->getNumControls(), 2);
    prompts.prompts.clear();
    ASSERT_TRUE (load (writeDocument()));
    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (VlEngineTests, TheLastPatchIsNeverDeletedAndCancellingChangesNothing)
{
    auto& only = addPatch();
    EXPECT_FALSE (engine.deletePatches (&only));
    EXPECT_TRUE (prompts.prompts.empty());

    // Deleting all controls of a patch that has none still asks, without details.
    play();
    prompts.okCancelAnswers = { false, true };
    EXPECT_FALSE (engine.deleteControls (nullptr));
    EXPECT_TRUE (engine.deleteControls (nullptr));
    ASSERT_EQ (prompts.prompts.size(), 2u);
    EXPECT_EQ (prompts.prompts[1].kind, FakePrompts::Kind::okCancel);
    EXPECT_EQ (prompts.prompts[1].title + "|" + prompts.prompts[1].text,
               "Deleting controls...|Do you really want to delete all controls?");
    prompts.prompts.clear();
    auto& second = addPatch();
    addAction<VlaGoTo> (*addControl (only, 1).getState (0)).setPatch (1);
    play();
    const auto before = writeDocument();
    prompts.okCancelAnswers = { false };
    EXPECT_FALSE (engine.deletePatches (&second));
    EXPECT_FALSE (engine.deleteControls (nullptr));
    EXPECT_EQ (writeDocument(), before);
    EXPECT_EQ (prompts.prompts.size(), 2u);
    VlPatch stranger;
    EXPECT_FALSE (engine.deletePatches (&stranger));
    EXPECT_EQ (prompts.prompts.size(), 2u);
}

TEST_F (VlEngineTests, MovingPatchesCarriesTheReferencesToThem)
{
    auto& first = addPatch ("A");
    addPatch ("B");
    addPatch ("C");
    auto& action = addAction<VlaGoTo> (*addControl (first, 2).getState (0));
    action.setPatch (2);
    play();

    // The current index keeps its number.
    engine.movePatch (0, 2);
    engine.movePatch (1, 3);
    EXPECT_EQ (patchNames(), "C,B,A");
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (action.getPatchIndex(), 0);
}
