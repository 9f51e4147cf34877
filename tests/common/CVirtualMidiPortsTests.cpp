#include "common/CVirtualMidiPorts.h"

#include "fixtures/MessageLoop.h"
#include "fixtures/MidiBytes.h"
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

TEST (CVirtualMidiPortsTests, ListsPluggedDevicesInOrderEachUnderAFreshIdentifier)
{
    CVirtualMidiPorts ports;
    auto a = ports.plugInput ("A");
    auto b = ports.plugInput ("B");
    auto a2 = ports.plugInput ("A");
    auto out = ports.plugOutput ("A");

    EXPECT_EQ (ports.getInputs(), (juce::Array<CMidiPortInfo> { CMidiPortInfo { "A", a }, CMidiPortInfo { "B", b }, CMidiPortInfo { "A", a2 } }));
    EXPECT_EQ (ports.getOutputs(), (juce::Array<CMidiPortInfo> { CMidiPortInfo { "A", out } }));

    EXPECT_TRUE (ports.unplug (a));
    EXPECT_FALSE (ports.unplug (a));
    auto again = ports.plugInput ("A");

    EXPECT_NE (again, a);
    EXPECT_EQ (ports.getInputs(), (juce::Array<CMidiPortInfo> { CMidiPortInfo { "B", b }, CMidiPortInfo { "A", a2 }, CMidiPortInfo { "A", again } }));
}

TEST (CVirtualMidiPortsTests, OpenFailsForAnAbsentDeviceAndOncePerFailNextOpen)
{
    CVirtualMidiPorts ports;
    auto synth = ports.plugOutput ("Synth");

    EXPECT_EQ (ports.openOutput ({ "Gone", "Gone#9" }), nullptr);
    EXPECT_EQ (ports.openInput ({ "Synth", synth }, nullptr), nullptr);    // an output is no input

    ports.failNextOpen (synth);
    EXPECT_EQ (ports.openOutput ({ "Synth", synth }), nullptr);
    EXPECT_FALSE (ports.isOpen (synth));

    auto port = ports.openOutput ({ "Synth", synth });
    ASSERT_NE (port, nullptr);
    EXPECT_TRUE (ports.isOpen (synth));

    port.reset();
    EXPECT_FALSE (ports.isOpen (synth));
}

TEST (CVirtualMidiPortsTests, DeliversInjectedMessagesInOrderFromAThreadOfItsOwnWhileStarted)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    RecordingMidiCallback callback;
    auto port = ports.openInput ({ "FCB1010", fcb }, &callback);
    ASSERT_NE (port, nullptr);

    EXPECT_FALSE (ports.injectMessage (fcb, note (1)));     // not started yet

    port->start();
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE (ports.injectMessage (fcb, note (n)));

    MessageLoop::pumpUntil ([&] { return callback.getNumMessages() == 3; });
    auto received = callback.getMessages();
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ (received[n - 1].getNoteNumber(), n);
    EXPECT_FALSE (callback.calledOnMessageThread.load());

    port->stop();
    EXPECT_FALSE (ports.injectMessage (fcb, note (4)));

    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "open in " + fcb, "start in " + fcb, "stop in " + fcb }));
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
    };

    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    BlockingCallback callback;
    auto port = ports.openInput ({ "FCB1010", fcb }, &callback);
    port->start();
    ports.injectMessage (fcb, note (1));

    while (! callback.entered)
        std::this_thread::yield();

    std::atomic<bool> stopped { false };
    std::thread stopper ([&] { port->stop(); stopped = true; });

    std::this_thread::sleep_for (std::chrono::milliseconds (50));
    EXPECT_FALSE (stopped.load());

    callback.release = true;
    stopper.join();
    EXPECT_TRUE (stopped.load());
}

TEST (CVirtualMidiPortsTests, KeepsEverySentMessageInOrderPerOutput)
{
    CVirtualMidiPorts ports;
    auto synth = ports.plugOutput ("Synth");
    auto drums = ports.plugOutput ("Drums");
    auto toSynth = ports.openOutput ({ "Synth", synth });
    auto toDrums = ports.openOutput ({ "Drums", drums });

    const juce::uint8 dump[] = { 0x00, 0x01, 0x7f };
    auto sysEx = juce::MidiMessage::createSysExMessage (dump, sizeof (dump));

    toSynth->sendMessageNow (note (60));
    toDrums->sendMessageNow (note (36));
    toSynth->sendMessageNow (sysEx);

    EXPECT_EQ (bytesOf (ports.getSentMessages (synth)),
               (std::vector<MidiBytes> { { 0x90, 60, 100 }, { 0xf0, 0x00, 0x01, 0x7f, 0xf7 } }));
    EXPECT_EQ (ports.getSentMessages (drums).size(), 1);

    ports.unplug (synth);
    toSynth->sendMessageNow (note (61));     // an unplugged device receives nothing
    EXPECT_EQ (ports.getSentMessages (synth).size(), 2);
}

TEST (CVirtualMidiPortsTests, AHandleOutlivesTheOneGivenAway)
{
    CVirtualMidiPorts ports;
    auto synth = ports.plugOutput ("Synth");
    std::unique_ptr<CMidiOutputPort> port;

    {
        std::unique_ptr<CMidiPorts> givenAway = ports.share();
        EXPECT_EQ (givenAway->getOutputs().size(), 1);
        port = givenAway->openOutput ({ "Synth", synth });
    }

    ASSERT_NE (port, nullptr);
    port->sendMessageNow (note (60));
    port.reset();

    EXPECT_EQ (ports.getSentMessages (synth).size(), 1);
    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "open out " + synth, "close out " + synth }));
}
