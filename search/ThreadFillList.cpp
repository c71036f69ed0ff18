#include "search/ThreadFillList.h"

#include "engine/PostingReader.h"
#include "engine/WordFold.h"

#include <algorithm>
#include <chrono>
#include <climits>

using namespace criteria;

namespace {

// How often the long loops of a pass look for a termination request.
constexpr uint32_t kTerminateCheck = 0xFFFF;

} // namespace

ThreadFillList::ThreadFillList(FiltroBits& bits, QdData& store, PassListener& listener, Threading threading)
    : m_bits(bits), m_listener(listener), m_threading(threading)
{
    for (int i = 0; i < kRows; ++i)
        m_indexes[static_cast<size_t>(i)] = store.IndexAt(kTable[static_cast<size_t>(i)].slot);
    if (m_threading == Threading::Worker)
        m_thread = std::thread([this] { loop(); });
}

ThreadFillList::~ThreadFillList()
{
    Stop();
}

// ---- Criteria (main thread)

void ThreadFillList::store(int row, int32_t key)
{
    std::lock_guard lock(m_stateMutex);
    m_values.key[static_cast<size_t>(row)] = key;
}

void ThreadFillList::storeText(int row, std::string text)
{
    std::lock_guard lock(m_stateMutex);
    m_values.text[static_cast<size_t>(row)] = std::move(text);
}

void ThreadFillList::SetGuide(int32_t guide)
{
    {
        std::lock_guard lock(m_stateMutex);
        m_values.key[rowOf(kGuide)] = guide;
        m_values.key[rowOf(kProvince)] = 0;
        m_values.key[rowOf(kLocality)] = 0;
    }
    RequestPass(kGuide);
    RequestPass(kProvince);
    RequestPass(kLocality);
}

void ThreadFillList::SetRubro(int32_t rubro)
{
    store(rowOf(kRubro), rubro);
    RequestPass(kRubro);
}

void ThreadFillList::SetPlace(int32_t province, int32_t locality)
{
    if (locality == 0) {
        {
            std::lock_guard lock(m_stateMutex);
            m_values.key[rowOf(kProvince)] = province;
            m_values.key[rowOf(kLocality)] = 0;
        }
        RequestPass(kProvince);
        RequestPass(kLocality);
        return;
    }
    store(rowOf(kLocality), locality);
    RequestPass(kLocality);
}

void ThreadFillList::SetPhone(int32_t area, int32_t prefix, int32_t line)
{
    {
        std::lock_guard lock(m_stateMutex);
        m_values.key[rowOf(kArea)] = area;
        m_values.key[rowOf(kPrefix)] = prefix;
        m_values.key[rowOf(kLine)] = line;
    }
    RequestPass(kArea);
    RequestPass(kPrefix);
    RequestPass(kLine);
}

void ThreadFillList::SetNameText(std::string text)
{
    storeText(rowOf(kNameWords), std::move(text));
    RequestPass(kNameWords);
}

void ThreadFillList::SetAddressText(std::string text)
{
    storeText(rowOf(kAddressWords), std::move(text));
    RequestPass(kAddressWords);
}

void ThreadFillList::ResetCriteria()
{
    SetGuide(0);
    SetRubro(0);
    SetPlace(0, 0);
    SetPhone(0, 0, 0);
    SetNameText("");
    SetAddressText("");
    store(rowOf(kSelection), 0);
    RequestPass(0);
}

void ThreadFillList::SetRange(int32_t r, bool restart)
{
    {
        BitsAccess bits = accessBits();
        bits->SelectRange(r);
    }
    {
        std::lock_guard lock(m_stateMutex);
        m_range = r;
        m_cleanMask = 0;
        m_changedDuringPass = ~0u;
    }
    if (restart)
        RequestPass(0);
}

