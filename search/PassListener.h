// PassListener: what the result-list worker tells the result list while it searches. The worker
// calls these on its own thread and waits for each to return; an implementation runs the work on
// the main thread (the UI with a blocking queued call) and returns when that is done, so the worker
// stays parked meanwhile. While a call is being made the worker has released the bit set.
#pragma once

#include <cstdint>
#include <span>

class PassListener {
public:
    virtual ~PassListener() = default;

    // A pass is about to read the criteria: the panel is disabled and the list emptied.
    virtual void PassStarted() = 0;
    // Match number count (1-30, then every 10,000th) is record.
    virtual void MatchFound(int32_t record, int32_t count) = 0;
    // Several of the first matches at once, in order: the same as MatchFound for each. The worker
    // gathers the first page's matches that come in quick succession, so that they cost one wait
    // for the main thread instead of one each.
    struct Match {
        int32_t record;
        int32_t count;
    };
    virtual void MatchesFound(std::span<const Match> matches)
    {
        for (const Match& m : matches)
            MatchFound(m.record, m.count);
    }
    // The pass is over; count is the number of passing records of the range.
    virtual void PassEnded(int32_t count) = 0;

    // Called by ThreadFillList::Terminate on the owner's thread, possibly while the worker waits in
    // one of the calls above: a call that waits for the main thread must return now without waiting,
    // and later calls must not wait. Implementations that cannot stop waiting leave this empty and
    // the owner pumps its pending calls while it stops the worker (ThreadFillList::Stop).
    virtual void StopWaiting() {}
};
