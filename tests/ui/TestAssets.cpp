// The built-in picture set: a picture that is missing from the resource file, does not parse or has
// the wrong size shows as an empty or misplaced control, with no error anywhere else.
#include "tests/support/GuiTestApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const QString kAssetDir = QStringLiteral(ORTELIA_SOURCE_DIR "/ui/assets");

struct Size {
    int w;
    int h;
};

// Pictures drawn once per colour scheme, as name_1.svg and name_2.svg; the controls are laid out for
// these sizes.
const std::map<std::string, Size> kPerScheme = {
    {"tab_home", {92, 28}},
    {"tab_comercial", {92, 28}},
    {"tab_telefonos", {92, 28}},
    {"tab_orgoficial", {92, 28}},
    {"tab_agenda", {92, 28}},
    {"tab_informacion", {92, 28}},
    {"fondoSolapas", {32, 31}},
    {"btn_imprimir", {80, 19}},
    {"btn_agendar", {80, 19}},
    {"btn_delagenda_on", {96, 19}},
    {"btn_marcar", {104, 19}},
    {"btn_desmarcar", {116, 19}},
    {"btn_seleccionados_on", {112, 19}},
    {"btn_seleccionados_off", {112, 19}},
    {"btnRecomendarSelected", {100, 19}},
    {"btnMailSelected", {100, 19}},
    {"bbuBuscar", {72, 22}},
    {"bbuLimpiar", {72, 22}},
    {"btn_help", {20, 20}},
    {"vertBar", {2, 88}},
    {"imgVerTambien", {32, 20}},
    {"imgVerTambien_none", {32, 20}},
    {"FondoBarra", {32, 101}},
    {"FondoPanel2", {32, 19}},
    {"imgSecciones", {650, 101}},
    {"imgBanners", {32, 78}},
    {"logo", {186, 101}},
};

const std::map<std::string, Size> kSingle = {
    {"tab_home_on", {92, 28}},        {"tab_comercial_on", {92, 28}}, {"tab_telefonos_on", {92, 28}},
    {"tab_orgoficial_on", {92, 28}},  {"tab_agenda_on", {92, 28}},    {"tab_informacion_on", {92, 28}},
    {"home_home", {89, 22}},          {"home_comercial", {116, 22}},  {"home_telefonos", {116, 22}},
    {"home_orgoficial", {133, 22}},   {"home_agenda", {90, 22}},      {"home_informacion", {113, 22}},
    {"bbuNuevoAgenda", {110, 22}},    {"home_top_left", {8, 42}},     {"home_top", {16, 42}},
    {"home_top_right", {8, 42}},      {"home_bottom_left", {25, 35}}, {"home_bottom", {16, 35}},
    {"home_bottom_right", {319, 35}}, {"home_central", {745, 365}},   {"home_text0", {310, 190}},
    {"home_text1", {310, 190}},       {"home_text2", {310, 190}},     {"home_text3", {310, 190}},
    {"home_text4", {310, 190}},       {"home_text5", {310, 190}},     {"splash", {398, 301}},
    {"busqueDatos", {420, 160}},      {"DDN_Image1", {600, 28}},      {"DDI_Image1", {600, 28}},
    {"NU_Image1", {600, 28}},         {"about", {320, 300}},          {"app_icon", {64, 64}},
};

std::map<std::string, Size> requiredPictures()
{
    std::map<std::string, Size> all = kSingle;
    for (const auto& [name, size] : kPerScheme) {
        all[name + "_1"] = size;
        all[name + "_2"] = size;
    }
    for (int i = 0; i <= 16; ++i)
        all[QStringLiteral("icon_%1").arg(i, 2, 10, QLatin1Char('0')).toStdString()] = {16, 16};
    return all;
}

struct Qrc {
    std::vector<QString> prefixes;
    std::vector<QString> files;
    QString error;
};

Qrc readQrc()
{
    Qrc qrc;
    QFile f(kAssetDir + QStringLiteral("/assets.qrc"));
    if (!f.open(QIODevice::ReadOnly)) {
        qrc.error = f.errorString();
        return qrc;
    }
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("qresource"))
            qrc.prefixes.push_back(xml.attributes().value(QLatin1String("prefix")).toString());
        else if (xml.name() == QLatin1String("file"))
            qrc.files.push_back(xml.readElementText().trimmed());
    }
    if (xml.hasError())
        qrc.error = xml.errorString();
    return qrc;
}

QString baseName(const QString& file)
{
    return QFileInfo(file).completeBaseName();
}

