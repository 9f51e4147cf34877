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
void CMidiInputLock::runKept()
{
    for (;;)
    {
        std::function<void()> call;

        {
            const std::lock_guard<std::mutex> lock (keptMutex);

            if (kept.empty())
                return;

            call = std::move (kept.front());
            kept.pop_front();
        }

        call();
    }
}

void CMidiInputLock::handleAsyncUpdate()
{
    // Only a loop run inside a port change gets here before it is over: come back later.
    if (isPortChangePending())
        triggerAsyncUpdate();
    else
        runKept();
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
