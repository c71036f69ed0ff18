// ortelia-cli's printing commands, run as a program on a generated data set; the PDF files are read
// back with poppler, the ad pictures compared with the picture file's own.
#include "engine/PictureFile.h"
#include "platform/BlockLibrary.h"
#include "tests/ads/widgets/Poppler.h"
#include "tests/support/GuiTestApp.h"
#include "tests/support/SampleDataSet.h"

#include <QImage>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

namespace {

struct Ran {
    int status = -1;
    std::string out;
};

Ran cli(const std::string& args)
{
    Ran r;
    FILE* p = ::popen((std::string(ORTELIA_CLI) + " " + args + " 2>/dev/null").c_str(), "r");
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        r.out.append(buffer, n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

class CliPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        guiTestApp();
        s_data = std::make_unique<SampleDataSet>();
        std::string error;
        ASSERT_TRUE(s_data->make(3000, 7, &error)) << error;
    }
    static void TearDownTestSuite() { s_data.reset(); }
    static nlohmann::json json(const std::string& args)
    {
        const Ran r = cli(s_data->folder() + " " + args);
        EXPECT_EQ(r.status, 0) << args;
        return nlohmann::json::parse(r.out);
    }
    static inline std::unique_ptr<SampleDataSet> s_data;
    TempDir out{"cliprint"};
};

TEST_F(CliPrint, PrintWritesTheFirstPageOfTheSearch)
{
    const std::string pdf = out / "list.pdf";
    const Ran r = cli(s_data->folder() + " print --guide C --first 12 --section 'Sección Comercial' --pdf " + pdf);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(nlohmann::json::parse(r.out)["rows"], 12);
    ASSERT_EQ(poppler::pages(pdf), 1);
    const auto words = poppler::words(pdf);
    EXPECT_EQ(poppler::find(words, QStringLiteral("Comercial")).size(), 1u);
    // Each listed record's telephone is printed on its row, in list order.
    const auto found = json("search --guide C --first 12");
    int row = 0;
    for (const auto& recno : found["records"]) {
        const auto record = json("record " + std::to_string(recno.get<int>()));
        const std::string phone = record["phone"];
        if (phone.empty()) {
            ++row;
            continue;
        }
        // "(0351) 425-1234" is two words; the prefix-and-line one is unique enough with its row.
        const QString line = QString::fromStdString(phone.substr(phone.find(' ') + 1));
        bool onRow = false;
        for (const auto& w : poppler::find(words, line))
            onRow = onRow || std::abs(w.yMin - (240 + 15 * row) * poppler::kPointsPerPixel) < 2.5;
        EXPECT_TRUE(onRow) << phone << " row " << row;
        ++row;
    }
    EXPECT_EQ(cli(s_data->folder() + " print --guide C").status, 2); // no --pdf
    EXPECT_EQ(cli(s_data->folder() + " print --pdf " + pdf + " --bogus 1").status, 2);
}

TEST_F(CliPrint, AdsDrawAsTheViewerShowsThemOrFailWithStatusTwo)
{
    const int count = json("info")["ads"];
    ASSERT_GT(count, 5);
    EXPECT_EQ(cli(s_data->folder() + " ad 0 --png " + (out / "x.png")).status, 2);
    EXPECT_EQ(cli(s_data->folder() + " ad " + std::to_string(count + 1) + " --png " + (out / "x.png")).status, 2);
    PictureFile pictures;
    ASSERT_TRUE(pictures.open(s_data->file("Img.bld")));
    bool sawPicture = false, sawCard = false, sawWeb = false;
    for (int n = 1; n <= count; ++n) {
        const auto ad = json("ad " + std::to_string(n));
        const int kind = ad["kind"];
        const std::string png = out / ("ad" + std::to_string(n) + ".png");
        const Ran r = cli(s_data->folder() + " ad " + std::to_string(n) + " --png " + png);
        if (kind == 3) {
            EXPECT_EQ(r.status, 2) << n;
            sawWeb = true;
            continue;
        }
        ASSERT_EQ(r.status, 0) << n;
        const QImage drawn(QString::fromStdString(png));
        ASSERT_FALSE(drawn.isNull());
        if ((kind == 0 || kind == 5) && ad["image"] != 0) {
            // The picture at its natural size, pixel for pixel.
            std::vector<uint8_t> bytes;
            ASSERT_TRUE(pictures.read(ad["image"], bytes));
            const QImage expected = BlockLibrary::decode(bytes);
            ASSERT_EQ(drawn.size(), expected.size()) << n;
            EXPECT_EQ(drawn.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
            if (!sawPicture) {
                const std::string pdf = out / "ad.pdf";
                ASSERT_EQ(cli(s_data->folder() + " ad " + std::to_string(n) + " --pdf " + pdf).status, 0);
                EXPECT_EQ(poppler::find(poppler::words(pdf), QStringLiteral("adaptada")).size(), 1u);
            }
            sawPicture = true;
        } else {
            EXPECT_GE(drawn.width(), 301) << n; // a card
            sawCard = true;
        }
    }
    EXPECT_TRUE(sawPicture);
    EXPECT_TRUE(sawCard);
    EXPECT_TRUE(sawWeb);
}

} // namespace
