// The worker on its own thread, with its calls carried to the test's thread by a HandOffQueue the
// way the UI carries them to the main thread: requests made while a pass runs, wake-ups made at the
// moment the worker goes back to sleep, the main thread using the bit set during passes, and
// stopping the worker while a pass runs or while one of its calls waits for the main thread.
#include "search/HandOffQueue.h"
#include "search/ThreadFillList.h"
#include "tests/support/SearchFixture.h"

#include <gtest/gtest.h>

#include "tests/support/Watchdog.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace searchtest;
using namespace std::chrono_literals;

namespace {

std::vector<Entry> entries()
{
    static const char* const names[] = {"GARCIA", "PEREZ", "GOMEZ", "JOSEFINA", "MARTINEZ", "COMUN"};
    std::vector<Entry> out;
    for (int i = 0; i < 3000; ++i) {
        Entry e;
        e.guide = i % 5 == 0 ? GuideKind::Commercial : GuideKind::Alphabetical;
        e.rubro = e.guide == GuideKind::Commercial ? 1 + i % 3 : 0;
        e.locality = 1 + i % 5;
        e.name = std::string("COMUN ") + names[i % 6] + " " + std::to_string(i);
        e.address = (i % 2 ? "SAN MARTIN " : "BELGRANO ") + std::to_string(i % 700);
        e.line = i % 10000;
        e.web = i % 7 == 0;
        out.push_back(e);
    }
    return out;
}

class Worker : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_data = std::make_unique<BuiltDataSet>(entries());
        s_all = decodeAll(*s_data);
    }
    static void TearDownTestSuite()
    {
        s_all.clear();
        s_data.reset();
    }
    void SetUp() override
    {
        m_worker = std::make_unique<ThreadFillList>(s_data->bits(), s_data->store(), m_queue);
        m_worker->SetRange(0);
        m_worker->ResetCriteria();
        pumpUntilIdle();
    }
    void TearDown() override
    {
        m_worker->Stop();
        m_worker.reset();
    }

    // Runs the worker's calls until it sleeps with nothing asked for and every pass has ended.
    void pumpUntilIdle()
    {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!(m_worker->idle() && m_queue.waiting() == 0 && m_target.started() == m_target.ended())) {
            m_queue.runOne(2ms);
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the worker never went idle";
        }
    }
    void expectFresh(uint32_t filters = 0)
    {
        auto bits = m_worker->accessBits();
        const auto b = bits->selectedBounds();
        const std::vector<int32_t> expected = reference(s_all, m_worker->values(), b.first, b.last, filters);
        EXPECT_EQ(passing(bits.bits()), expected);
        EXPECT_EQ(m_worker->matchCount(), static_cast<int32_t>(expected.size()));
    }

    static std::unique_ptr<BuiltDataSet> s_data;
    static std::vector<Decoded> s_all;
    Watchdog m_watchdog{60s};
    RecordingListener m_target;
    HandOffQueue m_queue{m_target};
    std::unique_ptr<ThreadFillList> m_worker;
};

std::unique_ptr<BuiltDataSet> Worker::s_data;
std::vector<Decoded> Worker::s_all;

TEST_F(Worker, RequestsDuringAPassRunExactlyOneMorePass)
{
    const int before = m_target.started();
    bool once = false;
    m_target.onMatch = [&](int32_t, int32_t) {
        if (std::exchange(once, true))
            return;
        // The worker is parked in this call, in the middle of its pass.
        m_worker->SetPlace(1, 0);
        m_worker->SetAddressText("SAN MARTIN");
        m_worker->SetNameText("GARCIA");
        m_worker->SetPlace(1, 1);
    };
    m_worker->SetNameText("COMUN");
    pumpUntilIdle();
    m_target.onMatch = nullptr;
    EXPECT_EQ(m_target.started() - before, 2);
    EXPECT_EQ(m_worker->lastPassCodes(), criteria::bit(2) | criteria::bit(3) | criteria::bit(12) | criteria::bit(13));
    expectFresh();
}

TEST_F(Worker, ARequestMadeAsThePassEndsWakesTheWorker)
{
    // Each request is made from PassEnded, just before the worker looks at its flags and goes to
    // sleep: every one must give one more pass.
    int left = 200;
    const int before = m_target.started();
    m_target.onEnded = [&](int32_t) {
        if (left > 0) {
            --left;
            m_worker->SetRubro(left % 4);
        }
    };
    m_worker->SetRange(1, true);
    pumpUntilIdle();
    m_target.onEnded = nullptr;
    EXPECT_EQ(left, 0);
    EXPECT_EQ(m_target.started() - before, 201);
    expectFresh();
}

