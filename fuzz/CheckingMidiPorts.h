#pragma once

#include "common/CMidiPorts.h"
#include "fuzz/Require.h"

#include <memory>
#include <vector>

//==============================================================================
/** Output devices of the given names whose ports check every message sent to them: a channel
    message is whole, a system-exclusive one is framed by 0xF0 and 0xF7, and no data byte is
    above 0x7F. The messages are kept, in order, only while `keep` is set. There are no inputs.
*/
class CheckingMidiPorts : public CMidiPorts
{
public:
    /** What the outputs were sent; shared with the ports. */
    struct Sent
    {
        bool keep = false;
        std::vector<std::vector<juce::uint8>> messages;
    };

    explicit CheckingMidiPorts (juce::StringArray outputNames, std::shared_ptr<Sent> sentTo = std::make_shared<Sent>())
        : names (std::move (outputNames)),
          sent (std::move (sentTo))
    {
    }

    /** Requires a well-formed message. */
    static void check (const juce::MidiMessage& message)
    {
        const auto* data = message.getRawData();
        const auto size = message.getRawDataSize();
        require (size >= 1 && data[0] >= 0x80);

        const auto isSysEx = data[0] == 0xf0;

        if (isSysEx)
            require (size >= 2 && data[size - 1] == 0xf7);
        else
            require (size == juce::MidiMessage::getMessageLengthFromFirstByte (data[0]));

        for (int i = 1; i < size - (isSysEx ? 1 : 0); ++i)
            require (data[i] < 0x80);
    }

    juce::Array<CMidiPortInfo> getInputs() override { return {}; }

    juce::Array<CMidiPortInfo> getOutputs() override
    {
        juce::Array<CMidiPortInfo> outputs;

        for (const auto& name : names)
            outputs.add ({ name, "out-" + name });

        return outputs;
    }

    std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo&, juce::MidiInputCallback*) override
    {
        return nullptr;
    }

    std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo&) override
    {
        return std::make_unique<Output> (sent);
    }

private:
    class Output : public CMidiOutputPort
    {
    public:
        explicit Output (std::shared_ptr<Sent> sentTo)
            : sent (std::move (sentTo))
        {
        }

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            check (message);

            if (sent->keep)
                sent->messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
        }

        void startBackgroundThread() override {}
        void stopBackgroundThread() override {}

    private:
        std::shared_ptr<Sent> sent;
    };

    juce::StringArray names;
    std::shared_ptr<Sent> sent;
};
