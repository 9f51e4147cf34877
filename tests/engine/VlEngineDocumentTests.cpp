#include "VlEngineTests.h"
#include "engine/VlaGoTo.h"

// The document content: writing, opening, merging, and the load checks.
//==============================================================================
TEST_F (VlEngineTests, WritesTheNavigationAndPatchesInTheDocumentFormat)
{
    auto& first = addPatch ("A");
    addPatch ("B").setColor (0x0f123456);
    addControl (addPatch ("C"), 1).setColor (0xff00ff00);
    addControl (first, 1).getState (0)->setColor (0x00ff0000);
    ASSERT_TRUE (addLink (first, 3, 2, 1).resolveLink());
    addControl (first, 11).getState (0)->setColor (0);
    engine.clearNavigation();
    engine.setNavigationColor (0xff123456);
    engine.setNavigationFunction (NavNext, 2, false);
    engine.setNavigationFunction (NavOnOff, 10, false);
    engine.setNavigationFunction (NavGoUp, -1, false);
    play();
    const auto format = juce::XmlElement::TextFormat().withoutHeader().singleLine();
    EXPECT_EQ (engine.createNavigationXml()->toString (format),
               R"(<navigation color="ff123456"><function type="1" control="10"/><function type="2" control="-1"/>)"
               R"(<function type="6" control="2"/></navigation>)");
    EXPECT_EQ (
        engine.createPatchesXml()->toString (format),
        R"(<patches current="0"><patch name="A" level="0" color="ffe3e3e3" comment="">)"
        R"(<item id="1" label="" target="" color="ffffffff" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state label="" color="ff0000"/></item>)"
        R"(<item id="3" label="" target="" color="ffffffff" init_state="0" init_value="0" linked="1" link_patch="2" link_control="1"/>)"
        R"(<item id="11" label="" target="" color="ffffffff" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state label="" color="0"/></item></patch>)"
        R"(<patch name="B" level="0" color="f123456" comment=""/>)"
        R"(<patch name="C" level="0" color="ffe3e3e3" comment="">)"
        R"(<item id="1" label="" target="" color="ff00ff00" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state label="" color="ffffffff"/></item></patch></patches>)");
    engine.clear();
    EXPECT_EQ (engine.createPatchesXml()->toString (format), R"(<patches current="65535"/>)");
}

TEST_F (VlEngineTests, OpeningReplacesTheDocumentNavigationHistoryAndColourSets)
{
    engine.newDocument();
    addPatch ("Old");
    engine.goToPatch (1, true);
    ASSERT_TRUE (load (document (patch ("A", plain (1, {}, "ff010203")) + patch ("B", {}, "ff445566"), "1",
                                 R"(<navigation color="ff778899"><function type="6" control="3"/></navigation>)")));
    EXPECT_EQ (patchNames(), "A,B");
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_TRUE (engine.getHistory().empty());
    EXPECT_EQ (engine.getNavigationFunctions(), (std::map<int, int> { { 6, 3 } }));
    EXPECT_EQ (engine.getNavigationColor(), 0xff778899u);

    // Only the colours in use: the palettes are gone.
    EXPECT_EQ (engine.getPatchColors(), (ColorSet { 0xffe3e3e3, 0xff445566 }));
    EXPECT_EQ (engine.getControlColors(), (ColorSet { 0xff010203, 0xff778899 }));
    EXPECT_EQ (engine.getStateColors(), (ColorSet { 0xffffffff }));

    // A "current" outside the list: the first patch, or none without patches.
    ASSERT_TRUE (load (document (patch ("A") + patch ("B") + patch ("C"), "7")));
    EXPECT_EQ (engine.getCurrentPatch()->getName(), "A");
    ASSERT_TRUE (load (document ({}, "0")));
    EXPECT_EQ (engine.getCurrentPatchIndex(), NoIndex);
}

TEST_F (VlEngineTests, AFailedOpenOrMergeLeavesTheEngineAsItWas)
{
    ASSERT_TRUE (load (document (patch ("A", plain (1, goTo (1))) + patch ("B", link (2, 0, 1)), "1")));
    const auto before = writeDocument();
    const auto colors = std::tuple (engine.getPatchColors(), engine.getControlColors(), engine.getStateColors());
    const auto history = engine.getHistory();
    ui.takeCalls();
    const auto good = patch ("X", plain (1, {}, "ff0a0b0c"), "ff010101");
    const juce::String broken[] = {
        document (good, "0", R"(<navigation><function type="1" control="2"/></navigation>)"),
        R"(<veltrino version="1"><navigation color="ff00ff00"/><patches>)" + good + "</patches></veltrino>",
        document (good + R"(<patch name="N" level="0" color="0">)" + plain (1) + "</patch>"),
        document (good + patch ("Y", plain (13))),
        document (good + patch ("Y", plain (1) + plain (1))),
        document (good + patch ("Y", plain (1, R"(<goto comment=""/>)"))),
        document (
            good
            + patch (
                "Y",
                R"(<item id="1" label="" target="" color="0" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state color="0"/></item>)")),
    };
    for (auto merging : { false, true })
    {
        for (const auto& text : broken)
        {
            // A merge reads neither the navigation nor "current": the first two are valid merges.
            if (merging && (&text == &broken[0] || &text == &broken[1]))
                continue;
            EXPECT_FALSE (load (text, merging)) << text;
            EXPECT_EQ (writeDocument(), before) << text;
            EXPECT_EQ (std::tuple (engine.getPatchColors(), engine.getControlColors(), engine.getStateColors()),
                       colors);
            EXPECT_EQ (engine.getHistory(), history);
            EXPECT_EQ (engine.getMode(), ModePlay);
            EXPECT_EQ (engine.getCurrentPatch()->getName(), "B");
        }
    }
    EXPECT_TRUE (prompts.prompts.empty());
    EXPECT_TRUE (ui.takeCalls().isEmpty());
}

