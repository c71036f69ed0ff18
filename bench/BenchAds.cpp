// The ad window and the result-list report, offscreen: opening the window on a picture ad until its
// picture is first painted, and the print command (report laid out from a page of 30 rows) until
// the preview has painted its first page.
#include "ads/ReportOutput.h"
#include "ads/ReportPreview.h"
#include "ads/TFormRpt.h"
#include "ads/TfrmShowItem.h"
#include "builder/PictureFileWriter.h"
#include "platform/BlockLibrary.h"
#include "platform/Printers.h"
#include "widgets/ModalSeam.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QGraphicsView>
#include <QLinearGradient>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

// Counts the paint events a widget receives.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

void waitForPaint(const PaintWatch& watch)
{
    while (watch.paints == 0)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A picture file with one 640 x 440 PNG ad, as the sample's pictures are.
std::string pictureFile(const QTemporaryDir& dir)
{
    QImage picture(640, 440, QImage::Format_RGB32);
    QPainter p(&picture);
    QLinearGradient g(0, 0, 0, 440);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(240, 220, 200));
    p.fillRect(picture.rect(), g);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 28, QFont::Bold));
    p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("SERVICIOS GOMEZ SA"));
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    std::vector<uint8_t> file;
    if (!picturefile::build({{1, std::vector<uint8_t>(png.begin(), png.end())}}, file))
        return {};
    const std::string path = QDir(dir.path()).filePath(QStringLiteral("Img.bld")).toStdString();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return path;
}

void BM_ViewerToFirstPaint(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string pictures = pictureFile(dir);
    const std::vector<std::string> lines = {"SERVICIOS GOMEZ SA", "ELECTRICIDAD DEL AUTOMOTOR"};
    BlockLibrary& library = BlockLibrary::instance();
    library.BlockInit();
    const Printers printers;
    for (auto _ : state) {
        TfrmShowItem form(nullptr, 0, lines, 1, pictures, library, printers);
        PaintWatch watch(form.findChild<QWidget*>(QStringLiteral("Image")));
        form.FormShow();
        form.show();
        waitForPaint(watch);
        state.PauseTiming();
        form.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ViewerToFirstPaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ListReportToPreviewPage(benchmark::State& state)
{
    ResultListView list;
    list.columns = ResultListView::defaultColumns();
    for (int r = 0; r < 30; ++r) {
        std::vector<QString> texts(11);
        texts[5] = QStringLiteral("FARMACIA DEL PUEBLO %1").arg(r);
        texts[6] = QStringLiteral("(0351) 425-%1").arg(1000 + r);
        texts[7] = QStringLiteral("AV. COLON %1").arg(100 + r);
        texts[8] = QStringLiteral("FARMACIAS");
        texts[9] = QStringLiteral("Córdoba");
        texts[10] = QStringLiteral("Córdoba");
        list.rows.push_back(texts);
    }
    const Printers printers;
    for (auto _ : state) {
        modal::queueResult(QDialog::Rejected, [](QDialog& d) {
            auto& preview = dynamic_cast<ReportPreview&>(d);
            auto* view = preview.view()->findChild<QGraphicsView*>();
            PaintWatch watch(view->viewport());
            preview.show();
            waitForPaint(watch);
            preview.hide();
        });
        TFormRpt rpt;
        rpt.FormCreate(report::defaultPageSetup(printers));
        rpt.SetSection(QStringLiteral("Sección Comercial"));
        rpt.Fill(list);
        rpt.Preview(nullptr, printers);
    }
}
BENCHMARK(BM_ListReportToPreviewPage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    modal::setHeadless(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
