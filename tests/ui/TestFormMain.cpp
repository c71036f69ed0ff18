// The main window: start-up in its order, the refusals (no data, a second copy), a damaged data
// folder, and the section switches with their regions, buttons, texts, colours and shortcuts.
#include "tests/ui/FormFixture.h"

#include "ui/AppearanceSettings.h"
#include "ui/ColumnSettings.h"
#include "ui/StatusBar2.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureButton.h"
#include "widgets/PicturePanel.h"

#include "engine/QdData.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

const QStringList kStartupTexts = {
    u"Configurando entorno..."_s,
    u"Abriendo datos..."_s,
    u"Abriendo indice de teléfonos..."_s,
    u"Abriendo indice de localidades..."_s,
    u"Abriendo indice de provincias..."_s,
    u"Abriendo indice de guías..."_s,
    u"Abriendo indice de palabras..."_s,
    u"Abriendo indice de rubros..."_s,
    u"Iniciando datos..."_s,
    u"Cargando provincias y localidades..."_s,
    u"Iniciando guías..."_s,
    u"Iniciando filtros..."_s,
    u"Iniciando filtros..."_s,
    u"Estableciendo filtro inicial..."_s,
    u"Abriendo avisos..."_s,
    u"Filtrando registros iniciales..."_s,
    u"Inicializando tablero..."_s,
    u"Iniciando dispositivo telefónico..."_s,
    u"Seleccionando pantalla inicial..."_s,
};

bool shown(const QWidget* w)
{
    return !w->isHidden();
}

// A key typed into the focused control of the window.
void typeKey(TFormMain& form, QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods)
{
    target->setFocus();
    QTest::keyClick(target, key, mods);
    waitIdle(form);
}

} // namespace

TEST(FormMainStartup, OpensEveryFileInOrderAndShowsTheHomePage)
{
    formTestApp();
    TempDir lock("lock");
    TFormMain form(testEnvironment(sharedSample().folder(), lock.path().string()));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    EXPECT_EQ(form.progressLog(), kStartupTexts);
    EXPECT_EQ(form.windowTitle(), u"Ortelia"_s);
    EXPECT_EQ(form.dataPath(), sharedSample().folder() + "/");
    EXPECT_EQ(form.section(), Section::Home);
    EXPECT_TRUE(form.sectionFlag(Section::Home));
    EXPECT_TRUE(shown(form.pnlHome));
    EXPECT_FALSE(shown(form.pnlBody));
    EXPECT_FALSE(shown(form.pnlSolapas));
    EXPECT_FALSE(shown(form.pnlBanner));
    EXPECT_TRUE(form.isMaximized());
    EXPECT_GE(form.minimumWidth(), 800);
    EXPECT_GE(form.minimumHeight(), 600);
    ASSERT_NE(form.recordStore(), nullptr);
    const BuildSummary& built = sharedSample().summary();
    EXPECT_EQ(form.recordStore()->RecordCount(), built.records[0] + built.records[1] + built.records[2]);
    ASSERT_NE(form.worker(), nullptr);
    EXPECT_TRUE(form.worker()->idle()) << "the worker sleeps until the first guide section";
    EXPECT_EQ(form.worker()->passesCompleted(), 0);
    EXPECT_EQ(form.pnlHome->homeText(), 0);
    // The clock writes at once, in its fixed format.
    EXPECT_TRUE(
        QRegularExpression(u"^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"_s).match(form.statusBar2->panelText(4)).hasMatch())
        << form.statusBar2->panelText(4).toStdString();
    // The header bars of the information panels carry their pictures.
    EXPECT_FALSE(form.DDN_Image1->picture().isNull());
    EXPECT_EQ(form.NU_Image1->size(), QSize(600, 28));
    // The window-wide settings file default: the example server.
    EXPECT_EQ(form.serverUrl(), "http://www.example.com/dynamicFiles/cd/");
}

