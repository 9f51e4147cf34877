#include "tools/fcbdump/VlFcbDump.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace
{
    using Byte = VlFcbDump::Byte;

    // Memory map of the image.
    constexpr std::size_t presetSize = 16;
    constexpr std::size_t globalArea = 0x640;
    constexpr std::size_t midiChannels = 0x7E0;
    constexpr std::size_t configSwitches = 0x7F0;
    constexpr std::size_t configFlags = 0x7F1;
    constexpr std::size_t pedalCalibration = 0x7FC;

    // Offsets inside a preset. Bit 7 of each "number" byte disables that message; bit 7 of a control
    // change's value byte is its relay, switched on when set.
    constexpr std::size_t programOffset = 0x0;
    constexpr std::array<std::size_t, 2> controllerOffsets { 0x5, 0x7 };
    constexpr std::array<std::size_t, 2> pedalOffsets { 0x9, 0xC };
    constexpr std::size_t noteOffset = 0xF;

    constexpr Byte flagBit = 0x80;
    constexpr Byte dataBits = 0x7F;

    constexpr Byte configSwitch1Bit = 0x80, configSwitch2Bit = 0x40;
    constexpr Byte directSelectBit = 0x02, runningStatusBit = 0x04, mergeBit = 0x10;

    // Seven memory bytes travel as their low seven bits followed by one byte that gathers their bit 7s:
    // bit i of that byte is bit 7 of the group's byte i.
    constexpr std::size_t groupSize = 7;
    constexpr std::size_t packetSize = groupSize + 1;
    constexpr std::size_t numGroups = VlFcbDump::memorySize / groupSize;

    static_assert (numGroups * groupSize == VlFcbDump::memorySize);
    static_assert (VlFcbDump::header.size() + numGroups * packetSize + 1 == VlFcbDump::dumpSize);

    std::size_t presetAddress (int bank, int footswitch)
    {
        if (bank < 0 || bank >= VlFcbDump::numBanks)
            throw std::out_of_range ("bank " + std::to_string (bank) + " is not 0..9");

        if (footswitch < 1 || footswitch > VlFcbDump::numFootswitches)
            throw std::out_of_range ("footswitch " + std::to_string (footswitch) + " is not 1..10");

        return presetSize * static_cast<std::size_t> (bank * VlFcbDump::numFootswitches + footswitch - 1);
    }

    Byte dataByte (int value, const char* what)
    {
        if (value < 0 || value > dataBits)
            throw std::invalid_argument (std::string (what) + " " + std::to_string (value) + " is not 0..127");

        return static_cast<Byte> (value);
    }

    Byte withFlag (Byte data, bool flag)
    {
        return flag ? static_cast<Byte> (data | flagBit) : data;
    }

    bool hasFlag (Byte byte)
    {
        return (byte & flagBit) != 0;
    }

    int dataOf (Byte byte)
    {
        return byte & dataBits;
    }

    std::string hex (Byte byte)
    {
        char text[3];
        std::snprintf (text, sizeof (text), "%02X", byte);
        return text;
    }

    // What the board's own factory dumps hold after the presets. Bytes whose meaning is unknown are
    // copied as they stand: receiving a dump may or may not apply them, and only a real board can tell.
    void writeFactoryGlobalArea (VlFcbDump::Memory& memory)
    {
        std::fill (memory.begin() + globalArea, memory.begin() + midiChannels, Byte { 0xFF });    // unused
        std::fill (memory.begin() + midiChannels, memory.begin() + 0x7EA, Byte { 0x00 });         // all channel 1
        std::fill (memory.begin() + 0x7EA, memory.begin() + configSwitches, Byte { 0xFF });       // unknown
        memory[configSwitches] = configSwitch1Bit | configSwitch2Bit;
        memory[configFlags] = runningStatusBit | mergeBit;                                       // direct select off
        std::fill (memory.begin() + 0x7F2, memory.begin() + pedalCalibration, Byte { 0x00 });    // unknown
        const std::array<Byte, 4> calibration { 0x0F, 0xEC, 0x0E, 0xE6 };
        std::copy (calibration.begin(), calibration.end(), memory.begin() + pedalCalibration);
        std::fill (memory.begin() + 0x800, memory.end(), Byte { 0x00 });    // padding
    }
}

//==============================================================================
VlFcbDump::VlFcbDump (const Memory& image)
    : memory (image)
{
}

VlFcbDump VlFcbDump::forDefaultLearnTable()
{
    // Every bank alike, so UP and DOWN change nothing. The fixed control changes stay disabled, but the
    // firmware may still send CNT 1's controller with a note (its tap tempo): 102 and 103 are undefined
    // controllers, never taken for a pedal, and different, so the two never toggle.
    Preset preset;

    for (auto& programChange : preset.programChanges)
        programChange = { false, 0 };

    preset.controlChanges[0] = { false, 102, 0, false };
    preset.controlChanges[1] = { false, 103, 0, false };
    preset.pedals[0] = { true, 1, 0, 127 };
    preset.pedals[1] = { true, 7, 0, 127 };

    VlFcbDump dump { Memory {} };

    for (int bank = 0; bank < numBanks; ++bank)
    {
        for (int footswitch = 1; footswitch <= numFootswitches; ++footswitch)
        {
            preset.note = { true, footswitch };
            dump.setPreset (bank, footswitch, preset);
        }
    }

    writeFactoryGlobalArea (dump.memory);
    return dump;
}

