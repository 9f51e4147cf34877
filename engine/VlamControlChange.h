#pragma once

#include "engine/VlaMidi.h"

//==============================================================================
/** Base of the two control-change actions ("cc"): holds the controller number. */
class VlamControlChange : public VlaMidi
{
public:
    /** Controller 0. */
    VlamControlChange();

    /** Same fields. */
    VlamControlChange (const VlamControlChange&);

    /** Frees the action. */
    ~VlamControlChange() override;

    /** The controller number 0..127 (only the low 7 bits are sent). */
    juce::uint8 getController() const noexcept { return controller; }

    /** Changes the controller number. */
    void setController (juce::uint8 newController) noexcept { controller = newController; }

    /** "cc". */
    juce::String getElementName() const override;

    /** Adds "controller" after the device and channel. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "controller". */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "controller" after the device and channel rows. */
    void addProperties (VlPropertyRows& rows) const override;

protected:
    /** Sends a Control Change of this controller with the value (low 7 bits). */
    void sendValue (int value) const;

private:
    juce::uint8 controller = 0;

    JUCE_LEAK_DETECTOR (VlamControlChange)
};
