#include "tools/fcbdump/VlFcbDump.h"

#include "tools/FcbDumpFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace
{
    using Bytes = std::vector<VlFcbDump::Byte>;

    Bytes readGeneratedDump()
    {
        std::ifstream in (generatedFcbDumpFile, std::ios::binary);
        return { std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>() };
    }

    Bytes slice (const Bytes& bytes, std::size_t from, std::size_t to)
    {
        return { &bytes[from], &bytes[to] };
    }

    VlFcbDump decodeOrFail (const Bytes& message)
    {
        std::string error;
        auto dump = VlFcbDump::decode (message, error);
        EXPECT_TRUE (dump.has_value()) << error;
        return dump.value_or (VlFcbDump { VlFcbDump::Memory {} });
    }

    void expectRefused (const Bytes& message, const std::string& expectedInError)
    {
        std::string error;
        EXPECT_FALSE (VlFcbDump::decode (message, error).has_value());
        EXPECT_NE (error.find (expectedInError), std::string::npos) << error;
    }
}

//==============================================================================
TEST (VlFcbDumpTests, GeneratedFileIsOneWholeMemoryDumpDecodedPresetByPresetWithTheFactoryGlobalArea)
{
    const auto file = readGeneratedDump();
    ASSERT_EQ (file.size(), 2352u);
    EXPECT_EQ (file, VlFcbDump::forDefaultLearnTable().encode());
    const auto dump = decodeOrFail (file);
    EXPECT_EQ (dump.encode(), file);

    // The frame and the first three packets (presets 0 and 1); the last preset's note (10) and the
    // packet byte with its enable bit clear; the global area as in the board's factory dumps.
    EXPECT_EQ (slice (file, 0, 31),
               (Bytes { 0xF0, 0x00, 0x20, 0x32, 0x01, 0x0C, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x66, 0x00, 0x3F, 0x67,
                        0x00, 0x01, 0x00, 0x7F, 0x07, 0x00, 0x01, 0x7F, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7C }));
    EXPECT_EQ (file[1834], 0x0A);
    EXPECT_EQ (file[1838], 0x70);
    EXPECT_EQ (slice (file, 2311, 2352),
               (Bytes { 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F, 0x7F, 0x7F,
                        0x7F, 0x78, 0x7F, 0x7F, 0x40, 0x14, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00,
                        0x00, 0x00, 0x00, 0x00, 0x0F, 0x6C, 0x0E, 0x66, 0x00, 0x00, 0x00, 0x0A, 0xF7 }));

    // Every footswitch of every bank sends its own note, the pedals controllers 1 and 7.
    VlFcbDump::Preset expected;
    expected.controlChanges[0] = { false, 102, 0, false };
    expected.controlChanges[1] = { false, 103, 0, false };
    expected.pedals[0] = { true, 1, 0, 127 };
    expected.pedals[1] = { true, 7, 0, 127 };

    for (int bank = 0; bank < 10; ++bank)
    {
        for (int footswitch = 1; footswitch <= 10; ++footswitch)
        {
            expected.note = { true, footswitch };
            EXPECT_EQ (dump.getPreset (bank, footswitch), expected) << "bank " << bank << " footswitch " << footswitch;
        }
    }

    for (int function = 0; function < 10; ++function)
        EXPECT_EQ (dump.getMidiChannel (static_cast<VlFcbDump::Function> (function)), 1) << "function " << function;

    const auto settings = dump.getSettings();
    EXPECT_TRUE (settings.configSwitch1 && settings.configSwitch2 && settings.runningStatus && settings.merge);
    EXPECT_FALSE (settings.directSelect);
    EXPECT_EQ (settings.pedalCalibration, (std::array<VlFcbDump::Byte, 4> { 0x0F, 0xEC, 0x0E, 0xE6 }));

    Bytes global (0x7E0 - 0x640, 0xFF);

    for (const auto& part : { Bytes (10, 0), Bytes (6, 0xFF), Bytes { 0xC0, 0x14 }, Bytes (10, 0),
                              Bytes { 0x0F, 0xEC, 0x0E, 0xE6, 0, 0, 0 } })
        global.insert (global.end(), part.begin(), part.end());

    EXPECT_EQ (Bytes (dump.getMemory().begin() + 0x640, dump.getMemory().begin() + 0x803), global);
}