//==============================================================================
VlFcbDump::Preset VlFcbDump::getPreset (int bank, int footswitch) const
{
    const auto* bytes = memory.data() + presetAddress (bank, footswitch);
    Preset preset;

    for (std::size_t i = 0; i < preset.programChanges.size(); ++i)
        preset.programChanges[i] = { ! hasFlag (bytes[programOffset + i]), dataOf (bytes[programOffset + i]) };

    for (std::size_t i = 0; i < preset.controlChanges.size(); ++i)
    {
        const auto* cc = bytes + controllerOffsets[i];
        preset.controlChanges[i] = { ! hasFlag (cc[0]), dataOf (cc[0]), dataOf (cc[1]), hasFlag (cc[1]) };
    }

    for (std::size_t i = 0; i < preset.pedals.size(); ++i)
    {
        const auto* pedal = bytes + pedalOffsets[i];
        preset.pedals[i] = { ! hasFlag (pedal[0]), dataOf (pedal[0]), dataOf (pedal[1]), dataOf (pedal[2]) };
    }

    preset.note = { ! hasFlag (bytes[noteOffset]), dataOf (bytes[noteOffset]) };
    return preset;
}

void VlFcbDump::setPreset (int bank, int footswitch, const Preset& preset)
{
    // Build the whole preset first, so that a refused number leaves the image untouched.
    std::array<Byte, presetSize> bytes {};

    for (std::size_t i = 0; i < preset.programChanges.size(); ++i)
    {
        const auto& pc = preset.programChanges[i];
        bytes[programOffset + i] = withFlag (dataByte (pc.program, "program"), ! pc.enabled);
    }

    for (std::size_t i = 0; i < preset.controlChanges.size(); ++i)
    {
        const auto& cc = preset.controlChanges[i];
        bytes[controllerOffsets[i]] = withFlag (dataByte (cc.controller, "controller"), ! cc.enabled);
        bytes[controllerOffsets[i] + 1] = withFlag (dataByte (cc.value, "controller value"), cc.relayOn);
    }

    for (std::size_t i = 0; i < preset.pedals.size(); ++i)
    {
        const auto& pedal = preset.pedals[i];
        bytes[pedalOffsets[i]] = withFlag (dataByte (pedal.controller, "pedal controller"), ! pedal.enabled);
        bytes[pedalOffsets[i] + 1] = dataByte (pedal.lower, "pedal lower value");
        bytes[pedalOffsets[i] + 2] = dataByte (pedal.upper, "pedal upper value");
    }

    bytes[noteOffset] = withFlag (dataByte (preset.note.number, "note"), ! preset.note.enabled);

    std::copy (bytes.begin(), bytes.end(), memory.begin() + presetAddress (bank, footswitch));
}

int VlFcbDump::getMidiChannel (Function function) const
{
    return memory[midiChannels + static_cast<std::size_t> (function)] + 1;
}

VlFcbDump::Settings VlFcbDump::getSettings() const
{
    Settings settings;
    settings.configSwitch1 = (memory[configSwitches] & configSwitch1Bit) != 0;
    settings.configSwitch2 = (memory[configSwitches] & configSwitch2Bit) != 0;
    settings.directSelect = (memory[configFlags] & directSelectBit) != 0;
    settings.runningStatus = (memory[configFlags] & runningStatusBit) != 0;
    settings.merge = (memory[configFlags] & mergeBit) != 0;
    std::copy_n (memory.begin() + pedalCalibration, settings.pedalCalibration.size(),
                 settings.pedalCalibration.begin());
    return settings;
}

//==============================================================================
std::vector<VlFcbDump::Byte> VlFcbDump::encode() const
{
    std::vector<Byte> message (header.begin(), header.end());
    message.reserve (dumpSize);

    for (std::size_t group = 0; group < numGroups; ++group)
    {
        Byte highBits = 0;

        for (std::size_t i = 0; i < groupSize; ++i)
        {
            const auto byte = memory[group * groupSize + i];
            message.push_back (byte & dataBits);

            if (hasFlag (byte))
                highBits |= static_cast<Byte> (1u << i);
        }

        message.push_back (highBits);
    }

    message.push_back (endOfExclusive);
    return message;
}

std::optional<VlFcbDump> VlFcbDump::decode (std::span<const Byte> message, std::string& error)
{
    if (message.size() != dumpSize)
    {
        error = "A pedal board dump is " + std::to_string (dumpSize) + " bytes long; this one has "
                + std::to_string (message.size()) + ".";
        return std::nullopt;
    }

    for (std::size_t i = 0; i < header.size(); ++i)
    {
        if (message[i] != header[i])
        {
            error = "Not a pedal board memory dump: byte " + std::to_string (i) + " is " + hex (message[i])
                    + " where the header has " + hex (header[i]) + ".";
            return std::nullopt;
        }
    }

    if (message.back() != endOfExclusive)
    {
        error = "The dump does not end with F7: its last byte is " + hex (message.back()) + ".";
        return std::nullopt;
    }

    // A byte with bit 7 set is a status byte: the message was cut or mixed with other MIDI.
    const auto body = message.subspan (header.size(), numGroups * packetSize);
    const auto bad = std::find_if (body.begin(), body.end(), [] (Byte byte) { return hasFlag (byte); });

    if (bad != body.end())
    {
        error = "The dump is damaged: byte " + std::to_string (header.size() + std::size_t (bad - body.begin()))
                + " is " + hex (*bad) + ", but bytes inside a system-exclusive message stay below 80.";
        return std::nullopt;
    }

    Memory image {};

    for (std::size_t group = 0; group < numGroups; ++group)
    {
        const auto packet = body.subspan (group * packetSize, packetSize);

        for (std::size_t i = 0; i < groupSize; ++i)
            image[group * groupSize + i] = withFlag (packet[i], (packet[groupSize] >> i) & 1);
    }

    error.clear();
    return VlFcbDump { image };
}
