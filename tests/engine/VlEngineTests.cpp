#include "engine/VlaGoTo.h"
#include "engine/VlaMute.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/FakePrompts.h"

// The engine's modes, MIDI input filter, patch selection, initial playing, devices,
// navigation with the visit history, the learn table, the document content (writing,
// opening, merging, load checks), deletion with dependants, and the colour sets.
class VlEngineTests : public EngineFixture
{
protected:
    FakePrompts prompts;

    void midi (const juce::MidiMessage& message)    { engine.handleIncomingMidiMessage (nullptr, message); }
    juce::String takeCalls()                        { return ui.takeCalls().joinIntoString ("; "); }

    static juce::MidiMessage noteOn (int note, int velocity = 100, int channel = 1)  { return juce::MidiMessage::noteOn (channel, note, (juce::uint8) velocity); }
    static juce::MidiMessage cc (int controller, int value)  { return juce::MidiMessage::controllerEvent (1, controller, value); }
    void visit (std::initializer_list<juce::uint16> patches) { for (auto patch : patches) engine.goToPatch (patch, true); }
    juce::String where() const  { return juce::String (engine.getCurrentPatchIndex()) + "@" + juce::String (engine.getHistoryPosition()); }

    // The on/off footswitch, then a press and release of the footswitch in navigation mode.
    void navigate (int footswitch)
    {
        engine.onFootswitch (10, true);
        ASSERT_EQ (engine.getMode(), ModeNavigation);
        press (footswitch);
    }

    juce::String displayed (int id)  { auto* shown = engine.getDisplayedControl (id); return shown != nullptr ? shown->getLabel() : juce::String ("none"); }

    //==============================================================================
    // The content as the document file holds it.
    juce::String writeDocument() const
    {
        juce::XmlElement root ("veltrino");
        root.setAttribute ("version", 1);
        root.addChildElement (engine.createNavigationXml().release());
        root.addChildElement (engine.createPatchesXml().release());
        return root.toString (juce::XmlElement::TextFormat().withoutHeader());
    }

    // Opens or merges a document text the way the application does: the content, then
    // playing from the first patch read.
    bool load (const juce::String& text, bool merging = false)
    {
        const auto root = juce::parseXML (text);
        const auto first = (juce::uint16) (merging ? engine.getNumPatches() : 0);

        if (! engine.loadDocumentContent (*root->getChildByName ("navigation"), *root->getChildByName ("patches"), merging))
            return false;

        engine.startPlaying (first);
        return true;
    }

    static juce::String document (const juce::String& patches, const juce::String& current = "0",
                                  const juce::String& navigation = R"(<navigation color="ff00ff00"><function type="1" control="10"/></navigation>)")
    {
        return R"(<veltrino version="1">)" + navigation + R"(<patches current=")" + current + "\">" + patches + "</patches></veltrino>";
    }

    static juce::String patch (const juce::String& name, const juce::String& items = {}, const juce::String& color = "ffe3e3e3")
    {
        return "<patch name=\"" + name + R"(" level="0" color=")" + color + R"(" comment="">)" + items + "</patch>";
    }

    // A plain control with one state holding these action elements.
    static juce::String plain (int id, const juce::String& actions = {}, const juce::String& color = "ffffffff")
    {
        return "<item id=\"" + juce::String (id) + R"(" label="" target="" color=")" + color
             + R"(" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state label="" color="ffffffff">)"
             + actions + "</state></item>";
    }

    static juce::String link (int id, int patchIndex, int controlId)
    {
        return "<item id=\"" + juce::String (id) + R"(" label="" target="" color="ffffffff" init_state="0" init_value="0" linked="1" link_patch=")"
             + juce::String (patchIndex) + R"(" link_control=")" + juce::String (controlId) + "\"/>";
    }

    static juce::String goTo (int patchIndex)  { return R"(<goto comment="" patch=")" + juce::String (patchIndex) + "\"/>"; }

    // The question asked n-th, with the definitions it lists.
    juce::String asked (size_t n) const  { return prompts.prompts[n].text + "\n\n" + prompts.prompts[n].details; }

    static constexpr const char* alsoDeleted = "\n\nThe following definitions will be deleted too:\n\n";

    juce::StringArray texts() const
    {
        juce::StringArray result;

        for (const auto& prompt : prompts.prompts)
            result.add (prompt.text);

        return result;
    }
};

