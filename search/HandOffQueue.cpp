#include "search/HandOffQueue.h"

void HandOffQueue::PassStarted()
{
    post([this] { m_target.PassStarted(); });
}

void HandOffQueue::MatchFound(int32_t record, int32_t count)
{
    post([this, record, count] { m_target.MatchFound(record, count); });
}

void HandOffQueue::PassEnded(int32_t count)
{
    post([this, count] { m_target.PassEnded(count); });
}

void HandOffQueue::post(std::function<void()> run)
{
    std::unique_lock lock(m_mutex);
    if (m_closed)
        return;
    const uint64_t id = m_nextId++;
    m_calls.push_back({id, std::move(run)});
    m_posted.notify_all();
    if (m_wake) {
        lock.unlock();
        m_wake();
        lock.lock();
    }
    m_done.wait(lock, [&] { return m_closed || m_doneUpTo >= id; });
}

void HandOffQueue::runLocked(std::unique_lock<std::mutex>& lock)
{
    Call call = std::move(m_calls.front());
    m_calls.pop_front();
    lock.unlock();
    call.run();
    lock.lock();
    m_doneUpTo = call.id;
    m_done.notify_all();
}

bool HandOffQueue::runOne(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_posted.wait_for(lock, timeout, [&] { return m_closed || !m_calls.empty(); }) || m_closed)
        return false;
    runLocked(lock);
    return true;
}

int HandOffQueue::runPending()
{
    std::unique_lock lock(m_mutex);
    int ran = 0;
    while (!m_closed && !m_calls.empty()) {
        runLocked(lock);
        ++ran;
    }
    return ran;
}

void HandOffQueue::close()
{
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_calls.clear();
    m_posted.notify_all();
    m_done.notify_all();
}

bool HandOffQueue::closed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

size_t HandOffQueue::waiting() const
{
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

void HandOffQueue::waitForCall() const
{
    std::unique_lock lock(m_mutex);
    m_posted.wait(lock, [&] { return m_closed || !m_calls.empty(); });
}
