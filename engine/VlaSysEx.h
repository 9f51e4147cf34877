#pragma once

#include "engine/VlAction.h"

#include <vector>

//==============================================================================
/** Base of the system-exclusive actions ("sysex"): a sequence of data bytes typed
    as text, sent framed by 0xF0 and 0xF7 to the output device it names.

    The text holds one- or two-digit hexadecimal bytes (at most 0x7F) separated by
    blanks, and the markers "*" (the pedal value's slot, continuous actions only),
    "$" (first byte counted in the checksum) and "=" (the checksum byte). The bytes
    and the marker positions are always those of the present sequence text.
*/
class VlaSysEx : public VlAction
{
public:
    /** Device "???", empty sequence. */
    VlaSysEx();

    /** Copies device, sequence, bytes and markers. */
    VlaSysEx (const VlaSysEx&);

    /** Frees the action. */
    ~VlaSysEx() override;

    //==============================================================================
    /** The output device's name. */
    const juce::String& getDevice() const noexcept { return device; }

    /** The device's name. */
    const juce::String* getOutputDevice() const noexcept override { return &device; }

    /** Changes the output device's name. */
    void setDevice (const juce::String& newDevice) { device = newDevice; }

    /** The sequence text in its normal form (or, from a document, a text that was refused). */
    const juce::String& getSequence() const noexcept { return sequence; }

    /** The parsed data bytes, without 0xF0 and 0xF7; the value and checksum slots are
        filled at each run.
    */
    const std::vector<juce::uint8>& getBytes() const noexcept { return bytes; }

    /** Position of the pedal value's slot, NoIndex when none. */
    juce::uint16 getValuePosition() const noexcept { return valuePos; }

    /** Position of the first byte counted in the checksum, NoIndex when none. */
    juce::uint16 getChecksumStart() const noexcept { return checksumStart; }

    /** Position of the checksum byte, NoIndex when none. */
    juce::uint16 getChecksumPosition() const noexcept { return checksumPos; }

    /** How many bytes a "*" reserves: 0 when the action has no value slot. */
    virtual juce::uint8 getDatumSize() const = 0;

    //==============================================================================
    /** Parses the text and, when it is taken, rebuilds the sequence in its normal form.
        Returns true when the text is REFUSED (no token at all, a byte above 0x7F, a
        second "*", "$" or "=", more than 65534 bytes), in which case nothing changes.
        Tokens that are none of the above (words, 3-digit numbers) are skipped.
    */
    bool parseSequence (const juce::String& text);

    /** True for one or two hexadecimal digits. */
    static bool isHexByteToken (const juce::String& token);

    /** 128 minus the sum, modulo 128, of the bytes from the checksum start up to the
        checksum byte (0 when the start is missing or not before it); 128 gives 0.
    */
    juce::uint8 computeChecksum() const;

    //==============================================================================
    /** Adds "device" and "sequence" after the comment. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "device" and "sequence". A sequence that the parser refuses is kept as
        text and sends no data bytes, so writing the document again keeps it.
    */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "device" and "sequence" after the comment row. */
    void addProperties (VlPropertyRows& rows) const override;

protected:
    /** Takes a sequence text from a document: parsed when possible, else kept as it stands. */
    void loadSequence (const juce::String& text);

    /** Fills the checksum byte (when there is one) and sends the bytes. */
    void sendBytes();

    /** The bytes, for the value slot to be filled. */
    std::vector<juce::uint8>& getBytesToFill() noexcept { return bytes; }

private:
    juce::String device { "???" }, sequence;
    std::vector<juce::uint8> bytes;
    juce::uint16 valuePos = 0xffff, checksumStart = 0xffff, checksumPos = 0xffff;

    JUCE_LEAK_DETECTOR (VlaSysEx)
};
