#include "common/CMidiDevices.h"
#include "common/CVirtualMidiPorts.h"

#include "fixtures/MessageLoop.h"
#include "fixtures/MidiBytes.h"
#include "fixtures/RecordingMidiCallback.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
    struct ChangeCounter : juce::ChangeListener
    {
        int count = 0;
        void changeListenerCallback (juce::ChangeBroadcaster*) override  { ++count; }
    };

    juce::MidiMessage pedalMoved (int value)
    {
        return juce::MidiMessage::controllerEvent (1, 7, value & 127);
    }

    // Injects one message, then returns once the callback has begun and is
    // (about to be) waiting for the message-manager lock, which the message
    // thread does not give while it runs this test.
    void makeCallbackWaitForTheMessageLock (CVirtualMidiPorts& ports, const juce::String& input,
                                            RecordingMidiCallback& callback)
    {
        ASSERT_TRUE (ports.injectMessage (input, pedalMoved (1)));

        while (callback.numCalls == 0)
            std::this_thread::yield();

        std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }
}

//==============================================================================
TEST (CMidiDevicesTests, OpensNothingUntilTheFirstCheck1500MillisecondsLater)
{
    CVirtualMidiPorts ports;
    ports.plugInput ("FCB1010");
    ports.plugOutput ("Synth");
    RecordingMidiCallback engine;

    auto constructed = juce::Time::getMillisecondCounterHiRes();
    CMidiDevices devices (&engine, ports.share());
    devices.addInput ("FCB1010");
    devices.addOutput ("Synth");

    EXPECT_EQ (devices.getOpenInput ("FCB1010"), nullptr);
    EXPECT_EQ (devices.getOpenOutput ("Synth"), nullptr);

    MessageLoop::pumpUntil ([&] { return devices.getOpenInput ("FCB1010") != nullptr; });

    EXPECT_GE (juce::Time::getMillisecondCounterHiRes() - constructed, 1450.0);
    EXPECT_NE (devices.getOpenOutput ("Synth"), nullptr);     // in the same check
}

TEST (CMidiDevicesTests, OpensAtOnceWhenAskedAndDeliversToTheOwner)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    auto synth = ports.plugOutput ("Synth");
    RecordingMidiCallback engine;
    CMidiDevices devices (&engine, ports.share());

    devices.addInput ("FCB1010");
    devices.updateInputs();
    devices.addOutput ("Synth");
    devices.updateOutputs();

    ASSERT_NE (devices.getOpenInput ("FCB1010"), nullptr);
    ASSERT_NE (devices.getOpenOutput ("Synth"), nullptr);
    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "open in " + fcb, "start in " + fcb,
                                                       "open out " + synth, "start thread " + synth }));

    ASSERT_TRUE (ports.injectMessage (fcb, pedalMoved (64)));
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() == 1; });
    EXPECT_EQ (bytesOf (engine.getMessages()[0]), (MidiBytes { 0xb0, 7, 64 }));

    devices.getOpenOutput ("Synth")->sendMessageNow (pedalMoved (5));
    EXPECT_EQ (bytesOf (ports.getSentMessages (synth)), (std::vector<MidiBytes> { { 0xb0, 7, 5 } }));

    devices.clearOutputs();
    devices.updateOutputs();
    EXPECT_EQ (devices.getOpenOutput ("Synth"), nullptr);
    EXPECT_FALSE (ports.isOpen (synth));
}

TEST (CMidiDevicesTests, ComparesNamesExactly)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    CMidiDevices devices (nullptr, ports.share());

    devices.addInput ("fcb1010");
    devices.addInput ("FCB1010 ");
    devices.addInput ("fcb1010");
    EXPECT_EQ (devices.getWantedInputs(), (juce::StringArray { "fcb1010", "FCB1010 " }));

    devices.updateInputs();
    EXPECT_FALSE (ports.isOpen (fcb));

    devices.addInput ("FCB1010");
    devices.updateInputs();
    EXPECT_TRUE (ports.isOpen (fcb));
    EXPECT_EQ (devices.getOpenInput ("fcb1010"), nullptr);
    EXPECT_NE (devices.getOpenInput ("FCB1010"), nullptr);
}

