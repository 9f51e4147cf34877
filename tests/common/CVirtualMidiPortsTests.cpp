#include "common/CVirtualMidiPorts.h"

#include "fixtures/MessageLoop.h"
#include "fixtures/RecordingMidiCallback.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
    juce::MidiMessage note (int number)
    {
        return juce::MidiMessage::noteOn (1, number, (juce::uint8) 100);
    }
}

TEST (CVirtualMidiPortsTests, DeliversInOrderFromAThreadOfItsOwnOnlyWhileStarted)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    RecordingMidiCallback callback;
    auto port = ports.openInput ({ "FCB1010", fcb }, &callback);
    ASSERT_NE (port, nullptr);
    EXPECT_FALSE (ports.injectMessage (fcb, note (1)));
    port->start();
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE (ports.injectMessage (fcb, note (n)));

    MessageLoop::pumpUntil ([&] { return callback.getNumMessages() == 3; });
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ (callback.getMessages()[n - 1].getNoteNumber(), n);

    EXPECT_FALSE (callback.calledOnMessageThread.load());
    port->stop();
    EXPECT_FALSE (ports.injectMessage (fcb, note (4)));
}

TEST (CVirtualMidiPortsTests, StopWaitsForARunningCallbackToFinish)
{
    struct BlockingCallback : juce::MidiInputCallback
    {
        std::atomic<bool> entered { false }, release { false };

        void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage&) override
        {
            entered = true;

            while (! release)
                std::this_thread::yield();
        }
    } callback;

    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    auto port = ports.openInput ({ "FCB1010", fcb }, &callback);
    port->start();
    ports.injectMessage (fcb, note (1));
    while (! callback.entered)
        std::this_thread::yield();

    std::atomic<bool> stopped { false };
    std::thread stopper ([&] {
        port->stop();
        stopped = true;
    });
    std::this_thread::sleep_for (std::chrono::milliseconds (50));
    EXPECT_FALSE (stopped.load());
    callback.release = true;
    stopper.join();
}
