#pragma once

#include "common/CMidiPorts.h"

//==============================================================================
/** The system's MIDI devices, through JUCE.

    A device is opened by the identifier of the latest list, never by its index:
    names are not unique, and an index can point to another device once the
    list has changed. Without a MIDI system (no ALSA sequencer) both lists are
    empty and nothing opens.

    Inputs deliver on JUCE's MIDI thread, with the JUCE device as the source.
*/
class CJuceMidiPorts : public CMidiPorts
{
public:
    CJuceMidiPorts() = default;

    juce::Array<CMidiPortInfo> getInputs() override;
    juce::Array<CMidiPortInfo> getOutputs() override;
    std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo& device, juce::MidiInputCallback* callback) override;
    std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo& device) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CJuceMidiPorts)
};