TEST(FormMainStartup, CancelWithoutDataEndsBeforeAnythingIsOpened)
{
    formTestApp();
    TempDir lock("lock");
    messageboxes::clearShown();
    messageboxes::queueAnswer(QMessageBox::Ok); // search again: still nothing
    messageboxes::queueAnswer(QMessageBox::Cancel);
    TFormMain form(testEnvironment(std::string(), lock.path().string()));
    EXPECT_EQ(form.FormCreate(), TFormMain::Started::Cancelled);
    ASSERT_EQ(messageboxes::shown().size(), 2u);
    EXPECT_EQ(messageboxes::shown()[0].caption, u"Información"_s);
    EXPECT_EQ(messageboxes::shown()[0].text, u"Inserte el CD-ROM con los datos"_s);
    EXPECT_EQ(messageboxes::shown()[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.recordStore(), nullptr);
    EXPECT_EQ(form.worker(), nullptr);
    EXPECT_TRUE(form.progressLog().isEmpty());
}

TEST(FormMainStartup, DiscInsertedAfterTheQuestionIsFound)
{
    formTestApp();
    TempDir lock("lock");
    messageboxes::clearShown();
    messageboxes::queueAnswer(QMessageBox::Ok);
    StartupEnvironment env = testEnvironment(std::string(), lock.path().string());
    // The disc appears in the mount table only after the user answered OK once.
    auto asked = std::make_shared<int>(0);
    env.mountTable = [asked] {
        return ++*asked >= 2 ? std::string("/dev/sr0 /media/cdrom0 iso9660 ro 0 0\n") : std::string();
    };
    const std::string disc = sharedSample().folder();
    env.probe = [disc](const std::string& path) { return path == "/media/cdrom0/data" ? disc : std::string(); };
    TFormMain form(std::move(env));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    EXPECT_EQ(messageboxes::shown().size(), 1u);
    EXPECT_EQ(form.dataPath(), disc + "/");
}

TEST(FormMainStartup, SecondCopyEndsSilentlyAndTheFirstGoesOn)
{
    formTestApp();
    TempDir lock("lock");
    TFormMain first(testEnvironment(sharedSample().folder(), lock.path().string()));
    ASSERT_EQ(first.FormCreate(), TFormMain::Started::Ready);
    messageboxes::clearShown();
    {
        TFormMain second(testEnvironment(sharedSample().folder(), lock.path().string()));
        EXPECT_EQ(second.FormCreate(), TFormMain::Started::SecondInstance);
        EXPECT_FALSE(second.isVisible());
        EXPECT_EQ(second.recordStore(), nullptr);
    }
    EXPECT_TRUE(messageboxes::shown().empty());
    first.GuiaTelefonosExecute();
    EXPECT_TRUE(waitIdle(first));
    EXPECT_GT(first.worker()->matchCount(), 0)
        << first.worker()->passesCompleted() << " range " << first.worker()->accessBits()->selectedBounds().first
        << ".." << first.worker()->accessBits()->selectedBounds().last;
}

TEST(FormMainStartup, FolderWithoutOffsetTableStartsAndFindsNothing)
{
    formTestApp();
    TempDir copy("damaged");
    std::filesystem::copy(sharedSample().folder(), copy.path() / "data", std::filesystem::copy_options::recursive);
    std::filesystem::remove(copy.path() / "data" / "PK.idx");
    TempDir lock("lock");
    TFormMain form(testEnvironment((copy.path() / "data").string(), lock.path().string()));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    EXPECT_EQ(form.recordStore()->RecordCount(), 0);
    form.GuiaTelefonosExecute();
    ASSERT_TRUE(waitIdle(form));
    form.pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    QTest::mouseClick(form.pnlSecciones->bbuBuscar, Qt::LeftButton);
    ASSERT_TRUE(waitIdle(form));
    EXPECT_EQ(form.pnlLista->lvLista->topLevelItemCount(), 0);
    EXPECT_FALSE(form.pnlLista->pnlNoData->isHidden()) << "no passing record: the no-results panel covers the list";
}

TEST(FormMainStartup, WithoutPrinterPrintingStaysOffInEverySection)
{
    formTestApp();
    TempDir lock("lock");
    StartupEnvironment env = testEnvironment(sharedSample().folder(), lock.path().string());
    env.printers = nullptr;
    TFormMain form(std::move(env));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    EXPECT_FALSE(form.printerInstalled());
    form.GuiaComercialExecute();
    EXPECT_FALSE(form.printingEnabled());
    form.AgendaExecute();
    EXPECT_FALSE(form.printingEnabled());
    waitIdle(form);
}

using FormMainSections = FormFixture;

TEST_F(FormMainSections, CommercialShowsTheGuideWithRubrosAndSchemeOne)
{
    form->GuiaComercialExecute(form->spbuComercial);
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_EQ(form->section(), Section::Commercial);
    EXPECT_TRUE(form->sectionFlag(Section::Commercial));
    EXPECT_FALSE(form->sectionFlag(Section::Home));
    EXPECT_FALSE(shown(form->pnlHome));
    for (QWidget* w : {static_cast<QWidget*>(form->pnlSolapas), form->pnlBody, static_cast<QWidget*>(form->pnlBanner),
                       static_cast<QWidget*>(form->spbuHome), static_cast<QWidget*>(form->pnlLista),
                       static_cast<QWidget*>(form->Panel2), static_cast<QWidget*>(form->pnlSecciones),
                       static_cast<QWidget*>(form->pnlSecciones->cbxRubro)})
        EXPECT_TRUE(shown(w)) << w->objectName().toStdString();
    for (QWidget* w : {form->gbOrgOf, form->PnlInformacion, static_cast<QWidget*>(form->pnlOrgOf),
                       static_cast<QWidget*>(form->pnlAgenda), static_cast<QWidget*>(form->pnlInfoHeader),
                       static_cast<QWidget*>(form->btnDelFromAgenda)})
        EXPECT_FALSE(shown(w)) << w->objectName().toStdString();
    EXPECT_EQ(form->colourScheme(), 1);
    EXPECT_TRUE(form->printingEnabled());
    EXPECT_EQ(form->statusBar2->panelText(2), u"Sección Comercial"_s);
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(8), 100);
    EXPECT_TRUE(columnSettings().at(8).visible);
    EXPECT_GT(form->pnlSecciones->cbxRubro->count(), 1);
    EXPECT_EQ(form->pnlSecciones->cbxRubro->itemText(0), u"- TODOS -"_s);
    EXPECT_EQ(form->worker()->range(), 1);
    EXPECT_FALSE(form->pnlSecciones->searchDone());
    // The search columns: rubro first, then the text, then the criterion.
    EXPECT_EQ(form->pnlSecciones->cbxRubro->x(), 10);
    EXPECT_EQ(form->pnlSecciones->edBusqueda->x(), 176);
    EXPECT_EQ(form->pnlSecciones->cbxCriterio->x(), 336);
    EXPECT_EQ(form->pnlSecciones->edBusqueda0->x(), form->pnlSecciones->edBusqueda->x());
    EXPECT_EQ(form->pnlSecciones->edBusqueda1->geometry().right(), form->pnlSecciones->edBusqueda->geometry().right());
    EXPECT_EQ(form->spbuComercial->picture().cacheKey(), picture(appearance().spbuComercial).cacheKey());
    EXPECT_EQ(form->pnlSecciones->imgVerTambien->picture().cacheKey(),
              picture(appearance().scheme(1).imgVerTambien).cacheKey());
    EXPECT_EQ(form->focusWidget(), form->pnlSecciones->edBusqueda);
}