void ThreadFillList::RequestPass(int code)
{
    bool wake = false;
    {
        std::lock_guard lock(m_stateMutex);
        const uint32_t changed = code == 0 ? ~0u : bit(code);
        m_cleanMask &= ~changed;
        m_changedDuringPass |= changed;
        if (m_busy) {
            m_again = true;
        } else {
            m_busy = true;
            wake = true;
        }
    }
    if (wake)
        m_wake.notify_one();
}

uint32_t ThreadFillList::cleanMask() const
{
    std::lock_guard lock(m_stateMutex);
    return m_cleanMask;
}

int32_t ThreadFillList::range() const
{
    std::lock_guard lock(m_stateMutex);
    return m_range;
}

Values ThreadFillList::values() const
{
    std::lock_guard lock(m_stateMutex);
    return m_values;
}

bool ThreadFillList::idle() const
{
    std::lock_guard lock(m_stateMutex);
    return !m_busy && !m_again;
}

// ---- The loop

void ThreadFillList::loop()
{
    std::unique_lock lock(m_stateMutex);
    while (!terminating()) {
        if (!m_busy && !m_again) {
            // The flags are tested and the wait entered under the lock that RequestPass takes to
            // set them, so a request cannot slip in between and be missed.
            m_wake.wait(lock);
            continue;
        }
        lock.unlock();
        runOnePass();
        lock.lock();
    }
    m_exited = true;
    m_exitedCv.notify_all();
}

int ThreadFillList::runPending()
{
    if (m_threading != Threading::CallerRuns)
        return 0;
    int started = 0;
    std::unique_lock lock(m_stateMutex);
    while (!terminating() && (m_busy || m_again)) {
        lock.unlock();
        runOnePass();
        ++started;
        lock.lock();
    }
    return started;
}

void ThreadFillList::runOnePass()
{
    {
        // Busy for the whole pass, also when it was the again flag that started it: a request made
        // during this pass then sets again and is not lost when busy is cleared at the end.
        std::lock_guard lock(m_stateMutex);
        m_busy = true;
    }
    handOff(nullptr, [this] { m_listener.PassStarted(); });
    {
        std::lock_guard lock(m_stateMutex);
        m_again = false;
    }
    RunPass();
    {
        std::lock_guard lock(m_stateMutex);
        m_busy = false;
    }
    handOff(nullptr, [this] { m_listener.PassEnded(m_matchCount.load()); });
    // The word map of a long answer takes a few hundred microseconds to clear: done while no one
    // waits, so the next pass starts with it empty (the set-up's own clear then has nothing to do).
    m_map.clear();
}

void ThreadFillList::handOff(std::unique_lock<std::mutex>* bitsLock, const std::function<void()>& call)
{
    if (terminating())
        return;
    if (!bitsLock) {
        call();
        return;
    }
    const uint64_t before = m_bits.changeCount();
    bitsLock->unlock();
    call();
    bitsLock->lock();
    if (m_bits.changeCount() != before)
        m_bitsTouched = true;
}

void ThreadFillList::gather(std::unique_lock<std::mutex>& bitsLock, int32_t record, int32_t count)
{
    m_matchCount = count;
    m_lastMatch = record;
    if (m_gatheredCount == 0)
        m_gatheredSince = std::chrono::steady_clock::now();
    m_gathered[static_cast<size_t>(m_gatheredCount++)] = {record, count};
    if (count == kFirstMatches || m_gatheredCount == kFirstMatches)
        handGathered(bitsLock);
}

void ThreadFillList::handGathered(std::unique_lock<std::mutex>& bitsLock)
{
    if (m_gatheredCount == 0)
        return;
    const std::span<const PassListener::Match> matches(m_gathered.data(), static_cast<size_t>(m_gatheredCount));
    m_gatheredCount = 0;
    handOff(&bitsLock, [this, matches] { m_listener.MatchesFound(matches); });
}

void ThreadFillList::Terminate()
{
    {
        std::lock_guard lock(m_stateMutex);
        m_terminate = true;
    }
    m_wake.notify_all();
    m_listener.StopWaiting();
}

