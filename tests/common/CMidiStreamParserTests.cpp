#include "common/CMidiStreamParser.h"

#include "fixtures/MidiBytes.h"

#include <gtest/gtest.h>

namespace
{
    std::vector<MidiBytes> parse (const MidiBytes& stream, bool oneByteAtATime = false)
    {
        std::vector<MidiBytes> messages;
        CMidiStreamParser parser ([&] (const juce::MidiMessage& m) { messages.push_back (bytesOf (m)); });

        if (oneByteAtATime)
            for (auto byte : stream)
                parser.feed (&byte, 1);
        else
            parser.feed (stream.data(), stream.size());

        return messages;
    }

    using Messages = std::vector<MidiBytes>;
}

TEST (CMidiStreamParserTests, FollowsRunningStatus)
{
    EXPECT_EQ (parse ({ 0x90, 0x3c, 0x7f, 0x3e, 0x7f, 0x3c, 0x00 }),
               (Messages { { 0x90, 0x3c, 0x7f }, { 0x90, 0x3e, 0x7f }, { 0x90, 0x3c, 0x00 } }));
    EXPECT_EQ (parse ({ 0xc0, 0x05, 0x06, 0xd1, 0x40 }),
               (Messages { { 0xc0, 0x05 }, { 0xc0, 0x06 }, { 0xd1, 0x40 } }));

    // System common messages end the running status.
    EXPECT_EQ (parse ({ 0xb0, 0x07, 0x10, 0xf3, 0x02, 0x07, 0x11 }),
               (Messages { { 0xb0, 0x07, 0x10 }, { 0xf3, 0x02 } }));
}

TEST (CMidiStreamParserTests, KeepsRealTimeBytesInterleavedAnywhereWhateverTheChunks)
{
    EXPECT_EQ (parse ({ 0x90, 0xf8, 0x3c, 0xfe, 0x7f, 0xf0, 0x43, 0xf8, 0x10, 0xf7, 0xfa }, true),
               (Messages { { 0xf8 }, { 0xfe }, { 0x90, 0x3c, 0x7f }, { 0xf8 }, { 0xf0, 0x43, 0x10, 0xf7 }, { 0xfa } }));
}

TEST (CMidiStreamParserTests, SkipsStrayAndMalformedBytes)
{
    EXPECT_EQ (parse ({ 0x3c, 0x7f,                 // data without a status
                        0xf7,                       // end of exclusive without a start
                        0xf4, 0x01, 0xf9, 0xfd,     // undefined
                        0x90, 0x3c,                 // cut short by the next status
                        0xb0, 0x07, 0x64,
                        0xf0, 0x01, 0x02,           // exclusive cut short
                        0xc0, 0x05, 0xf6 }),
               (Messages { { 0xb0, 0x07, 0x64 }, { 0xc0, 0x05 }, { 0xf6 } }));
}

TEST (CMidiStreamParserTests, DropsAnOversizedSysExAndRecovers)
{
    MidiBytes stream { 0xf0 };
    stream.insert (stream.end(), CMidiStreamParser::maxSysExSize, 0x11);
    stream.insert (stream.end(), { 0xf7, 0x90, 0x3c, 0x7f });

    EXPECT_EQ (parse (stream), (Messages { { 0x90, 0x3c, 0x7f } }));
}