TEST_F(FormMainSections, TelephoneReplacesTheSchemeAndHidesTheRubros)
{
    form->GuiaComercialExecute();
    waitIdle(*form);
    const QColor commercialLabel = form->pnlSecciones->lbl_Provincia->palette().color(QPalette::WindowText);
    form->GuiaTelefonosExecute(form->spbuTelefonos);
    EXPECT_FALSE(form->pnlSecciones->cbxRubro->isEnabled());
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_EQ(form->colourScheme(), 2);
    EXPECT_EQ(form->statusBar2->panelText(2), u"Sección Alfabética"_s);
    EXPECT_FALSE(shown(form->pnlSecciones->cbxRubro));
    EXPECT_EQ(form->pnlLista->lvLista->columnWidth(8), 0);
    EXPECT_FALSE(columnSettings().at(8).visible);
    EXPECT_EQ(form->worker()->range(), 0);
    EXPECT_EQ(form->pnlSecciones->edBusqueda->x(), 10) << "columns back to search, criterion, rubro";
    EXPECT_EQ(form->pnlSecciones->cbxCriterio->x(), 176);
    EXPECT_EQ(form->pnlSecciones->lbl_Provincia->palette().color(QPalette::WindowText), QColor(63, 63, 63));
    EXPECT_NE(form->pnlSecciones->lbl_Provincia->palette().color(QPalette::WindowText), commercialLabel);
    EXPECT_EQ(form->logo->picture().cacheKey(), picture(appearance().scheme(2).logo).cacheKey());
    EXPECT_EQ(form->pnlSecciones->imgVerTambien->picture().cacheKey(),
              picture(appearance().scheme(2).imgVerTambien_none).cacheKey());
    EXPECT_EQ(form->pnlLista->lvLista->palette().color(QPalette::Base), QColor(235, 235, 235))
        << "the list colour is not part of a scheme";
}

