#include "common/CFileMidiPorts.h"
#include "common/CMidiDevices.h"
#include "common/CVirtualMidiPorts.h"

#include "fixtures/MessageLoop.h"
#include "fixtures/MidiBytes.h"
#include "fixtures/RecordingMidiCallback.h"
#include "fixtures/StreamWhilePortsChange.h"
#include "fixtures/TemporaryMidiFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <thread>

namespace
{
    juce::MidiMessage pedalMoved (int value)
    {
        return juce::MidiMessage::controllerEvent (1, 7, value & 127);
    }
}

//==============================================================================
/** A manager over virtual ports, its owner recording under the message-manager lock as the engine does. */
class CMidiDevicesTests : public ::testing::Test
{
protected:
    // Plugs in "FCB1010" and "Synth" and wants both; returns their identifiers.
    std::pair<juce::String, juce::String> plugAndWantPedalAndSynth()
    {
        auto ids = std::make_pair (ports.plugInput ("FCB1010"), ports.plugOutput ("Synth"));
        devices->addInput ("FCB1010");
        devices->addOutput ("Synth");
        return ids;
    }

    void check()
    {
        devices->updateInputs();
        devices->updateOutputs();
    }

    // Returns once the owner's callback has begun and is (about to be) waiting
    // for the message-manager lock, which this thread does not give meanwhile.
    void makeCallbackWaitForTheMessageLock (const juce::String& input)
    {
        auto callsBefore = engine.numCalls.load();
        ASSERT_TRUE (ports.injectMessage (input, pedalMoved (1)));
        while (engine.numCalls == callsBefore)
            std::this_thread::yield();

        std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }

    CVirtualMidiPorts ports;
    RecordingMidiCallback engine { true };
    const double constructed = juce::Time::getMillisecondCounterHiRes();
    std::unique_ptr<CMidiDevices> devices = std::make_unique<CMidiDevices> (&engine, ports.share());
};

TEST_F (CMidiDevicesTests, OpensNothingUntilTheFirstCheck1500MillisecondsLater)
{
    plugAndWantPedalAndSynth();
    EXPECT_EQ (devices->getOpenInput ("FCB1010"), nullptr);
    MessageLoop::pumpUntil ([&] { return devices->getOpenInput ("FCB1010") != nullptr; });

    EXPECT_GE (juce::Time::getMillisecondCounterHiRes() - constructed, 1450.0);
    EXPECT_NE (devices->getOpenOutput ("Synth"), nullptr);    // in the same check
}

TEST_F (CMidiDevicesTests, OpensAtOnceWhenAskedAndCarriesMessagesBothWays)
{
    auto [fcb, synth] = plugAndWantPedalAndSynth();
    check();

    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "open in " + fcb, "start in " + fcb, "open out " + synth,
                                                       "start thread " + synth }));

    ASSERT_TRUE (ports.injectMessage (fcb, pedalMoved (64)));
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() == 1; });
    EXPECT_EQ (bytesOf (engine.getMessages()[0]), (MidiBytes { 0xb0, 7, 64 }));

    devices->getOpenOutput ("Synth")->sendMessageNow (pedalMoved (5));
    EXPECT_EQ (bytesOf (ports.getSentMessages (synth)), (std::vector<MidiBytes> { { 0xb0, 7, 5 } }));

    devices->clearOutputs();
    devices->updateOutputs();
    EXPECT_EQ (devices->getOpenOutput ("Synth"), nullptr);
}

TEST_F (CMidiDevicesTests, OpensOnlyExactNamesAndTheFirstOfTwoEqualOnes)
{
    auto first = ports.plugInput ("USB MIDI"), second = ports.plugInput ("USB MIDI");
    auto firstOut = ports.plugOutput ("USB MIDI"), secondOut = ports.plugOutput ("USB MIDI");
    devices->addInput ("usb midi");
    devices->addInput ("USB MIDI ");
    devices->addInput ("usb midi");
    EXPECT_EQ (devices->getWantedInputs(), (juce::StringArray { "usb midi", "USB MIDI " }));
    check();
    EXPECT_FALSE (ports.isOpen (first) || ports.isOpen (second));

    devices->addInput ("USB MIDI");
    devices->addOutput ("USB MIDI");
    check();
    EXPECT_TRUE (ports.isOpen (first) && ports.isOpen (firstOut));
    EXPECT_FALSE (ports.isOpen (second) || ports.isOpen (secondOut));
    EXPECT_EQ (devices->getOpenInput ("usb midi"), nullptr);

    // The first goes: the second, present all along, takes over.
    ports.unplug (first);
    check();
    EXPECT_TRUE (ports.isOpen (second));
}

