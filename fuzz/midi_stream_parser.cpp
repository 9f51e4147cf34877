// Any bytes through the MIDI byte-stream parser of the file-backed input ports: every message it
// hands on must be complete and well formed, and bytes that arrive one at a time (as a pipe may
// deliver them) must give the same messages as bytes that arrive at once.

#include "common/CMidiStreamParser.h"
#include "fuzz/Require.h"

#include <vector>

namespace
{
    using Message = std::vector<juce::uint8>;

    // The size of a message that starts with `status`; 0 for bytes that must never start one.
    size_t sizeFor (juce::uint8 status)
    {
        if (status < 0x80)
            return 0;

        if (status < 0xf0)
            return (status & 0xe0) == 0xc0 ? 2 : 3;

        switch (status)
        {
            case 0xf1:
            case 0xf3: return 2;
            case 0xf2: return 3;
            case 0xf6:
            case 0xf8:
            case 0xfa:
            case 0xfb:
            case 0xfc:
            case 0xfe:
            case 0xff: return 1;
            default: return 0;
        }
    }

    void requireWellFormed (const Message& message)
    {
        require (! message.empty());

        const auto status = message.front();
        const auto isSysEx = status == 0xf0;

        if (isSysEx)
            require (message.size() >= 2 && message.size() <= CMidiStreamParser::maxSysExSize
                     && message.back() == 0xf7);
        else
            require (message.size() == sizeFor (status));

        for (size_t i = 1; i < message.size() - (isSysEx ? 1 : 0); ++i)
            require (message[i] < 0x80);
    }

    CMidiStreamParser::Callback collectInto (std::vector<Message>& messages)
    {
        return [&messages] (const juce::MidiMessage& message) {
            const auto* raw = message.getRawData();
            messages.emplace_back (raw, raw + message.getRawDataSize());
        };
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    std::vector<Message> atOnce, oneByOne;

    CMidiStreamParser whole (collectInto (atOnce));
    whole.feed (data, size);

    CMidiStreamParser pieces (collectInto (oneByOne));

    for (size_t i = 0; i < size; ++i)
        pieces.feed (data + i, 1);

    require (atOnce == oneByOne);

    for (const auto& message : atOnce)
        requireWellFormed (message);

    // Whatever was left half-done, a reset parser starts afresh.
    const juce::uint8 noteOn[] = { 0x90, 0x3c, 0x7f };
    oneByOne.clear();
    pieces.reset();
    pieces.feed (noteOn, sizeof (noteOn));
    require (oneByOne == std::vector<Message> { Message (noteOn, noteOn + sizeof (noteOn)) });

    return 0;
}