TEST_F(FormMainSections, ProfessionalFromHomeStaysOnTheHomePage)
{
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(waitIdle(*form));
    EXPECT_TRUE(form->sectionFlag(Section::Professional));
    EXPECT_FALSE(form->sectionFlag(Section::Home));
    EXPECT_TRUE(shown(form->pnlHome));
    EXPECT_FALSE(shown(form->pnlBody));
    EXPECT_EQ(form->statusBar2->panelText(2), u"Sección Profesional"_s);
    EXPECT_EQ(form->worker()->range(), 2);
    EXPECT_EQ(form->pnlLista->lvLista->palette().color(QPalette::Base), QColor(203, 236, 243));
    // Once current, the switch returns at once.
    form->statusBar2->setPanelText(2, u"x"_s);
    form->GuiaProfesionalExecute();
    EXPECT_EQ(form->statusBar2->panelText(2), u"x"_s);
}

TEST_F(FormMainSections, ProfessionalFromTheAgendaKeepsAgendaMode)
{
    form->AgendaExecute(form->spbuAgenda);
    waitIdle(*form);
    EXPECT_TRUE(form->agendaMode());
    EXPECT_EQ(form->section(), Section::Agenda);
    for (Section s : {Section::Home, Section::Commercial, Section::Telephone, Section::Professional,
                      Section::OfficialBodies, Section::Information})
        EXPECT_FALSE(form->sectionFlag(s));
    EXPECT_EQ(form->pnlSecciones->lbl_Provincia->palette().color(QPalette::WindowText), QColor(127, 67, 13));
    EXPECT_TRUE(shown(form->btnDelFromAgenda));
    EXPECT_FALSE(shown(form->btnAgendar));
    EXPECT_FALSE(shown(form->btnMailSelected));
    EXPECT_EQ(form->worker()->range(), -1);
    form->GuiaProfesionalExecute();
    waitIdle(*form);
    EXPECT_TRUE(form->agendaMode());
}

TEST_F(FormMainSections, OfficialBodiesLoadOnceAndClearWhenLeftForAGuide)
{
    form->OrgOficialExecute(form->spbuOrgOficial);
    waitIdle(*form);
    EXPECT_EQ(form->officialBodiesLoads(), 1);
    EXPECT_FALSE(shown(form->Panel2));
    EXPECT_FALSE(shown(form->pnlLista));
    EXPECT_TRUE(shown(form->gbOrgOf));
    EXPECT_FALSE(form->printingEnabled());
    EXPECT_EQ(form->statusBar2->panelText(1), QString());
    EXPECT_EQ(form->statusBar2->panelText(2), u"Organismos Oficiales"_s);

    int clears = form->officialBodiesClears();
    form->AgendaExecute();
    waitIdle(*form);
    EXPECT_EQ(form->officialBodiesClears(), clears) << "the agenda does not clear the bodies search";

    form->OrgOficialExecute();
    waitIdle(*form);
    EXPECT_EQ(form->officialBodiesLoads(), 1);
    clears = form->officialBodiesClears();
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    EXPECT_EQ(form->officialBodiesClears(), clears + 1);
}

TEST_F(FormMainSections, InformationHidesTheActionBarAndRepeatsOnlyThePage)
{
    form->ActInformacionExecute(form->spbuInformacion);
    waitIdle(*form);
    EXPECT_EQ(form->section(), Section::Information);
    EXPECT_TRUE(shown(form->PnlInformacion));
    EXPECT_FALSE(shown(form->pnlLista));
    for (PictureButton* b :
         {form->btn_imprimir, form->btnAgendar, form->btnDelFromAgenda, form->btnSelAll, form->btnUnselectAll,
          form->btnShowSelected, form->btnMailSelected, form->btnRecomendarSelected})
        EXPECT_FALSE(shown(b)) << b->objectName().toStdString();
    EXPECT_EQ(form->statusBar2->panelText(2), u"Información Util"_s);
    form->statusBar2->setPanelText(2, u"x"_s);
    form->ActInformacionExecute(form->infoLinks[3]);
    EXPECT_EQ(form->statusBar2->panelText(2), u"x"_s) << "already shown: only the page changes";
}

TEST_F(FormMainSections, FiltersAndMarksResetByGuidesNotByTheAgenda)
{
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    {
        auto bits = form->worker()->accessBits();
        bits->SetRequired(plane::kAd, true); // the with-ad filter, as the status bar turns it on
        bits->SetBit(bits->selectedBounds().first, plane::kSelection, true);
    }
    form->AgendaExecute();
    waitIdle(*form);
    EXPECT_TRUE(form->worker()->accessBits()->IsRequired(plane::kAd));
    form->GuiaComercialExecute();
    waitIdle(*form);
    EXPECT_FALSE(form->worker()->accessBits()->IsRequired(plane::kAd));
}