void ThreadFillList::Stop(const std::function<void()>& pump)
{
    Terminate();
    if (!m_thread.joinable())
        return;
    if (pump) {
        std::unique_lock lock(m_stateMutex);
        while (!m_exited) {
            lock.unlock();
            pump();
            lock.lock();
            m_exitedCv.wait_for(lock, std::chrono::milliseconds(1), [this] { return m_exited; });
        }
    }
    m_thread.join();
}

// ---- The pass (worker)

void ThreadFillList::RunPass()
{
    m_matchCount = 0;
    m_bitsTouched = false;
    m_gatheredCount = 0;

    // Withdraw the criteria emptied since they were computed; the others out of date make the pass.
    // Values are copied here, once: changes from now on are for the next pass.
    std::array<PassRow, kRows> rows;
    int n = 0;
    uint32_t withdrawn = 0;
    Values values;
    bool stop = false;
    {
        std::lock_guard lock(m_stateMutex);
        uint32_t dirty = ~m_cleanMask;
        if (dirty & kPhoneCodes)
            dirty |= kPhoneCodes; // joint planes are only right together
        for (int i = 0; i < kRows; ++i) {
            const Row& t = kTable[static_cast<size_t>(i)];
            const uint32_t b = bit(t.code);
            if (!(dirty & b))
                continue;
            if (m_values.empty(i)) {
                withdrawn |= b;
                m_cleanMask |= b;
                continue;
            }
            PassRow& row = rows[static_cast<size_t>(n++)];
            row = PassRow{};
            row.row = i;
            row.code = t.code;
            row.bit = b;
            row.word = t.word;
            row.area = t.area;
            row.index = m_indexes[static_cast<size_t>(i)];
        }
        values = m_values;
        m_changedDuringPass = 0;
        stop = m_again || terminating();
    }

    m_joint = 0;
    for (int i = 0; i < n; ++i)
        m_joint += (rows[static_cast<size_t>(i)].bit & kPhoneCodes) ? 1 : 0;
    if (m_joint < 2)
        m_joint = 0;
    for (int i = 0; i < n; ++i)
        rows[static_cast<size_t>(i)].joint = m_joint > 0 && (rows[static_cast<size_t>(i)].bit & kPhoneCodes);

    std::unique_lock bitsLock(m_bitsMutex);
    for (const Row& t : kTable)
        if (withdrawn & bit(t.code))
            m_bits.SetRequired(t.code, false);
    if (stop)
        return;

    // Set-up.
    const FiltroBits::Bounds bounds = m_bits.selectedBounds();
    m_lo = std::max(bounds.first, 1);
    m_hi = std::min({bounds.last, m_bits.wordCount() - 1, WordMap::kBytes - 1});
    m_map.clear();
    uint32_t codes = 0;
    uint32_t writtenInSetUp = 0;
    bool bothWordRows = false;
    {
        int words = 0;
        for (int i = 0; i < n; ++i)
            words += rows[static_cast<size_t>(i)].word ? 1 : 0;
        bothWordRows = words > 1;
    }
    for (int i = 0; i < n; ++i) {
        PassRow& row = rows[static_cast<size_t>(i)];
        codes |= row.bit;
        if (row.word) {
            const bool hasResult = setUpWordRow(row, values.text[static_cast<size_t>(row.row)], !bothWordRows);
            if (bothWordRows && row.code == kNameWords) {
                // The name and the address words cannot share the map's eight bits, so the name row
                // writes its plane now, frees the map for the address words and sits out the merge
                // (the merge still requires the plane through Passes).
                m_bits.ClearCodes(row.bit);
                if (hasResult && row.mask == 0)
                    m_bits.SetCodeEverywhere(row.code, true);
                else
                    for (int32_t r = row.cursor; r != 0; r = r < m_hi ? m_map.find(r + 1, m_hi, row.mask) : 0)
                        m_bits.SetBit(r, row.code, true);
                m_map.clear();
                row.merged = false;
                row.cursor = 0;
                writtenInSetUp |= row.bit;
            }
        } else {
            row.key = values.key[static_cast<size_t>(row.row)];
            startList(row);
        }
        m_bits.Require(row.code);
        if (terminating())
            return;
    }
    m_lastPassCodes = codes;
    for (int i = 0; i < n; ++i)
        rows[static_cast<size_t>(i)].start = rows[static_cast<size_t>(i)].cursor;
    // Clearing the planes of a large range takes a few milliseconds; the first page need not wait.
    // Planes that list their few records clear at once, and the merge hands the first page over.
    const uint32_t toClear = codes & ~writtenInSetUp;
    const int32_t handed = m_bits.clearWork(toClear) > previewBudget() ? preview(rows, n, bitsLock) : 0;
    if (terminating())
        return;
    m_bits.ClearCodes(toClear);

    const int32_t count = merge(rows, n, bitsLock, handed);
    m_matchCount = count;
    for (int i = 0; i < n; ++i) {
        PassRow& row = rows[static_cast<size_t>(i)];
        if (row.query)
            row.index->FreeQuery(std::move(row.query));
    }
    if (terminating())
        return; // the planes are half written: nothing becomes clean

    {
        // A criterion changed after this pass read it keeps its plane out of date, so the next
        // pass computes it again instead of trusting the plane of the old value.
        std::lock_guard lock(m_stateMutex);
        m_cleanMask |= codes & ~m_changedDuringPass;
    }
    // The merge has counted every record that passes, unless the pass recomputed nothing (only
    // withdrew) or the main thread changed the bit set while a match was handed over.
    if (n > 0 && !m_bitsTouched)
        m_bits.adoptPassingCount(count);
    m_matchCount = m_bits.CountPassing();
    ++m_passesCompleted;
}

