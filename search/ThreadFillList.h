// ThreadFillList: the result-list worker. Holds the search criteria and runs the search passes on
// its own thread: a pass recomputes the criteria whose value changed since they were last computed,
// each into its plane of the bit set, by merging their ascending record lists; it hands the first
// matches to the listener while it runs and counts the passing records as it writes them. Created
// asleep by the main window with the bit set and the record store (whose indexes the passes read);
// both, and the listener, must outlive it.
//
// Threads. Setters, SetRange, RequestPass, accessBits, Terminate and Stop belong to the owner's
// (main) thread; the getters may be called from any thread. The listener is called on the worker,
// which waits for each call. A pass reads the criteria once, after PassStarted has returned, so a
// handler that sets several criteria in a row has finished before the pass looks at any of them;
// a change made while a pass runs makes the worker run one more pass, however many changes come.
//
// The bit set belongs to the worker while a pass runs, except while it waits in a listener call.
// The main thread reaches the bit set only through accessBits() (scrolling, counts, the result
// filters, selection marks): the guard waits for the worker's next listener call or the end of
// its pass, and inside a listener call it is free at once. SetRange takes the guard itself. Never
// hold the guard while calling SetRange, Stop or runPending, nor across a return to an event loop
// that runs listener calls. Records may be read on the main thread at any time: a pass reads only
// the index slots of the record store. One worker per bit set.
#pragma once

#include "engine/FiltroBits.h"
#include "engine/IxQuery.h"
#include "engine/ListReader.h"
#include "engine/PostingReader.h"
#include "engine/QdData.h"
#include "search/PassListener.h"
#include "search/SearchCriteria.h"
#include "search/WordMap.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class ThreadFillList {
public:
    enum class Threading {
        Worker,     // passes run on the worker thread (the program)
        CallerRuns, // no thread: runPending runs the passes on the caller's thread (tests, tools)
    };

    static constexpr int kMaxWords = 8;           // words of one text looked up
    static constexpr size_t kWordKeyLength = 10;  // bytes of a word looked up
    static constexpr int32_t kFirstMatches = 30;  // matches handed over one by one
    static constexpr int32_t kMatchStep = 10'000; // then every this many

    ThreadFillList(FiltroBits& bits, QdData& store, PassListener& listener, Threading threading = Threading::Worker);
    // Stop() without a pump: the listener must be able to stop waiting (see PassListener).
    ~ThreadFillList();
    ThreadFillList(const ThreadFillList&) = delete;
    ThreadFillList& operator=(const ThreadFillList&) = delete;

    // Criterion setters. Each stores its values and asks for a pass once per code it sets.
    void SetGuide(int32_t guide); // also clears province and locality
    void SetRubro(int32_t rubro);
    // locality 0: province = province, locality = 0; otherwise only the locality changes.
    void SetPlace(int32_t province, int32_t locality);
    void SetPhone(int32_t area, int32_t prefix, int32_t line);
    void SetNameText(std::string text); // Windows-1252
    void SetAddressText(std::string text);
    // Every criterion empty, then a pass that withdraws them all.
    void ResetCriteria();
    // Selects range r of the bit set (0 telephone, 1 commercial, 2 professional, -1 the agenda's
    // view). The planes of the old range say nothing about the new one, so every criterion will be
    // recomputed (or withdrawn) by the next pass. With restart, that pass is asked for now.
    void SetRange(int32_t r, bool restart = false);
    // Marks the criterion's plane as out of date (code 0: every plane) and wakes the worker, or
    // makes it run one more pass when one is running.
    void RequestPass(int code);

    // Exclusive use of the bit set for the main thread; see the header comment.
    class BitsAccess {
    public:
        FiltroBits& bits() { return m_bits; }
        FiltroBits* operator->() { return &m_bits; }

    private:
        friend class ThreadFillList;
        BitsAccess(std::mutex& m, FiltroBits& bits) : m_lock(m), m_bits(bits) {}
        std::unique_lock<std::mutex> m_lock;
        FiltroBits& m_bits;
    };
    [[nodiscard]] BitsAccess accessBits() { return BitsAccess(m_bitsMutex, m_bits); }

    // Results. matchCount: the matches so far while a pass runs, the passing count after it.
    [[nodiscard]] int32_t matchCount() const { return m_matchCount.load(); }
    [[nodiscard]] int32_t lastMatch() const { return m_lastMatch.load(); }
    // The codes that the last pass to get past its start recomputed.
    [[nodiscard]] uint32_t lastPassCodes() const { return m_lastPassCodes.load(); }
    // Passes that ran to their end (counted before PassEnded is called).
    [[nodiscard]] int32_t passesCompleted() const { return m_passesCompleted.load(); }
    [[nodiscard]] uint32_t cleanMask() const;
    [[nodiscard]] int32_t range() const;
    [[nodiscard]] criteria::Values values() const;
    // No pass asked for and none running.
    [[nodiscard]] bool idle() const;

    // CallerRuns only: runs the passes asked for, on this thread, until none is asked for; returns
    // how many started. The listener is called directly.
    int runPending();

    // Asks the loop to end and wakes the worker: no pass starts afterwards, a running pass stops at
    // its next step without marking anything clean, and no listener call is made once asked. Tells
    // the listener to stop waiting.
    void Terminate();
    // Terminate, then waits until the worker has left its loop. pump, when given, runs while waiting
    // (the UI passes its event processing, so a listener call already on its way to the main thread
    // still runs and the worker is not left waiting for it).
    void Stop(const std::function<void()>& pump = {});

