#include "common/CFileMidiPorts.h"
#include "engine/VlaGoTo.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/MessageLoop.h"
#include "fixtures/ScriptedPrompts.h"
#include "fixtures/TemporaryMidiFolder.h"

// The engine's modes, MIDI input filter, patch selection, initial playing, devices,
// navigation with the visit history, and the learn table.
class VlEngineTests : public EngineFixture
{
protected:
    void midi (const juce::MidiMessage& message)
    {
        engine.handleIncomingMidiMessage (nullptr, message);
    }

    static juce::MidiMessage noteOn (int channel, int note, int velocity = 100)
    {
        return juce::MidiMessage::noteOn (channel, note, (juce::uint8) velocity);
    }

    juce::String takeCalls()
    {
        return ui.takeCalls().joinIntoString ("; ");
    }

    // n patches named "0", "1"... at level 0.
    void addPatches (int n)
    {
        for (int i = 0; i < n; ++i)
            addPatch (juce::String (i));
    }

    // A press and release in navigation mode, entered with the on/off footswitch first.
    void navigate (int footswitch)
    {
        engine.onFootswitch (10, true);
        engine.onFootswitch (10, false);
        ASSERT_EQ (engine.getMode(), ModeNavigation);
        engine.onFootswitch (footswitch, true);
        engine.onFootswitch (footswitch, false);
    }

    juce::String displayedLabel (int controlId)
    {
        auto* control = engine.getDisplayedControl (controlId);
        return control != nullptr ? control->getLabel() : juce::String ("none");
    }

    // The go-to-patch action `from` holds on footswitch 3 towards `to`.
    void addGoTo (int from, int to)
    {
        auto& patch = *engine.getPatch ((juce::uint16) from);
        auto* control = patch.getControl (3);

        if (control == nullptr)
            control = &addControl (patch, 3);

        addAction<VlaGoTo> (*control->getState (0)).setPatch ((juce::uint16) to);
    }
};

//==============================================================================
TEST_F (VlEngineTests, StartsInPlayModeWithTheDefaultNavigationAndLearnTable)
{
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatch(), nullptr);
    EXPECT_EQ (VlEngine::getInstance (false), &engine);

    juce::StringArray footswitches;

    for (int function = 1; function <= 6; ++function)
        footswitches.add (juce::String (engine.getFootswitchOfFunction (function)));

    EXPECT_EQ (footswitches.joinIntoString (","), "10,9,4,5,1,2");
    EXPECT_EQ (engine.getNavigationPatch().getControl (9)->getLabel(), "^");
    EXPECT_EQ (engine.getNavigationPatch().getControl (9)->getColor(), 0xff00ff00u);

    juce::XmlElement midiIn ("midi_in");
    engine.saveMidiInToXml (midiIn);
    EXPECT_EQ (midiIn.toString (juce::XmlElement::TextFormat().withoutHeader().singleLine()),
               R"(<midi_in device="" channel="1" fs1="1" fs2="2" fs3="3" fs4="4" fs5="5" fs6="6" fs7="7" fs8="8" )"
               R"(fs9="9" fs10="10" ep1="129" ep2="135"/>)");
}

//==============================================================================
TEST_F (VlEngineTests, LearntNotesAndControllersOfTheChosenChannelReachTheBoard)
{
    midi (noteOn (1, 3));
    midi (juce::MidiMessage::noteOff (1, 3));
    midi (noteOn (1, 3, 0));
    midi (juce::MidiMessage::controllerEvent (1, 7, 64));
    midi (juce::MidiMessage::controllerEvent (1, 1, 5));
    EXPECT_EQ (takeCalls(), "footswitch 3 down; footswitch 3 up; footswitch 3 up; pedal 12 64; pedal 11 5");

    midi (noteOn (2, 3));
    midi (noteOn (1, 20));
    midi (juce::MidiMessage::controllerEvent (1, 8, 64));
    midi (juce::MidiMessage::programChange (1, 3));
    midi (juce::MidiMessage::pitchWheel (1, 100));
    EXPECT_EQ (takeCalls(), "");

    engine.setMidiInput ({}, 2);
    midi (noteOn (2, 3));
    midi (noteOn (1, 3));
    EXPECT_EQ (takeCalls(), "footswitch 3 down");
}