int64_t ThreadFillList::previewBudget() const
{
    return std::max<int64_t>(4096, (static_cast<int64_t>(m_hi) - m_lo + 1) / 64);
}

int32_t ThreadFillList::preview(std::array<PassRow, kRows>& rows, int n, std::unique_lock<std::mutex>& bitsLock)
{
    // Worth it while it costs well below the clearing it runs ahead of: a step budget of one per 64
    // records of the range, and no key row whose re-reading from its start would be long.
    const int64_t budget = previewBudget();
    std::array<PassRow*, kRows> live{};
    int liveCount = 0;
    int merged = 0;
    uint32_t mergedCodes = 0;
    int64_t reread = 0;
    for (int i = 0; i < n; ++i) {
        PassRow& row = rows[static_cast<size_t>(i)];
        if (!row.merged)
            continue;
        ++merged;
        mergedCodes |= row.bit;
        reread += row.word && !row.streamed ? 0 : row.skipped;
        if (row.cursor != 0)
            live[static_cast<size_t>(liveCount++)] = &row;
    }
    if (liveCount == 0 || liveCount < merged || reread > budget)
        return 0;

    // A record is a match when every merged row holds it and it has every other required plane;
    // the merged rows' own planes are not written yet.
    int32_t found = 0;
    int64_t steps = 0;
    while (found < kFirstMatches && liveCount == merged && steps++ < budget) {
        int32_t r = live[0]->cursor;
        int at = 0;
        for (int k = 1; k < liveCount; ++k)
            r = std::min(r, live[static_cast<size_t>(k)]->cursor);
        for (int k = 0; k < liveCount; ++k)
            at += live[static_cast<size_t>(k)]->cursor == r ? 1 : 0;
        const uint32_t others = m_bits.required() & ~mergedCodes;
        if (at == merged && m_bits.InRange(r) && (m_bits.wordAt(r) & others) == others) {
            ++found;
            gather(bitsLock, r, found);
            if (terminating())
                return found;
        }
        liveCount = advancePast(live, liveCount, r);
        if ((steps & 0xFF) == 0)
            handGatheredIfDue(bitsLock);
    }
    handGathered(bitsLock); // before the clearing that the preview runs ahead of

    // Back to the first records: word rows find them in the map again, key rows read their list
    // from its start.
    for (int i = 0; i < n; ++i) {
        PassRow& row = rows[static_cast<size_t>(i)];
        if (!row.merged || (row.cursor == row.start && row.at == 0 && row.end == 0))
            continue;
        if (row.word && !row.streamed) {
            row.cursor = row.start;
            restartAhead(row);
        } else {
            startList(row);
        }
    }
    return found;
}

