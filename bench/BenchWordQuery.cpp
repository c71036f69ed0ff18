// A word index over 10,000,000 records and the lookups the search makes on it: a prefix matching
// about 1% of the records (20 words, 100,000 records) read to its end, and a whole word.
#include "builder/WordIndexWriter.h"
#include "engine/Indice.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kRecords = 10000000;

// Reads the index straight from the bytes the writer made, without a copy per open.
class SharedSource final : public ByteSource {
public:
    explicit SharedSource(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}
    int64_t size() override { return static_cast<int64_t>(m_bytes.size()); }
    int64_t readAt(int64_t pos, void* dst, int64_t n) override
    {
        if (pos < 0 || n < 0)
            return -1;
        if (pos >= size())
            return 0;
        const int64_t k = std::min(n, size() - pos);
        std::memcpy(dst, m_bytes.data() + pos, static_cast<size_t>(k));
        return k;
    }

private:
    const std::vector<uint8_t>& m_bytes;
};

// Words spelt from a base-19 number with letters other than Q and X, so that no word but the
// planted ones begins with "QX".
std::string syntheticWord(uint32_t n, size_t minLength)
{
    static const char letters[] = "ABCDEFGHIJLMNOPRSTU";
    std::string w;
    do {
        w.push_back(letters[n % 19]);
        n /= 19;
    } while (n != 0 || w.size() < minLength);
    return w;
}

struct Fixture {
    std::vector<uint8_t> index;
    std::vector<uint8_t> table;
    std::unique_ptr<Indice> ix;
    double buildSeconds = 0;
};

Fixture& fixture()
{
    static Fixture f = [] {
        Fixture fx;
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::string> surnames, names, streets, planted;
        for (uint32_t i = 0; i < 60000; ++i)
            surnames.push_back(syntheticWord(i * 7919u, 5));
        for (uint32_t i = 0; i < 2000; ++i)
            names.push_back(syntheticWord(i * 104729u, 4));
        for (uint32_t i = 0; i < 20000; ++i)
            streets.push_back(syntheticWord(i * 15485863u, 6));
        for (uint32_t i = 0; i < 20; ++i)
            planted.push_back("QX" + syntheticWord(i, 4));
        WordIndexWriter w;
        uint64_t x = 88172645463325252ull; // xorshift: a fixed, uneven spread of words
        auto next = [&x]() {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            return x;
        };
        for (int32_t r = 1; r <= kRecords; ++r) {
            w.addWord(surnames[next() % surnames.size()], 0, r);
            w.addWord(names[next() % names.size()], 0, r);
            w.addWord(streets[next() % streets.size()], 1, r);
            if (r % 100 == 7)
                w.addWord(planted[(r / 100) % planted.size()], 0, r);
        }
        if (!w.finish()) {
            std::fprintf(stderr, "word index: %s\n", w.error().c_str());
            std::abort();
        }
        fx.index = w.indexBytes();
        fx.table.assign(w.tableBytes().begin(), w.tableBytes().end());
        fx.buildSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        SourceOpener opener = [&fx](const std::string& path) -> std::unique_ptr<ByteSource> {
            return std::make_unique<SharedSource>(path == "ixpal.hfm" ? fx.table : fx.index);
        };
        fx.ix = std::make_unique<Indice>("ixpal.idx", 10240, opener);
        fx.ix->LoadCodeTable("ixpal.hfm", opener);
        std::fprintf(stderr, "word index of %d records: %zu keys, %zu bytes, built in %.1f s\n", kRecords, w.keyCount(),
                     fx.index.size(), fx.buildSeconds);
        return fx;
    }();
    return f;
}

void readAll(benchmark::State& state, std::string_view key, int area)
{
    Indice& ix = *fixture().ix;
    int64_t records = 0;
    int64_t groups = 0;
    for (auto _ : state) {
        auto q = ix.Query(key, area);
        records = 0;
        if (q) {
            groups = q->groups();
            for (int32_t r = ix.QueryNext(*q); r != 0; r = ix.QueryNext(*q))
                ++records;
        }
        benchmark::DoNotOptimize(records);
        ix.FreeQuery(std::move(q));
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["groups"] = static_cast<double>(groups);
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PrefixOnePercent(benchmark::State& state)
{
    readAll(state, "QX", 0);
}
void BM_WholeWord(benchmark::State& state)
{
    readAll(state, "QXBAAA.", 0);
}
void BM_CommonPrefixAddresses(benchmark::State& state)
{
    readAll(state, "AB", 1);
}

} // namespace

BENCHMARK(BM_PrefixOnePercent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeWord)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommonPrefixAddresses)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
