#include "common/CFileMidiPorts.h"
#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/MessageLoop.h"
#include "fixtures/StreamWhilePortsChange.h"
#include "fixtures/TemporaryMidiFolder.h"

#include <thread>

/** The engine's MIDI callback on the input device's own thread: while the main
    thread changes what it reads, and from an input pipe to an output file. Runs under ThreadSanitizer too.
*/
class VlEngineInputThreadTests : public EngineFixture
{
};

TEST_F (VlEngineInputThreadTests, ModeAndChannelChangeWhileTheInputThreadReadsThem)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (60);
    play();
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());

    std::atomic<bool> stop { false };
    std::thread pedalBoard ([&] {
        while (! stop)
        {
            ports.injectMessage (fcb, juce::MidiMessage::noteOn (1, 1, (juce::uint8) 100));
            ports.injectMessage (fcb, juce::MidiMessage::noteOff (1, 1));
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    // The dialogs and the editor switch the mode, the MIDI setup the channel,
    // both on the main thread while footswitches arrive.
    for (int i = 0; i < 200; ++i)
    {
        engine.setMode (i % 2 == 0 ? ModeMidiSetup : ModePlay);
        engine.setMidiInput ("FCB1010", 1 + i % 2);
        MessageLoop::pumpFor (1);
    }

    engine.setMode (ModePlay);
    engine.setMidiInput ("FCB1010", 1);
    MessageLoop::pumpUntil ([this] { return ! takeSent().empty(); });

    stop = true;
    pedalBoard.join();
}

// A pedal sweeping while the main thread opens and closes other ports: its callback
// gives up the lock for every change, yet each value reaches the engine once, in order.
TEST_F (VlEngineInputThreadTests, NoPedalValueIsLostWhileOtherPortsOpenAndClose)
{
    constexpr int numValues = 4000;
    ports.plugInput ("Other");
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());

    // The last one moves the other pedal: when that is in, everything before it is.
    streamWhilePortsChange (engine.getMidiDevices(), numValues, [this] (int i) {
        EXPECT_TRUE (ports.injectMessage (fcb, juce::MidiMessage::controllerEvent (1, i < numValues ? 7 : 1, i % 128)));
    });

    MessageLoop::pumpUntil ([this] { return ui.getCalls().strings.getLast().startsWith ("pedal 11 "); });

    std::vector<int> expected, received;
    for (int i = 0; i < numValues; ++i)
        expected.push_back (i % 128);

    for (auto& call : ui.getCalls())
        if (call.startsWith ("pedal 12 "))
            received.push_back (call.getTrailingIntValue());

    EXPECT_EQ (received, expected) << received.size() << " received of " << numValues;
}

//==============================================================================
/** The road a user's pedal board takes without MIDI hardware: bytes written into an
    input pipe, read on the input's own thread, played to an output file.
*/
TEST (VlEngineFilePortsTests, AFootswitchFromAnInputPipeReachesAnOutputFile)
{
    TemporaryMidiFolder midiFolder;
    ASSERT_TRUE (midiFolder.makeInput ("FCB1010") && midiFolder.makeOutput ("Synth"));

    VlEngine engine { std::make_unique<CFileMidiPorts> (midiFolder.getFolder()) };
    FakeUserInterface ui { engine };

    auto patch = std::make_unique<VlPatch>();
    auto* control = patch->setControl (1, std::make_unique<VlControlCfg>());
    control->addState (std::make_unique<VlControlState>());
    auto& note = static_cast<VlamNote&> (control->getState (0)->addAction (std::make_unique<VlamNote>()));
    note.setDevice ("Synth");
    note.setNumber (64);
    engine.addPatch (std::move (patch));

    engine.openMidiOutputs();
    engine.goToPatch (0, true);
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());
    ui.takeCalls();

    // A press, and a release as a note-on of velocity 0 in running status.
    MessageLoop::pumpUntil ([&] { return midiFolder.writeToInput ("FCB1010", { 0x90, 1, 100, 1, 0 }); });
    MessageLoop::pumpUntil ([&] { return midiFolder.readOutput ("Synth").size() >= 6; });

    EXPECT_EQ (midiFolder.readOutput ("Synth"), (MidiBytes { 0x90, 64, 100, 0x80, 64, 0 }));
    EXPECT_EQ (ui.takeCalls().joinIntoString ("; "), "footswitch 1 down; footswitch 1 up");
}
