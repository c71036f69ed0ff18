// ortelia-screenshots DATA OUT: starts the main window offscreen on a data folder the way the
// program does, walks through the sections and writes what the user would see as PNG files into
// OUT, for looking at the window's design without a screen. A developer's tool, not part of the
// program.
#include "agenda/TAgenda.h"
#include "agenda/TfrmEditRecord.h"
#include "online/TfrmConsultar.h"
#include "online/TfrmRecomendar.h"
#include "search/QdLocs.h"
#include "search/ResultPager.h"
#include "search/ThreadFillList.h"
#include "ui/AgendaSection.h"
#include "ui/AppearanceSettings.h"
#include "ui/HomePage.h"
#include "ui/InformationPages.h"
#include "ui/ListRows.h"
#include "ui/Localization.h"
#include "ui/OfficialBodiesModels.h"
#include "ui/OfficialBodiesPanel.h"
#include "ui/ResultList.h"
#include "ui/ResultListReport.h"
#include "ui/SearchPanel.h"
#include "ui/StatusBar2.h"
#include "ui/TFormLogoInicial.h"
#include "ui/TFormMain.h"
#include "ui/TPanelDDI.h"
#include "ui/TPanelDDN.h"
#include "ui/TPanelNumUtiles.h"
#include "ui/TfAbout.h"
#include "ui/TfCreditos.h"
#include "ui/screenshots/ads_screenshots.h"
#include "ui/web/WebEngineInfoBrowser.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"
#include "widgets/UiText.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void settle(TFormMain& form)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (form.searchSettled())
            break;
    }
    QApplication::processEvents();
}

bool save(QWidget& w, const QString& folder, const QString& name)
{
    const QString path = folder + u"/"_s + name + u".png"_s;
    const bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// The mouse resting at pos over w, as a move event delivers it.
void hover(QWidget* w, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QApplication::processEvents();
}

// The official-bodies section's header and body, and the information section's body, each at the
// size the window gives it, on the form's data: the keyword search with an office chosen, the
// three telephone panels with content and the product page.
bool panelShots(TFormMain& form, const QString& out)
{
    bool ok = true;
    const ColourScheme& scheme = appearance().scheme(1);
    QWidget bodies;
    bodies.resize(1000, 560);
    auto* header = new PicturePanel(&bodies);
    header->setStretch(true);
    header->setPicture(picture(scheme.FondoBarra));
    header->setGeometry(0, 0, 1000, 101);
    auto* keywordLabel = new QLabel(u"Palabra Clave"_s, header);
    keywordLabel->move(10, 10);
    auto* body = new QWidget(&bodies);
    body->setGeometry(0, 101, 1000, 459);
    OfficialBodiesPanel panel(header, body);
    panel.LoadData(form.dataPath() + "/da2.dat", form.dataPath() + "/da2.hfm");
    panel.fClearOO();
    bodies.show();
    panel.tPalabraClave->setText(u"HOSPITAL"_s);
    panel.bbuBuscarOOClick();
    panel.lb1->setCurrentIndex(panel.resultModel().index(std::min(2, panel.resultModel().rowCount() - 1), 0));
    QApplication::processEvents();
    ok &= save(bodies, out, u"organismos-busqueda"_s);

    QWidget info;
    info.resize(1000, 480);
    InformationPages pages(&info, form.catalogs());
    pages.setBrowser(makeWebEngineInfoBrowser, QString::fromStdString(form.dataPath()), nullptr);
    pages.pnlDDN->DDN_Image1->setPicture(picture(appearance().DDN_Image1));
    pages.pnlDDI->DDI_Image1->setPicture(picture(appearance().DDI_Image1));
    pages.pnlNumUtiles->NU_Image1->setPicture(picture(appearance().NU_Image1));
    pages.pnlDDN->fillProvinces();
    pages.pnlDDI->fillCountries();
    pages.pnlNumUtiles->fillGuides();
    info.show();
    pages.layoutRegions();
    pages.pnlDDN->DDN_cbxProvincia->setCurrentIndex(std::min(2, pages.pnlDDN->DDN_cbxProvincia->count() - 1));
    pages.showPage(u"InfoDDN"_s);
    QTest::keyClicks(pages.pnlDDN->tLocalidad, u"San"_s);
    QApplication::processEvents();
    ok &= save(info, out, u"informacion-ddn"_s);
    for (int i = 0; i < pages.pnlDDI->cbxPaises->count(); ++i) {
        pages.pnlDDI->cbxPaises->setCurrentIndex(i);
        if (pages.pnlDDI->lvCiudades->rowCount() >= 6)
            break;
    }
    pages.showPage(u"InfoDDI"_s);
    QApplication::processEvents();
    ok &= save(info, out, u"informacion-ddi"_s);
    pages.pnlNumUtiles->cbxGuiasNU->setCurrentIndex(std::min(1, pages.pnlNumUtiles->cbxGuiasNU->count() - 1));
    pages.showPage(u"InfoNumerosUtiles"_s);
    QApplication::processEvents();
    ok &= save(info, out, u"informacion-numeros-utiles"_s);
    pages.showPage(u"InfoProductos"_s);
    // The engine paints a moment after the load ends.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ok &= save(info, out, u"informacion-productos"_s);
    return ok;
}

} // namespace

