// The hand-off queue between two real threads: calls run on the owner's thread in order, each
// worker call returns only after its call ran (and sees what it did), whether the owner was
// watching for it or asleep; closing releases a worker that is watching or asleep; an owner that
// nobody calls sleeps and still wakes for a late call.
#include "search/HandOffQueue.h"

#include <gtest/gtest.h>

#include "tests/support/Watchdog.h"
#include <atomic>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Plain fields, written on the owner's thread only; the worker reads them after its call returned.
struct Target : PassListener {
    void PassStarted() override { ++started; }
    void MatchFound(int32_t record, int32_t count) override
    {
        records.push_back(record);
        counts.push_back(count);
    }
    void PassEnded(int32_t count) override { endedWith = count; }
    int started = 0;
    std::vector<int32_t> records;
    std::vector<int32_t> counts;
    int32_t endedWith = -1;
};

TEST(HandOffQueue, ManyCallsInARowRunInOrderAndEachIsSeenDone)
{
    Watchdog dog(60s);
    Target target;
    HandOffQueue queue(target);
    constexpr int kCalls = 20'000;
    std::atomic<bool> workerDone{false};
    int mismatches = 0;
    std::thread worker([&] {
        queue.PassStarted();
        mismatches += target.started == 1 ? 0 : 1;
        for (int i = 1; i <= kCalls; ++i) {
            queue.MatchFound(1000 + i, i);
            // The call ran before MatchFound returned: its effect is here.
            mismatches += target.records.size() == static_cast<size_t>(i) && target.records.back() == 1000 + i ? 0 : 1;
            if (i % 1000 == 0)
                std::this_thread::sleep_for(1ms); // the owner falls asleep now and then
        }
        queue.PassEnded(kCalls);
        workerDone = true;
    });
    while (!workerDone || queue.waiting() > 0)
        queue.runOne(2ms);
    worker.join();
    EXPECT_EQ(mismatches, 0);
    ASSERT_EQ(target.counts.size(), static_cast<size_t>(kCalls));
    for (int i = 0; i < kCalls; ++i)
        ASSERT_EQ(target.counts[static_cast<size_t>(i)], i + 1);
    EXPECT_EQ(target.endedWith, kCalls);
}

// The first matches gathered by the worker: one call, which runs MatchFound for each in order on
// the owner's thread before the worker goes on (the batch is copied: the worker reuses its buffer).
TEST(HandOffQueue, GatheredMatchesAreOneCallRunInOrder)
{
    Watchdog dog(60s);
    Target target;
    HandOffQueue queue(target);
    std::atomic<bool> workerDone{false};
    bool seenDone = false;
    std::thread worker([&] {
        std::vector<PassListener::Match> batch;
        for (int32_t i = 1; i <= 30; ++i)
            batch.push_back({500 + 2 * i, i});
        queue.MatchesFound(batch);
        seenDone = target.records.size() == 30;
        batch.assign(batch.size(), {0, 0});
        workerDone = true;
    });
    int calls = 0;
    while (!workerDone || queue.waiting() > 0)
        calls += queue.runOne(2ms) ? 1 : 0;
    worker.join();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(seenDone);
    ASSERT_EQ(target.records.size(), 30u);
    for (int32_t i = 1; i <= 30; ++i) {
        EXPECT_EQ(target.records[static_cast<size_t>(i - 1)], 500 + 2 * i);
        EXPECT_EQ(target.counts[static_cast<size_t>(i - 1)], i);
    }
}

TEST(HandOffQueue, CloseReleasesAWorkerWatchingOrAsleep)
{
    Watchdog dog(60s);
    // Closing at once catches the worker while it watches; after a while it has gone to sleep.
    for (const auto delay : {0ms, 1ms, 20ms}) {
        Target target;
        HandOffQueue queue(target);
        std::atomic<bool> returned{false};
        std::thread worker([&] {
            queue.MatchFound(7, 1);
            returned = true;
            queue.MatchFound(8, 2); // closed: returns without waiting
            queue.PassEnded(2);
        });
        queue.waitForCall();
        std::this_thread::sleep_for(delay);
        EXPECT_FALSE(returned);
        queue.close();
        worker.join();
        EXPECT_TRUE(returned);
        EXPECT_TRUE(queue.closed());
        EXPECT_EQ(queue.waiting(), 0u);
        EXPECT_EQ(queue.runPending(), 0);
        EXPECT_FALSE(queue.runOne(1ms));
        EXPECT_TRUE(target.records.empty());
        EXPECT_EQ(target.endedWith, -1);
    }
}

TEST(HandOffQueue, AnOwnerAsleepWakesForALateCallAndAWorkerAsleepForALateRun)
{
    Watchdog dog(60s);
    Target target;
    HandOffQueue queue(target);
    EXPECT_FALSE(queue.runOne(5ms)); // nobody calls: gives up
    std::thread worker([&] {
        std::this_thread::sleep_for(30ms); // the owner is asleep in waitForCall by now
        queue.MatchFound(42, 1);
    });
    queue.waitForCall();
    EXPECT_EQ(queue.waiting(), 1u);
    std::this_thread::sleep_for(20ms); // the worker has stopped watching and sleeps
    EXPECT_EQ(queue.runPending(), 1);
    worker.join();
    EXPECT_EQ(target.records, std::vector<int32_t>{42});
}

// While a pass is open the owner watches longer for the next call, but never past its own timeout:
// with no call coming it still gives up, and it still sees the pass's calls and its end in order.
TEST(HandOffQueue, AnOwnerWatchingAnOpenPassKeepsItsTimeout)
{
    Watchdog dog(60s);
    Target target;
    HandOffQueue queue(target);
    std::thread worker([&] { queue.PassStarted(); });
    EXPECT_TRUE(queue.runOne(10s));
    worker.join();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(queue.runOne(std::chrono::milliseconds(0))); // a pass is open, nobody calls
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    worker = std::thread([&] {
        for (int i = 1; i <= 100; ++i)
            queue.MatchFound(i, i);
        queue.PassEnded(100);
    });
    while (target.endedWith != 100)
        (void)queue.runOne(1ms);
    worker.join();
    EXPECT_EQ(target.records.size(), 100u);
    EXPECT_FALSE(queue.runOne(1ms)); // the pass has ended: back to the short watch, then gives up
}

TEST(HandOffQueue, WakeRunsOncePerCallAndAnotherThreadMayRunThePendingCalls)
{
    Watchdog dog(60s);
    Target target;
    HandOffQueue queue(target);
    // As the UI does: the wake posts an event; here a third thread plays the event loop.
    std::mutex m;
    std::condition_variable cv;
    int wakes = 0;
    int handled = 0;
    bool stop = false;
    queue.setWake([&] {
        std::lock_guard lock(m);
        ++wakes;
        cv.notify_all();
    });
    std::thread loop([&] {
        std::unique_lock lock(m);
        while (!stop) {
            cv.wait(lock, [&] { return stop || handled < wakes; });
            while (handled < wakes) {
                ++handled;
                lock.unlock();
                queue.runPending();
                lock.lock();
            }
        }
    });
    queue.PassStarted();
    for (int i = 1; i <= 500; ++i)
        queue.MatchFound(i, i);
    queue.PassEnded(500);
    {
        std::lock_guard lock(m);
        stop = true;
    }
    cv.notify_all();
    loop.join();
    EXPECT_EQ(wakes, 502);
    EXPECT_EQ(target.started, 1);
    EXPECT_EQ(target.records.size(), 500u);
    EXPECT_EQ(target.endedWith, 500);
}

} // namespace