//==============================================================================
TEST_F (VlEngineTests, LearntNotesAndControllersOfTheChosenChannelReachTheBoardOrTheLearnDialog)
{
    for (auto& message : { noteOn (3), juce::MidiMessage::noteOff (1, 3), noteOn (3, 0), cc (7, 64), cc (1, 5),
                           noteOn (3, 100, 2), noteOn (20), cc (8, 64), juce::MidiMessage::programChange (1, 3) })
        midi (message);
    EXPECT_EQ (takeCalls(), "footswitch 3 down; footswitch 3 up; footswitch 3 up; pedal 12 64; pedal 11 5");
    engine.setMidiInput ({}, 2);
    midi (noteOn (3, 100, 2));
    midi (noteOn (3));
    EXPECT_EQ (takeCalls(), "footswitch 3 down");
    for (auto mode : { 0, (int) ModeMidiSetup, (int) ModeInitialising, (int) ModeEditing, 7 })
    {
        engine.setMode (mode);
        midi (noteOn (3, 100, 2));
    }
    EXPECT_EQ (takeCalls(), "");

    // Learn mode hands note-ons and controllers of the channel to the dialog.
    engine.setMidiInput ({}, 1);
    engine.setMode (ModeMidiLearn);
    for (auto& message : { noteOn (99), cc (20, 1), juce::MidiMessage::noteOff (1, 99), noteOn (98, 0), noteOn (97, 100, 5) })
        midi (message);
    EXPECT_EQ (takeCalls(), "learn note 99; learn controller 20");
}

TEST_F (VlEngineTests, AFootswitchPlaysTheCurrentPatchAndAPedalOnlyInPlayMode)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (50);
    addAction<VlamCCContinuos> (*addControl (patch, 12).getState (0)).setController (7);
    play();
    midi (noteOn (1));
    midi (cc (7, 64));
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 50, 100 }, { 0xb0, 7, 64 } }));
    engine.onFootswitch (10, true);    // navigation: the pedal moves its slider only
    midi (cc (7, 90));
    EXPECT_TRUE (ui.getCalls().contains ("pedal 12 90"));
    EXPECT_TRUE (takeSent().empty());
}

//==============================================================================
TEST_F (VlEngineTests, GoToPatchSelectsThroughThePatchListOrDirectly)
{
    addPatches (3);
    ui.takeCalls();
    engine.goToPatch (1, true);
    EXPECT_EQ (takeCalls(), "select row 1; scroll 1; refresh buttons; refresh pedals; repaint board");
    engine.goToPatch (1, true);    // the row is selected already: the list would report nothing
    EXPECT_EQ (takeCalls(), "scroll 1; refresh buttons; refresh pedals; repaint board");
    ui.hasPatchList = false;
    engine.goToPatch (2, true);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 1, 2 }));
    engine.setMode (ModeNavigation);
    engine.goToPatch (3, true);    // outside the list: nothing at all
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    engine.selectPatch (7);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);
}

TEST_F (VlEngineTests, StartPlayingSendsPedalsFirstThenFootswitchesInModeFive)
{
    auto& first = addPatch();
    auto& footswitch = addControl (first, 1, 2);
    addAction<VlamNote> (*footswitch.getState (1)).setNumber (61);
    addAction<VlaGoTo> (*footswitch.getState (1)).setPatch (1);
    auto& pedal = addControl (first, 11);
    pedal.setInitValue (50);
    addAction<VlamCCContinuos> (*pedal.getState (0)).setController (1);
    auto& second = addPatch();
    addAction<VlamCCContinuos> (*addControl (second, 12).getState (0)).setController (2);
    play();
    engine.startPlaying (0);

    // The go-to does not act in mode 5, and an initial 0 is sent although unchanged.
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 1, 50 }, { 0xb0, 2, 0 }, { 0x90, 61, 100 }, { 0x80, 61, 0 } }));
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0 }));
    engine.startPlaying (1);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 2, 0 } }));
}

