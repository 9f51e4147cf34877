#pragma once

#include "common/CMidiPorts.h"

#include <map>

//==============================================================================
/** Keeps the wanted MIDI inputs and outputs open by name as devices come and go.

    The owner says which devices it wants; every 1500 ms (and whenever the owner
    calls updateInputs() or updateOutputs()) the manager closes the open devices
    that are no longer wanted or present, then opens the wanted ones that are
    present. Names are compared exactly. A wanted device that is absent or fails
    to open stays wanted and is tried again at the next check.

    Main thread only. The MIDI input thread may call getOpenOutput() while it
    holds the message-manager lock.
*/
class CMidiDevices : private juce::Timer,
                     public juce::ChangeBroadcaster
{
public:
    /** Creates the manager; it opens nothing until the first check, 1500 ms later.
        @param owner  receives the messages of every input opened here; not owned
        @param ports  the device system; CMidiPorts::createDefault() when null
    */
    explicit CMidiDevices (juce::MidiInputCallback* owner, std::unique_ptr<CMidiPorts> ports = nullptr);

    /** Closes every open input, then every open output. */
    ~CMidiDevices() override;

    //==============================================================================
    /** Wants that input, unless exactly that name is wanted already. No check runs. */
    void addInput (const juce::String& name);

    /** Stops wanting that input; it closes at the next check. */
    void removeInput (const juce::String& name);

    /** Wants no input; they close at the next check. */
    void clearInputs();

    /** Wants that output, unless exactly that name is wanted already. No check runs. */
    void addOutput (const juce::String& name);

    /** Wants no output; they close at the next check. */
    void clearOutputs();

    /** The wanted input names, in the order added. */
    const juce::StringArray& getWantedInputs() const noexcept { return wantedInputs; }

    /** The wanted output names, in the order added. */
    const juce::StringArray& getWantedOutputs() const noexcept { return wantedOutputs; }

    //==============================================================================
    /** Closes what is open but no longer wanted or present, then opens what is
        wanted and present. Sends a change message when anything opened or closed.

        Of two present devices with the same name the first in the system's list
        opens. An open device remembers the identifier it was opened under: once
        that is gone (the device was unplugged, and maybe plugged in again) it is
        closed, and opened again under its new identifier in the same check.
        Every open, stop and close raises CMidiInputLock::ScopedPortChange.
    */
    void updateInputs();

    /** The same as updateInputs(), for the outputs. */
    void updateOutputs();

    /** The open device of exactly that name, or null. Valid until the next check. */
    CMidiInputPort* getOpenInput (const juce::String& name) const;
    CMidiOutputPort* getOpenOutput (const juce::String& name) const;

    /** The device system underneath. */
    CMidiPorts& getPorts() noexcept { return *ports; }

private:
    //==============================================================================
    void timerCallback() override;
    bool reconcileInputs();
    bool reconcileOutputs();

    template <typename Port>
    struct OpenDevice
    {
        juce::String identifier;    // a re-plugged device comes back under a new one
        std::unique_ptr<Port> port;
    };

    std::unique_ptr<CMidiPorts> ports;
    juce::StringArray wantedInputs;
    std::map<juce::String, OpenDevice<CMidiInputPort>> openInputs;
    juce::StringArray wantedOutputs;
    std::map<juce::String, OpenDevice<CMidiOutputPort>> openOutputs;
    juce::MidiInputCallback* owner;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CMidiDevices)
};