// Visits the union of the rows' lists in ascending order, sets each row's plane for the records of
// its list, and counts the records that every merged row holds and that pass.
int32_t ThreadFillList::merge(std::array<PassRow, kRows>& rows, int n, std::unique_lock<std::mutex>& bitsLock,
                              int32_t handed)
{
    std::array<PassRow*, kRows> live{}; // merged rows with records left, in table order
    int liveCount = 0;
    int merged = 0;
    for (int i = 0; i < n; ++i) {
        PassRow& row = rows[static_cast<size_t>(i)];
        if (!row.merged)
            continue;
        ++merged;
        if (row.cursor != 0)
            live[static_cast<size_t>(liveCount++)] = &row;
    }
    liveCount = dropEnded(live, liveCount); // a telephone part holds no record: the others write none
    int32_t count = 0;
    uint32_t steps = 0;
    // Every 256 steps: the gathered matches may be due; less often: true when termination is asked.
    auto stepCheck = [&] {
        handGatheredIfDue(bitsLock);
        return (steps & kTerminateCheck) == 0 && terminating();
    };
    auto matched = [&](int32_t r) {
        ++count;
        if (count <= kFirstMatches && count > handed) {
            gather(bitsLock, r, count);
        } else if (count % kMatchStep == 0) {
            m_matchCount = count;
            m_lastMatch = r;
            handOff(&bitsLock, [this, r, count] { m_listener.MatchFound(r, count); });
        }
    };

    if (merged == 1 && liveCount == 1) {
        // One list (a narrowing by one criterion, or one text): every record of it is a candidate.
        // The records read ahead are written in runs that end at the next match to hand over.
        PassRow& row = *live[0];
        int32_t last = row.cursor;
        if (m_bits.SetBitAndPass(last, row.code))
            matched(last);
        while (!terminating()) {
            handGatheredIfDue(bitsLock);
            if (row.at == row.end) {
                if (row.done)
                    break;
                readAhead(row, last);
                if (row.at == row.end)
                    break;
            }
            const int32_t below = std::max(count, handed);
            const int32_t next = below < kFirstMatches ? below + 1 : (count / kMatchStep + 1) * kMatchStep;
            int32_t passed = 0;
            const int32_t took =
                m_bits.setBitRun(row.ahead.data() + row.at, row.end - row.at, row.code, next - count, passed);
            row.at += took;
            last = row.ahead[static_cast<size_t>(row.at - 1)];
            if (passed == next - count) {
                count = next - 1;
                matched(last);
            } else {
                count += passed;
            }
        }
        row.cursor = 0;
        handGathered(bitsLock);
        return count;
    }

    while (liveCount > 0) {
        int32_t r = live[0]->cursor;
        int lowest = 0;
        int32_t second = INT32_MAX; // the smallest cursor of the other rows
        for (int k = 1; k < liveCount; ++k) {
            const int32_t c = live[static_cast<size_t>(k)]->cursor;
            if (c < r) {
                second = r;
                r = c;
                lowest = k;
            } else {
                second = std::min(second, c);
            }
        }
        if (r < second) {
            // The records of one row below every other row's cursor are in no other list, so none
            // is a match: they are written in a run, as far as the row has read ahead.
            // A joint row's records there lack another telephone part: they are only stepped over.
            PassRow& row = *live[static_cast<size_t>(lowest)];
            int end = row.at;
            while (end < row.end && row.ahead[static_cast<size_t>(end)] < second)
                ++end;
            if (!row.joint) {
                m_bits.SetBit(r, row.code, true);
                int32_t passed = 0;
                (void)m_bits.setBitRun(row.ahead.data() + row.at, end - row.at, row.code, INT32_MAX, passed);
            }
            const int32_t last = end > row.at ? row.ahead[static_cast<size_t>(end - 1)] : r;
            row.at = end;
            advance(row, last);
            if (row.cursor == 0)
                liveCount = dropEnded(live, liveCount);
            if ((++steps & 0xFF) == 0 && stepCheck())
                break;
            continue;
        }
        int at = 0;
        int jointAt = 0;
        for (int k = 0; k < liveCount; ++k) {
            const PassRow& row = *live[static_cast<size_t>(k)];
            if (row.cursor == r) {
                ++at;
                jointAt += row.joint ? 1 : 0;
            }
        }
        bool passes = false; // after the last of the rows' bits is set
        for (int k = 0; k < liveCount; ++k) {
            const PassRow& row = *live[static_cast<size_t>(k)];
            if (row.cursor == r && (!row.joint || jointAt == m_joint))
                passes = m_bits.SetBitAndPass(r, row.code);
        }
        if (at == merged && passes)
            matched(r);
        liveCount = advancePast(live, liveCount, r);
        if ((++steps & 0xFF) == 0 && stepCheck())
            break;
    }
    handGathered(bitsLock);
    return count;
}