TEST_F (VlEngineTests, InputIsIgnoredInModesThreeFiveAndSix)
{
    for (auto mode : { 0, (int) ModeMidiSetup, (int) ModeInitialising, (int) ModeEditing, 7 })
    {
        engine.setMode (mode);
        midi (noteOn (1, 3));
        midi (juce::MidiMessage::controllerEvent (1, 7, 64));
    }

    EXPECT_EQ (takeCalls(), "");
}

TEST_F (VlEngineTests, LearnModeHandsNoteOnsAndControllersToTheDialog)
{
    engine.setMode (ModeMidiLearn);

    midi (noteOn (1, 99));
    midi (juce::MidiMessage::controllerEvent (1, 20, 1));
    midi (juce::MidiMessage::noteOff (1, 99));
    midi (noteOn (1, 98, 0));
    midi (noteOn (5, 97));

    EXPECT_EQ (takeCalls(), "learn note 99; learn controller 20");
}

TEST_F (VlEngineTests, WithoutAUserInterfaceInputIsDropped)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0));
    play();
    engine.setUserInterface (nullptr);

    midi (noteOn (1, 1));
    engine.setMode (ModeMidiLearn);
    midi (noteOn (1, 1));

    EXPECT_TRUE (takeSent().empty());
    engine.setUserInterface (&ui);
}

TEST_F (VlEngineTests, AFootswitchPlaysTheCurrentPatchAndAPedalOnlyInPlayMode)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (50);
    addAction<VlamCCContinuos> (*addControl (patch, 12).getState (0)).setController (7);
    play();

    midi (noteOn (1, 1));
    midi (juce::MidiMessage::controllerEvent (1, 7, 64));
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 50, 100 }, { 0xb0, 7, 64 } }));

    // A note learnt for a pedal reaches a board that takes only footswitches there.
    ASSERT_TRUE (engine.setLearntMessage (11, 30 - 128));
    midi (noteOn (1, 30));
    EXPECT_TRUE (ui.getCalls().contains ("footswitch 11 down"));

    engine.onFootswitch (10, true);
    midi (juce::MidiMessage::controllerEvent (1, 7, 90));
    EXPECT_TRUE (ui.getCalls().contains ("pedal 12 90"));
    EXPECT_TRUE (takeSent().empty());
}

//==============================================================================
TEST_F (VlEngineTests, GoToPatchSelectsThroughThePatchListOrDirectly)
{
    addPatches (3);
    EXPECT_EQ (takeCalls(), "refresh list; refresh list; refresh list");

    engine.goToPatch (1, true);
    EXPECT_EQ (takeCalls(), "select row 1; scroll 1; refresh buttons; refresh pedals; repaint board");
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);

    engine.goToPatch (1, true);    // the row is selected already: the list would report nothing
    EXPECT_EQ (takeCalls(), "scroll 1; refresh buttons; refresh pedals; repaint board");

    ui.hasPatchList = false;
    engine.goToPatch (2, true);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 1, 2 }));

    engine.setMode (ModeNavigation);
    engine.goToPatch (3, true);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);

    engine.selectPatch (7);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);
}

TEST_F (VlEngineTests, PatchForEachMode)
{
    auto& patch = addPatch();
    play();

    EXPECT_EQ (engine.getPatchForMode (ModePlay), &patch);
    EXPECT_EQ (engine.getPatchForMode (ModeMidiLearn), &patch);
    EXPECT_EQ (engine.getPatchForMode (ModeMidiSetup), &engine.getLearnPatch());
    EXPECT_EQ (engine.getPatchForMode (ModeNavigation), &engine.getNavigationPatch());
    EXPECT_EQ (engine.getLearnPatch().getNumControls(), 12);

    engine.setMode (ModeNavigation);
    EXPECT_EQ (engine.getCurrentPatch(), &engine.getNavigationPatch());
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
    auto& other = addControl (second, 12);
    other.setInitValue (0);
    addAction<VlamCCContinuos> (*other.getState (0)).setController (2);
    play();

    engine.startPlaying (0);

    // An initial 0 is sent too: in mode 5 an unchanged value goes out again.
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 1, 50 }, { 0xb0, 2, 0 }, { 0x90, 61, 100 }, { 0x80, 61, 0 } }));
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0 }));

    engine.startPlaying (1);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0xb0, 2, 0 } }));
}

