#include "common/CFileMidiPorts.h"
#include "engine/VlaGoTo.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/MessageLoop.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/TemporaryMidiFolder.h"

// The engine's modes, MIDI input filter, patch selection, initial playing, devices,
// navigation with the visit history, and the learn table.
class VlEngineTests : public EngineFixture
{
protected:
    void midi (const juce::MidiMessage& message)    { engine.handleIncomingMidiMessage (nullptr, message); }
    juce::String takeCalls()                        { return ui.takeCalls().joinIntoString ("; "); }

    static juce::MidiMessage noteOn (int note, int velocity = 100, int channel = 1)
    {
        return juce::MidiMessage::noteOn (channel, note, (juce::uint8) velocity);
    }

    static juce::MidiMessage cc (int controller, int value, int channel = 1)
    {
        return juce::MidiMessage::controllerEvent (channel, controller, value);
    }

    void addPatches (int n)
    {
        for (int i = 0; i < n; ++i)
            addPatch();
    }

    void visit (std::initializer_list<juce::uint16> patches)
    {
        for (auto patch : patches)
            engine.goToPatch (patch, true);
    }

    // The on/off footswitch, then a press and release of the footswitch in navigation mode.
    void navigate (int footswitch)
    {
        engine.onFootswitch (10, true);
        ASSERT_EQ (engine.getMode(), ModeNavigation);
        engine.onFootswitch (footswitch, true);
        engine.onFootswitch (footswitch, false);
    }

    juce::String displayed (int controlId)
    {
        auto* control = engine.getDisplayedControl (controlId);
        return control != nullptr ? control->getLabel() : juce::String ("none");
    }
};

//==============================================================================
TEST_F (VlEngineTests, StartsInPlayModeWithTheDefaultNavigationAndLearnTable)
{
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatch(), nullptr);
    EXPECT_EQ (VlEngine::getInstance (false), &engine);

    EXPECT_EQ (displayed (10), "*");

    juce::XmlElement midiIn ("midi_in");
    engine.saveMidiInToXml (midiIn);
    EXPECT_EQ (midiIn.toString (juce::XmlElement::TextFormat().withoutHeader().singleLine()),
               R"(<midi_in device="" channel="1" fs1="1" fs2="2" fs3="3" fs4="4" fs5="5" fs6="6" fs7="7" fs8="8" )"
               R"(fs9="9" fs10="10" ep1="129" ep2="135"/>)");
}

TEST_F (VlEngineTests, LearntNotesAndControllersOfTheChosenChannelReachTheBoard)
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
}

TEST_F (VlEngineTests, LearnModeHandsNoteOnsAndControllersToTheDialog)
{
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

    engine.setMode (ModePlay);
    engine.setUserInterface (nullptr);    // nothing to pass the messages on: they are dropped
    midi (noteOn (1));
    engine.setUserInterface (&ui);
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

TEST_F (VlEngineTests, MidiInputOpensTheNamedDeviceOnAChannelKeptTo1To16)
{
    juce::String channels;

    for (auto channel : { 0, 17, 257 })
    {
        engine.setMidiInput ("FCB1010", channel);
        channels << engine.getMidiChannel() << " ";
    }

    EXPECT_EQ (channels, "1 16 1 ");
    EXPECT_TRUE (engine.isMidiInputOpen() && ports.isOpen (fcb));

    engine.setMidiInput ({}, 3);
    EXPECT_FALSE (engine.isMidiInputOpen() || ports.isOpen (fcb));
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

    engine.onFootswitch (10, true);
    EXPECT_EQ (takeCalls(), "refresh list; refresh buttons; refresh pedals; repaint board");
    engine.onFootswitch (10, false);
    engine.onPedalValue (11, 3);
    EXPECT_EQ (engine.getMode(), ModeNavigation);

    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 0);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 0 }));
}