bool ThreadFillList::setUpWordRow(PassRow& row, const std::string& text, bool mayStream)
{
    row.mask = 0;
    row.cursor = 0;
    row.others = 0;
    // A word matching one indexed word has its records in order already: the row reads them as the
    // merge goes and keeps those whose map byte holds all the other words, so that word is never
    // written to the map and the first matches need only the other words' answers.
    std::unique_ptr<IxQuery> inOrder;
    uint8_t inOrderBit = 0;
    size_t position = 0;
    for (int taken = 0; taken < kMaxWords; ++taken) {
        std::string word = wordfold::NextWord(text, row.area, position);
        if (word.empty())
            break;
        if (word.size() > kWordKeyLength)
            word.resize(kWordKeyLength);
        std::unique_ptr<IxQuery> q = row.index ? row.index->Query(word, row.area) : nullptr;
        if (!q) {
            if (inOrder)
                row.index->FreeQuery(std::move(inOrder));
            return false; // a word no record holds: the row matches nothing
        }
        const auto b = static_cast<uint8_t>(1u << taken);
        row.mask |= b;
        if (mayStream && !inOrder && q->groups() == 1) {
            inOrder = std::move(q);
            inOrderBit = b;
            continue;
        }
        PostingReader postings(*row.index, *q);
        std::array<int32_t, 512> batch;
        for (int32_t got = 0; (got = postings.Next(batch.data(), static_cast<int32_t>(batch.size()))) > 0;) {
            // Records outside the range can never pass, so they stay out of the map.
            m_map.markMany(batch.data(), got, b, m_lo, m_hi);
            if (terminating())
                break;
        }
        row.index->FreeQuery(std::move(q));
    }
    if (inOrder) {
        row.streamed = true;
        row.others = static_cast<uint8_t>(row.mask & ~inOrderBit);
        row.query = std::move(inOrder);
        startList(row);
        return true;
    }
    // No word of three letters or more: every record of the range matches the row.
    row.cursor = m_lo <= m_hi ? m_map.find(m_lo, m_hi, row.mask) : 0;
    restartAhead(row);
    return true;
}

void ThreadFillList::startList(PassRow& row)
{
    row.cursor = 0;
    row.skipped = 0;
    restartAhead(row);
    if (row.word)
        row.postings.emplace(*row.index, *row.query);
    else if (!row.list.Seek(row.index, row.key, row.area))
        return;
    // The records before the range cannot pass; lists are ascending, so the ones after it end the
    // row.
    for (;;) {
        readAhead(row, 0);
        while (row.at < row.end && row.ahead[static_cast<size_t>(row.at)] < m_lo) {
            ++row.at;
            ++row.skipped;
        }
        if (row.at < row.end) {
            row.cursor = row.ahead[static_cast<size_t>(row.at++)];
            return;
        }
        if (row.done || terminating())
            return;
    }
}

