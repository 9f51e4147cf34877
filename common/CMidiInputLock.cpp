#include "common/CMidiInputLock.h"

#include <mutex>

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