TEST (CMidiDevicesTests, OpensOnlyTheFirstOfTwoDevicesWithTheSameName)
{
    CVirtualMidiPorts ports;
    auto first = ports.plugInput ("USB MIDI");
    auto second = ports.plugInput ("USB MIDI");
    auto firstOut = ports.plugOutput ("USB MIDI");
    auto secondOut = ports.plugOutput ("USB MIDI");
    CMidiDevices devices (nullptr, ports.share());

    devices.addInput ("USB MIDI");
    devices.addOutput ("USB MIDI");
    devices.updateInputs();
    devices.updateOutputs();

    EXPECT_TRUE (ports.isOpen (first));
    EXPECT_FALSE (ports.isOpen (second));
    EXPECT_TRUE (ports.isOpen (firstOut));
    EXPECT_FALSE (ports.isOpen (secondOut));

    // The first goes: the second, present all along, takes over.
    ports.unplug (first);
    devices.updateInputs();
    EXPECT_TRUE (ports.isOpen (second));
}

TEST (CMidiDevicesTests, RetriesAFailedOpenAtTheNextCheck)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    auto synth = ports.plugOutput ("Synth");
    ports.failNextOpen (fcb);
    ports.failNextOpen (synth);
    CMidiDevices devices (nullptr, ports.share());
    devices.addInput ("FCB1010");
    devices.addOutput ("Synth");

    devices.updateInputs();
    devices.updateOutputs();
    EXPECT_EQ (devices.getOpenInput ("FCB1010"), nullptr);
    EXPECT_EQ (devices.getOpenOutput ("Synth"), nullptr);

    MessageLoop::pumpUntil ([&] { return devices.getOpenOutput ("Synth") != nullptr; });
    EXPECT_NE (devices.getOpenInput ("FCB1010"), nullptr);
    EXPECT_EQ (devices.getWantedInputs(), juce::StringArray ("FCB1010"));
}

TEST (CMidiDevicesTests, ClosesTheOldInputBeforeOpeningTheNewOne)
{
    CVirtualMidiPorts ports;
    auto a = ports.plugInput ("A");
    auto b = ports.plugInput ("B");
    CMidiDevices devices (nullptr, ports.share());
    devices.addInput ("A");
    devices.updateInputs();
    ports.clearEvents();

    devices.removeInput ("A");
    devices.addInput ("B");
    devices.updateInputs();

    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "stop in " + a, "close in " + a, "open in " + b, "start in " + b }));
    EXPECT_EQ (devices.getOpenInput ("A"), nullptr);
}

TEST (CMidiDevicesTests, ReopensADevicePluggedInAgainWithinOneCheck)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    auto synth = ports.plugOutput ("Synth");
    RecordingMidiCallback engine;
    CMidiDevices devices (&engine, ports.share());
    devices.addInput ("FCB1010");
    devices.addOutput ("Synth");
    devices.updateInputs();
    devices.updateOutputs();
    ports.clearEvents();

    ports.unplug (fcb);
    ports.unplug (synth);
    auto fcbAgain = ports.plugInput ("FCB1010");
    auto synthAgain = ports.plugOutput ("Synth");
    devices.updateInputs();
    devices.updateOutputs();

    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "stop in " + fcb, "close in " + fcb,
                                                       "open in " + fcbAgain, "start in " + fcbAgain,
                                                       "stop thread " + synth, "close out " + synth,
                                                       "open out " + synthAgain, "start thread " + synthAgain }));

    ASSERT_TRUE (ports.injectMessage (fcbAgain, pedalMoved (3)));
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() == 1; });
}

TEST (CMidiDevicesTests, ClosesAnUnpluggedDeviceAndOpensItWhenItComesBack)
{
    CVirtualMidiPorts ports;
    auto synth = ports.plugOutput ("Synth");
    CMidiDevices devices (nullptr, ports.share());
    devices.addOutput ("Synth");
    devices.updateOutputs();

    ports.unplug (synth);
    devices.updateOutputs();
    EXPECT_EQ (devices.getOpenOutput ("Synth"), nullptr);
    EXPECT_FALSE (ports.isOpen (synth));
    EXPECT_EQ (devices.getWantedOutputs(), juce::StringArray ("Synth"));

    auto back = ports.plugOutput ("Synth");
    MessageLoop::pumpUntil ([&] { return ports.isOpen (back); });
}