// The agenda with a few records saved from a search (one with a note) and typed-in contacts, its
// name search, and the contact dialog opened on a saved record.
bool agendaShots(TFormMain& form, const std::vector<GridData>& saved, const QString& out)
{
    TAgenda* agenda = form.pnlAgenda->agenda();
    if (agenda == nullptr || !agenda->isOpen())
        return false;
    int n = 0;
    for (const GridData& row : saved) {
        if (row.recno == 0 || ++n > 5)
            continue;
        agenda->AddRecord(row.recno);
        if (n == 2) {
            std::string note;
            TAgendaRecord r;
            r.row = agenda->FindRecord(row.recno, note);
            r.recno = row.recno;
            r.note = "Turno los martes a las 10.\r\nPreguntar por la receta.";
            agenda->RewriteRow(r);
        }
    }
    const auto contact = [agenda](const char* name, const char* phone, const char* locality, const char* mail,
                                  const char* note) {
        TAgendaRecord r;
        r.name = name;
        r.phone = phone;
        r.locality = locality;
        r.province = "BUENOS AIRES";
        r.mail = mail;
        r.note = note;
        agenda->AppendRow(r);
    };
    contact("\xC1LVAREZ, MAR\xCD" "A JOS\xC9", "(011) 4862-1190", "CABA", "mjalvarez@example.com.ar",
            "Cumplea\xF1os: 14 de marzo.");
    contact("PLOMERO - N\xC9STOR", "(0221) 15-555-0199", "LA PLATA", "", "");
    contact("Escuela N\xB0 12 (secretar\xED" "a)", "(011) 4701-3322", "VICENTE L\xD3PEZ", "", "");
    // The agenda keeps the filters of the section before it: a guide switch clears them.
    form.GuiaComercialExecute();
    form.AgendaExecute();
    settle(form);
    bool ok = save(form, out, u"agenda"_s);
    form.pnlAgenda->edBusquedaAgenda->setText(u"ez"_s);
    form.pnlAgenda->bbuBuscarAgenda->click();
    settle(form);
    ok &= save(form, out, u"agenda-busqueda"_s);
    form.pnlAgenda->bbuClearAgenda->click();
    settle(form);

    // The dialog on the saved record with the note: only the note can be changed.
    for (int i = 0; i < form.pnlLista->rows().rowCount(); ++i) {
        const ResultItem* item = form.pnlLista->rows().item(i);
        std::string note;
        if (item->grid.recno == 0 || agenda->FindRecord(item->grid.recno, note) == 0 || note.empty())
            continue;
        TfrmEditRecord dialog;
        dialog.setAgendaRow(item->grid.agendaRef);
        dialog.setRecordNumber(item->grid.recno);
        TAgendaRecord texts = AgendaSection::shownContact(*item);
        texts.note = note;
        dialog.setTexts(texts);
        ok &= save(dialog, out, u"agenda-contacto-guia"_s);
        break;
    }
    return ok;
}

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ortelia-screenshots DATA_FOLDER OUT_FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1"); // the browser engine refuses root otherwise
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    localization::prepare(app);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    QTemporaryDir lock;

    const std::string data = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString();
    StartupEnvironment env = StartupEnvironment::forFolder(data, lock.path().toStdString());
    env.browser = makeWebEngineInfoBrowser;

    TFormLogoInicial splash(u"Ortelia"_s);
    splash.Progress(u"Abriendo indice de palabras..."_s);
    bool ok = save(splash, out, u"splash"_s);

    TFormMain form(env);
    if (form.FormCreate() != TFormMain::Started::Ready)
        return 1;
    form.showNormal();
    form.resize(1280, 800);
    settle(form);
    ok &= save(form, out, u"home"_s);
    hover(form.pnlHome->spbuComercial1,
          QPoint(form.pnlHome->spbuComercial1->width() / 2, form.pnlHome->spbuComercial1->height() / 2));
    ok &= save(form, out, u"home-hover-comercial"_s);
    hover(form.pnlHome->imgHome, QPoint(10, 10));

    form.GuiaTelefonosExecute();
    settle(form);
    ok &= save(form, out, u"telefonos-intro"_s);
    form.pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    form.pnlSecciones->bbuBuscar->click();
    settle(form);
    ok &= save(form, out, u"telefonos-garcia"_s);
    ok &= save(*form.pnlBanner, out, u"banner-strip"_s);
    form.showNextBanners();
    ok &= save(*form.pnlBanner, out, u"banner-strip-next"_s);

    form.GuiaComercialExecute();
    settle(form);
    form.pnlSecciones->edBusqueda->setText(u"FARMACIA"_s);
    form.pnlSecciones->bbuBuscar->click();
    settle(form);
    ok &= save(form, out, u"comercial-farmacia"_s);
    const ResultListView farmacia = reportView(*form.pnlLista);
    const std::vector<GridData> farmaciaRows = form.pnlLista->shownRows();

    // A commercial search narrowed by a province and a rubro, with its see-also line.
    form.pnlSecciones->bbuLimpiar->click();
    settle(form);
    form.pnlSecciones->cbxProvincia->setCurrentIndex(std::min(1, form.pnlSecciones->cbxProvincia->count() - 1));
    QMetaObject::invokeMethod(form.pnlSecciones->cbxProvincia, "activated",
                              Q_ARG(int, form.pnlSecciones->cbxProvincia->currentIndex()));
    settle(form);
    for (int i = 1; i < form.pnlSecciones->cbxRubro->count(); ++i) {
        if (form.catalogs().RubroSeeAlso(form.pnlSecciones->cbxRubro->itemData(i).toInt()).empty())
            continue;
        form.pnlSecciones->cbxRubro->setCurrentIndex(i);
        QMetaObject::invokeMethod(form.pnlSecciones->cbxRubro, "activated", Q_ARG(int, i));
        break;
    }
    settle(form);
    ok &= save(form, out, u"comercial-provincia-rubro"_s);

    // A large telephone-guide result scrolled to its middle, with the grid, marks and a filter.
    form.GuiaTelefonosExecute();
    settle(form);
    form.pnlSecciones->edBusqueda->setText(u"GON"_s);
    form.pnlSecciones->bbuBuscar->click();
    settle(form);
    form.pnlLista->scrbRegistros->setValue(form.pnlLista->scrbRegistros->maximum() / 2);
    QTest::mouseClick(form.statusBar2, Qt::LeftButton, {}, form.statusBar2->iconRect(5).center());
    for (int row : {1, 2, 4}) {
        form.pnlLista->rows().selectRow(row);
        form.pnlLista->selectRecord(true);
    }
    settle(form);
    ok &= save(form, out, u"telefonos-medio-marcas"_s);
    QTest::mouseClick(form.statusBar2, Qt::LeftButton, {}, form.statusBar2->iconRect(2).center());
    settle(form);
    ok &= save(form, out, u"telefonos-filtro-web"_s);

    form.OrgOficialExecute();
    settle(form);
    ok &= save(form, out, u"organismos"_s);
    ok &= agendaShots(form, farmaciaRows, out);
    form.ActInformacionExecute();
    settle(form);
    {
        // The browser engine paints a moment after the page has loaded.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ok &= save(form, out, u"informacion"_s);
    form.resize(800, 600);
    form.GuiaTelefonosExecute();
    settle(form);
    ok &= save(form, out, u"telefonos-800x600"_s);
    ok &= save(*form.pnlBanner, out, u"banner-strip-800"_s);

    ok &= panelShots(form, out);
    // The contact dialog on a typed-in contact with a note.
    TfrmEditRecord contact;
    TAgendaRecord sample;
    sample.name = "FERRETER\xCD" "A LOS ANDES";
    sample.address = "AV. SAN MART\xCD" "N 1450";
    sample.locality = "MENDOZA";
    sample.province = "MENDOZA";
    sample.phone = "(0261) 425-8890";
    sample.mail = "ventas@losandes.com.ar";
    sample.web = "www.losandes.com.ar";
    sample.note = "Pedir presupuesto de tornillos.\r\nAtiende Don Jos\xE9 por la ma\xF1" "ana.";
    contact.setTexts(sample);
    ok &= save(contact, out, u"agenda-contacto"_s);

    TfAbout about(nullptr);
    ok &= save(about, out, u"about"_s);
    TfCreditos credits;
    ok &= save(credits, out, u"credits"_s);
    ok &= shootAds(data, out, farmacia, u"Sección Comercial"_s);

    TfrmRecomendar recommend;
    recommend.tFromNombre->setText(u"Ana Núñez"_s);
    recommend.tFromNombreExit();
    recommend.tFrom->setText(u"ana.nunez@example.org"_s);
    recommend.tTo->setText(u"amigo@example.net"_s);
    recommend.tNota->setPlainText(u"Te paso los datos de la farmacia que te comenté.\nAtienden las 24 horas."_s);
    ok &= save(recommend, out, u"recomendar"_s);
    TfrmConsultar query;
    query.setTargets(
        ContactTargets{3, 2, "ventas@example.com;info@example.com;", {"FARMACIA CENTRAL", "FERRETERIA PEREZ HNOS."}});
    query.tFromNombre->setText(u"Ana Núñez"_s);
    query.tFrom->setText(u"ana.nunez@example.org"_s);
    query.tNota->setPlainText(u"¿Tienen envío a domicilio?"_s);
    ok &= save(query, out, u"consultar"_s);
    return ok ? 0 : 1;
}