TEST_F (VlEngineTests, ALoadFromNavigationModeLeavesTheBoardShowingPlayModeAndIgnoresInputUntilPlayingEnds)
{
    addPatches (2);
    play();
    const auto invalid = document (patch ("X", plain (13)));
    for (auto merging : { false, true })
    {
        press (10);
        ui.takeCalls();
        EXPECT_FALSE (load (invalid, merging));
        EXPECT_EQ (engine.getMode(), ModePlay);
        EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board");
    }

    // Without patches no selection refreshes the board; it is refreshed in play mode all the same.
    press (10);
    ui.takeCalls();
    ASSERT_TRUE (load (document ({})));
    EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board; "
                            "refresh buttons; refresh pedals; repaint board");

    // Input is ignored from the start of a load until playing ends.
    addPatch();
    play();
    const auto root = juce::parseXML (document (
        patch ("A", plain (1, R"(<note comment="" device="Synth" channel="1" number="60" velocity="100"/>)"))));
    ASSERT_TRUE (
        engine.loadDocumentContent (*root->getChildByName ("navigation"), *root->getChildByName ("patches"), false));
    EXPECT_EQ (engine.getMode(), ModeInitialising);
    EXPECT_EQ (engine.getDisplayedControl (1), nullptr);
    midi (noteOn (1));
    EXPECT_TRUE (takeSent().empty());
    engine.startPlaying (0);
    EXPECT_EQ (engine.getMode(), ModePlay);
    midi (noteOn (1));
    EXPECT_EQ (takeSent().size(), 1u);
}

TEST_F (VlEngineTests, NoDocumentHoldsMoreThan65535Patches)
{
    ASSERT_TRUE (load (document (patch ("A"))));
    const auto root = juce::parseXML (document ({}));
    auto& navigation = *root->getChildByName ("navigation");
    auto& patches = *root->getChildByName ("patches");

    // One document made once, of empty patches, read as 65536, 65535 and 65534 of them.
    for (int i = 0; i < 65536; ++i)
    {
        auto* empty = new juce::XmlElement ("patch");
        for (auto* name : { "name", "level", "color", "comment" })
            empty->setAttribute (name, "0");
        patches.prependChildElement (empty);
    }
    EXPECT_FALSE (engine.loadDocumentContent (navigation, patches, false));
    patches.removeChildElement (patches.getFirstChildElement(), true);
    EXPECT_FALSE (engine.loadDocumentContent (navigation, patches, true));
    ASSERT_EQ (engine.getNumPatches(), 1);
    patches.removeChildElement (patches.getFirstChildElement(), true);
    ASSERT_TRUE (engine.loadDocumentContent (navigation, patches, true));
    engine.startPlaying (1);
    EXPECT_EQ (engine.getNumPatches(), 65535);
    EXPECT_EQ (engine.addPatch (std::make_unique<VlPatch>()), -1);
    EXPECT_EQ (engine.getNumPatches(), 65535);
}

TEST_F (VlEngineTests, MergingAppendsBehindTheOpenPatchesAndMovesTheirReferences)
{
    ASSERT_TRUE (load (document (
        patch ("0") + patch ("1") + patch ("2") + patch ("3") + patch ("4", plain (1, {}, "ff0000ff")), "3")));
    engine.clearNavigation();
    const auto navigation = writeDocument().upToFirstOccurrenceOf ("<patches", false, false);
    ASSERT_TRUE (load (document (patch ("m0", link (3, 2, 1) + plain (1, goTo (3) + goTo (65535)), "ff00aa00")
                                     + patch ("m1") + patch ("m2", plain (1, {}, "ff00bb00")) + patch ("m3"),
                                 "2", R"(<navigation/>)"),
                       true));
    EXPECT_EQ (patchNames(), "0,1,2,3,4,m0,m1,m2,m3");
    EXPECT_EQ (engine.getCurrentPatchIndex(), 3);
    EXPECT_EQ (writeDocument().upToFirstOccurrenceOf ("<patches", false, false), navigation);
    auto& merged = *engine.getPatch (5);
    EXPECT_EQ (merged.getControl (3)->getLinkPatchIndex(), 7);
    EXPECT_EQ (merged.getControl (3)->getLinkControlId(), 1);
    const auto& actions = merged.getControl (1)->getState (0)->getActions();
    EXPECT_EQ (dynamic_cast<VlaGoTo&> (*actions[0]).getPatchIndex(), 8);
    EXPECT_EQ (dynamic_cast<VlaGoTo&> (*actions[1]).getPatch(), nullptr);    // "no target" stays so
    EXPECT_EQ (prompts.prompts.size(), 1u);

    // The open document's colours stay beside the merged ones.
    EXPECT_EQ (engine.getPatchColors(), (ColorSet { 0xff00aa00, 0xffe3e3e3 }));
    EXPECT_EQ (engine.getControlColors(), (ColorSet { 0xff0000ff, 0xff00bb00, 0xff00ff00, 0xffffffff }));
}

