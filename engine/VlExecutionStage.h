#pragma once

#include "engine/VlPropertyRow.h"

#include <juce_core/juce_core.h>

//==============================================================================
/** Lets a footswitch action run at the press (stage 1) or at the release (stage 0).

    The action runs only when the value it is given equals the stage, so any other
    stored number never runs. Classes that have both an action base and this one
    override saveToXml/loadFromXml once for both bases and write the whole action.
*/
class VlExecutionStage
{
public:
    /** Stage 1: runs at the press. */
    VlExecutionStage() = default;

    /** Copies the stage. */
    VlExecutionStage (const VlExecutionStage&) = default;

    /** Nothing to free. */
    virtual ~VlExecutionStage() = default;

    /** 1 runs at the press, 0 at the release. */
    juce::uint8 getStage() const noexcept { return stage; }

    /** Sets when the action runs (1 press, 0 release). */
    void setStage (juce::uint8 newStage) noexcept { stage = newStage; }

    /** True when an action given this value runs. */
    bool runsAt (juce::uint8 value) const noexcept { return value == stage; }

    /** Adds the "stage" attribute. */
    virtual void saveToXml (juce::XmlElement& element) const;

    /** Reads "stage" (required; its low 8 bits). */
    virtual bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset);

    /** Appends the "execute at" row. */
    virtual void addProperties (VlPropertyRows& rows) const;

private:
    juce::uint8 stage = 1;

    VlExecutionStage& operator= (const VlExecutionStage&) = delete;
};
