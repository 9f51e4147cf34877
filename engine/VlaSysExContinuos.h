#pragma once

#include "engine/VlaSysEx.h"

//==============================================================================
/** Follows an expression pedal with system-exclusive messages ("sysex" under a pedal):
    the pedal value, mapped onto minimum..maximum, fills the "*" slot as one byte or
    as two 7-bit bytes (most significant first) before the checksum is computed.

    An unchanged mapped value is not sent again, except in modes 5 and 6.
*/
class VlaSysExContinuos : public VlaSysEx
{
public:
    /** One byte, 0..127; nothing sent yet. */
    VlaSysExContinuos();

    /** Same fields; the copy has sent nothing yet. */
    VlaSysExContinuos (const VlaSysExContinuos&);

    /** Frees the action. */
    ~VlaSysExContinuos() override;

    //==============================================================================
    /** 1 or 2: the bytes of the value slot. */
    juce::uint8 getDatumSize() const override;

    /** Sets 1 or 2 (anything else is ignored), narrows the limits for 1 byte, and
        parses the sequence again so that the slot has the new width. A value slot that
        cannot widen (the sequence would pass 65534 bytes) keeps its size, and nothing changes.
    */
    void setDatumSize (juce::uint8 size);

    /** The value for pedal position 0. */
    juce::uint16 getMinValue() const noexcept { return minValue; }

    /** Sets the minimum within 0..126 (1 byte) or 0..16382 (2 bytes); the maximum is
        raised above it when needed.
    */
    void setMinValue (int value);

    /** The value for pedal position 127. */
    juce::uint16 getMaxValue() const noexcept { return maxValue; }

    /** Sets the maximum within 1..127 (1 byte) or 1..16383 (2 bytes, the most that two
        7-bit bytes carry); the minimum is lowered below it when needed.
    */
    void setMaxValue (int value);

    //==============================================================================
    /** "sysex". */
    juce::String getElementName() const override;

    /** Adds "datum_size", "min_value" and "max_value" after the sequence. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "min_value" and "max_value" (taken as stored); "datum_size" is
        optional (1 unless it reads 1 or 2). The sequence is parsed with that size.
    */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "datum size", "min value" and "max value" after the sequence row;
        the value rows take 3 digits for one byte, 5 for two.
    */
    void addProperties (VlPropertyRows& rows) const override;

    /** Maps the pedal value, fills the slot and the checksum and sends the message.
        The value is kept to 0..127 for one byte and 0..16383 for two (a file may hold
        more), so no data byte is ever above 0x7F.
    */
    void execute (juce::uint8 pedalValue) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    juce::uint8 datumSize = 1;
    juce::uint16 minValue = 0, maxValue = 127, lastSent = 0;

    JUCE_LEAK_DETECTOR (VlaSysExContinuos)
};
