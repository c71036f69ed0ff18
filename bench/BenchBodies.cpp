// The official-bodies section and the information section on a large data set: loading "da2.dat"
// into the tree (alone, and with the panel's tree view taking it), the keyword search (alone, and
// with the panel's result list), choosing the largest heading of a province until the detail list
// has painted its rows, and the first visit of the information section until the product page has
// loaded in the real browser engine.
// The data folder: ORTELIA_BENCH_STARTUP_DIR (default the 10,000,000-listing sample,
// /tmp/ortelia-bench-10M/data; run BenchSearch once to make it). Keyword: ORTELIA_BENCH_KEYWORD
// (default "HOSPITAL"). A sample's official bodies do not grow with its listings (about 6,400
// lines); when the folder's file has fewer than 20,000 lines, the official-bodies benchmarks run on
// its lines repeated until they pass 20,000 (provinces and all), written once next to it under
// /tmp/ortelia-bench-bodies.
#include "bench/WindowBench.h"
#include "builder/CodedLinesWriter.h"
#include "engine/hfile.h"
#include "search/OfficialBodies.h"
#include "search/QdLocs.h"
#include "ui/InformationPages.h"
#include "ui/OfficialBodiesModels.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/web/WebEngineInfoBrowser.h"

#include <QLineEdit>
#include <QTreeView>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr size_t kMinimumLines = 20000;

// The folder of the official-bodies file the benchmarks read: the data folder's own, or the
// enlarged copy.
const std::string& bodiesFolder()
{
    static const std::string folder = [] {
        const std::string data = windowBenchData();
        hfile file;
        std::vector<std::string> lines;
        if (file.OpenCoded(data + "/da2.dat", data + "/da2.hfm")) {
            std::string line;
            while (!file.IsEof()) {
                if (file.ReadLine(line))
                    lines.push_back(line);
            }
        }
        if (lines.empty() || lines.size() >= kMinimumLines)
            return data;
        const std::string out = "/tmp/ortelia-bench-bodies";
        std::filesystem::create_directories(out);
        CodedLinesWriter writer;
        size_t written = 0;
        while (written < kMinimumLines) {
            for (const std::string& l : lines)
                writer.add(l);
            written += lines.size();
        }
        std::string error;
        if (!writer.save(out + "/da2.dat", out + "/da2.hfm", &error)) {
            std::fprintf(stderr, "BenchBodies: %s\n", error.c_str());
            return data;
        }
        std::fprintf(stderr, "BenchBodies: %zu lines of %s repeated to %zu lines in %s\n", lines.size(), data.c_str(),
                     written, out.c_str());
        return out;
    }();
    return folder;
}

std::string dataPath(const char* name)
{
    return bodiesFolder() + "/" + name;
}

std::string keyword()
{
    const char* k = std::getenv("ORTELIA_BENCH_KEYWORD");
    return k != nullptr ? k : "HOSPITAL";
}

bool haveData(benchmark::State& state)
{
    if (std::filesystem::exists(windowBenchData() + "/da2.dat"))
        return true;
    state.SkipWithError("no data set: set ORTELIA_BENCH_STARTUP_DIR or run BenchSearch once");
    return false;
}

// The heading (level 1) with the most rows below it.
int32_t largestHeading(const OfficialBodies& t)
{
    int32_t best = -1;
    size_t bestRows = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t.node(static_cast<int32_t>(i)).level != 1)
            continue;
        std::vector<OfficialBodies::DetailRow> rows;
        t.ShowNode(static_cast<int32_t>(i), rows);
        if (rows.size() > bestRows) {
            bestRows = rows.size();
            best = static_cast<int32_t>(i);
        }
    }
    return best;
}

void BM_BodiesLoadTree(benchmark::State& state)
{
    if (!haveData(state))
        return;
    size_t nodes = 0;
    for (auto _ : state) {
        OfficialBodies t;
        t.LoadData(dataPath("da2.dat"), dataPath("da2.hfm"));
        nodes = t.size();
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_BodiesLoadTree)->Unit(benchmark::kMillisecond);

void BM_BodiesLoadPanel(benchmark::State& state)
{
    if (!haveData(state))
        return;
    for (auto _ : state) {
        QWidget header, body;
        body.resize(1000, 500);
        OfficialBodiesPanel panel(&header, &body);
        panel.LoadData(dataPath("da2.dat"), dataPath("da2.hfm"));
        panel.fClearOO();
    }
}
BENCHMARK(BM_BodiesLoadPanel)->Unit(benchmark::kMillisecond);

void BM_BodiesSearch(benchmark::State& state)
{
    if (!haveData(state))
        return;
    OfficialBodies t;
    t.LoadData(dataPath("da2.dat"), dataPath("da2.hfm"));
    size_t found = 0;
    for (auto _ : state)
        found = t.search(keyword()).size();
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_BodiesSearch)->Unit(benchmark::kMillisecond);

// The search button with the result list shown and painted.
void BM_BodiesSearchPanel(benchmark::State& state)
{
    if (!haveData(state))
        return;
    QWidget window;
    window.resize(1000, 600);
    QWidget header(&window), body(&window);
    body.setGeometry(0, 100, 1000, 500);
    OfficialBodiesPanel panel(&header, &body);
    panel.LoadData(dataPath("da2.dat"), dataPath("da2.hfm"));
    panel.fClearOO();
    window.show();
    QApplication::processEvents();
    panel.tPalabraClave->setText(QString::fromStdString(keyword()));
    for (auto _ : state) {
        panel.bbuBuscarOOClick();
        panel.lb1->repaint();
    }
}
BENCHMARK(BM_BodiesSearchPanel)->Unit(benchmark::kMillisecond);

// A province's largest heading chosen in the tree until the detail list has painted.
void BM_BodiesHeadingToDetail(benchmark::State& state)
{
    if (!haveData(state))
        return;
    QWidget window;
    window.resize(1000, 600);
    QWidget header(&window), body(&window);
    body.setGeometry(0, 100, 1000, 500);
    OfficialBodiesPanel panel(&header, &body);
    panel.LoadData(dataPath("da2.dat"), dataPath("da2.hfm"));
    window.show();
    const int32_t heading = largestHeading(panel.bodies());
    if (heading < 0) {
        state.SkipWithError("no heading in the tree");
        return;
    }
    const QModelIndex target = panel.treeModel().indexOf(heading);
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        panel.fClearOO();
        QApplication::processEvents();
        state.ResumeTiming();
        panel.tv1->setCurrentIndex(target);
        panel.lv1->repaint();
        panel.tv1->repaint();
        rows = panel.detailModel().rows().size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BodiesHeadingToDetail)->Unit(benchmark::kMillisecond);

// The information section's first page: the engine starts, loads the product page and ends its
// load (one iteration: the engine starts cold, as on a first visit).
void BM_InformationFirstVisit(benchmark::State& state)
{
    if (!haveData(state))
        return;
    QdLocs locs;
    for (auto _ : state) {
        QWidget area;
        area.resize(1000, 600);
        area.show();
        auto* pages = new InformationPages(&area, locs);
        pages->setBrowser(makeWebEngineInfoBrowser, QString::fromStdString(windowBenchData()), nullptr);
        pages->setWaitLimit(60000);
        const auto start = std::chrono::steady_clock::now();
        pages->showPage(QStringLiteral("InfoProductos"));
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!pages->browser() || pages->browser()->isLoading())
            state.SkipWithError("the product page did not load");
    }
}
BENCHMARK(BM_InformationFirstVisit)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return runWindowBenchmarks(argc, argv);
}
