// The bit set's scans over a guide of 10,000,000 records, next to a plain 40 MB read (the memory
// bandwidth floor) and the plain one-word-at-a-time loops the scans replace. "cold" runs start with
// every block count dropped (as after a search pass or a filter change), "warm" ones with the counts
// of the previous run (after a write to a plane that is not required, so that the count is made
// again). The sparse plane lists its records: counting over it and emptying a plane that lists
// its records look at those records only.
#include "engine/FiltroBits.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int32_t kRecords = 10'000'000;
constexpr int64_t kRangeBytes = int64_t{kRecords} * 4;
constexpr int kDense = 12;  // about half of the records
constexpr int kSparse = 13; // one record in 100,000
constexpr int kSpare = 9;   // never required: the plane the clearing runs write

struct Fixture {
    Fixture() : bits(std::make_unique<FiltroBits>()), plain(kRecords + 1, 0)
    {
        bits->SetGuideRange(0, 1, kRecords);
        bits->SelectRange(0);
        std::mt19937 rng(5);
        for (int32_t n = 1; n <= kRecords; ++n) {
            const uint32_t r = rng();
            bits->SetBit(n, kDense, (r & 1) != 0);
            bits->SetBit(n, kSparse, r % 100'000 == 7);
        }
        for (int32_t n = 0; n <= kRecords; ++n)
            plain[n] = bits->wordAt(n);
    }
    std::unique_ptr<FiltroBits> bits;
    std::vector<uint32_t> plain; // the same words, for the floor and the plain loops
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Requires exactly the range bits plus one plane, and drops every block count.
FiltroBits& prepared(int plane)
{
    FiltroBits& b = *fixture().bits;
    for (int p : {kDense, kSparse, kSpare})
        b.SetRequired(p, p == plane);
    b.SetRequired(20, true); // a mask change: the counts are dropped
    b.SetRequired(20, false);
    return b;
}

void dropCounts(FiltroBits& b)
{
    b.SetRequired(20, true);
    b.SetRequired(20, false);
}

// ---- The floor

void BM_MemoryFloor(benchmark::State& state)
{
    const std::vector<uint32_t>& w = fixture().plain;
    for (auto _ : state) {
        uint32_t sum = 0;
        for (int32_t n = 1; n <= kRecords; ++n)
            sum += w[n];
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * kRangeBytes);
}
BENCHMARK(BM_MemoryFloor)->Unit(benchmark::kMillisecond);

// ---- The bit set

void BM_CountPassing(benchmark::State& state)
{
    const bool cold = state.range(0) != 0;
    FiltroBits& b = prepared(kDense);
    int32_t count = b.CountPassing();
    bool flip = false;
    for (auto _ : state) {
        if (cold)
            dropCounts(b);
        else
            b.SetBit(1, kSpare, flip = !flip);
        benchmark::DoNotOptimize(count = b.CountPassing());
    }
    state.SetBytesProcessed(state.iterations() * kRangeBytes);
    state.counters["passing"] = count;
}
BENCHMARK(BM_CountPassing)->ArgName("cold")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_CountPassingSparse(benchmark::State& state)
{
    FiltroBits& b = prepared(kSparse);
    int32_t count = 0;
    for (auto _ : state) {
        dropCounts(b);
        benchmark::DoNotOptimize(count = b.CountPassing());
    }
    state.counters["passing"] = count;
    state.counters["listed"] = b.planeListed(kSparse) ? 1 : 0;
}
BENCHMARK(BM_CountPassingSparse)->Unit(benchmark::kMicrosecond);

// Emptying a plane over the range: swept (a plane set everywhere), or from its list of records
// (the plane a search pass wrote, with that many records spread over the range).
void BM_ClearCodes(benchmark::State& state)
{
    const auto records = static_cast<int32_t>(state.range(0));
    FiltroBits& b = prepared(kDense);
    std::mt19937 rng(9);
    std::vector<int32_t> spread;
    for (int32_t i = 0; i < records; ++i)
        spread.push_back(1 + static_cast<int32_t>(rng() % kRecords));
    std::sort(spread.begin(), spread.end());
    for (auto _ : state) {
        state.PauseTiming();
        if (records == 0) {
            b.SetCodeEverywhere(kSpare, true);
        } else {
            int32_t passed = 0;
            b.setBitRun(spread.data(), records, kSpare, INT32_MAX, passed);
        }
        state.ResumeTiming();
        b.ClearCodes(1u << kSpare);
    }
    state.counters["listed"] = records > 0 && b.planeListed(kSpare) ? 1 : 0;
}
BENCHMARK(BM_ClearCodes)
    ->ArgName("records")
    ->Arg(0)
    ->Arg(1000)
    ->Arg(100'000)
    ->Arg(600'000)
    ->Unit(benchmark::kMillisecond);

void BM_SetCodeEverywhere(benchmark::State& state)
{
    FiltroBits& b = prepared(kDense);
    for (auto _ : state)
        b.SetCodeEverywhere(kSpare, true);
    state.SetBytesProcessed(state.iterations() * kRangeBytes);
    b.ClearCodes(1u << kSpare);
}
BENCHMARK(BM_SetCodeEverywhere)->Unit(benchmark::kMillisecond);

void BM_NthPassingMiddle(benchmark::State& state)
{
    const bool cold = state.range(0) != 0;
    FiltroBits& b = prepared(kDense);
    const int32_t k = b.CountPassing() / 2;
    int32_t r = 0;
    for (auto _ : state) {
        if (cold)
            dropCounts(b);
        benchmark::DoNotOptimize(r = b.NthPassing(k));
    }
    state.counters["record"] = r;
}
BENCHMARK(BM_NthPassingMiddle)->ArgName("cold")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// 30 NextPassing calls from an arbitrary cursor: a page of the list with half the records passing,
// and a sparse result where the 30 calls cross about 3 million records.
void BM_Next30(benchmark::State& state)
{
    const int plane = state.range(0) != 0 ? kSparse : kDense;
    const bool cold = state.range(1) != 0;
    FiltroBits& b = prepared(plane);
    b.CountPassing();
    int32_t start = 1'234'567;
    int32_t r = 0;
    for (auto _ : state) {
        if (cold)
            dropCounts(b);
        b.SetCursor(start);
        for (int i = 0; i < 30; ++i)
            benchmark::DoNotOptimize(r = b.NextPassing());
        start = start % 5'000'000 + 977;
    }
}
BENCHMARK(BM_Next30)
    ->ArgNames({"sparse", "cold"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMicrosecond);

// ---- The plain loops (one word at a time, walking from the start of the range)

void BM_PlainCount(benchmark::State& state)
{
    const std::vector<uint32_t>& w = fixture().plain;
    const uint32_t required = FiltroBits::kRangeBits | (1u << kDense);
    auto last = static_cast<int32_t>(w.size()) - 1;
    benchmark::DoNotOptimize(last);
    for (auto _ : state) {
        int32_t count = 0;
        for (int32_t n = 1; n <= last; ++n)
            if ((w[n] & required) == required)
                ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * kRangeBytes);
}
BENCHMARK(BM_PlainCount)->Unit(benchmark::kMillisecond);

void BM_PlainNthMiddle(benchmark::State& state)
{
    const std::vector<uint32_t>& w = fixture().plain;
    const uint32_t required = FiltroBits::kRangeBits | (1u << kDense);
    const int32_t k = prepared(kDense).CountPassing() / 2;
    for (auto _ : state) {
        // First, then k - 1 times the next passing record.
        int32_t n = 1;
        int32_t seen = 0;
        for (; n <= kRecords; ++n)
            if ((w[n] & required) == required && ++seen == k)
                break;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_PlainNthMiddle)->Unit(benchmark::kMicrosecond);

void BM_PlainNext30Sparse(benchmark::State& state)
{
    const std::vector<uint32_t>& w = fixture().plain;
    const uint32_t required = FiltroBits::kRangeBits | (1u << kSparse);
    int32_t start = 1'234'567;
    for (auto _ : state) {
        int32_t cursor = start;
        for (int i = 0; i < 30; ++i) {
            do
                ++cursor;
            while (cursor <= kRecords && (w[cursor] & required) != required);
            benchmark::DoNotOptimize(cursor);
        }
        start = start % 5'000'000 + 977;
    }
}
BENCHMARK(BM_PlainNext30Sparse)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