//==============================================================================
TEST_F (VlEngineTests, MidiInputOpensTheNamedDeviceOnAChannelKeptTo1To16)
{
    engine.setMidiInput ("FCB1010", 0);
    EXPECT_TRUE (engine.isMidiInputOpen());
    EXPECT_TRUE (ports.isOpen (fcb));
    EXPECT_EQ (engine.getMidiChannel(), 1);

    ports.clearEvents();
    engine.setMidiInput ("FCB1010", 17);
    EXPECT_EQ (engine.getMidiChannel(), 16);
    engine.setMidiInput ("FCB1010", 257);
    EXPECT_EQ (engine.getMidiChannel(), 1);
    EXPECT_TRUE (ports.getEvents().isEmpty());

    engine.setMidiInput ({}, 3);
    EXPECT_FALSE (engine.isMidiInputOpen());
    EXPECT_FALSE (ports.isOpen (fcb));
    EXPECT_EQ (engine.getMidiInputDevice(), "");
}

TEST_F (VlEngineTests, OpensTheOutputsThatTheActionsOfPlainControlsName)
{
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
TEST_F (VlEngineTests, OnOffFootswitchEntersNavigationAndLeavesOnTheSamePatch)
{
    addPatches (2);
    addControl (*engine.getPatch (0), 10).setLabel ("own");
    play();

    EXPECT_EQ (displayedLabel (10), "*");
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board");

    engine.onFootswitch (10, false);
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    engine.onPedalValue (11, 3);

    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0 }));
}

TEST_F (VlEngineTests, BackAndForwardWalkTheVisitHistory)
{
    addPatches (9);

    for (juce::uint16 patch : { 3, 5, 7 })
        engine.goToPatch (patch, true);

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 5);
    EXPECT_EQ (engine.getMode(), ModePlay);

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 3);

    engine.onFootswitch (10, true);
    EXPECT_EQ (displayedLabel (4), "none");
    EXPECT_EQ (displayedLabel (5), ">");
    engine.onFootswitch (5, true);
    engine.onFootswitch (5, false);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 5);

    engine.goToPatch (8, true);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 3, 5, 8 }));
    EXPECT_EQ (engine.getHistoryPosition(), 2);
}

TEST_F (VlEngineTests, PreviousAndNextInListHideAtTheEnds)
{
    addPatches (3);
    play();
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayedLabel (1), "none");
    EXPECT_EQ (displayedLabel (2), "+");
    EXPECT_EQ (displayedLabel (11), "none");

    engine.onFootswitch (2, false);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);

    navigate (2);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 2);
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayedLabel (2), "none");
    engine.onFootswitch (2, false);
    EXPECT_EQ (engine.getMode(), ModeNavigation);

    engine.onFootswitch (1, true);
    EXPECT_EQ (engine.getMode(), ModeNavigation);    // functions act at the release
    engine.onFootswitch (1, false);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
}

TEST_F (VlEngineTests, GoUpLeadsToThePatchesOfTheNearestHigherRank)
{
    addPatch ("A", 1);
    addPatch ("B", 2);
    addPatch ("C", 3);
    addPatch ("D", 2);
    addGoTo (0, 2);
    addGoTo (1, 2);
    addGoTo (3, 2);

    std::vector<juce::uint16> found;
    EXPECT_TRUE (engine.findHigherRankPatches (2, 3, found));
    EXPECT_EQ (found, (std::vector<juce::uint16> { 1, 3 }));
    EXPECT_FALSE (engine.findHigherRankPatches (1, 2, found));

    engine.goToPatch (3, true);
    engine.goToPatch (2, true);
    navigate (9);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 3);    // of two candidates, the one visited

    engine.goToPatch (0, true);
    engine.onFootswitch (10, true);
    EXPECT_EQ (displayedLabel (9), "none");
}

TEST_F (VlEngineTests, AssigningAFootswitchTakesItFromItsFunction)
{
    engine.setNavigationFunction (NavGoUp, 2, false);

    EXPECT_EQ (engine.getFootswitchOfFunction (NavNext), -1);
    EXPECT_EQ (engine.getFootswitchOfFunction (NavGoUp), 2);
    EXPECT_EQ (engine.getNavigationPatch().getControl (2)->getLabel(), "^");
    EXPECT_EQ (engine.getNavigationPatch().getControl (9), nullptr);

    engine.setNavigationColor (0xff123456);
    EXPECT_EQ (engine.getNavigationPatch().getControl (2)->getColor(), 0xff123456u);

    engine.clearNavigation();
    EXPECT_EQ (engine.getNavigationPatch().getNumControls(), 0);
    EXPECT_EQ (engine.getFunctionOfFootswitch (10), 0);
}

