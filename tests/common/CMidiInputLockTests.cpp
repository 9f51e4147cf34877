#include "common/CMidiInputLock.h"
#include "fixtures/MessageLoop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// Two file-backed inputs deliver on two threads: both must get the lock in
// turn, never together, and none may be lost while no port changes.
TEST (CMidiInputLockTests, InputThreadsTakeTheLockInTurn)
{
    constexpr int threadCount = 3, callsPerThread = 200;
    std::atomic<int> inside { 0 }, overlaps { 0 }, calls { 0 }, finished { 0 };
    std::vector<std::thread> threads;

    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back ([&]
        {
            for (int i = 0; i < callsPerThread; ++i)
                EXPECT_TRUE (CMidiInputLock::callLocked ([&]
                {
                    overlaps += inside.fetch_add (1) != 0 ? 1 : 0;
                    ++calls;
                    --inside;
                }));

            ++finished;
        });

    MessageLoop::pumpUntil ([&] { return finished.load() == threadCount; });

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (overlaps.load(), 0);
    EXPECT_EQ (calls.load(), threadCount * callsPerThread);
}

TEST (CMidiInputLockTests, GivesUpWhilePortsChange)
{
    std::atomic<bool> ran { false }, result { true };
    CMidiInputLock::ScopedPortChange change;

    // The message loop is not running: without the port change, the input
    // thread would wait in it for ever and join would never return.
    std::thread input ([&] { result = CMidiInputLock::callLocked ([&] { ran = true; }); });
    input.join();
    EXPECT_FALSE (result.load());
    EXPECT_FALSE (ran.load());
}

TEST (CMidiInputLockTests, RunsAtOnceOnTheMessageThread)
{
    bool ran = false;
    EXPECT_TRUE (CMidiInputLock::callLocked ([&] { ran = true; }));
    EXPECT_TRUE (ran);
}
