#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <memory>

//==============================================================================
/** Hands an input's messages to its callback the way JUCE does on Linux.

    One callback lock is shared by every port of a port system and is held while
    a callback runs; stop() takes it, so when stop() returns no callback is
    running. The port systems also take it while they open or delete any port, as
    JUCE's ALSA client does. That is what makes a callback that waits for the
    message-manager lock hang the main thread while it changes ports, unless
    CMidiInputLock gives up first.
*/
class CMidiInputDelivery
{
public:
    /** @param callback      receives the messages; not owned, may be null
        @param callbackLock  the lock shared by all ports of one port system
    */
    CMidiInputDelivery (juce::MidiInputCallback* callback, std::shared_ptr<juce::CriticalSection> callbackLock);

    /** Stops the delivery. */
    ~CMidiInputDelivery();

    /** Messages delivered from now on reach the callback. Any thread. */
    void start() noexcept;

    /** Waits for a running callback to finish; later messages are dropped until
        start(). Any thread but the one delivering.
    */
    void stop();

    /** True between start() and stop(). */
    bool isStarted() const noexcept { return started.load(); }

    /** Calls the callback with the message, stamped with the current time, while
        holding the callback lock; drops it when not started. While ports change it
        first waits, without the lock, until they are done. The input's own thread.
        The source passed to the callback is null: these inputs are not JUCE devices.
    */
    void deliver (const juce::MidiMessage& message);

private:
    juce::MidiInputCallback* callback;
    std::shared_ptr<juce::CriticalSection> callbackLock;
    std::atomic<bool> started { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CMidiInputDelivery)
};