TEST_F(FormMainSections, ShortcutsActInsideTextBoxes)
{
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    form->pnlSecciones->edBusqueda->setText(u"PEREZ"_s);
    form->pnlSecciones->edBusqueda->selectAll();
    QApplication::clipboard()->setText(u"antes"_s);
    typeKey(*form, form->pnlSecciones->edBusqueda, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(form->section(), Section::Commercial);
    EXPECT_EQ(QApplication::clipboard()->text(), u"antes"_s) << "Ctrl+C switched the section and copied nothing";
    typeKey(*form, form->pnlSecciones->edBusqueda, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(form->section(), Section::Telephone);
    typeKey(*form, form->pnlSecciones->edBusqueda, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form->section(), Section::OfficialBodies);
    typeKey(*form, form->tPalabraClave, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(form->section(), Section::Home);
}

TEST_F(FormMainSections, EnterSearchesAndEscapeClears)
{
    form->GuiaTelefonosExecute();
    waitIdle(*form);
    form->pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    typeKey(*form, form->pnlSecciones->edBusqueda, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(form->pnlSecciones->searchDone());
    EXPECT_GT(form->pnlLista->lvLista->topLevelItemCount(), 0);
    EXPECT_TRUE(form->statusBar2->panelText(1).startsWith(u"Registros encontrados: "_s));
    typeKey(*form, form->pnlSecciones->edBusqueda, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(form->pnlSecciones->searchDone());
    EXPECT_TRUE(form->pnlSecciones->edBusqueda->text().isEmpty());
}

TEST_F(FormMainSections, TabBarClosesUpFromItsStart)
{
    form->GuiaComercialExecute();
    waitIdle(*form);
    int x = 194;
    for (PictureButton* tab : {form->spbuHome, form->spbuComercial, form->spbuTelefonos, form->spbuOrgOficial,
                               form->spbuAgenda, form->spbuInformacion}) {
        EXPECT_EQ(tab->x(), x) << tab->objectName().toStdString();
        x += tab->width() + 4;
    }
    EXPECT_TRUE(form->spbuProfesional->isHidden());
    EXPECT_EQ(form->pnlSecciones->geometry(), QRect(235, 0, 650, 101));
    EXPECT_EQ(form->logo->geometry(), QRect(0, 0, 186, 101));
}

TEST(FormMainLanguage, StandardButtonsSpeakSpanish)
{
    formTestApp();
    QMessageBox box(QMessageBox::Information, u"Información"_s, u"x"_s, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove(u'&'), u"Aceptar"_s);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), u"Cancelar"_s);
    QMessageBox yesNo(QMessageBox::Question, u"Atención"_s, u"x"_s, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yesNo.button(QMessageBox::Yes)->text().remove(u'&'), u"Sí"_s);
    EXPECT_EQ(yesNo.button(QMessageBox::No)->text().remove(u'&'), u"No"_s);
    // The designed faces resolve to installed ones.
    EXPECT_EQ(QFontInfo(QFont(u"Verdana"_s)).family(), u"DejaVu Sans"_s);
    EXPECT_EQ(QFontInfo(QFont(u"MS Sans Serif"_s)).family(), u"Liberation Sans"_s);
}

TEST(FormMainStartup, EveryFileDamagedStillStartsWithEmptyLists)
{
    formTestApp();
    TempDir copy("garbage");
    std::filesystem::copy(sharedSample().folder(), copy.path() / "data", std::filesystem::copy_options::recursive);
    // Every file cut to a few bytes of noise.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(copy.path() / "data")) {
        if (!entry.is_regular_file())
            continue;
        std::FILE* f = std::fopen(entry.path().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite("\x7f\x01\xff\x10\x00\x42\x13", 1, 7, f);
        std::fclose(f);
    }
    TempDir lock("lock");
    TFormMain form(testEnvironment((copy.path() / "data").string(), lock.path().string()));
    ASSERT_EQ(form.FormCreate(), TFormMain::Started::Ready);
    form.GuiaComercialExecute();
    ASSERT_TRUE(waitIdle(form));
    EXPECT_LE(form.pnlSecciones->cbxRubro->count(), 1);
    form.pnlSecciones->edBusqueda->setText(u"GARCIA"_s);
    form.pnlSecciones->bbuBuscar->click();
    ASSERT_TRUE(waitIdle(form));
    EXPECT_EQ(form.pnlLista->lvLista->topLevelItemCount(), 0);
    form.OrgOficialExecute();
    form.ActInformacionExecute();
    form.HomeExecute();
    EXPECT_TRUE(waitIdle(form));
}