TEST_F (CMidiDevicesTests, RetriesAFailedOpenAtTheNextCheck)
{
    auto [fcb, synth] = plugAndWantPedalAndSynth();
    ports.failNextOpen (fcb);
    ports.failNextOpen (synth);
    check();
    EXPECT_FALSE (ports.isOpen (fcb) || ports.isOpen (synth));
    check();
    EXPECT_TRUE (ports.isOpen (fcb) && ports.isOpen (synth));
}

TEST_F (CMidiDevicesTests, ClosesTheOldInputBeforeOpeningTheNewOne)
{
    auto a = ports.plugInput ("A"), b = ports.plugInput ("B");
    devices->addInput ("A");
    check();
    ports.clearEvents();
    devices->removeInput ("A");
    devices->addInput ("B");
    devices->updateInputs();

    EXPECT_EQ (ports.getEvents(),
               (juce::StringArray { "stop in " + a, "close in " + a, "open in " + b, "start in " + b }));
}

TEST_F (CMidiDevicesTests, ClosesAnUnpluggedDeviceReopensItPluggedInAgainWithinOneCheckAndClosesInputsFirstWhenDeleted)
{
    auto [fcb, synth] = plugAndWantPedalAndSynth();
    check();
    ports.unplug (synth);
    check();
    EXPECT_FALSE (ports.isOpen (synth));
    EXPECT_EQ (devices->getWantedOutputs(), juce::StringArray ("Synth"));
    ports.clearEvents();
    ports.unplug (fcb);
    auto fcbAgain = ports.plugInput ("FCB1010");
    auto synthAgain = ports.plugOutput ("Synth");
    check();

    EXPECT_EQ (ports.getEvents(),
               (juce::StringArray { "stop in " + fcb, "close in " + fcb, "open in " + fcbAgain, "start in " + fcbAgain,
                                    "open out " + synthAgain, "start thread " + synthAgain }));

    // Deleting the manager closes inputs before outputs, also an input opened after them.
    ports.unplug (fcbAgain);
    auto fcbLast = ports.plugInput ("FCB1010");
    check();
    ports.clearEvents();
    devices.reset();
    EXPECT_EQ (ports.getEvents(), (juce::StringArray { "stop in " + fcbLast, "close in " + fcbLast,
                                                       "stop thread " + synthAgain, "close out " + synthAgain }));
}

TEST_F (CMidiDevicesTests, SendsAChangeMessageOnlyWhenSomethingOpenedOrClosed)
{
    struct : juce::ChangeListener
    {
        int count = 0;
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    } changes;

    auto fcb = ports.plugInput ("FCB1010");
    ports.failNextOpen (ports.plugInput ("Other"));
    devices->addChangeListener (&changes);

    auto changesAfterCheck = [&] {
        devices->updateInputs();
        devices->dispatchPendingMessages();
        return changes.count;
    };

    devices->addInput ("Absent");
    EXPECT_EQ (changesAfterCheck(), 0);
    devices->addInput ("FCB1010");
    EXPECT_EQ (changesAfterCheck(), 1);
    devices->addInput ("Other");    // fails to open
    EXPECT_EQ (changesAfterCheck(), 1);
    ports.unplug (fcb);
    EXPECT_EQ (changesAfterCheck(), 2);
    devices->removeChangeListener (&changes);
}

TEST_F (CMidiDevicesTests, PlaysThroughTheFilesOfVELTRINO_MIDI_DIR)
{
    TemporaryMidiFolder midi;
    midi.makeInput ("FCB1010");
    midi.makeOutput ("Synth");
    ::setenv ("VELTRINO_MIDI_DIR", midi.getFolder().getFullPathName().toRawUTF8(), 1);
    devices = std::make_unique<CMidiDevices> (&engine);
    devices->addInput ("FCB1010");
    devices->addOutput ("Synth");
    check();

    ASSERT_TRUE (midi.writeToInput ("FCB1010", { 0x90, 0x01, 0x7f }));
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() == 1; });
    devices->getOpenOutput ("Synth")->sendMessageNow (juce::MidiMessage::programChange (2, 9));
    EXPECT_EQ (midi.readOutput ("Synth"), (MidiBytes { 0xc1, 9 }));

    midi.input ("FCB1010").deleteFile();
    check();
    EXPECT_EQ (devices->getOpenInput ("FCB1010"), nullptr);
}

//==============================================================================
// The owner's callback waits for the message-manager lock while the port system
// holds its callback lock; stopping, deleting or opening a port on the message
// thread needs that callback lock. Without the port-change signal these tests
// hang until ctest's timeout.

