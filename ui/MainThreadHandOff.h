// MainThreadHandOff: carries the result-list worker's calls to the main thread. The worker posts
// each call into a HandOffQueue and waits; a queued event makes the main thread's event loop run
// it. StopWaiting (from ThreadFillList::Terminate) releases a waiting worker at once, so stopping
// the worker never waits for the main thread and the main thread never waits for the worker.
// Owned by the main window; the target is the result list. Created before the worker, destroyed after.
#pragma once

#include "search/HandOffQueue.h"

#include <QObject>

class MainThreadHandOff : public QObject, public PassListener {
    Q_OBJECT
public:
    // target runs on this object's thread (the main thread).
    explicit MainThreadHandOff(PassListener& target, QObject* parent = nullptr);

    void PassStarted() override { m_queue.PassStarted(); }
    void MatchFound(int32_t record, int32_t count) override { m_queue.MatchFound(record, count); }
    void MatchesFound(std::span<const Match> matches) override { m_queue.MatchesFound(matches); }
    void PassEnded(int32_t count) override { m_queue.PassEnded(count); }
    void StopWaiting() override { m_queue.close(); }

    // Runs the calls already posted (the event does this; tests may call it too).
    int runPending() { return m_queue.runPending(); }

private:
    HandOffQueue m_queue;
};
