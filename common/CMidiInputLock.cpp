#include "common/CMidiInputLock.h"

namespace
{
    juce::MessageManager::Lock messageLock;
    std::atomic<int> portChanges { 0 };

    bool isQuitting()
    {
        auto* mm = juce::MessageManager::getInstanceWithoutCreating();
        return mm == nullptr || mm->hasStopMessageBeenSent();
    }
}

bool CMidiInputLock::enter()
{
    for (;;)
    {
        if (portChanges.load() > 0 || isQuitting())
            return false;

        if (messageLock.tryEnter())
            return true;

        // tryEnter() gave up: a port change aborted it, or an abort was left
        // over from one. Look at the flags again before waiting once more.
    }
}

void CMidiInputLock::exit()
{
    messageLock.exit();
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