TEST_F (CMidiDevicesTests, ChangesPortsWithoutHangingWhileACallbackWaitsForTheMessageLock)
{
    auto fcb = ports.plugInput ("FCB1010");
    auto synth = ports.plugOutput ("Synth");
    devices->addInput ("FCB1010");
    check();
    makeCallbackWaitForTheMessageLock (fcb);
    devices->removeInput ("FCB1010");
    devices->updateInputs();
    EXPECT_FALSE (ports.isOpen (fcb));
    EXPECT_EQ (engine.numDropped.load(), 0);
    devices->addInput ("FCB1010");
    devices->updateInputs();
    makeCallbackWaitForTheMessageLock (fcb);
    devices->addOutput ("Synth");
    devices->updateOutputs();
    EXPECT_TRUE (ports.isOpen (synth));
    makeCallbackWaitForTheMessageLock (fcb);
    devices.reset();
    EXPECT_FALSE (ports.isOpen (fcb));
    EXPECT_EQ (engine.getNumMessages(), 0);

    // None of the three messages given up on is lost: each is handled once the loop runs.
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() == 3; });
    EXPECT_EQ (engine.numDropped.load(), 0);
}

TEST_F (CMidiDevicesTests, RemovingAndReAddingAStreamingInputNeverHangs)
{
    auto fcb = ports.plugInput ("FCB1010");
    ports.plugOutput ("Synth");
    devices->addInput ("FCB1010");
    devices->updateInputs();

    std::atomic<bool> streaming { true };
    std::thread pedal ([&] {
        for (int value = 0; streaming; ++value)
        {
            ports.injectMessage (fcb, pedalMoved (value));
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });

    for (int round = 0; round < 300; ++round)
    {
        devices->removeInput ("FCB1010");
        devices->updateInputs();
        devices->addInput ("FCB1010");
        devices->updateInputs();
        round % 2 == 0 ? devices->addOutput ("Synth") : devices->clearOutputs();
        devices->updateOutputs();
        MessageLoop::pumpFor (1);
    }

    // Still open, and messages get through once the changes stop.
    auto handledBefore = engine.getNumMessages();
    MessageLoop::pumpUntil ([&] { return engine.getNumMessages() > handledBefore; });
    streaming = false;
    pedal.join();
    EXPECT_TRUE (ports.isOpen (fcb));
}

// Opening a port waits for the callback lock. An input flooded meanwhile must wait the
// change out without that lock, not take it again for message after message, each one
// given up and kept, until the bound drops the rest.
TEST_F (CMidiDevicesTests, AFloodedInputWaitsOutAPortChangeInsteadOfKeepingPastTheBound)
{
    auto [fcb, synth] = plugAndWantPedalAndSynth();
    check();
    constexpr int count = (int) CMidiInputLock::capacity + 10;

    {
        const CMidiInputLock::ScopedPortChange change;

        for (int i = 0; i < count; ++i)
            ASSERT_TRUE (ports.injectMessage (fcb, pedalMoved (i)));

        for (int ms = 0; ms < 100 && engine.numCalls < count; ++ms)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));

        EXPECT_EQ (engine.numCalls.load(), 0);
    }

    // Closing the input drops what it has not delivered yet, as closing means.
    devices->clearInputs();
    devices->updateInputs();
    EXPECT_EQ (engine.numDropped.load(), 0);
}

// The file-backed ports read a pipe in blocks and deliver a block's messages in a
// row under their shared callback lock: none of them may go while other ports open
// and close. The messages are numbered by their pitch-bend value.
TEST_F (CMidiDevicesTests, LosesNoMessageOfAStreamingPipeWhileOtherPortsOpenAndClose)
{
    constexpr int numMessages = 4000;
    TemporaryMidiFolder midi;
    ASSERT_TRUE (midi.makeInput ("FCB1010") && midi.makeInput ("Other") && midi.makeOutput ("Synth"));
    devices = std::make_unique<CMidiDevices> (&engine, std::make_unique<CFileMidiPorts> (midi.getFolder()));
    devices->addInput ("FCB1010");
    devices->updateInputs();
    const auto pipe = ::open (midi.input ("FCB1010").getFullPathName().toRawUTF8(), O_WRONLY);
    ASSERT_GE (pipe, 0);

    streamWhilePortsChange (*devices, numMessages, [pipe] (int number) {
        EXPECT_EQ (::write (pipe, juce::MidiMessage::pitchWheel (1, number).getRawData(), 3), 3);
    });

    ::close (pipe);
    MessageLoop::pumpUntil ([&] {
        auto messages = engine.getMessages();
        return ! messages.isEmpty() && messages.getLast().getPitchWheelValue() == numMessages;
    });

    std::vector<int> expected (numMessages + 1), received;
    std::iota (expected.begin(), expected.end(), 0);
    for (auto& message : engine.getMessages())
        received.push_back (message.getPitchWheelValue());

    EXPECT_EQ (received, expected) << received.size() << " received of " << expected.size();
    EXPECT_EQ (engine.numDropped.load(), 0);
}
