#include "common/CMidiStreamParser.h"

namespace
{
    constexpr juce::uint8 sysExStart = 0xf0, sysExEnd = 0xf7, tuneRequest = 0xf6;

    // Data bytes that follow a status byte; -1 for an undefined status.
    int numDataBytesFor (juce::uint8 status)
    {
        if (status < 0xf0)
            return (status & 0xe0) == 0xc0 ? 1 : 2;    // program change, channel pressure: one

        switch (status)
        {
            case 0xf1:
            case 0xf3: return 1;
            case 0xf2: return 2;
            case tuneRequest: return 0;
            default: return -1;
        }
    }
}

CMidiStreamParser::CMidiStreamParser (Callback callback)
    : onMessage (std::move (callback))
{
}

void CMidiStreamParser::feed (const juce::uint8* bytes, size_t numBytes)
{
    for (size_t i = 0; i < numBytes; ++i)
        handleByte (bytes[i]);
}

void CMidiStreamParser::reset()
{
    status = 0;
    numData = 0;
    inSysEx = false;
    sysEx.clear();
}

void CMidiStreamParser::handleByte (juce::uint8 byte)
{
    if (byte >= 0xf8)
    {
        // Real-time: delivered at once, leaving whatever is in progress alone.
        // 0xF9 and 0xFD are undefined.
        if (byte != 0xf9 && byte != 0xfd)
            emit (&byte, 1);

        return;
    }

    if (inSysEx)
    {
        if (byte < 0x80)
        {
            if (sysEx.size() < maxSysExSize - 1)
                sysEx.push_back (byte);
            else
            {
                inSysEx = false;    // too long: the rest is skipped as data without a status
                sysEx.clear();
            }

            return;
        }

        inSysEx = false;

        if (byte == sysExEnd)
        {
            sysEx.push_back (byte);
            emit (sysEx.data(), sysEx.size());
            sysEx.clear();
            return;
        }

        sysEx.clear();    // cut short by another status: dropped
    }

    if (byte >= 0x80)
        handleStatus (byte);
    else if (status != 0)
    {
        data[numData++] = byte;

        if (numData == numDataNeeded)
        {
            const juce::uint8 message[] = { status, data[0], data[1] };
            emit (message, (size_t) numData + 1);
            numData = 0;

            if (status >= 0xf0)
                status = 0;    // system common messages have no running status
        }
    }
}

void CMidiStreamParser::handleStatus (juce::uint8 byte)
{
    status = 0;
    numData = 0;

    if (byte == sysExStart)
    {
        inSysEx = true;
        sysEx.assign (1, byte);
        return;
    }

    auto needed = numDataBytesFor (byte);

    if (needed == 0)
        emit (&byte, 1);
    else if (needed > 0)
    {
        status = byte;
        numDataNeeded = needed;
    }
}

void CMidiStreamParser::emit (const juce::uint8* message, size_t size)
{
    if (onMessage != nullptr)
        onMessage (juce::MidiMessage (message, (int) size));
}
