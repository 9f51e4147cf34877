#pragma once

#include "common/CMidiPorts.h"

//==============================================================================
/** In-memory MIDI devices for tests and benchmarks.

    Devices are plugged and unplugged by name (two devices may share a name);
    every plug gets a fresh identifier, so a device plugged again is a new one.
    Each open input has a thread of its own that delivers the injected messages
    to its callback as the operating system's MIDI thread would: under a
    callback lock shared by all ports, which stop(), opening and deleting a port
    also take (see CMidiInputDelivery). Every message sent to an output is kept,
    in order, and every open, start, stop and close is logged.

    A handle's devices are shared: share() makes another handle on the same
    devices, which lives on its own. A test keeps one handle and gives the other
    to CMidiDevices, and can still plug, inject and read back after the manager
    is gone:

        CVirtualMidiPorts ports;
        auto fcb = ports.plugInput ("FCB1010");
        CMidiDevices devices (&engine, ports.share());

    Every member may be called from any thread.
*/
class CVirtualMidiPorts : public CMidiPorts
{
public:
    /** A handle on a new, empty set of devices. */
    CVirtualMidiPorts();

    /** Drops this handle; the devices stay while another handle or an open port uses them. */
    ~CVirtualMidiPorts() override;

    /** Another handle on the same devices. */
    std::unique_ptr<CVirtualMidiPorts> share() const;

    //==============================================================================
    /** Plugs in an input device, listed after the present ones; returns its new identifier. */
    juce::String plugInput (const juce::String& name);

    /** Plugs in an output device, listed after the present ones; returns its new identifier. */
    juce::String plugOutput (const juce::String& name);

    /** Unplugs the device of that identifier; false when none is present. Its
        open ports stay open but receive nothing and send nowhere.
    */
    bool unplug (const juce::String& identifier);

    /** Makes the next open of that device fail (once per call). */
    void failNextOpen (const juce::String& identifier);

    //==============================================================================
    /** Queues the message for every open, started port of that input device; the
        port's own thread delivers it. False when no such port exists.
    */
    bool injectMessage (const juce::String& identifier, const juce::MidiMessage& message);

    /** Every message sent to that output device while it was present, in order. */
    juce::Array<juce::MidiMessage> getSentMessages (const juce::String& identifier) const;

    /** True while a port of that device is open. */
    bool isOpen (const juce::String& identifier) const;

    /** What happened to the ports, in order: "open in ID", "start in ID", "stop in ID",
        "close in ID", "open out ID", "start thread ID", "stop thread ID", "close out ID",
        and "fail ID" for an open that failed.
    */
    juce::StringArray getEvents() const;

    /** Forgets the events logged so far. */
    void clearEvents();

    //==============================================================================
    juce::Array<CMidiPortInfo> getInputs() override;
    juce::Array<CMidiPortInfo> getOutputs() override;
    std::unique_ptr<CMidiInputPort> openInput (const CMidiPortInfo& device, juce::MidiInputCallback* callback) override;
    std::unique_ptr<CMidiOutputPort> openOutput (const CMidiPortInfo& device) override;

private:
    //==============================================================================
    struct Devices;
    class Input;
    class Output;

    explicit CVirtualMidiPorts (std::shared_ptr<Devices> devices);

    std::shared_ptr<Devices> devices;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CVirtualMidiPorts)
};
