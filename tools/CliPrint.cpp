#include "tools/CliPrint.h"

#include "ads/ReportOutput.h"
#include "ads/TFormRpt.h"
#include "ads/TfrmRptImage.h"
#include "ads/TfrmShowItem.h"
#include "engine/Cp1252.h"
#include "engine/DataFiles.h"
#include "platform/BlockLibrary.h"
#include "platform/Printers.h"
#include "tools/CliSearch.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ModalSeam.h"
#include "widgets/UiText.h"

#include <QApplication>
#include <QImageWriter>

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdlib>
#include <unistd.h>

const char* const kPrintUsage = "       ortelia-cli DATA print --pdf FILE [search options] [--section NAME]\n"
                                "       ortelia-cli DATA ad N --png FILE | --pdf FILE\n";

namespace {

// The reports need fonts and the viewer a widget: one application, offscreen without a display.
QApplication& app()
{
    // Never destroyed: the process ends with it, as the window's program does.
    static QApplication* made = nullptr;
    if (made == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            char pattern[] = "/tmp/ortelia-cli-XXXXXX";
            if (const char* dir = ::mkdtemp(pattern))
                qputenv("XDG_RUNTIME_DIR", QByteArray(dir));
        }
        static int argc = 1;
        static char name[] = "ortelia-cli";
        static char* argv[] = {name, nullptr};
        made = new QApplication(argc, argv);
        modal::setHeadless(true); // a message box is recorded, never waited for
    }
    return *made;
}

QString fromUtf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The PDF entry's page: the command line never depends on the printers of the machine.
Printers::PageSetup pdfPage()
{
    return Printers::pageSetup(*Printers::makePrinter({Printers::pdfName(), true, true}));
}

// The result list's row for a record, as the window's list shows it.
std::vector<QString> rowOf(CliDataSet& d, int32_t recno)
{
    std::vector<QString> texts(11);
    registro r;
    if (!d.store->ReadRecord(r, recno))
        return texts;
    texts[5] = uitext::fromData(cp1252::upper(r.name));
    texts[6] = r.areaCode != 0 ? uitext::fromData(r.DisplayPhone()) : QString();
    texts[7] = uitext::fromData(r.address);
    texts[8] = r.rubroId != 0 ? uitext::fromData(d.catalogs().RubroName(r.rubroId)) : QString();
    if (r.localityId != 0) {
        texts[9] = uitext::fromData(d.catalogs().LocalityName(r.localityId));
        texts[10] = uitext::fromData(d.catalogs().ProvinceName(d.catalogs().LocalityProvince(r.localityId)));
    } else {
        texts[9] = uitext::fromData(cp1252::upper(r.localityText));
        texts[10] = uitext::fromData(cp1252::upper(r.provinceText));
    }
    return texts;
}

} // namespace

int cliPrint(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string pdf, section;
    bool sectionGiven = false;
    std::vector<std::string> searchArgs;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pdf" || args[i] == "--section") {
            if (i + 1 >= args.size()) {
                err << "ortelia-cli: " << args[i] << " needs a value\nusage:\n" << kPrintUsage;
                return 2;
            }
            std::string& target = args[i] == "--pdf" ? pdf : section;
            if (!target.empty() || (args[i] == "--section" && sectionGiven)) {
                err << "ortelia-cli: " << args[i] << " given twice\n";
                return 2;
            }
            sectionGiven = sectionGiven || args[i] == "--section";
            target = args[++i];
        } else {
            searchArgs.push_back(args[i]);
        }
    }
    if (pdf.empty()) {
        err << "ortelia-cli: print needs --pdf FILE\nusage:\n" << kPrintUsage;
        return 2;
    }
    CliSearchOptions options;
    std::string error;
    if (!parseSearchOptions(searchArgs, options, error)) {
        err << "ortelia-cli: " << error << "\nusage:\n" << kPrintUsage << kSearchUsage;
        return 2;
    }
    app();
    const auto found = nlohmann::json::parse(runSearch(data, options));
    ResultListView list;
    list.columns = ResultListView::defaultColumns();
    for (const auto& recno : found["records"])
        list.rows.push_back(rowOf(data, recno.get<int32_t>()));

    static const char* const sections[3] = {"Sección Alfabética", "Sección Comercial", "Sección Profesional"};
    TFormRpt rpt;
    rpt.FormCreate(pdfPage());
    rpt.SetSection(sectionGiven ? fromUtf8(section) : QString::fromUtf8(sections[options.range]));
    rpt.Fill(list);
    if (!report::writePdf({rpt.page()}, fromUtf8(pdf))) {
        err << "ortelia-cli: cannot write " << pdf << '\n';
        return 2;
    }
    out << "{\"rows\": " << rpt.cells() << ", \"count\": " << found["count"].get<int64_t>() << "}\n";
    return 0;
}

int cliAdOutput(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int32_t n = 0;
    const std::string& number = args.empty() ? std::string() : args[0];
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (args.size() != 3 || ec != std::errc() || end != number.data() + number.size() ||
        (args[1] != "--png" && args[1] != "--pdf")) {
        err << "ortelia-cli: usage:\n" << kPrintUsage;
        return 2;
    }
    const bool png = args[1] == "--png";
    const QString file = fromUtf8(args[2]);
    aviso& ads = *data.ads;
    if (n < 1 || n > ads.adCount()) {
        err << "ortelia-cli: ad " << n << " outside 1.." << ads.adCount() << '\n';
        return 2;
    }
    if (!ads.Read(n)) {
        err << "ortelia-cli: ad " << n << " cannot be read\n";
        return 2;
    }
    if (ads.kind() == 3) {
        err << "ortelia-cli: ad " << n << " is kept on the publisher's server (reference " << ads.reference()
            << "): nothing to draw\n";
        return 2;
    }
    app();
    const int32_t image = ads.kind() == 0 || ads.kind() == 5 ? ads.imageNumber() : 0;
    Printers printers;
    BlockLibrary library;
    messageboxes::clearShown();
    QImage picture;
    {
        TfrmShowItem viewer(nullptr, ads.kind(), ads.lines(), image, data.path(datafiles::kPictures), library,
                            printers);
        viewer.FormShow();
        picture = viewer.shownPicture();
        viewer.FormHide();
    }
    if (picture.isNull()) {
        const auto& boxes = messageboxes::shown();
        err << "ortelia-cli: ad " << n << " has nothing to show"
            << (boxes.empty() ? std::string(" (no picture, no lines)")
                              : " (" + boxes.back().text.toStdString() + ", picture " + std::to_string(image) + ")")
            << '\n';
        return 2;
    }
    bool written = false;
    if (png) {
        QImageWriter writer(file, "png");
        written = writer.write(picture);
    } else {
        TfrmRptImage rpt;
        rpt.FormCreate(pdfPage());
        rpt.LayOut(picture);
        written = report::writePdf({rpt.page()}, file);
    }
    if (!written) {
        err << "ortelia-cli: cannot write " << args[2] << '\n';
        return 2;
    }
    out << "{\"ad\": " << n << ", \"kind\": " << ads.kind() << ", \"width\": " << picture.width()
        << ", \"height\": " << picture.height() << "}\n";
    return 0;
}