TEST_F (VlEngineTests, BackAndForwardWalkTheVisitHistory)
{
    addPatches (9);
    visit ({ 3, 5, 7 });

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 5);
    EXPECT_EQ (engine.getMode(), ModePlay);

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 3);

    engine.onFootswitch (10, true);
    EXPECT_EQ (displayed (4) + displayed (5), "none>");
    engine.onFootswitch (5, false);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 5);

    engine.goToPatch (8, true);
    EXPECT_EQ (engine.getHistory(), (std::vector<juce::uint16> { 3, 5, 8 }));
}

TEST_F (VlEngineTests, PreviousAndNextInListActAtTheReleaseAndHideAtTheEnds)
{
    addPatches (2);
    play();

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

TEST_F (VlEngineTests, AssigningAFootswitchTakesItFromItsFunction)
{
    engine.setNavigationFunction (NavGoUp, 2, false);
    EXPECT_EQ (engine.getFootswitchOfFunction (NavNext), -1);
    EXPECT_EQ (engine.getNavigationPatch().getControl (2)->getLabel(), "^");
    EXPECT_EQ (engine.getNavigationPatch().getControl (9), nullptr);

    // Without an on/off footswitch every footswitch plays.
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 10).getState (0)).setNumber (70);
    engine.setNavigationFunction (NavOnOff, -1, false);
    play();
    engine.onFootswitch (10, true);
    EXPECT_EQ (engine.getMode(), ModePlay);
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 70, 100 } }));
}

TEST_F (VlEngineTests, RearrangesConflictingFootswitchesOnlyWhenTheUserAgrees)
{
    FakePrompts prompts;
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
    EXPECT_EQ (prompts.prompts[0].title, "Rearrangement of the foot switches...");
    EXPECT_EQ (prompts.prompts[0].text, "Do you want conflicting foot switches to be automatically rearranged?");
    EXPECT_EQ (prompts.prompts[0].buttons, juce::StringArray ({ "yes", "no" }));
    EXPECT_EQ (prompts.prompts[0].lockCount, 1);    // the menus are locked while the box is open
}

TEST_F (VlEngineTests, OnlyARealFunctionOnARealFootswitchSwitchesNavigation)
{
    auto& patch = addPatch();
    auto& pedal = addControl (patch, 11);
    play();

    // A stray function 0 from a file on the on/off footswitch must not hide "*".
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
    visit ({ 0, 3, 1, 2 });

    // As a later deletion of patches would leave it: entry 1 names no patch now.
    const_cast<std::vector<std::unique_ptr<VlPatch>>&> (engine.getPatches()).pop_back();
    engine.goToPatch (2, false);

    navigate (4);
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

    navigate (4);
    EXPECT_EQ (engine.getCurrentPatchIndex(), 1);
    EXPECT_EQ (engine.getHistoryPosition(), 998);
}

//==============================================================================
TEST_F (VlEngineTests, LearnTableRefusesAMessageOfAnotherControl)
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
}

TEST_F (VlEngineTests, RestoringASavedTableBringsItBackExactly)
{
    // The user swapped the notes of footswitches 1 and 2 and the controllers of the pedals.
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
TEST_F (VlEngineTests, AFootswitchFromAnInputPipeReachesAnOutputFile)
{
    TemporaryMidiFolder midiFolder;
    ASSERT_TRUE (midiFolder.makeInput ("FCB1010") && midiFolder.makeOutput ("Synth"));
    switchPortsTo (std::make_unique<CFileMidiPorts> (midiFolder.getFolder()));

    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (64);
    play();
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());

    // A press, and a release as a note-on of velocity 0 in running status, read on the
    // input's own thread while this one runs the message loop.
    MessageLoop::pumpUntil ([&] { return midiFolder.writeToInput ("FCB1010", { 0x90, 1, 100, 1, 0 }); });
    MessageLoop::pumpUntil ([&] { return midiFolder.readOutput ("Synth").size() >= 6; });

    EXPECT_EQ (midiFolder.readOutput ("Synth"), (MidiBytes { 0x90, 64, 100, 0x80, 64, 0 }));
    EXPECT_EQ (takeCalls(), "footswitch 1 down; footswitch 1 up");
}
