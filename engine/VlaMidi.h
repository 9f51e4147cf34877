#pragma once

#include "engine/VlAction.h"

#include <juce_audio_basics/juce_audio_basics.h>

//==============================================================================
/** Base of the actions that send one MIDI channel message to the output device
    they name. Messages go out through VlEngine::sendMidiMessage; a device that is
    not open drops them without a word.
*/
class VlaMidi : public VlAction
{
public:
    /** Device "???", channel 1. */
    explicit VlaMidi (const juce::String& typeName);

    /** Copies device and channel. */
    VlaMidi (const VlaMidi&);

    /** Frees the action. */
    ~VlaMidi() override;

    //==============================================================================
    /** The output device's name, compared exactly with the present outputs' names. */
    const juce::String& getDevice() const noexcept { return device; }

    /** The device's name. */
    const juce::String* getOutputDevice() const noexcept override { return &device; }

    /** Changes the output device's name. */
    void setDevice (const juce::String& newDevice) { device = newDevice; }

    /** The MIDI channel 1..16 (a stored 0 sends on 1, above 16 on 16). */
    juce::uint8 getChannel() const noexcept { return channel; }

    /** Changes the MIDI channel. */
    void setChannel (juce::uint8 newChannel) noexcept { channel = newChannel; }

    //==============================================================================
    /** Adds "device" and "channel" after the comment. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "device" and "channel" after the comment. */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends "device" and "channel" after the comment row. */
    void addProperties (VlPropertyRows& rows) const override;

protected:
    /** The channel as the message creators take it: 1..16. */
    int getValidChannel() const noexcept;

    /** Hands the message to the engine for this action's device. */
    void send (const juce::MidiMessage& message) const;

private:
    juce::String device { "???" };
    juce::uint8 channel = 1;

    JUCE_LEAK_DETECTOR (VlaMidi)
};