TEST_F (VlEngineTests, WithoutAnOnOffFootswitchEveryFootswitchPlays)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 10).getState (0)).setNumber (70);
    engine.setNavigationFunction (NavOnOff, -1, false);
    play();

    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 70, 100 } }));
    EXPECT_EQ (engine.getNavigationFunctions().at (NavOnOff), -1);
}

TEST_F (VlEngineTests, RearrangesConflictingFootswitchesOnlyWhenTheUserAgrees)
{
    ScriptedPrompts prompts;
    prompts.answers = { false, true };
    auto& patch = addPatch();
    auto& onThree = addControl (patch, 3);
    addControl (patch, 1);

    engine.setNavigationFunction (NavOnOff, 3, true);
    EXPECT_EQ (patch.getControl (3), &onThree);

    engine.setNavigationFunction (NavOnOff, 3, true);
    EXPECT_EQ (patch.getControl (2), &onThree);
    EXPECT_EQ (prompts.shown[0], "Rearrangement of the foot switches...|"
                                 "Do you want conflicting foot switches to be automatically rearranged?");
    EXPECT_EQ (prompts.shown.size(), 2);

    engine.setNavigationFunction (NavGoUp, 5, true);
    EXPECT_EQ (prompts.shown.size(), 2);
}

TEST_F (VlEngineTests, AStrayFunctionEntryCannotDisableTheOnOffFootswitch)
{
    addPatch();
    play();
    engine.setNavigationFunction (0, 10, false);
    engine.setNavigationFunction (NavOnOff, 10, false);

    EXPECT_EQ (engine.getFunctionOfFootswitch (10), NavOnOff);
    engine.onFootswitch (10, true);
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
}

TEST_F (VlEngineTests, OnOffFunctionAppliesOnlyToFootswitches)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 11);
    play();

    engine.setNavigationFunction (NavOnOff, 11, false);

    EXPECT_EQ (engine.getDisplayedControl (11), &pedal);
    EXPECT_EQ (engine.getNavigationPatch().getControl (11), nullptr);
    engine.onFootswitch (11, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
}

TEST_F (VlEngineTests, OnOffAlwaysEndsInPlayModeEvenWithoutAPatch)
{
    engine.onFootswitch (10, true);
    ASSERT_EQ (engine.getMode(), ModeNavigation);

    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_TRUE (ui.getCalls().contains ("refresh buttons"));
}

TEST_F (VlEngineTests, BackAndForwardSkipVisitsOfPatchesThatAreGone)
{
    addPatches (4);

    for (juce::uint16 patch : { 0, 3, 1, 2 })
        engine.goToPatch (patch, true);

    // As a later deletion of patches would leave it: entry 3 names no patch now.
    auto& patches = const_cast<std::vector<std::unique_ptr<VlPatch>>&> (engine.getPatches());
    patches.pop_back();
    engine.goToPatch (2, false);

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getHistoryPosition(), 0);

    navigate (5);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (engine.getHistoryPosition(), 2);
}

TEST_F (VlEngineTests, HistoryKeepsTheLatestThousandVisits)
{
    addPatches (2);

    for (int i = 0; i < 1005; ++i)
        engine.goToPatch ((juce::uint16) (i % 2), true);

    EXPECT_EQ (engine.getHistory().size(), 1000u);
    EXPECT_EQ (engine.getHistoryPosition(), 999);
    EXPECT_EQ (engine.getHistory().back(), 0);

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (engine.getHistoryPosition(), 998);
}

TEST_F (VlEngineTests, ClearEmptiesPatchesAndHistoryButKeepsNavigationAndLearning)
{
    addPatches (2);
    play();
    engine.setLearntMessage (3, 40);

    engine.clear();
    EXPECT_EQ (engine.getNumPatches(), 0);
    EXPECT_EQ (engine.getCurrentPatchIndex(), NoIndex);
    EXPECT_TRUE (engine.getHistory().empty());
    EXPECT_EQ (engine.getFootswitchOfFunction (NavOnOff), 10);
    EXPECT_EQ (engine.getLearntMessage (3), 40);
}