TEST_F (VlEngineTests, OpensTheMidiInputOnAChannelKeptTo1To16AndTheOutputsThatPlainControlsName)
{
    for (auto [channel, kept] : { std::pair (0, 1), { 17, 16 }, { 257, 1 } })
    {
        engine.setMidiInput ("FCB1010", channel);
        EXPECT_EQ (engine.getMidiChannel(), kept);
    }
    EXPECT_TRUE (engine.isMidiInputOpen() && ports.isOpen (fcb));
    engine.setMidiInput ({}, 3);
    EXPECT_FALSE (engine.isMidiInputOpen() || ports.isOpen (fcb));

    // The outputs opened are those that the actions of plain controls name.
    auto& first = addPatch();
    auto& second = addPatch();
    addAction<VlamNote> (*addControl (first, 1).getState (0));
    addAction<VlamNote> (*addControl (first, 2).getState (0)).setDevice ("Other");
    addAction<VlamNote> (*addControl (second, 2).getState (0));
    auto& link = addControl (second, 5);
    addAction<VlamNote> (*link.getState (0)).setDevice ("Linked");
    link.setPendingLink (true, 0, 1);
    engine.openMidiOutputs();
    EXPECT_EQ (engine.getMidiDevices().getWantedOutputs(), juce::StringArray ({ "Synth", "Other" }));
    EXPECT_TRUE (ports.isOpen (synth));
}

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
    engine.onFootswitch (5, false);
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
        ASSERT_TRUE (load (document (patch ("A"), "0", R"(<navigation color="ff00ff00"><function type="-3" control="4"/>)"
                                                           + functions + "</navigation>")));
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
    EXPECT_EQ (asked.title + "|" + asked.text + "|" + asked.buttons.joinIntoString (",") + "|" + juce::String (asked.lockCount),
               "Rearrangement of the foot switches...|Do you want conflicting foot switches to be automatically rearranged?|yes,no|1");
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
    const auto navigation = engine.createNavigationXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
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

