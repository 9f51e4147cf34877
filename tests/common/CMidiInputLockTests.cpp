#include "common/CMidiInputLock.h"
#include "fixtures/MessageLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

// Two file-backed inputs deliver on two threads: both must get the lock in
// turn, never together, and none may be lost while no port changes.
TEST (CMidiInputLockTests, InputThreadsTakeTheLockInTurn)
{
    constexpr int threadCount = 3, callsPerThread = 200;
    std::atomic<int> inside { 0 }, overlaps { 0 }, calls { 0 }, finished { 0 };
    std::vector<std::thread> threads;
    CMidiInputLock lock;

    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back ([&] {
            for (int i = 0; i < callsPerThread; ++i)
                EXPECT_TRUE (lock.callLocked ([&] {
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

// What an input thread gives up on is kept, up to the bound, and runs in order
// once the change is over, before the thread's next call.
TEST (CMidiInputLockTests, GivesUpWhilePortsChange)
{
    constexpr int bound = (int) CMidiInputLock::capacity;
    CMidiInputLock lock;
    std::vector<int> ran;
    std::vector<bool> results;

    {
        CMidiInputLock::ScopedPortChange change;

        // The message loop is not running: without the port change, the input
        // thread would wait in it for ever and join would never return.
        std::thread input ([&] {
            for (int i = 0; i <= bound; ++i)
                results.push_back (lock.callLocked ([&ran, i] { ran.push_back (i); }));
        });
        input.join();
    }

    EXPECT_TRUE (ran.empty());
    EXPECT_EQ (std::count (results.begin(), results.end(), true), bound);
    EXPECT_FALSE (results.back());    // beyond the bound: dropped

    std::thread input ([&] { EXPECT_TRUE (lock.callLocked ([&ran] { ran.push_back (-1); })); });
    MessageLoop::pumpUntil ([&] { return ran.size() == (size_t) bound + 1; });
    input.join();

    std::vector<int> expected (bound);
    std::iota (expected.begin(), expected.end(), 0);
    expected.push_back (-1);
    EXPECT_EQ (ran, expected);
}

// What a kept call leaves for the message loop (a slider's notification) is handled
// before the next kept call runs, as when nothing was kept: else the two would merge
// and a pedal value would be lost. The message thread and the input's next call both
// run kept calls here.
TEST (CMidiInputLockTests, WhatAKeptCallPostsIsHandledBeforeTheNextRuns)
{
    CMidiInputLock lock;
    std::mutex mutex;
    juce::StringArray events;

    const auto note = [&] (const juce::String& event) {
        const std::lock_guard<std::mutex> guard (mutex);
        events.add (event);
    };

    const auto call = [&] (int i) {
        return [&, i] {
            note ("run " + juce::String (i));
            juce::MessageManager::callAsync ([&, i] { note ("posted " + juce::String (i)); });
        };
    };

    {
        CMidiInputLock::ScopedPortChange change;
        std::thread input ([&] {
            for (int i = 0; i < 3; ++i)
                lock.callLocked (call (i));
        });
        input.join();
    }

    std::thread input ([&] { lock.callLocked (call (3)); });
    MessageLoop::pumpUntil ([&] {
        const std::lock_guard<std::mutex> guard (mutex);
        return events.size() == 8;
    });
    input.join();

    EXPECT_EQ (events, (juce::StringArray { "run 0", "posted 0", "run 1", "posted 1", "run 2", "posted 2", "run 3",
                                            "posted 3" }));
}

TEST (CMidiInputLockTests, RunsAtOnceOnTheMessageThread)
{
    CMidiInputLock lock;
    bool ran = false;
    EXPECT_TRUE (lock.callLocked ([&] { ran = true; }));
    EXPECT_TRUE (ran);
}
