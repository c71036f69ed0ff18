// The agenda at 10,000 rows (200 saved directory records, the rest typed-in contacts, a third with
// notes): opening with a pack of 500 deleted rows, the agenda view's rows (the filtered walk, the
// texts, the Spanish sort; not painted), the same view in the real window from SetAgendaMode(true)
// to the painted list (offscreen, on the data folder of ORTELIA_BENCH_STARTUP_DIR, else the
// 10,000,000-listing sample; the saved records are among its first 200,000), one page of 30 list
// rows with their FindRecord lookups, and RebuildNoteMarks over a 10,000,000-record range of the
// bit set.
#include "agenda/AgendaCommands.h"
#include "agenda/TAgenda.h"
#include "engine/Cp1252.h"
#include "engine/FiltroBits.h"
#include "bench/WindowBench.h"
#include "ui/ResultList.h"
#include "ui/TFormMain.h"
#include "widgets/UiText.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <chrono>

#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

constexpr int32_t kRows = 10'000;
constexpr int32_t kDirectoryRows = 200;
constexpr int32_t kDeleted = 500;
constexpr int32_t kRecords = 10'000'000;
constexpr int32_t kSavedFrom = 200'000; // saved records are drawn from the first listings

namespace fs = std::filesystem;

struct Tables {
    Tables()
    {
        root = fs::temp_directory_path() / ("ortelia-bench-agenda-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "pristine");
        std::mt19937 rng(10);
        const char* first[] = {"MARIA",
                               "JOSE",
                               "\xC1NGEL",
                               "NU\xD1"
                               "EZ",
                               "GOMEZ",
                               "PEREZ",
                               "\xD1"
                               "ANDU",
                               "LUC\xCD"
                               "A"};
        TAgenda agenda((root / "pristine").string() + "/");
        agenda.SetEdition(TAgenda::kEdition);
        std::vector<int32_t> rows;
        for (int32_t i = 0; i < kRows + kDeleted; ++i) {
            TAgendaRecord r;
            if (i % ((kRows + kDeleted) / kDirectoryRows) == 0 && recnos.size() < kDirectoryRows) {
                r.recno = static_cast<int32_t>(rng() % kSavedFrom) + 1;
                recnos.push_back(r.recno);
            } else {
                r.name = std::string(first[rng() % 8]) + " " + std::to_string(rng() % 100000);
                r.address = "CALLE " + std::to_string(i);
                r.phone = "(011) 4" + std::to_string(100 + i % 900) + "-" + std::to_string(1000 + i % 9000);
            }
            if (i % 3 == 0)
                r.note = "Nota del contacto " + std::to_string(i) + std::string(i % 400, '.');
            rows.push_back(agenda.AppendRow(r));
        }
        // Delete typed-in contacts only, so that the 200 directory rows stay.
        int32_t deleted = 0;
        for (int32_t row = 2; deleted < kDeleted && row <= static_cast<int32_t>(rows.size()); row += 7) {
            TAgendaRecord r;
            if (agenda.readRow(row, r) && r.recno == 0) {
                agenda.DeleteRow(row);
                ++deleted;
            }
        }
    }
    ~Tables() { fs::remove_all(root); }
    // A fresh copy of the table with its deleted rows, ready to be packed by an opening.
    std::string freshCopy(fs::path dir = {})
    {
        if (dir.empty()) {
            dir = root / "copy";
            fs::remove_all(dir);
            fs::create_directories(dir);
        }
        for (const char* f : {"QD_regS.dbf", "QD_regS.dbt"})
            fs::copy_file(root / "pristine" / f, dir / f, fs::copy_options::overwrite_existing);
        return dir.string() + "/";
    }
    fs::path root;
    std::vector<int32_t> recnos;
};

Tables& tables()
{
    static Tables t;
    return t;
}

void BM_OpenWithPack(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = tables().freshCopy();
        state.ResumeTiming();
        TAgenda agenda(folder);
        agenda.SetEdition(TAgenda::kEdition);
        benchmark::DoNotOptimize(agenda.directoryRows());
        state.PauseTiming();
        if (agenda.directoryRows() != kDirectoryRows)
            state.SkipWithError("unexpected directory rows");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWithPack)->Unit(benchmark::kMillisecond)->Iterations(10);

struct OpenAgenda {
    OpenAgenda() : agenda(tables().freshCopy()) { agenda.SetEdition(TAgenda::kEdition); }
    TAgenda agenda;
};

OpenAgenda& open()
{
    static OpenAgenda o;
    return o;
}

void BM_AgendaViewRows(benchmark::State& state)
{
    TAgenda& agenda = open().agenda;
    for (auto _ : state) {
        std::vector<TAgendaRecord> rows;
        rows.reserve(kRows);
        agenda.SetViewFilter("");
        agenda.forEachRow([&rows](const TAgendaRecord& r) { rows.push_back(r); });
        agendacommands::sortByName(rows, [](const TAgendaRecord& r) { return uitext::fromData(r.name); });
        benchmark::DoNotOptimize(rows.data());
        state.counters["rows"] = static_cast<double>(rows.size());
    }
}
BENCHMARK(BM_AgendaViewRows)->Unit(benchmark::kMillisecond);

// The window on the benchmark's data folder with the 10,000-row agenda in its profile folder.
TFormMain* window()
{
    static std::unique_ptr<TFormMain> form;
    static QTemporaryDir lock;
    if (form)
        return form.get();
    const std::string data = windowBenchData();
    if (!fs::exists(data + "/QD.dat"))
        return nullptr;
    tables().freshCopy(lock.path().toStdString());
    form = std::make_unique<TFormMain>(StartupEnvironment::forFolder(data, lock.path().toStdString()));
    if (form->FormCreate() != TFormMain::Started::Ready)
        return nullptr;
    form->showNormal();
    form->resize(1280, 900);
    form->AgendaExecute();
    QApplication::processEvents();
    return form.get();
}

void BM_AgendaViewPainted(benchmark::State& state)
{
    TFormMain* form = window();
    if (form == nullptr) {
        state.SkipWithError("no data folder (ORTELIA_BENCH_STARTUP_DIR)");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        form->pnlLista->SetAgendaMode(true); // fills, sorts and repaints the list
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["rows"] = form->pnlLista->lvLista->topLevelItemCount();
    }
}
BENCHMARK(BM_AgendaViewPainted)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

void BM_PageOf30Lookups(benchmark::State& state)
{
    TAgenda& agenda = open().agenda;
    std::mt19937 rng(30);
    std::vector<int32_t> page;
    for (int i = 0; i < 30; ++i)
        page.push_back(i % 2 ? tables().recnos[rng() % tables().recnos.size()]
                             : static_cast<int32_t>(rng() % kRecords));
    for (auto _ : state) {
        int32_t found = 0;
        std::string note;
        for (int32_t recno : page)
            found += agenda.FindRecord(recno, note) != 0;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PageOf30Lookups)->Unit(benchmark::kMicrosecond);

void BM_RebuildNoteMarks(benchmark::State& state)
{
    TAgenda& agenda = open().agenda;
    static FiltroBits bits;
    bits.SetGuideRange(0, 1, kRecords);
    bits.SelectRange(0);
    constexpr int kSelected = 14, kNote = 20;
    for (auto _ : state) {
        int32_t marks = 0;
        agendacommands::rebuildNoteMarks(
            agenda, [] { bits.ClearCodes((1u << kSelected) | (1u << kNote)); },
            [&marks](int32_t recno) { marks += bits.SetBit(recno, kNote, true); });
        benchmark::DoNotOptimize(marks);
        state.counters["marks"] = marks;
    }
}
BENCHMARK(BM_RebuildNoteMarks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runWindowBenchmarks(argc, argv);
}