//==============================================================================
TEST_F (VlEngineTests, LearnTableRefusesAMessageOfAnotherControlAndRestoresASavedTableExactly)
{
    EXPECT_FALSE (engine.setLearntMessage (2, 5));
    EXPECT_EQ (engine.getLearntMessage (2), NoLearntKey);
    EXPECT_TRUE (engine.setLearntMessage (5, 5));
    EXPECT_EQ (engine.getLearntMessage (5), 5);
    EXPECT_TRUE (engine.setLearntMessage (3, NoLearntKey));
    midi (noteOn (3));
    EXPECT_EQ (takeCalls(), "");
    EXPECT_FALSE (engine.setLearntMessage (11, 7));    // controller 7 belongs to pedal 12
    EXPECT_TRUE (engine.setLearntMessage (12, NoLearntKey));
    EXPECT_TRUE (engine.setLearntMessage (11, 7));
    EXPECT_EQ (engine.getLearntMessage (11), 135);
    midi (cc (7, 1));
    midi (cc (1, 1));
    EXPECT_EQ (takeCalls(), "pedal 11 1");

    // Restoring a saved table brings it back exactly. The user swapped the notes of footswitches 1 and 2 and the controllers of the pedals.
    engine.restoreLearntMessages ({ { 1, "2" }, { 2, "1" }, { 11, "135" }, { 12, "129" }, { 3, "-1000" },
                                    { 4, "abc" }, { 5, "" }, { 6, " 60" }, { 13, "9" } });
    juce::String keys;
    for (int id = 1; id <= 12; ++id)
        keys << engine.getLearntMessage (id) << " ";
    EXPECT_EQ (keys, "2 1 -1000 4 5 60 7 8 9 10 135 129 ");
    engine.restoreLearntMessages ({ { 12, "-1000" } });
    EXPECT_EQ (engine.getLearntMessage (12), NoLearntKey);
}

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
    EXPECT_EQ (engine.createPatchesXml()->toString (format),
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
        document (good + patch ("Y", R"(<item id="1" label="" target="" color="0" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1"><state color="0"/></item>)")),
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
            EXPECT_EQ (std::tuple (engine.getPatchColors(), engine.getControlColors(), engine.getStateColors()), colors);
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
        engine.onFootswitch (10, true);
        ui.takeCalls();
        EXPECT_FALSE (load (invalid, merging));
        EXPECT_EQ (engine.getMode(), ModePlay);
        EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board");
    }

    // Without patches no selection refreshes the board; it is refreshed in play mode all the same.
    engine.onFootswitch (10, true);
    ui.takeCalls();
    ASSERT_TRUE (load (document ({})));
    EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board; "
                            "refresh buttons; refresh pedals; repaint board");

    // Input is ignored from the start of a load until playing ends.
    addPatch();
    play();
    const auto root = juce::parseXML (document (patch ("A", plain (1, R"(<note comment="" device="Synth" channel="1" number="60" velocity="100"/>)"))));
    ASSERT_TRUE (engine.loadDocumentContent (*root->getChildByName ("navigation"), *root->getChildByName ("patches"), false));
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
    ASSERT_TRUE (load (document (patch ("0") + patch ("1") + patch ("2") + patch ("3") + patch ("4", plain (1, {}, "ff0000ff")), "3")));
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

//==============================================================================
TEST_F (VlEngineTests, TheLoadCheckReportsEachLinkAndActionWithoutTargetOnce)
{
    const auto mute = R"(<mute comment="" patch="2" pedal="12" switch="1"/>)";
    const auto stateWithGoTo = R"(<item id="4" label="" target="" color="0" init_state="0" init_value="0" linked="0" link_patch="0" link_control="-1">)"
                               R"(<state label="" color="0"/><state label="" color="0">)" + goTo (5) + "</state></item>";
    const auto linkWithStates = R"(<item id="6" label="" target="" color="0" init_state="0" init_value="0" linked="1" link_patch="0" link_control="1">)"
                                R"(<state label="" color="0">)" + goTo (9) + "</state></item>";
    ASSERT_TRUE (load (document (patch ("Intro", plain (1, mute + goTo (1))) + patch ("Verse", link (2, 9, 1) + link (5, 0, 7) + linkWithStates)
                                 + patch ("Solo", stateWithGoTo + plain (11)))));
    EXPECT_EQ (texts(), juce::StringArray ({
        "Action <mute expr. pedal> of state <#1> of control <footswitch 1> of patch <0. Intro> cannot find its target.",
        "Linked control <footswitch 2> of patch <1. Verse> cannot find its target.",
        "Linked control <footswitch 5> of patch <1. Verse> cannot find its target.",
        "Action <go to patch> of state <#2> of control <footswitch 4> of patch <2. Solo> cannot find its target." }));
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
    EXPECT_EQ (texts(), juce::StringArray ({ "Linked control <footswitch 2> of patch <3. M> cannot find its target." }));
    EXPECT_EQ (engine.getPatch (3)->getControl (1)->getLinkPatchIndex(), 4);     // 1 moved behind three patches
}

