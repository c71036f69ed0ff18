// The ad window and the printed reports for ortelia-screenshots: a picture ad, a large picture
// opened fitted, a kind-2 and a kind-1 card, the print preview and the first page of each report.
#include "ui/screenshots/ads_screenshots.h"

#include "ads/AdStoreOpener.h"
#include "ads/ReportPage.h"
#include "ads/ReportPreview.h"
#include "ads/TFormRpt.h"
#include "ads/TfrmRptImage.h"
#include "ads/TfrmShowItem.h"
#include "ads/aviso.h"
#include "engine/DataFiles.h"
#include "platform/BlockLibrary.h"
#include "platform/Printers.h"
#include "widgets/ModalSeam.h"

#include <QApplication>

#include <cstdio>

namespace {

bool saveImage(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = folder + QStringLiteral("/") + name + QStringLiteral(".png");
    const bool ok = image.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// Shows the ad window for an ad and saves it; hands back what it shows.
QImage shootAd(int32_t kind, const std::vector<std::string>& lines, int32_t image, const std::string& pictures,
               const QString& out, const QString& name, bool& ok)
{
    BlockLibrary& library = BlockLibrary::instance();
    Printers printers;
    TfrmShowItem form(nullptr, kind, lines, image, pictures, library, printers);
    form.FormShow();
    form.show();
    QApplication::processEvents();
    ok &= saveImage(form.grab().toImage(), out, name);
    QImage shown = form.shownPicture();
    form.hide();
    return shown;
}

} // namespace

bool shootAds(const std::string& data, const QString& out, const ResultListView& list, const QString& section)
{
    bool ok = true;
    const std::unique_ptr<aviso> store = adstore::open(data);
    aviso& ads = *store;
    const std::string pictures = data + "/" + datafiles::kPictures;
    BlockLibrary::instance().BlockInit();
    bool natural = false, fitted = false, rounded = false, square = false;
    QImage printed;
    for (int32_t n = 1; n <= ads.adCount() && !(natural && fitted && rounded && square); ++n) {
        if (!ads.Read(n))
            continue;
        const int32_t kind = ads.kind();
        const std::vector<std::string> lines = ads.lines();
        if ((kind == 0 || kind == 5) && ads.imageNumber() != 0) {
            const auto h = BlockLibrary::instance().OpenBlockFile(pictures);
            const auto b = BlockLibrary::instance().GetBitmap(h, ads.imageNumber());
            const QImage* picture = BlockLibrary::instance().image(b);
            const bool large = picture != nullptr && (picture->width() > 730 || picture->height() > 505);
            BlockLibrary::instance().ReleaseBitmap(h, b);
            BlockLibrary::instance().CloseBlockFile(h);
            if (picture == nullptr || (large ? fitted : natural))
                continue;
            const QImage shown =
                shootAd(kind, lines, ads.imageNumber(), pictures, out,
                        large ? QStringLiteral("aviso-imagen-ajustada") : QStringLiteral("aviso-imagen"), ok);
            if (!large)
                printed = shown;
            (large ? fitted : natural) = true;
        } else if (kind == 2 && !rounded) {
            shootAd(2, lines, 0, pictures, out, QStringLiteral("aviso-tarjeta-2"), ok);
            rounded = true;
        } else if (kind == 8 && !square) {
            shootAd(1, lines, 0, pictures, out, QStringLiteral("aviso-tarjeta-1"), ok);
            square = true;
        }
    }
    ok &= natural && fitted && rounded && square;

    TFormRpt rpt;
    rpt.FormCreate(std::nullopt);
    rpt.SetSection(section);
    rpt.Fill(list);
    ok &= saveImage(report::render(rpt.page(), 96), out, QStringLiteral("informe-lista"));
    modal::queueResult(QDialog::Rejected, [&](QDialog& d) {
        d.resize(820, 1000);
        d.show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        ok &= saveImage(d.grab().toImage(), out, QStringLiteral("vista-previa"));
        d.hide();
    });
    rpt.Preview(nullptr, Printers());

    TfrmRptImage image;
    image.LayOut(printed);
    ok &= saveImage(report::render(image.page(), 96), out, QStringLiteral("informe-aviso"));
    return ok;
}