TEST (CMidiDevicesTests, SendsAChangeMessageOnlyWhenSomethingOpenedOrClosed)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    ports.plugOutput ("Synth");
    CMidiDevices devices (nullptr, ports.share());
    ChangeCounter changes;
    devices.addChangeListener (&changes);

    auto check = [&]
    {
        devices.updateInputs();
        devices.dispatchPendingMessages();
        devices.updateOutputs();
        devices.dispatchPendingMessages();
        return changes.count;
    };

    devices.addInput ("Absent");
    EXPECT_EQ (check(), 0);

    devices.addInput ("FCB1010");
    devices.addOutput ("Synth");
    EXPECT_EQ (check(), 2);
    EXPECT_EQ (check(), 2);

    ports.failNextOpen (ports.plugInput ("Other"));
    devices.addInput ("Other");
    EXPECT_EQ (check(), 2);

    ports.unplug (fcb);
    EXPECT_EQ (check(), 3);

    devices.removeChangeListener (&changes);
}

TEST (CMidiDevicesTests, DeletingTheManagerClosesInputsBeforeOutputs)
{
    CVirtualMidiPorts ports;
    auto synth = ports.plugOutput ("Synth");
    auto fcb = ports.plugInput ("FCB1010");

    {
        CMidiDevices devices (nullptr, ports.share());
        devices.addOutput ("Synth");
        devices.updateOutputs();
        devices.addInput ("FCB1010");
        devices.updateInputs();
        ports.clearEvents();
    }

    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "stop in " + fcb, "close in " + fcb,
                                                       "stop thread " + synth, "close out " + synth }));
}

//==============================================================================
// The engine's callback takes the message-manager lock on the MIDI thread while
// the port system holds its callback lock; stopping, deleting or opening a port
// on the message thread needs that callback lock. Without the port-change signal
// each of these tests hangs until ctest's timeout.

TEST (CMidiDevicesTests, RemovingAnInputWhoseCallbackWaitsForTheMessageLockDoesNotHang)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    RecordingMidiCallback engine (true);
    CMidiDevices devices (&engine, ports.share());
    devices.addInput ("FCB1010");
    devices.updateInputs();

    makeCallbackWaitForTheMessageLock (ports, fcb, engine);
    devices.removeInput ("FCB1010");
    devices.updateInputs();

    EXPECT_FALSE (ports.isOpen (fcb));
    EXPECT_EQ (engine.numDropped.load(), 1);
    EXPECT_EQ (engine.getNumMessages(), 0);
}

TEST (CMidiDevicesTests, OpeningAnOutputWhileACallbackWaitsForTheMessageLockDoesNotHang)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    auto synth = ports.plugOutput ("Synth");
    RecordingMidiCallback engine (true);
    CMidiDevices devices (&engine, ports.share());
    devices.addInput ("FCB1010");
    devices.updateInputs();

    makeCallbackWaitForTheMessageLock (ports, fcb, engine);
    devices.addOutput ("Synth");
    devices.updateOutputs();

    EXPECT_TRUE (ports.isOpen (synth));
    EXPECT_EQ (engine.numDropped.load(), 1);
}

TEST (CMidiDevicesTests, DeletingTheManagerWhileACallbackWaitsForTheMessageLockDoesNotHang)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    RecordingMidiCallback engine (true);
    auto devices = std::make_unique<CMidiDevices> (&engine, ports.share());
    devices->addInput ("FCB1010");
    devices->updateInputs();

    makeCallbackWaitForTheMessageLock (ports, fcb, engine);
    devices.reset();

    EXPECT_FALSE (ports.isOpen (fcb));
}

TEST (CMidiDevicesTests, RemovingAndReAddingAStreamingInputNeverHangs)
{
    CVirtualMidiPorts ports;
    auto fcb = ports.plugInput ("FCB1010");
    ports.plugOutput ("Synth");
    RecordingMidiCallback engine (true);
    CMidiDevices devices (&engine, ports.share());
    devices.addInput ("FCB1010");
    devices.updateInputs();

    std::atomic<bool> streaming { true };
    std::thread pedal ([&]
    {
        for (int value = 0; streaming; ++value)
        {
            ports.injectMessage (fcb, pedalMoved (value));
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    for (int round = 0; round < 300; ++round)
    {
        devices.removeInput ("FCB1010");
        devices.updateInputs();
        devices.addInput ("FCB1010");
        devices.updateInputs();

        if (round % 2 == 0)
            devices.addOutput ("Synth");
        else
            devices.clearOutputs();

        devices.updateOutputs();
        MessageLoop::pumpFor (1);
    }

    // Still open, and messages still get through once the changes stop.
    auto handledBefore = engine.getNumMessages();
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() > handledBefore; });
    streaming = false;
    pedal.join();

    EXPECT_TRUE (ports.isOpen (fcb));
    EXPECT_GT (engine.numDropped.load() + engine.getNumMessages(), 0);
}
