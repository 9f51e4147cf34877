#pragma once

#include "engine/VlExecutionStage.h"
#include "engine/VlaSysEx.h"

//==============================================================================
/** Sends its system-exclusive sequence at the press or the release of a footswitch
    ("sysex" under a footswitch). A "*" in its text is dropped.
*/
class VlaSysExFixed : public VlaSysEx,
                      public VlExecutionStage
{
public:
    /** Empty sequence, at the press. */
    VlaSysExFixed();

    /** Same fields and stage. */
    VlaSysExFixed (const VlaSysExFixed&);

    /** Frees the action. */
    ~VlaSysExFixed() override;

    /** 0: a fixed action has no value slot. */
    juce::uint8 getDatumSize() const override;

    /** "sysex". */
    juce::String getElementName() const override;

    /** Adds "stage" after the sequence. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "stage" after the sequence. */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "execute at" after the sequence row. */
    void addProperties (VlPropertyRows& rows) const override;

    /** Fills the checksum and sends the message when the value equals the stage. */
    void execute (juce::uint8 pressed) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    JUCE_LEAK_DETECTOR (VlaSysExFixed)
};
