#pragma once

#include "engine/VlamControlChange.h"

//==============================================================================
/** Follows an expression pedal with Control Changes between a minimum and a maximum
    ("cc" under a pedal).

    An unchanged mapped value is not sent again, except while the initial values
    are played (mode 5) or the patches editor tests the action (mode 6).
*/
class VlamCCContinuos : public VlamControlChange
{
public:
    /** 0..127; nothing sent yet. */
    VlamCCContinuos();

    /** Same fields; the copy has sent nothing yet. */
    VlamCCContinuos (const VlamCCContinuos&);

    /** Frees the action. */
    ~VlamCCContinuos() override;

    /** The value for pedal position 0. */
    juce::uint8 getMinValue() const noexcept { return minValue; }

    /** Changes the value for pedal position 0. */
    void setMinValue (juce::uint8 newValue) noexcept { minValue = newValue; }

    /** The value for pedal position 127. */
    juce::uint8 getMaxValue() const noexcept { return maxValue; }

    /** Changes the value for pedal position 127. */
    void setMaxValue (juce::uint8 newValue) noexcept { maxValue = newValue; }

    /** Adds "min_value" and "max_value" after the controller. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "min_value" and "max_value"; takes them as stored. */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "min value" and "max value" after the controller row. */
    void addProperties (VlPropertyRows& rows) const override;

    /** Maps the pedal value onto min..max and sends it unless it equals the last one sent.
        Values above 127 (from a file) are sent as 127.
    */
    void execute (juce::uint8 pedalValue) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    juce::uint8 minValue = 0, maxValue = 127, lastSent = 0;

    JUCE_LEAK_DETECTOR (VlamCCContinuos)
};