//==============================================================================
TEST_F (VlEngineTests, LearnTableRefusesAMessageOfAnotherControl)
{
    EXPECT_FALSE (engine.setLearntMessage (2, 5));
    EXPECT_EQ (engine.getLearntMessage (2), NoLearntKey);
    EXPECT_EQ (engine.getLearntMessage (5), 5);

    EXPECT_TRUE (engine.setLearntMessage (5, 5));
    EXPECT_EQ (engine.getLearntMessage (5), 5);

    EXPECT_TRUE (engine.setLearntMessage (3, NoLearntKey));
    EXPECT_EQ (engine.getLearntMessage (3), NoLearntKey);
    midi (noteOn (1, 3));
    EXPECT_EQ (takeCalls(), "");

    EXPECT_FALSE (engine.setLearntMessage (11, 7));    // controller 7 belongs to pedal 12
    EXPECT_TRUE (engine.setLearntMessage (12, NoLearntKey));
    EXPECT_TRUE (engine.setLearntMessage (11, 7));
    EXPECT_EQ (engine.getLearntMessage (11), 135);

    midi (juce::MidiMessage::controllerEvent (1, 7, 1));
    midi (juce::MidiMessage::controllerEvent (1, 1, 1));
    EXPECT_EQ (takeCalls(), "pedal 11 1");
}

TEST_F (VlEngineTests, RestoringASavedTableBringsItBackExactly)
{
    // The user swapped the notes of footswitches 1 and 2 and of the two pedals.
    engine.restoreLearntMessages ({ { 1, "2" }, { 2, "1" }, { 11, "135" }, { 12, "129" }, { 3, "-1000" },
                                    { 4, "abc" }, { 5, "" }, { 13, "9" } });

    EXPECT_EQ (engine.getLearntMessage (1), 2);
    EXPECT_EQ (engine.getLearntMessage (2), 1);
    EXPECT_EQ (engine.getLearntMessage (11), 135);
    EXPECT_EQ (engine.getLearntMessage (12), 129);
    EXPECT_EQ (engine.getLearntMessage (3), NoLearntKey);
    EXPECT_EQ (engine.getLearntMessage (4), 4);
    EXPECT_EQ (engine.getLearntMessage (5), 5);

    engine.restoreLearntMessages ({ { 12, "-1000" }, { 6, " 60" } });
    EXPECT_EQ (engine.getLearntMessage (12), NoLearntKey);
    EXPECT_EQ (engine.getLearntMessage (6), 60);

    midi (noteOn (1, 2));
    EXPECT_EQ (takeCalls(), "footswitch 1 down");
}

//==============================================================================
TEST_F (VlEngineTests, AFootswitchOnTheMidiThreadPlaysWhileTheMainThreadRunsItsLoop)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (64);
    play();
    engine.setMidiInput ("FCB1010", 1);

    ASSERT_TRUE (ports.injectMessage (fcb, noteOn (1, 1)));
    ASSERT_TRUE (ports.injectMessage (fcb, juce::MidiMessage::noteOff (1, 1)));
    MessageLoop::pumpUntil ([this] { return ports.getSentMessages (synth).size() == 2; });

    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 64, 100 }, { 0x80, 64, 0 } }));
}

TEST_F (VlEngineTests, AFootswitchFromAnInputPipeReachesAnOutputFile)
{
    TemporaryMidiFolder midi;
    ASSERT_TRUE (midi.makeInput ("FCB1010"));
    ASSERT_TRUE (midi.makeOutput ("Synth"));
    switchPortsTo (std::make_unique<CFileMidiPorts> (midi.getFolder()));

    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (64);
    play();
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());

    // A press, and a release as a note-on of velocity 0 in running status, read on the input's own thread.
    MessageLoop::pumpUntil ([&] { return midi.writeToInput ("FCB1010", { 0x90, 1, 100, 1, 0 }); });
    MessageLoop::pumpUntil ([&] { return midi.readOutput ("Synth").size() >= 6; });

    EXPECT_EQ (midi.readOutput ("Synth"), (MidiBytes { 0x90, 64, 100, 0x80, 64, 0 }));
    EXPECT_EQ (takeCalls(), "footswitch 1 down; footswitch 1 up");
}
