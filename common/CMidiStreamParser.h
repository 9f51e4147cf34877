#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>
#include <vector>

//==============================================================================
/** Turns a raw MIDI byte stream into complete messages.

    Understands running status, system-exclusive messages and real-time bytes
    interleaved anywhere (even inside another message). Whatever does not fit
    is skipped: data bytes without a status, a message cut short by the next
    status, a stray end of exclusive, undefined status bytes, and system-exclusive
    messages longer than maxSysExSize. Any input is safe.

    The state carries over between feed() calls, so a message may arrive in pieces.
*/
class CMidiStreamParser
{
public:
    /** Receives each complete message, on the thread that calls feed(). */
    using Callback = std::function<void (const juce::MidiMessage&)>;

    /** The longest system-exclusive message kept, 0xF0 and 0xF7 included. */
    static constexpr size_t maxSysExSize = 1 << 20;

    explicit CMidiStreamParser (Callback onMessage);

    /** Parses the bytes, calling back for every message they complete. */
    void feed (const juce::uint8* data, size_t numBytes);

    /** Forgets any partial message and the running status. */
    void reset();

private:
    void handleByte (juce::uint8 byte);
    void handleStatus (juce::uint8 byte);
    void emit (const juce::uint8* data, size_t size);

    Callback onMessage;
    juce::uint8 status = 0;    // running status, or a pending system common; 0 when none
    juce::uint8 data[2] {};
    int numData = 0;
    int numDataNeeded = 0;
    bool inSysEx = false;
    std::vector<juce::uint8> sysEx;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CMidiStreamParser)
};