TEST_F (VlEngineTests, TheLoadCheckReportsEachLinkAndActionWithoutTargetOnce)
{
    const auto mute = R"(<mute comment="" patch="2" pedal="12" switch="1"/>)";
    const auto stateWithGoTo =
        R"(<item id="4" label="" target="" color="0" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1">)"
        R"(<state label="" color="0"/><state label="" color="0">)"
        + goTo (5) + "</state></item>";
    const auto linkWithStates =
        R"(<item id="6" label="" target="" color="0" init_state="0" init_value="0" linked="1" link_patch="0" link_control="1">)"
        R"(<state label="" color="0">)"
        + goTo (9) + "</state></item>";
    ASSERT_TRUE (load (document (patch ("Intro", plain (1, mute + goTo (1)))
                                 + patch ("Verse", link (2, 9, 1) + link (5, 0, 7) + linkWithStates)
                                 + patch ("Solo", stateWithGoTo + plain (11)))));
    EXPECT_EQ (texts(),
               juce::StringArray ({ "Action <mute expr. pedal> of state <#1> of control <footswitch 1> of patch <0. "
                                    "Intro> cannot find its target.",
                                    "Linked control <footswitch 2> of patch <1. Verse> cannot find its target.",
                                    "Linked control <footswitch 5> of patch <1. Verse> cannot find its target.",
                                    "Action <go to patch> of state <#2> of control <footswitch 4> of patch <2. Solo> "
                                    "cannot find its target." }));
    for (const auto& prompt : prompts.prompts)
        EXPECT_TRUE (prompt.kind == FakePrompts::Kind::message && prompt.icon == CPrompts::Icon::warning
                     && prompt.title == "Error in file data" && prompt.lockCount == 1);

    // What finds no target stays, and does nothing.
    auto& lost = *engine.getPatch (1)->getControl (2);
    EXPECT_TRUE (lost.isLinked());
    EXPECT_EQ (&lost.getEnd(), &lost);
    EXPECT_EQ (engine.getPatch (0)->getControl (1)->getState (0)->getActions().size(), 2u);

    // A merge checks the merged patches only.
    prompts.prompts.clear();
    ASSERT_TRUE (load (document (patch ("M", link (1, 1, 1) + link (2, 5, 1)) + patch ("N", plain (1))), true));
    EXPECT_EQ (texts(),
               juce::StringArray ({ "Linked control <footswitch 2> of patch <3. M> cannot find its target." }));
    EXPECT_EQ (engine.getPatch (3)->getControl (1)->getLinkPatchIndex(), 4);    // 1 moved behind three patches
}

TEST_F (VlEngineTests, ALinkWithoutTargetNeitherPlaysNorShowsTheStatesReadWithIt)
{
    const auto note = [] (int number) {
        return R"(<note comment="" device="Synth" channel="1" number=")" + juce::String (number)
               + R"(" velocity="100"/>)";
    };
    const auto withState = [&note] (const juce::String& item, int number) {
        return item.upToLastOccurrenceOf ("/>", false, false) + R"(><state label="S" color="ff123456">)" + note (number)
               + "</state></item>";
    };

    // Patch 0 holds a link to a missing patch; patches 0 and 1 link to each other.
    ASSERT_TRUE (load (
        document (patch ("A", withState (link (3, 9, 1), 60) + withState (link (4, 1, 4), 61) + plain (5, note (70)))
                  + patch ("B", withState (link (4, 0, 4), 62)))));
    EXPECT_EQ (prompts.prompts.size(), 2u);
    EXPECT_TRUE (engine.getPatch (0)->getControl (3)->getStates().empty());
    EXPECT_EQ (engine.getStateColors().count (0xff123456), 0u);
    for (juce::uint16 patchIndex : { 0, 1 })
    {
        engine.goToPatch (patchIndex, true);
        for (int id : { 3, 4 })
        {
            if (auto* shown = engine.getDisplayedControl (id))
            {
                EXPECT_EQ (shown->getStateCount(), 0);
                EXPECT_EQ (shown->getCurrentState(), nullptr);
            }
            press (id);
        }
    }
    EXPECT_TRUE (takeSent().empty());
}
