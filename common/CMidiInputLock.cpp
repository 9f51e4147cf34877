#include "common/CMidiInputLock.h"

#include <atomic>

namespace
{
    juce::MessageManager::Lock messageLock;
    std::atomic<int> portChanges { 0 };

    // One Lock object cannot serve two waiting threads at once, so input
    // threads take turns. The message thread never waits here: it owns the
    // lock already, and a waiting input thread needs it to keep running.
    std::mutex inputThreads;

    bool isQuitting()
    {
        auto* mm = juce::MessageManager::getInstanceWithoutCreating();
        return mm == nullptr || mm->hasStopMessageBeenSent();
    }
}

bool CMidiInputLock::enter()
{
    const bool onMessageThread = juce::MessageManager::existsAndIsCurrentThread();

    if (! onMessageThread)
        inputThreads.lock();

    for (;;)
    {
        if (portChanges.load() > 0 || isQuitting())
            break;

        if (messageLock.tryEnter())
            return true;

        // tryEnter() gave up: a port change aborted it, or an abort was left
        // over from one. Look at the flags again before waiting once more.
    }

    if (! onMessageThread)
        inputThreads.unlock();

    return false;
}

void CMidiInputLock::exit()
{
    messageLock.exit();

    if (! juce::MessageManager::existsAndIsCurrentThread())
        inputThreads.unlock();
}

CMidiInputLock::~CMidiInputLock()
{
    cancelPendingUpdate();
}

bool CMidiInputLock::keep (std::function<void()> call)
{
    if (isQuitting())
        return false;

    {
        const std::lock_guard<std::mutex> lock (keptMutex);

        if (kept.size() >= capacity)
            return false;

        kept.push_back (std::move (call));
    }

    triggerAsyncUpdate();
    return true;
}

// Only ever under the message-manager lock, so two threads never run kept
// calls at once and they run in the order kept. Each is taken out before it
// runs: a call kept meanwhile by another input goes behind the others.
bool CMidiInputLock::runOneKept()
{
    std::function<void()> call;

    {
        const std::lock_guard<std::mutex> lock (keptMutex);

        if (kept.empty())
            return false;

        call = std::move (kept.front());
        kept.pop_front();
    }

    // Counted once it has run: whatever it posted stands before any later request for the lock.
    call();
    ++keptRuns;
    return true;
}

// With the lock held: true when the input thread must let go of it so that the
// message loop first handles what a kept call left there. That is so after
// running one kept call here, and when the message thread ran one while this
// thread waited: this thread's request for the lock may stand before what that
// call posted. The message thread cannot turn its own loop here: it runs them all.
bool CMidiInputLock::mustLetTheLoopTurn (int keptRunsBefore)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
    {
        while (runOneKept())
        {
        }
        return false;
    }

    return keptRuns.load() != keptRunsBefore || runOneKept();
}

// One kept call a turn of the loop, for the same reason.
void CMidiInputLock::handleAsyncUpdate()
{
    // Only a loop run inside a port change gets here before it is over: come back later.
    if (isPortChangePending() || runOneKept())
        triggerAsyncUpdate();
}

bool CMidiInputLock::isPortChangePending() noexcept
{
    return portChanges.load() > 0;
}

CMidiInputLock::ScopedPortChange::ScopedPortChange()
{
    ++portChanges;
    messageLock.abort();
}

CMidiInputLock::ScopedPortChange::~ScopedPortChange()
{
    --portChanges;
}