std::string describe(QSizeF s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()).toStdString();
}

TEST(Assets, ResourceFileListsEveryPictureOnceUnderTheAssetsPrefix)
{
    const Qrc qrc = readQrc();
    ASSERT_TRUE(qrc.error.isEmpty()) << qrc.error.toStdString();
    ASSERT_EQ(qrc.prefixes.size(), 1u);
    EXPECT_EQ(qrc.prefixes.front(), QStringLiteral("/assets"));

    std::set<QString> listed;
    for (const QString& file : qrc.files) {
        EXPECT_TRUE(listed.insert(file).second) << "listed twice: " << file.toStdString();
        EXPECT_TRUE(QFileInfo::exists(kAssetDir + QLatin1Char('/') + file)) << "missing: " << file.toStdString();
    }
    const QStringList onDisk = QDir(kAssetDir).entryList({QStringLiteral("*.svg")}, QDir::Files);
    ASSERT_FALSE(onDisk.isEmpty());
    for (const QString& file : onDisk)
        EXPECT_TRUE(listed.count(file)) << "not in assets.qrc: " << file.toStdString();
}

TEST(Assets, EveryRequiredPictureIsListedWithItsSize)
{
    const Qrc qrc = readQrc();
    ASSERT_TRUE(qrc.error.isEmpty()) << qrc.error.toStdString();
    std::map<std::string, QString> byName;
    for (const QString& file : qrc.files)
        byName[baseName(file).toStdString()] = file;

    for (const auto& [name, size] : requiredPictures()) {
        const auto it = byName.find(name);
        if (it == byName.end()) {
            ADD_FAILURE() << "required picture not listed: " << name;
            continue;
        }
        QSvgRenderer svg(kAssetDir + QLatin1Char('/') + it->second);
        ASSERT_TRUE(svg.isValid()) << name;
        EXPECT_EQ(describe(svg.defaultSize()), describe(QSizeF(size.w, size.h))) << name;
    }
}

// A picture can parse and still come out wrong: drawn at the wrong scale (viewBox differing from
// the size) or empty because the renderer skipped what it does not support.
TEST(Assets, EveryListedPictureRendersAtItsOwnScale)
{
    const Qrc qrc = readQrc();
    ASSERT_TRUE(qrc.error.isEmpty()) << qrc.error.toStdString();
    for (const QString& file : qrc.files) {
        const std::string name = file.toStdString();
        QSvgRenderer svg(kAssetDir + QLatin1Char('/') + file);
        ASSERT_TRUE(svg.isValid()) << name;
        const QSize size = svg.defaultSize();
        ASSERT_FALSE(size.isEmpty()) << name;
        EXPECT_EQ(svg.viewBoxF().topLeft(), QPointF(0, 0)) << name;
        EXPECT_EQ(describe(svg.viewBoxF().size()), describe(size)) << name << " viewBox";

        QImage img(size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter painter(&img);
        svg.render(&painter);
        painter.end();
        int opaque = 0;
        for (int y = 0; y < img.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x)
                opaque += qAlpha(line[x]) > 0 ? 1 : 0;
        }
        // even the thinnest picture, a separator line, covers a tenth of its area
        EXPECT_GT(opaque * 10, size.width() * size.height()) << name << " renders almost nothing";
    }
}

// The renderer silently drops these, so a picture using them would look different in the program
// than in a browser.
TEST(Assets, PicturesUseOnlyWhatTheRendererDraws)
{
    const QStringList unsupported = {QStringLiteral("<filter"),   QStringLiteral("filter="),
                                     QStringLiteral("<mask"),     QStringLiteral("mask="),
                                     QStringLiteral("<style"),    QStringLiteral("<foreignObject"),
                                     QStringLiteral("<image"),    QStringLiteral("href=\"http"),
                                     QStringLiteral("clip-path"), QStringLiteral("<pattern")};
    const QStringList onDisk = QDir(kAssetDir).entryList({QStringLiteral("*.svg")}, QDir::Files);
    ASSERT_FALSE(onDisk.isEmpty());
    for (const QString& file : onDisk) {
        QFile f(kAssetDir + QLatin1Char('/') + file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        for (const QString& feature : unsupported)
            EXPECT_FALSE(text.contains(feature)) << file.toStdString() << " uses " << feature.toStdString();
    }
}

// The shared test application, made before the first test.
[[maybe_unused]] const ::testing::Environment* const kGuiApp =
    ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment);

} // namespace
