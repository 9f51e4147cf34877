#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

//==============================================================================
/** Runs a MIDI input callback's work under the message-manager lock without
    ever waiting forever, and without losing it.

    JUCE holds an input's callback lock while our callback runs, and opening,
    stopping or deleting any port on the main thread needs the same lock. A
    callback that waited for the message-manager lock at that moment would hang
    both threads. So while ports change (ScopedPortChange) the callback gives up
    waiting and its work is kept, in the order called, to run under the lock as
    soon as the change is over: on the message thread, or before the next call
    through the same object, whichever comes first. Each kept call runs as it
    would have: under a lock of its own, after the message loop has handled what
    the call before it left there (a slider's notification, which would otherwise
    merge with the next one's and lose a pedal value).

    Each callback owner has one (the engine does); the message-manager lock and
    the port-change signal are shared by all.
*/
class CMidiInputLock : private juce::AsyncUpdater
{
public:
    /** The most calls kept at once: over a second of a MIDI cable at its full
        rate, even in running status, while ports change. Calls made while this
        many are kept are dropped.
    */
    static constexpr size_t capacity = 2048;

    CMidiInputLock() = default;

    /** Drops the calls still kept. Main thread, once no input calls through it. */
    ~CMidiInputLock() override;

    //==============================================================================
    /** Runs the function while holding the message-manager lock, after every
        call kept before it; while ports change, keeps it to run once they are done.
        Returns false when the function was dropped: the application is quitting,
        or `capacity` calls are kept already.

        Any thread; on the message thread it runs at once unless ports are changing.
        A kept function runs later, maybe on another thread: it must hold copies
        of what it uses, not references.
    */
    template <typename Function>
    bool callLocked (Function&& function)
    {
        for (;;)
        {
            const auto keptRunsBefore = keptRuns.load();

            if (! enter())
                return keep (std::forward<Function> (function));

            if (! mustLetTheLoopTurn (keptRunsBefore))
                break;

            exit();
        }

        function();
        exit();
        return true;
    }

    //==============================================================================
    /** Raised on the main thread around every open, stop or close of any port (on
        Linux they all take the input callback lock): a callback waiting for the
        lock gives up, and none starts waiting.
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
    //==============================================================================
    static bool enter();
    static void exit();
    bool keep (std::function<void()> call);
    bool runOneKept();
    bool mustLetTheLoopTurn (int keptRunsBefore);
    void handleAsyncUpdate() override;

    std::mutex keptMutex;
    std::deque<std::function<void()>> kept;
    std::atomic<int> keptRuns { 0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CMidiInputLock)
};
