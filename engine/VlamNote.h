#pragma once

#include "engine/VlaMidi.h"

//==============================================================================
/** Sounds a note from the press to the release of a footswitch ("note"). */
class VlamNote : public VlaMidi
{
public:
    /** Note 0, velocity 100. */
    VlamNote();

    /** Same fields. */
    VlamNote (const VlamNote&);

    /** Frees the action. */
    ~VlamNote() override;

    /** The note number 0..127 (only the low 7 bits are sent). */
    juce::uint8 getNumber() const noexcept { return number; }

    /** Changes the note number. */
    void setNumber (juce::uint8 newNumber) noexcept { number = newNumber; }

    /** The note-on velocity (above 127 is sent as 127). */
    juce::uint8 getVelocity() const noexcept { return velocity; }

    /** Changes the note-on velocity. */
    void setVelocity (juce::uint8 newVelocity) noexcept { velocity = newVelocity; }

    /** "note". */
    juce::String getElementName() const override;

    /** Adds "number" and "velocity" after the device and channel. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "number" and "velocity". */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "number" and "velocity" after the device and channel rows. */
    void addProperties (VlPropertyRows& rows) const override;

    /** Note On with the velocity for any value but 0; Note Off with velocity 0 for 0. */
    void execute (juce::uint8 value) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    juce::uint8 number = 0, velocity = 100;

    JUCE_LEAK_DETECTOR (VlamNote)
};