//==============================================================================
TEST (VlFcbDumpTests, BitSevenOfEachByteTravelsInItsPacketsEighthByteAndAnyMessageOrImageRoundTrips)
{
    for (std::size_t address : { 0u, 6u, 7u, 0x63Fu, 2050u })
    {
        VlFcbDump::Memory image {};
        image[address] = 0xD5;
        const auto message = VlFcbDump { image }.encode();
        ASSERT_EQ (message.size(), 2352u);
        EXPECT_EQ (message[7 + 8 * (address / 7) + address % 7], 0x55) << "address " << address;
        EXPECT_EQ (message[14 + 8 * (address / 7)], 1 << (address % 7)) << "address " << address;
    }

    std::mt19937 random (1010);

    for (int round = 0; round < 20; ++round)
    {
        Bytes message (VlFcbDump::header.begin(), VlFcbDump::header.end());

        while (message.size() < 2351)
            message.push_back (static_cast<VlFcbDump::Byte> (random() & 0x7F));

        message.push_back (0xF7);
        EXPECT_EQ (decodeOrFail (message).encode(), message);
        VlFcbDump::Memory image;

        for (auto& byte : image)
            byte = static_cast<VlFcbDump::Byte> (random() & 0xFF);

        EXPECT_EQ (decodeOrFail (VlFcbDump { image }.encode()).getMemory(), image);
    }
}

TEST (VlFcbDumpTests, StoresEveryFieldOfAPresetAndRefusesWhatItCannotStore)
{
    VlFcbDump dump { VlFcbDump::Memory {} };

    VlFcbDump::Preset preset;
    preset.programChanges = { { { true, 0 }, { false, 127 }, { true, 5 }, { false, 64 }, { true, 100 } } };
    preset.controlChanges = { { { true, 11, 127, true }, { false, 12, 0, true } } };
    preset.pedals = { { { false, 4, 10, 90 }, { true, 127, 0, 127 } } };
    preset.note = { false, 60 };

    dump.setPreset (9, 10, preset);
    EXPECT_EQ (decodeOrFail (dump.encode()).getPreset (9, 10), preset);
    EXPECT_EQ (dump.getPreset (9, 9).note, (VlFcbDump::Note { true, 0 })) << "its neighbour is untouched";

    const auto before = dump.getMemory();
    preset.note = { true, 128 };
    EXPECT_THROW (dump.setPreset (0, 1, preset), std::invalid_argument);
    preset.note = { true, 1 };
    preset.pedals[1].upper = -1;
    EXPECT_THROW (dump.setPreset (0, 1, preset), std::invalid_argument);
    EXPECT_THROW (dump.getPreset (10, 1), std::out_of_range);
    EXPECT_THROW (dump.getPreset (0, 0), std::out_of_range);
    EXPECT_THROW (dump.setPreset (0, 11, {}), std::out_of_range);
    EXPECT_EQ (dump.getMemory(), before);
}

//==============================================================================
TEST (VlFcbDumpTests, RefusesMalformedMessagesSayingWhere)
{
    const auto file = readGeneratedDump();
    const auto changed = [&file] (std::size_t index, VlFcbDump::Byte byte) {
        auto message = file;
        message[index] = byte;
        return message;
    };

    auto longer = file;
    longer.insert (longer.end() - 1, 0x00);
    expectRefused ({}, "2352 bytes long; this one has 0");
    expectRefused (slice (file, 0, 2351), "this one has 2351");
    expectRefused (longer, "this one has 2353");
    expectRefused (changed (2351, 0x00), "does not end with F7");

    // Another header (byte 4 too: every dump the board makes has 01 there), bit seven set in a
    // data byte and in a packet's eighth byte, and an early end of message.
    for (std::size_t i = 0; i < 7; ++i)
        expectRefused (changed (i, file[i] ^ 0x02), "byte " + std::to_string (i) + " is ");

    for (auto [index, byte] : { std::pair<std::size_t, VlFcbDump::Byte> { 100, 0x85 }, { 14, 0x80 }, { 1500, 0xF7 } })
        expectRefused (changed (index, byte), "byte " + std::to_string (index) + " is ");
}
