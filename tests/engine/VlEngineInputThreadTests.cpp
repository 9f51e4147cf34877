#include "engine/VlamNote.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/MessageLoop.h"

#include <thread>

/** The engine's MIDI callback on the input device's own thread, while the main
    thread changes what it reads. Runs under ThreadSanitizer too.
*/
class VlEngineInputThreadTests : public EngineFixture {};

TEST_F (VlEngineInputThreadTests, ModeAndChannelChangeWhileTheInputThreadReadsThem)
{
    auto& patch = addPatch();
    addAction<VlamNote> (*addControl (patch, 1).getState (0)).setNumber (60);
    play();
    engine.setMidiInput ("FCB1010", 1);
    ASSERT_TRUE (engine.isMidiInputOpen());

    std::atomic<bool> stop { false };
    std::thread pedalBoard ([&]
    {
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
