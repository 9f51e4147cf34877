#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

//==============================================================================
/** One MIDI device as the port system lists it: its name (not unique) and the
    identifier under which it can be opened while it stays plugged in.
*/
struct CMidiPortInfo
{
    juce::String name;
    juce::String identifier;

    bool operator== (const CMidiPortInfo& other) const noexcept
    {
        return name == other.name && identifier == other.identifier;
    }
};

//==============================================================================
/** An open MIDI input. Messages go to the callback given when it was opened,
    on a thread of the port system's own, between start() and stop().
    Deleting the port stops it first.
*/
class CMidiInputPort
{
public:
    virtual ~CMidiInputPort() = default;

    /** Starts delivering messages to the callback. */
    virtual void start() = 0;

    /** Stops delivering messages; when this returns, the callback is not running
        and is not called again until start().
    */
    virtual void stop() = 0;
};

//==============================================================================
/** An open MIDI output. Deleting the port stops its background thread first. */
class CMidiOutputPort
{
public:
    virtual ~CMidiOutputPort() = default;

    /** Sends the message at once, on the calling thread. */
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;

    /** Starts the port's background thread; messages sent now do not use it. */
    virtual void startBackgroundThread() = 0;

    /** Stops the port's background thread. */
    virtual void stopBackgroundThread() = 0;
};

//==============================================================================
/** The system's MIDI devices, as the device manager sees them.

    Three implementations: JUCE's devices (the default on a desktop), in-memory
    virtual ports for tests, and file-backed ports under the folder named by
    the environment variable VELTRINO_MIDI_DIR.

    Everything but the delivery of incoming messages runs on the main thread.
*/
class CMidiPorts
{
public:
    virtual ~CMidiPorts() = default;

    /** The present input devices, in the system's order. */
    virtual juce::Array<CMidiPortInfo> getInputs() = 0;

    /** The present output devices, in the system's order. */
    virtual juce::Array<CMidiPortInfo> getOutputs() = 0;

    /** Opens the input with this identifier (taken from the latest getInputs()).
        The port is not started. Null when it cannot be opened. The source given
        to the callback is JUCE's device for JUCE's ports and null for the others.
    */
    virtual std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo& device,
                                                       juce::MidiInputCallback* callback) = 0;

    /** Opens the output with this identifier (taken from the latest getOutputs()).
        Null when it cannot be opened.
    */
    virtual std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo& device) = 0;

    /** File-backed ports when VELTRINO_MIDI_DIR names a folder, JUCE's otherwise. */
    static std::unique_ptr<CMidiPorts> createDefault();
};
