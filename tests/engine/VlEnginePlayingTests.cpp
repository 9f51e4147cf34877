#include "VlEngineTests.h"
#include "engine/VlaGoTo.h"
#include "engine/VlamCCContinuos.h"
#include "engine/VlamNote.h"

// The engine's MIDI input filter, modes, patch selection, initial playing and devices.
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
    for (auto& message :
         { noteOn (99), cc (20, 1), juce::MidiMessage::noteOff (1, 99), noteOn (98, 0), noteOn (97, 100, 5) })
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

// A note is never left sounding, nor a release sent that no press asked for.
TEST_F (VlEngineTests, AReleaseAnswersOnlyAPlayedPressAndHeldFootswitchesAreReleasedInAnyMode)
{
    auto& patch = addPatch();
    auto& control = addControl (patch, 1, 2);
    addAction<VlamNote> (*control.getState (0)).setNumber (50);
    addAction<VlamNote> (*control.getState (1)).setNumber (51);
    play();

    engine.setMode (ModeEditing);
    midi (noteOn (1));
    engine.setMode (ModePlay);
    midi (juce::MidiMessage::noteOff (1, 1));
    EXPECT_TRUE (takeSent().empty());
    EXPECT_EQ (control.getCurrentStateIndex(), 0);

    // Held into navigation mode, where its release would run a navigation function instead.
    midi (noteOn (1));
    press (10);
    ui.takeCalls();
    engine.releaseHeldFootswitches();
    EXPECT_EQ (takeSent(), (std::vector<MidiBytes> { { 0x90, 50, 100 }, { 0x80, 50, 0 } }));
    EXPECT_EQ (takeCalls(), "refresh button 1 none; footswitch 1 shown up");
    EXPECT_EQ (engine.getMode(), ModeNavigation);
    engine.releaseHeldFootswitches();
    EXPECT_TRUE (takeSent().empty());
}

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
    EXPECT_EQ (takeSent(),
               (std::vector<MidiBytes> { { 0xb0, 1, 50 }, { 0xb0, 2, 0 }, { 0x90, 61, 100 }, { 0x80, 61, 0 } }));
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