void ThreadFillList::restartAhead(PassRow& row)
{
    row.at = 0;
    row.end = 0;
    row.done = false;
}

int ThreadFillList::advancePast(std::array<PassRow*, criteria::kRows>& live, int liveCount, int32_t r)
{
    bool ended = false;
    for (int k = 0; k < liveCount; ++k) {
        PassRow& row = *live[static_cast<size_t>(k)];
        if (row.cursor == r) {
            advance(row, r);
            ended = ended || row.cursor == 0;
        }
    }
    return ended ? dropEnded(live, liveCount) : liveCount;
}

int ThreadFillList::dropEnded(std::array<PassRow*, criteria::kRows>& live, int liveCount) const
{
    int jointLive = 0;
    for (int k = 0; k < liveCount; ++k)
        jointLive += live[static_cast<size_t>(k)]->joint && live[static_cast<size_t>(k)]->cursor != 0 ? 1 : 0;
    const bool dropJoint = jointLive < m_joint;
    int kept = 0;
    for (int k = 0; k < liveCount; ++k) {
        PassRow* row = live[static_cast<size_t>(k)];
        if (row->cursor != 0 && !(dropJoint && row->joint))
            live[static_cast<size_t>(kept++)] = row;
    }
    return kept;
}

void ThreadFillList::advance(PassRow& row, int32_t r)
{
    if (row.at == row.end && !row.done)
        readAhead(row, r);
    row.cursor = row.at < row.end ? row.ahead[static_cast<size_t>(row.at++)] : 0;
}

void ThreadFillList::readAhead(PassRow& row, int32_t after)
{
    row.at = 0;
    row.end = 0;
    if (row.word && !row.streamed) {
        row.end = after < m_hi ? m_map.findMany(after + 1, m_hi, row.mask, row.ahead.data(), PassRow::kAhead) : 0;
        row.done = row.end < PassRow::kAhead;
        prefetchAhead(row);
        return;
    }
    // The readers' lists ascend (a damaged one ends where it stops ascending); the first record
    // after the range ends the row.
    for (;;) {
        row.end = row.word ? row.postings->Next(row.ahead.data(), PassRow::kAhead)
                           : row.list.Next(row.ahead.data(), PassRow::kAhead);
        row.done = row.end < PassRow::kAhead;
        if (row.end == 0)
            return;
        // The first record after the range ends the row; a batch whose last record lies in the
        // range holds none (the lists ascend).
        if (row.ahead[static_cast<size_t>(row.end - 1)] > m_hi)
            for (int i = 0; i < row.end; ++i)
                if (row.ahead[static_cast<size_t>(i)] > m_hi) {
                    row.end = i;
                    row.done = true;
                    break;
                }
        if (row.others == 0)
            break;
        // A word read in order: only the records holding the other words too (the records outside
        // the range are not in the map).
        int kept = 0;
        for (int i = 0; i < row.end; ++i) {
            const int32_t r = row.ahead[static_cast<size_t>(i)];
            row.ahead[static_cast<size_t>(kept)] = r;
            kept += m_map.at(r) == row.others ? 1 : 0;
        }
        row.end = kept;
        if (row.end > 0 || row.done || terminating())
            break;
    }
    prefetchAhead(row);
}

void ThreadFillList::prefetchAhead(const PassRow& row) const
{
    // Records within a cache line of each other are fetched by the processor as the writes walk
    // through them; only records further apart are worth fetching ahead.
    if (row.end == 0 ||
        static_cast<int64_t>(row.ahead[static_cast<size_t>(row.end - 1)]) - row.ahead[0] <= int64_t{16} * row.end)
        return;
    for (int i = 0; i < row.end; ++i) {
        const int32_t r = row.ahead[static_cast<size_t>(i)];
        if (r >= m_lo)
            m_bits.prefetch(r);
    }
}
