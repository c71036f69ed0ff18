#include "search/HandOffQueue.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace {

inline void cpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

// Polls done() for up to limit; true as soon as it holds. After a short busy poll the thread
// yields between polls: on a busy machine the other side may be waiting for this very processor.
template <typename Done>
bool spinUntil(std::chrono::microseconds limit, Done done)
{
    if (limit.count() <= 0)
        return done();
    for (int i = 0; i < 64; ++i) {
        if (done())
            return true;
        cpuRelax();
    }
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        std::this_thread::yield();
    }
    return true;
}

} // namespace

void HandOffQueue::PassStarted()
{
    post([this] {
        m_passOpen.store(true, std::memory_order_relaxed);
        m_target.PassStarted();
    });
}

void HandOffQueue::MatchFound(int32_t record, int32_t count)
{
    post([this, record, count] { m_target.MatchFound(record, count); });
}

void HandOffQueue::MatchesFound(std::span<const Match> matches)
{
    post([this, batch = std::vector<Match>(matches.begin(), matches.end())] { m_target.MatchesFound(batch); });
}

void HandOffQueue::PassEnded(int32_t count)
{
    post([this, count] {
        m_passOpen.store(false, std::memory_order_relaxed);
        m_target.PassEnded(count);
    });
}

bool HandOffQueue::callOrClosed() const
{
    return m_queued.load(std::memory_order_acquire) != 0 || m_closed.load(std::memory_order_acquire);
}

void HandOffQueue::post(std::function<void()> run)
{
    std::unique_lock lock(m_mutex);
    if (m_closed.load(std::memory_order_relaxed))
        return;
    const uint64_t id = m_nextId++;
    m_calls.push_back({id, std::move(run)});
    m_queued.store(m_calls.size(), std::memory_order_release);
    m_posted.notify_all();
    lock.unlock();
    if (m_wake)
        m_wake();
    // The acquire loads pair with the owner's release store after the call ran, so whatever the
    // call did is seen here as it would be after the lock.
    auto finished = [&] {
        return m_closed.load(std::memory_order_acquire) || m_doneUpTo.load(std::memory_order_acquire) >= id;
    };
    if (spinUntil(kWorkerSpin, finished))
        return;
    lock.lock();
    m_done.wait(lock, finished);
}

void HandOffQueue::runLocked(std::unique_lock<std::mutex>& lock)
{
    Call call = std::move(m_calls.front());
    m_calls.pop_front();
    m_queued.store(m_calls.size(), std::memory_order_release);
    lock.unlock();
    call.run();
    call.run = nullptr; // the call's captures go before the worker may leave
    lock.lock();
    m_doneUpTo.store(call.id, std::memory_order_release);
    m_done.notify_all();
}

bool HandOffQueue::runOne(std::chrono::milliseconds timeout)
{
    if (timeout.count() > 0)
        (void)spinUntil(std::min<std::chrono::microseconds>(ownerSpin(), timeout), [this] { return callOrClosed(); });
    std::unique_lock lock(m_mutex);
    if (!m_posted.wait_for(lock, timeout,
                           [&] { return m_closed.load(std::memory_order_relaxed) || !m_calls.empty(); }) ||
        m_closed.load(std::memory_order_relaxed))
        return false;
    runLocked(lock);
    return true;
}

int HandOffQueue::runPending()
{
    std::unique_lock lock(m_mutex);
    int ran = 0;
    while (!m_closed.load(std::memory_order_relaxed) && !m_calls.empty()) {
        runLocked(lock);
        ++ran;
    }
    return ran;
}

void HandOffQueue::close()
{
    std::lock_guard lock(m_mutex);
    m_closed.store(true, std::memory_order_release);
    m_calls.clear();
    m_queued.store(0, std::memory_order_release);
    m_posted.notify_all();
    m_done.notify_all();
}

bool HandOffQueue::closed() const
{
    return m_closed.load(std::memory_order_acquire);
}

size_t HandOffQueue::waiting() const
{
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

void HandOffQueue::waitForCall() const
{
    (void)spinUntil(ownerSpin(), [this] { return callOrClosed(); });
    std::unique_lock lock(m_mutex);
    m_posted.wait(lock, [&] { return m_closed.load(std::memory_order_relaxed) || !m_calls.empty(); });
}