TEST_F (VlEngineTests, ALinkWithoutTargetNeitherPlaysNorShowsTheStatesReadWithIt)
{
    const auto note = [] (int number)
    {
        return R"(<note comment="" device="Synth" channel="1" number=")" + juce::String (number) + R"(" velocity="100"/>)";
    };
    const auto withState = [&note] (const juce::String& item, int number)
    {
        return item.upToLastOccurrenceOf ("/>", false, false) + R"(><state label="S" color="ff123456">)" + note (number) + "</state></item>";
    };

    // Patch 0 holds a link to a missing patch; patches 0 and 1 link to each other.
    ASSERT_TRUE (load (document (patch ("A", withState (link (3, 9, 1), 60) + withState (link (4, 1, 4), 61) + plain (5, note (70)))
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
    EXPECT_EQ (question.title + "|" + question.buttons.joinIntoString (",") + "|" + juce::String (question.lockCount), "Deleting controls...|OK,Cancel|1");
    EXPECT_EQ (asked (0), "Do you really want to delete this control?" + juce::String (alsoDeleted) + "Control <footswitch 4> of patch <5. Five>;\n\n");
    EXPECT_EQ (engine.getPatch (5)->getNumControls(), 2);
    prompts.okCancelAnswers = { true };
    EXPECT_TRUE (engine.deleteControls (&target));
    EXPECT_EQ (engine.getPatch (2)->getNumControls(), 0);
    EXPECT_EQ (engine.getPatch (5)->getNumControls(), 1);

    // A control of another patch is not the current patch's.
    EXPECT_FALSE (engine.deleteControls (engine.getPatch (5)->getControl (1)));
    EXPECT_EQ (prompts.prompts.size(), 2u);
}

TEST_F (VlEngineTests, DeletingAPedalDeletesTheMutesOfOtherPatchesAndDisarmsThoseOfItsOwn)
{
    const auto mute = R"(<mute comment="" patch="1" pedal="11" switch="1"/>)";
    ASSERT_TRUE (load (document (patch ("0") + patch ("One", plain (11) + plain (2, mute)) + patch ("2") + patch ("Three", plain (1) + plain (3, mute)))));
    engine.goToPatch (1, true);
    prompts.okCancelAnswers = { true };
    ASSERT_TRUE (engine.deleteControls (engine.getPatch (1)->getControl (11)));
    EXPECT_EQ (asked (0), "Do you really want to delete this control?" + juce::String (alsoDeleted)
               + "Action <mute expr. pedal> of state <#1> of control <footswitch 3> of patch <3. Three>;\n\n");
    EXPECT_TRUE (engine.getPatch (3)->getControl (3)->getState (0)->getActions().empty());
    const auto& own = dynamic_cast<VlaMute&> (*engine.getPatch (1)->getControl (2)->getState (0)->getActions()[0]);
    EXPECT_EQ (own.getPedal(), nullptr);
    EXPECT_EQ (own.createXml()->getIntAttribute ("pedal"), -1);
    press (2);
}

TEST_F (VlEngineTests, DeletingAllControlsListsEachDependantOnceAndLeavesNothingDangling)
{
    // Patch 2 links into patch 1; patch 3 links to one of those links (deeper than the
    // editor makes), mutes patch 1's pedal, and mutes patch 2's link to that pedal.
    ASSERT_TRUE (load (document (patch ("0") + patch ("One", plain (1) + plain (2) + plain (11))
                                 + patch ("Two", link (1, 1, 1) + link (2, 1, 2) + link (11, 1, 11))
                                 + patch ("Three", link (5, 2, 1) + plain (6, R"(<mute comment="" patch="1" pedal="11" switch="0"/>)")
                                                   + plain (7, R"(<mute comment="" patch="2" pedal="11" switch="1"/>)")))));
    engine.goToPatch (1, true);
    prompts.okCancelAnswers = { true };
    ASSERT_TRUE (engine.deleteControls (nullptr));
    EXPECT_EQ (asked (0), "Do you really want to delete all controls?" + juce::String (alsoDeleted)
               + "Control <footswitch 1> of patch <2. Two>;\n\n"
                                        "Control <footswitch 2> of patch <2. Two>;\n\n"
                                        "Control <expr. pedal 1> of patch <2. Two>;\n\n"
                                        "Action <mute expr. pedal> of state <#1> of control <footswitch 6> of patch <3. Three>;\n\n");
    EXPECT_EQ (engine.getPatch (1)->getNumControls(), 0);
    EXPECT_EQ (engine.getPatch (2)->getNumControls(), 0);
    auto& deeper = *engine.getPatch (3)->getControl (5);
    EXPECT_TRUE (deeper.isLinked());
    EXPECT_EQ (deeper.getLinkControl(), nullptr);
    EXPECT_EQ (deeper.getLinkControlId(), -1);
    EXPECT_EQ (dynamic_cast<VlaMute&> (*engine.getPatch (3)->getControl (7)->getState (0)->getActions()[0]).getPedal(), nullptr);

    // Everything left is used and written without touching what went.
    engine.goToPatch (3, true);
    for (int id : { 5, 6, 7 })
        press (id);
    EXPECT_TRUE (writeDocument().contains (R"(link_patch="2" link_control="-1")"));
}

TEST_F (VlEngineTests, DeletingAPatchKeepsEveryReferenceOnTheSamePatch)
{
    ASSERT_TRUE (load (document (patch ("0", link (1, 1, 1)) + patch ("One", plain (1)) + patch ("Two") + patch ("Three")
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
    EXPECT_EQ (prompts.prompts[1].title + "|" + prompts.prompts[1].text, "Deleting controls...|Do you really want to delete all controls?");
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

//==============================================================================
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

//==============================================================================
TEST_F (VlEngineTests, ReplacingAndRemovingColoursRecolourTheirItems)
{
    auto& owner = static_cast<CColorsSetOwner&> (engine);
    auto& first = addPatch();
    auto& second = addPatch();
    first.setColor (0xff111111);
    auto& green = addControl (first, 1, 2);
    green.setColor (0xff00ff00);
    green.getState (1)->setColor (0xffff0000);
    auto& link = addLink (second, 1, 0, 1);
    link.resolveLink();
    addControl (second, 3).setColor (0xff00ff00);
    auto& earlierLink = addLink (first, 3, 1, 3);
    earlierLink.resolveLink();
    engine.setNavigationColor (0xff00ff00);
    owner.resetColors (&engine.getControlColors());
    owner.resetColors (&engine.getStateColors());
    const auto controls = engine.getControlColors();
    owner.replaceColor (&engine.getControlColors(), 0xff999999, 0xff888888);
    EXPECT_EQ (engine.getControlColors(), controls);
    owner.replaceColor (&engine.getControlColors(), 0xff00ff00, 0xff0000ff);
    EXPECT_EQ (green.getOwnColor(), 0xff0000ffu);
    EXPECT_EQ (link.getOwnColor(), 0xff0000ffu);     // compared at the end of its chain,
    EXPECT_EQ (earlierLink.getOwnColor(), 0xff0000ffu);  // before or after its target
    EXPECT_EQ (engine.getControlColors(), controls);
    EXPECT_EQ (engine.getNavigationColor(), 0xff00ff00u);
    owner.removeColor (&engine.getStateColors(), 0xffffffff);
    owner.removeColor (&engine.getStateColors(), 0xffff0000);
    EXPECT_EQ (engine.getStateColors(), (ColorSet { 0xff0000ff, 0xff00ff00, 0xffffffff }));
    EXPECT_EQ (green.getState (1)->getColor(), 0xffffffffu);
    owner.removeColor (&engine.getPatchColors(), 0xff111111);
    EXPECT_EQ (first.getColor(), 0xffe3e3e3u);
    owner.removeAllColors (&engine.getControlColors());
    EXPECT_EQ (engine.getControlColors(), (ColorSet { 0xffffffff }));
    EXPECT_EQ (green.getOwnColor(), 0xffffffffu);
    EXPECT_EQ (link.getOwnColor(), 0xffffffffu);
    EXPECT_EQ (engine.getNavigationColor(), 0xff00ff00u);
}