TEST_F(Worker, RequestsAtAnyMomentEndInTheResultOfTheLastOne)
{
    static const char* const texts[] = {"GARCIA", "COMUN", "PEREZ 1", "JOS", "ZZZNOPE", "", "COMUN GOMEZ"};
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
        switch (rng() % 4) {
        case 0: m_worker->SetNameText(texts[rng() % 7]); break;
        case 1: m_worker->SetPlace(static_cast<int32_t>(rng() % 4), 0); break;
        case 2: m_worker->SetAddressText(rng() % 2 ? "SAN" : ""); break;
        default: m_worker->SetRubro(static_cast<int32_t>(rng() % 3)); break;
        }
        if (rng() % 3 == 0)
            m_queue.runPending();
        if (rng() % 50 == 0)
            pumpUntilIdle();
    }
    pumpUntilIdle();
    expectFresh();
}

TEST_F(Worker, TheMainThreadUsesTheBitSetWhilePassesRun)
{
    uint32_t filters = 0;
    for (int i = 0; i < 60; ++i) {
        m_worker->SetNameText(i % 2 ? "COMUN" : "GARCIA");
        for (int k = 0; k < 5; ++k) {
            // Scrolling, counting and a filter switch, between and during the worker's calls.
            {
                auto bits = m_worker->accessBits();
                (void)bits->CountPassing();
                (void)bits->NthPassing(3);
                if (k == 2) {
                    filters ^= criteria::bit(5);
                    bits->SetRequired(5, (filters & criteria::bit(5)) != 0);
                }
            }
            m_queue.runPending();
        }
        if (i % 10 == 9) { // a section switch during the pass
            m_worker->SetRange(i % 20 == 9 ? 1 : 0);
            m_worker->ResetCriteria();
        }
    }
    m_worker->SetNameText("COMUN"); // a last pass counts under the last filter state
    pumpUntilIdle();
    expectFresh(filters);
}

TEST_F(Worker, StopWhileACallWaitsForTheMainThread)
{
    m_worker->SetNameText("COMUN");
    // Run PassStarted, then leave the first matches waiting.
    while (m_target.started() == m_target.ended())
        m_queue.runOne(2ms);
    m_queue.waitForCall();
    m_worker->Stop(); // the queue stops waiting: the worker leaves without another call
    EXPECT_TRUE(m_queue.closed());
    EXPECT_EQ(m_queue.runPending(), 0);
    EXPECT_EQ(m_target.ended() + 1, m_target.started());
}

// A listener like the UI's blocking call, which cannot stop waiting: the owner runs the pending
// calls while it stops the worker.
class StubbornQueue : public PassListener {
public:
    explicit StubbornQueue(HandOffQueue& q) : m_q(q) {}
    void PassStarted() override { m_q.PassStarted(); }
    void MatchFound(int32_t r, int32_t c) override { m_q.MatchFound(r, c); }
    void MatchesFound(std::span<const Match> m) override { m_q.MatchesFound(m); }
    void PassEnded(int32_t c) override { m_q.PassEnded(c); }

private:
    HandOffQueue& m_q;
};

TEST_F(Worker, StopPumpsTheCallOnItsWayWhenTheListenerCannotStopWaiting)
{
    RecordingListener target;
    HandOffQueue queue(target);
    StubbornQueue stubborn(queue);
    ThreadFillList w(s_data->bits(), s_data->store(), stubborn);
    w.SetRange(0);
    w.SetNameText("COMUN");
    while (target.started() == 0)
        queue.runOne(2ms);
    queue.waitForCall(); // the first matches wait
    int pumped = 0;
    w.Stop([&] { pumped += queue.runPending(); });
    EXPECT_EQ(pumped, 1); // the waiting call ran; none was made after the stop was asked for
    EXPECT_EQ(target.ended(), 0);
    EXPECT_EQ(queue.waiting(), 0u);
}

TEST_F(Worker, StopDuringALongPassOrAsleep)
{
    for (int round = 0; round < 10; ++round) {
        RecordingListener target;
        HandOffQueue queue(target);
        ThreadFillList w(s_data->bits(), s_data->store(), queue);
        w.SetRange(0);
        w.SetNameText(round % 2 ? "COMUN" : "SAN");
        w.SetAddressText(round % 2 ? "" : "SAN");
        // Stop at different points of the pass: before it starts, during the set-up, in the merge.
        for (int k = 0; k < round; ++k)
            queue.runOne(1ms);
        w.Stop();
    }
    RecordingListener target;
    HandOffQueue queue(target);
    {
        ThreadFillList asleep(s_data->bits(), s_data->store(), queue);
    } // never asked for anything
    EXPECT_EQ(target.started(), 0);
}

} // namespace
