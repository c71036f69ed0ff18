// The result list of the real window, offscreen, on the 10,000,000-listing sample: from pressing
// Search to the first page painted, one scroll step by a row and by a page, and a thumb jump to the
// middle of a large result (records decoded and catalog names looked up included). The data folder
// comes from ORTELIA_BENCH_STARTUP_DIR (default /tmp/ortelia-bench-10M/data; BenchSearch makes it).
#include "bench/WindowBench.h"
#include "search/ResultPager.h"
#include "search/ThreadFillList.h"
#include "ui/ListRows.h"
#include "ui/ResultList.h"
#include "ui/SearchPanel.h"
#include "ui/TFormMain.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

void settle(TFormMain& form)
{
    while (!form.searchSettled())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}

// One window for every benchmark: opening the data set is measured by BenchStartup.
TFormMain* window()
{
    static std::unique_ptr<TFormMain> form;
    static QTemporaryDir lock;
    if (form)
        return form.get();
    const std::string data = windowBenchData();
    if (!std::filesystem::exists(data + "/QD.dat"))
        return nullptr;
    const StartupEnvironment env = StartupEnvironment::forFolder(data, lock.path().toStdString());
    form = std::make_unique<TFormMain>(env);
    if (form->FormCreate() != TFormMain::Started::Ready)
        return nullptr;
    form->showNormal();
    form->resize(1280, 900);
    form->GuiaTelefonosExecute();
    settle(*form);
    return form.get();
}

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_SearchToFirstPage(benchmark::State& state)
{
    TFormMain* form = window();
    if (form == nullptr) {
        state.SkipWithError("no data set");
        return;
    }
    for (auto _ : state) {
        form->pnlSecciones->edBusqueda->setText(QStringLiteral("GONZ"));
        const auto start = std::chrono::steady_clock::now();
        form->pnlSecciones->bbuBuscar->click();
        // The first page: the rows of the first matches the search hands over, as many as the list
        // shows (the search has far more matches).
        const int page = std::min<int>(form->pnlLista->pager().pageRows(), ThreadFillList::kFirstMatches);
        while (form->pnlLista->lvLista->topLevelItemCount() < page)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        form->pnlLista->lvLista->repaint();
        state.SetIterationTime(seconds(start));
        settle(*form);
        form->pnlSecciones->bbuLimpiar->click();
        settle(*form);
    }
}
BENCHMARK(BM_SearchToFirstPage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// A province of the telephone guide: the largest result the search panel gives.
TFormMain* largeResult(benchmark::State& state)
{
    TFormMain* form = window();
    if (form == nullptr) {
        state.SkipWithError("no data set");
        return nullptr;
    }
    if (!form->pnlSecciones->searchDone() || form->pnlLista->pager().count() < 1'000'000) {
        int best = 1;
        // Buenos Aires holds most listings in the sample; find it by name.
        for (int i = 1; i < form->pnlSecciones->cbxProvincia->count(); ++i)
            if (form->pnlSecciones->cbxProvincia->itemText(i) == QStringLiteral("Buenos Aires"))
                best = i;
        form->pnlSecciones->cbxProvincia->setCurrentIndex(best);
        QMetaObject::invokeMethod(form->pnlSecciones->cbxProvincia, "activated", Q_ARG(int, best));
        settle(*form);
        form->pnlSecciones->edBusqueda->clear();
        form->pnlSecciones->bbuBuscar->click();
        settle(*form);
    }
    state.counters["passing"] = form->pnlLista->pager().count();
    return form;
}

void BM_ScrollOneRow(benchmark::State& state)
{
    TFormMain* form = largeResult(state);
    if (form == nullptr)
        return;
    form->pnlLista->scrbRegistros->setValue(form->pnlLista->scrbRegistros->maximum() / 3);
    int step = 1;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        form->pnlLista->scrbRegistros->setValue(form->pnlLista->scrbRegistros->value() + step);
        form->pnlLista->lvLista->repaint();
        state.SetIterationTime(seconds(start));
        step = -step; // one down, then one up
    }
}
BENCHMARK(BM_ScrollOneRow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);

void BM_ScrollOnePage(benchmark::State& state)
{
    TFormMain* form = largeResult(state);
    if (form == nullptr)
        return;
    form->pnlLista->scrbRegistros->setValue(form->pnlLista->scrbRegistros->maximum() / 3);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        form->pnlLista->scrbRegistros->setValue(form->pnlLista->scrbRegistros->value() + form->pnlLista->pager().pageRows());
        form->pnlLista->lvLista->repaint();
        state.SetIterationTime(seconds(start));
    }
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(100);

void BM_ThumbJumpToTheMiddle(benchmark::State& state)
{
    TFormMain* form = largeResult(state);
    if (form == nullptr)
        return;
    int k = 0;
    for (auto _ : state) {
        form->pnlLista->scrbRegistros->setValue(k++ % 2 == 0 ? 0 : form->pnlLista->scrbRegistros->maximum());
        const auto start = std::chrono::steady_clock::now();
        form->pnlLista->scrbRegistros->setValue(form->pnlLista->scrbRegistros->maximum() / 2);
        form->pnlLista->lvLista->repaint();
        state.SetIterationTime(seconds(start));
    }
}
BENCHMARK(BM_ThumbJumpToTheMiddle)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    return runWindowBenchmarks(argc, argv);
}
