// Sequential and random ReadRecord over a built store of 1,000,000 records (made once, cached in
// the system's temporary folder).
#include "engine/QdData.h"
#include "tests/support/RecordFixtures.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr int kRecords = 1'000'000;

std::string storeDir()
{
    const auto dir = std::filesystem::temp_directory_path() / "ortelia-bench-store-v1";
    if (!std::filesystem::exists(dir / "done")) {
        std::filesystem::create_directories(dir);
        std::mt19937 rng(11);
        const auto records = randomRecords(rng, kRecords);
        SymbolCounts counts{};
        for (const auto& r : records)
            countSymbols(counts, recordText(r));
        const huffman codes = makeHuffman(counts);
        RecordStoreWriter w((dir / "QD.dat").string(), (dir / "PK.idx").string(), codes);
        for (const auto& r : records)
            if (!w.add(r))
                std::abort();
        if (!w.finish() || !writeFile((dir / "QD.hfm").string(), {codes.raw().begin(), codes.raw().end()}))
            std::abort();
        if (!writeFile((dir / "done").string(), {}))
            std::abort();
    }
    return dir.string();
}

void BM_ReadRecordSequential(benchmark::State& state)
{
    const std::string dir = storeDir();
    QdData store(dir + "/QD.dat", dir + "/PK.idx", 8192);
    store.LoadCodeTable(dir + "/QD.hfm");
    registro r;
    int32_t n = 1;
    for (auto _ : state) {
        r.Clear();
        benchmark::DoNotOptimize(store.ReadRecord(r, n, true));
        if (++n > store.RecordCount())
            n = 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadRecordSequential)->Iterations(kRecords);

void BM_ReadRecordRandom(benchmark::State& state)
{
    const std::string dir = storeDir();
    QdData store(dir + "/QD.dat", dir + "/PK.idx", 8192);
    store.LoadCodeTable(dir + "/QD.hfm");
    std::mt19937 rng(5);
    registro r;
    for (auto _ : state) {
        r.Clear();
        benchmark::DoNotOptimize(store.ReadRecord(r, 1 + static_cast<int32_t>(rng() % kRecords), true));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadRecordRandom)->Iterations(200'000);

} // namespace

BENCHMARK_MAIN();