private:
    struct PassRow {
        int row = 0;
        uint8_t code = 0;
        uint32_t bit = 0;
        bool word = false;
        int32_t area = 0;
        Indice* index = nullptr;
        int32_t key = 0;      // key rows: the key looked up
        uint8_t mask = 0;     // word rows: the bits of the row's words
        int32_t cursor = 0;   // next candidate record, 0 = none left
        int32_t start = 0;    // the cursor after the set-up
        uint32_t skipped = 0; // key rows: list entries before the range
        ListReader list;      // key rows: the key's list
        // A word row with a word whose answer is one ascending list reads that list as the merge
        // goes, like a key row; its other words are in the word map, others their bits.
        bool streamed = false;
        uint8_t others = 0;
        std::unique_ptr<IxQuery> query;
        std::optional<PostingReader> postings;
        bool merged = true; // false: the plane was written in the set-up and the row sits out the merge
        bool joint = false; // a telephone part beside another: its plane takes only the records all hold
        // The records after the cursor, read ahead so that their words are fetched before the
        // merge writes them; done: the list has nothing after them.
        static constexpr int kAhead = 128;
        std::array<int32_t, kAhead> ahead{};
        int at = 0;
        int end = 0;
        bool done = false;
    };

    void loop();
    // One turn of the loop with the flags found set: PassStarted, RunPass, PassEnded.
    void runOnePass();
    void RunPass();
    // The first matches, found before the planes are cleared and handed over; the rows are put
    // back on their first records afterwards. Returns how many were handed over.
    int32_t preview(std::array<PassRow, criteria::kRows>& rows, int n, std::unique_lock<std::mutex>& bitsLock);
    // Steps the preview may take: one per 64 records of the range.
    [[nodiscard]] int64_t previewBudget() const;
    // handed: matches the preview has handed over already.
    int32_t merge(std::array<PassRow, criteria::kRows>& rows, int n, std::unique_lock<std::mutex>& bitsLock,
                  int32_t handed);
    // False when a word is missing from the index (the row then matches nothing). mayStream: the
    // row may read a one-list answer as the merge goes (not when the name row has to write its
    // plane in the set-up, through the word map).
    bool setUpWordRow(PassRow& row, const std::string& text, bool mayStream);
    // Key rows and streamed word rows: (re)starts the list and puts the cursor on its first record
    // in the range.
    void startList(PassRow& row);
    void advance(PassRow& row, int32_t r);
    // Advances the live rows standing on r and drops the rows with no record left, keeping table
    // order; once a joint row has ended, the other joint rows can write nothing more and are dropped
    // too. Returns how many remain.
    int advancePast(std::array<PassRow*, criteria::kRows>& live, int liveCount, int32_t r);
    // Drops the rows with no record left (and the joint rows once one has ended), keeping order.
    int dropEnded(std::array<PassRow*, criteria::kRows>& live, int liveCount) const;
    // Refills the row's read-ahead: word-map rows search the map from after the record after; list
    // readers go on where they stopped.
    void readAhead(PassRow& row, int32_t after);
    static void restartAhead(PassRow& row);
    // Fetches the bit-set words of the records read ahead when they lie far apart.
    void prefetchAhead(const PassRow& row) const;
    // Runs a listener call with the bit set released; skipped once termination is asked. Notes in
    // m_bitsTouched whether the bit set changed meanwhile.
    void handOff(std::unique_lock<std::mutex>* bitsLock, const std::function<void()>& call);
    // The first matches are gathered and handed over together: when the page's last one is found,
    // when the first gathered one has waited kGatherFor, and at the end of the preview and the merge.
    void gather(std::unique_lock<std::mutex>& bitsLock, int32_t record, int32_t count);
    void handGathered(std::unique_lock<std::mutex>& bitsLock);
    void handGatheredIfDue(std::unique_lock<std::mutex>& bitsLock)
    {
        if (m_gatheredCount > 0 && std::chrono::steady_clock::now() - m_gatheredSince >= kGatherFor)
            handGathered(bitsLock);
    }
    void store(int row, int32_t key);
    void storeText(int row, std::string text);
    [[nodiscard]] bool terminating() const { return m_terminate.load(std::memory_order_relaxed); }

    FiltroBits& m_bits;
    PassListener& m_listener;
    const Threading m_threading;
    std::array<Indice*, criteria::kRows> m_indexes{};
    WordMap m_map;
    int32_t m_lo = 0, m_hi = -1; // the range of the running pass
    int m_joint = 0;             // joint rows of the running pass (0, or 2 and more)
    bool m_bitsTouched = false;  // the main thread changed the bit set during a hand-off of this pass
    // Long enough to gather a page found in quick succession, short beside what a person notices.
    static constexpr std::chrono::microseconds kGatherFor{500};
    std::array<PassListener::Match, kFirstMatches> m_gathered{};
    int m_gatheredCount = 0;
    std::chrono::steady_clock::time_point m_gatheredSince;

    // Shared state, under m_stateMutex.
    mutable std::mutex m_stateMutex;
    std::condition_variable m_wake;
    std::condition_variable m_exitedCv;
    criteria::Values m_values;
    uint32_t m_cleanMask = 0;
    uint32_t m_changedDuringPass = 0; // codes asked for since the running pass read the criteria
    bool m_busy = false;
    bool m_again = false;
    bool m_exited = false;
    int32_t m_range = 0;

    std::atomic<bool> m_terminate{false};
    std::atomic<int32_t> m_matchCount{0};
    std::atomic<int32_t> m_lastMatch{0};
    std::atomic<uint32_t> m_lastPassCodes{0};
    std::atomic<int32_t> m_passesCompleted{0};

    std::mutex m_bitsMutex;
    std::thread m_thread; // last: starts once everything above exists
};
