#include "common/CFileMidiPorts.h"

#include "fixtures/MessageLoop.h"
#include "fixtures/MidiBytes.h"
#include "fixtures/RecordingMidiCallback.h"
#include "fixtures/TemporaryMidiFolder.h"

#include <gtest/gtest.h>

class CFileMidiPortsTests : public ::testing::Test
{
protected:
    static juce::StringArray namesOf (const juce::Array<CMidiPortInfo>& devices)
    {
        juce::StringArray names;

        for (auto& device : devices)
            names.add (device.name);

        return names;
    }

    TemporaryMidiFolder midi;
    CFileMidiPorts ports { midi.getFolder() };
    RecordingMidiCallback callback;
};

TEST_F (CFileMidiPortsTests, ListsTheEntriesOfInAndOutAndTakesAnEntryMadeAgainForANewDevice)
{
    EXPECT_TRUE (midi.makeInput ("FCB1010"));
    EXPECT_TRUE (midi.makeInput ("Another pedal"));
    EXPECT_TRUE (midi.makeInput (".hidden"));
    midi.input ("a folder").createDirectory();
    EXPECT_TRUE (midi.makeOutput ("Synth"));

    EXPECT_EQ (namesOf (ports.getInputs()), (juce::StringArray { "Another pedal", "FCB1010" }));
    EXPECT_EQ (namesOf (ports.getOutputs()), juce::StringArray ("Synth"));
    midi.output ("Synth").deleteFile();
    EXPECT_TRUE (ports.getOutputs().isEmpty());
    CFileMidiPorts nowhere (midi.getFolder().getChildFile ("missing"));
    EXPECT_TRUE (nowhere.getInputs().isEmpty() && nowhere.getOutputs().isEmpty());

    // An entry made again is a new device.
    auto before = ports.getInputs()[1];
    EXPECT_EQ (ports.getInputs()[1], before);
    midi.input ("FCB1010").deleteFile();
    midi.makeInput ("FCB1010");
    auto after = ports.getInputs()[1];
    EXPECT_NE (after.identifier, before.identifier);
    EXPECT_EQ (ports.openInput (before, nullptr), nullptr);
    EXPECT_NE (ports.openInput (after, nullptr), nullptr);
}

TEST_F (CFileMidiPortsTests, ReceivesWhatEveryWriterPutsIntoThePipe)
{
    midi.makeInput ("FCB1010");

    // No writer has opened the pipe yet: neither opening nor stopping waits for one.
    auto input = ports.openInput (ports.getInputs()[0], &callback);
    ASSERT_NE (input, nullptr);
    input->start();
    input->stop();
    input->start();

    ASSERT_TRUE (midi.writeToInput ("FCB1010", { 0x90, 0x01, 0x7f, 0x02, 0x7f, 0x33, 0xf0, 0x7d, 0x01, 0xf7 }));
    MessageLoop::pumpUntil ([&] { return callback.getNumMessages() == 3; });

    // The first writer has gone; the next one is heard as well.
    ASSERT_TRUE (midi.writeToInput ("FCB1010", { 0xb0, 0x1b }));
    ASSERT_TRUE (midi.writeToInput ("FCB1010", { 0x40 }));
    MessageLoop::pumpUntil ([&] { return callback.getNumMessages() == 4; });

    EXPECT_EQ (bytesOf (callback.getMessages()),
               (std::vector<MidiBytes> {
                   { 0x90, 0x01, 0x7f }, { 0x90, 0x02, 0x7f }, { 0xf0, 0x7d, 0x01, 0xf7 }, { 0xb0, 0x1b, 0x40 } }));
    EXPECT_FALSE (callback.calledOnMessageThread.load());
    midi.input ("FCB1010").deleteFile();
    input.reset();
}

TEST_F (CFileMidiPortsTests, FollowsARegularInputFileAsItGrows)
{
    midi.input ("Recorded").replaceWithData ("\xc0\x05", 2);
    auto input = ports.openInput (ports.getInputs()[0], &callback);
    ASSERT_NE (input, nullptr);
    input->start();
    MessageLoop::pumpUntil ([&] { return callback.getNumMessages() == 1; });

    midi.input ("Recorded").appendData ("\x06", 1);
    MessageLoop::pumpUntil ([&] { return callback.getNumMessages() == 2; });
    EXPECT_EQ (bytesOf (callback.getMessages()), (std::vector<MidiBytes> { { 0xc0, 0x05 }, { 0xc0, 0x06 } }));
}

TEST_F (CFileMidiPortsTests, AppendsEachSentMessageToTheFileAtOnce)
{
    midi.output ("Synth").replaceWithText ("AB");
    auto output = ports.openOutput (ports.getOutputs()[0]);
    ASSERT_NE (output, nullptr);
    output->startBackgroundThread();
    output->sendMessageNow (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100));
    EXPECT_EQ (midi.readOutput ("Synth"), (MidiBytes { 'A', 'B', 0x90, 60, 100 }));

    const juce::uint8 dump[] = { 0x00, 0x01, 0x7f };
    output->sendMessageNow (juce::MidiMessage::createSysExMessage (dump, sizeof (dump)));
    EXPECT_EQ (midi.readOutput ("Synth"), (MidiBytes { 'A', 'B', 0x90, 60, 100, 0xf0, 0x00, 0x01, 0x7f, 0xf7 }));

    output->stopBackgroundThread();
}

TEST_F (CFileMidiPortsTests, AnOutputPipeWithoutAReaderNeitherBlocksNorEndsTheApplication)
{
    auto path = midi.output ("Pipe").getFullPathName();
    ASSERT_EQ (::mkfifo (path.toRawUTF8(), 0600), 0);
    EXPECT_EQ (ports.openOutput (ports.getOutputs()[0]), nullptr);

    auto reader = ::open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK);
    auto output = ports.openOutput (ports.getOutputs()[0]);
    ASSERT_NE (output, nullptr);
    output->sendMessageNow (juce::MidiMessage::programChange (1, 5));
    juce::uint8 received[4] {};
    EXPECT_EQ (::read (reader, received, sizeof (received)), 2);
    EXPECT_EQ (received[0], 0xc0);

    ::close (reader);
    output->sendMessageNow (juce::MidiMessage::programChange (1, 6));    // raises SIGPIPE
}
