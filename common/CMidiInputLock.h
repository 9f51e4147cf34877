#pragma once

#include <juce_events/juce_events.h>

#include <atomic>

//==============================================================================
/** Takes the message-manager lock for the MIDI input thread without ever
    waiting forever.

    JUCE holds an input's callback lock while our callback runs, and stopping or
    deleting that input on the main thread needs the same lock. A callback that
    waited for the message-manager lock at that moment would hang both threads.
    So the callback gives up, and its message is dropped, once an input is about
    to be stopped or closed (ScopedPortChange) or the application is quitting.
*/
class CMidiInputLock
{
public:
    /** Runs the function while holding the message-manager lock.
        Returns false, without running it, when the lock was given up.
        Any thread; on the message thread it runs at once.
    */
    template <typename Function>
    static bool callLocked (Function&& function)
    {
        if (! enter())
            return false;

        function();
        exit();
        return true;
    }

    /** Raised on the main thread around every stop or close of an input (and
        every open or close of any port, which on Linux takes the same callback
        lock): a callback waiting for the lock gives up, and none starts waiting.
    */
    class ScopedPortChange
    {
    public:
        ScopedPortChange();
        ~ScopedPortChange();

        JUCE_DECLARE_NON_COPYABLE (ScopedPortChange)
    };

    /** True while a ScopedPortChange is alive. */
    static bool isPortChangePending() noexcept;

private:
    static bool enter();
    static void exit();
};
