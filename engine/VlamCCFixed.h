#pragma once

#include "engine/VlExecutionStage.h"
#include "engine/VlamControlChange.h"

//==============================================================================
/** Sends one Control Change with a fixed value at the press or the release of a
    footswitch ("cc" under a footswitch).
*/
class VlamCCFixed : public VlamControlChange,
                    public VlExecutionStage
{
public:
    /** Value 0, at the press. */
    VlamCCFixed();

    /** Same fields and stage. */
    VlamCCFixed (const VlamCCFixed&);

    /** Frees the action. */
    ~VlamCCFixed() override;

    /** The value sent (low 7 bits). */
    juce::uint8 getValue() const noexcept { return value; }

    /** Changes the value sent. */
    void setValue (juce::uint8 newValue) noexcept { value = newValue; }

    /** Adds "stage" and "value" after the controller. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "stage" and "value" after the controller. */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "execute at" and "value" after the controller row. */
    void addProperties (VlPropertyRows& rows) const override;

    /** Sends the Control Change when the value equals the stage. */
    void execute (juce::uint8 pressed) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    juce::uint8 value = 0;

    JUCE_LEAK_DETECTOR (VlamCCFixed)
};
