#pragma once

#include "engine/VlExecutionStage.h"
#include "engine/VlaMidi.h"

//==============================================================================
/** Sends a Program Change at the press or the release of a footswitch ("pc"). */
class VlamProgramChange : public VlaMidi,
                          public VlExecutionStage
{
public:
    /** Program 0, at the press. */
    VlamProgramChange();

    /** Same fields and stage. */
    VlamProgramChange (const VlamProgramChange&);

    /** Frees the action. */
    ~VlamProgramChange() override;

    /** The program number (low 7 bits are sent). */
    juce::uint8 getProgram() const noexcept { return program; }

    /** Changes the program number. */
    void setProgram (juce::uint8 newProgram) noexcept { program = newProgram; }

    /** "pc". */
    juce::String getElementName() const override;

    /** Adds "stage" and "program" after the device and channel. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "stage" and "program". */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "execute at" and "program" after the device and channel rows. */
    void addProperties (VlPropertyRows& rows) const override;

    /** Sends the Program Change when the value equals the stage. */
    void execute (juce::uint8 pressed) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    juce::uint8 program = 0;

    JUCE_LEAK_DETECTOR (VlamProgramChange)
};
