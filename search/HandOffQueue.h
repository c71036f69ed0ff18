// HandOffQueue: a PassListener that carries the worker's calls over to the owner's thread and waits
// for them, the plain-C++ counterpart of the UI's blocking queued calls. The worker posts a call and
// waits until the owner has run it (runOne / runPending) or the queue is closed; the owner runs the
// target listener's method on its own thread. Closing (StopWaiting, close) releases a waiting worker
// at once and makes every later call return without being run, so stopping the worker never waits
// for an owner that has stopped pumping. Used by the command-line search and the tests.
//
// Both sides watch for the other for a few microseconds before they sleep: a pass hands its first
// matches over in quick succession, and two sleeps and wake-ups per match would cost far more than
// the match itself. An idle owner spins for kOwnerSpin only, then sleeps until a call comes. While a
// pass is open (between PassStarted and PassEnded) an owner waiting in runOne or waitForCall watches
// for kOwnerSpinInPass: a pass lasts milliseconds, and waking a sleeping thread costs tens to
// hundreds of microseconds each time on a busy or virtual machine, more than the work between two
// calls. (An owner with an event loop runs the calls from its wake events and never waits here.)
#pragma once

#include "search/PassListener.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

class HandOffQueue : public PassListener {
public:
    // How long the owner watches for a call, and the worker for the end of its call, before they
    // sleep on the condition variables.
    static constexpr std::chrono::microseconds kOwnerSpin{10};
    static constexpr std::chrono::microseconds kOwnerSpinInPass{500};
    static constexpr std::chrono::microseconds kWorkerSpin{50};

    // target is called on the owner's thread only; it must outlive the queue.
    explicit HandOffQueue(PassListener& target) : m_target(target) {}

    // Called on the worker right after each call is posted, before the worker waits: an owner with an
    // event loop posts itself an event there that runs runPending. Set before the worker starts.
    void setWake(std::function<void()> wake) { m_wake = std::move(wake); }

    // Worker side.
    void PassStarted() override;
    void MatchFound(int32_t record, int32_t count) override;
    void MatchesFound(std::span<const Match> matches) override; // one call for all
    void PassEnded(int32_t count) override;
    void StopWaiting() override { close(); }

    // Owner side. runOne waits up to timeout for a call and runs it; false when none came (or the
    // queue is closed). runPending runs the calls already waiting and returns how many ran.
    bool runOne(std::chrono::milliseconds timeout);
    int runPending();
    // Releases the waiting worker; later calls are dropped.
    void close();
    [[nodiscard]] bool closed() const;
    // Calls posted and not yet run.
    [[nodiscard]] size_t waiting() const;
    // Blocks until a call is waiting or the queue is closed, without running it.
    void waitForCall() const;

private:
    struct Call {
        uint64_t id;
        std::function<void()> run;
    };

    void post(std::function<void()> run);
    void runLocked(std::unique_lock<std::mutex>& lock);
    [[nodiscard]] std::chrono::microseconds ownerSpin() const
    {
        return m_passOpen.load(std::memory_order_relaxed) ? kOwnerSpinInPass : kOwnerSpin;
    }
    // True once a call is waiting or the queue is closed (read without the lock).
    [[nodiscard]] bool callOrClosed() const;

    PassListener& m_target;
    std::function<void()> m_wake;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_posted; // owner: a call is waiting
    std::condition_variable m_done;           // worker: its call has run
    std::deque<Call> m_calls;
    uint64_t m_nextId = 1;
    // Written under m_mutex; atomic so that the spinning side may read them without it.
    std::atomic<size_t> m_queued{0};     // m_calls.size()
    std::atomic<uint64_t> m_doneUpTo{0}; // calls run in order: every id up to this one has run
    std::atomic<bool> m_closed{false};
    std::atomic<bool> m_passOpen{false}; // PassStarted has run and PassEnded not yet
};
