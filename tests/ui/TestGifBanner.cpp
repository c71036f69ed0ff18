// The banner decoder: frames and delays of animations, transparency and the three disposals,
// interlaced rows, frames reaching past the screen, and the refusal of damaged and oversized files.
#include "ui/GifBanner.h"

#include "builder/SampleGifWriter.h"

#include <gif_lib.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace {

// A hand-made GIF: a screen with a global palette and images placed anywhere, with their controls.
class GifWriter {
public:
    struct Image {
        int left = 0, top = 0, width = 0, height = 0;
        std::vector<uint8_t> pixels;
        int disposal = DISPOSAL_UNSPECIFIED;
        int transparent = NO_TRANSPARENT_COLOR;
        int delay = 0;
        bool interlaced = false;
    };

    static QByteArray write(int width, int height, const std::vector<uint32_t>& colours,
                            const std::vector<Image>& images, bool trailer = true)
    {
        QByteArray out;
        int error = 0;
        GifFileType* gif = EGifOpen(&out, append, &error);
        if (gif == nullptr)
            return {};
        EGifSetGifVersion(gif, true);
        std::vector<GifColorType> palette;
        for (const uint32_t c : colours)
            palette.push_back({uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        ColorMapObject* map = GifMakeMapObject(static_cast<int>(palette.size()), palette.data());
        EGifPutScreenDesc(gif, width, height, 8, 0, map);
        for (const Image& im : images) {
            GraphicsControlBlock gcb{im.disposal, false, im.delay, im.transparent};
            GifByteType ext[4];
            const size_t n = EGifGCBToExtension(&gcb, ext);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
            EGifPutImageDesc(gif, im.left, im.top, im.width, im.height, im.interlaced, nullptr);
            std::vector<GifPixelType> rows(im.pixels.begin(), im.pixels.end());
            const auto line = [&](int y) { EGifPutLine(gif, rows.data() + y * im.width, im.width); };
            if (im.interlaced) {
                const int offset[4] = {0, 4, 2, 1}, jump[4] = {8, 8, 4, 2};
                for (int pass = 0; pass < 4; ++pass)
                    for (int y = offset[pass]; y < im.height; y += jump[pass])
                        line(y);
            } else {
                for (int y = 0; y < im.height; ++y)
                    line(y);
            }
        }
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        if (!trailer && out.endsWith(';'))
            out.chop(1);
        return out;
    }

private:
    static int append(GifFileType* gif, const GifByteType* data, int n)
    {
        static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), n);
        return n;
    }
};

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kNone = 0;
const std::vector<uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

QRgb at(const GifBanner& b, int frame, int x, int y)
{
    return b.frames()[static_cast<size_t>(frame)].image.pixel(x, y);
}

GifWriter::Image solid(int left, int top, int w, int h, uint8_t index)
{
    GifWriter::Image im;
    im.left = left;
    im.top = top;
    im.width = w;
    im.height = h;
    im.pixels.assign(static_cast<size_t>(w * h), index);
    return im;
}

} // namespace

TEST(GifBanner, AnimationKeepsEveryFrameAndItsDelay)
{
    // Three full frames, as the sample's banners are made.
    const std::vector<std::vector<uint8_t>> frames = {std::vector<uint8_t>(6 * 2, 0), std::vector<uint8_t>(6 * 2, 1),
                                                      std::vector<uint8_t>(6 * 2, 2)};
    const std::vector<uint8_t> bytes = sample::encodeGif(6, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0}, frames, 35);
    const GifBanner b = GifBanner::decode(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    ASSERT_EQ(b.frames().size(), 3u);
    EXPECT_EQ(b.size(), QSize(6, 2));
    EXPECT_EQ(at(b, 0, 5, 1), kRed);
    EXPECT_EQ(at(b, 1, 0, 0), kGreen);
    EXPECT_EQ(at(b, 2, 3, 1), kBlue);
    for (const GifBanner::Frame& f : b.frames())
        EXPECT_EQ(f.delayMs, 350);

    // No delay at all is shown as the usual tenth of a second.
    auto still = solid(0, 0, 2, 2, 0);
    const GifBanner quick = GifBanner::decode(GifWriter::write(2, 2, kPalette, {still, still}));
    ASSERT_EQ(quick.frames().size(), 2u);
    EXPECT_EQ(quick.frames()[0].delayMs, GifBanner::kDefaultDelayMs);
}

TEST(GifBanner, TransparencyAndDisposalBuildEachFrameOnTheLast)
{
    // Frame 1: the whole 4 x 2 screen red, kept. Frame 2: a 2 x 2 patch at x = 2, green with one
    // transparent pixel, then cleared to the background. Frame 3: one blue pixel at (0, 0), then
    // restored to what was before it. Frame 4: one green pixel at (1, 0).
    auto f1 = solid(0, 0, 4, 2, 0);
    f1.disposal = DISPOSE_DO_NOT;
    auto f2 = solid(2, 0, 2, 2, 1);
    f2.pixels[0] = 3;
    f2.transparent = 3;
    f2.disposal = DISPOSE_BACKGROUND;
    auto f3 = solid(0, 0, 1, 1, 2);
    f3.disposal = DISPOSE_PREVIOUS;
    auto f4 = solid(1, 0, 1, 1, 1);
    const GifBanner b = GifBanner::decode(GifWriter::write(4, 2, kPalette, {f1, f2, f3, f4}));
    ASSERT_EQ(b.frames().size(), 4u);
    EXPECT_EQ(at(b, 1, 2, 0), kRed) << "a transparent pixel shows the frame below";
    EXPECT_EQ(at(b, 1, 3, 0), kGreen);
    EXPECT_EQ(at(b, 1, 1, 1), kRed);
    EXPECT_EQ(at(b, 2, 0, 0), kBlue);
    EXPECT_EQ(at(b, 2, 3, 0), kNone) << "the patch was cleared after it was shown";
    EXPECT_EQ(at(b, 2, 2, 0), kNone);
    EXPECT_EQ(at(b, 3, 0, 0), kRed) << "the blue pixel was taken back";
    EXPECT_EQ(at(b, 3, 1, 0), kGreen);
    EXPECT_EQ(at(b, 3, 3, 1), kNone);
}

TEST(GifBanner, InterlacedRowsAndFramesPastTheScreen)
{
    // Ten rows, each its own colour index, stored interlaced.
    GifWriter::Image rows = solid(0, 0, 1, 10, 0);
    for (int y = 0; y < 10; ++y)
        rows.pixels[static_cast<size_t>(y)] = static_cast<uint8_t>(y % 3);
    rows.interlaced = true;
    const GifBanner b = GifBanner::decode(GifWriter::write(1, 10, kPalette, {rows}));
    ASSERT_EQ(b.frames().size(), 1u);
    const QRgb colour[3] = {kRed, kGreen, kBlue};
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(at(b, 0, 0, y), colour[y % 3]) << "row " << y;

    // A frame reaching past the screen is cut at its edge.
    const GifBanner cut = GifBanner::decode(GifWriter::write(4, 2, kPalette, {solid(2, 1, 5, 3, 2)}));
    ASSERT_EQ(cut.frames().size(), 1u);
    EXPECT_EQ(cut.size(), QSize(4, 2));
    EXPECT_EQ(at(cut, 0, 2, 1), kBlue);
    EXPECT_EQ(at(cut, 0, 3, 1), kBlue);
    EXPECT_EQ(at(cut, 0, 1, 1), kNone);
    EXPECT_EQ(at(cut, 0, 3, 0), kNone);
}

TEST(GifBanner, DamagedOrOversizedFilesGiveNothing)
{
    const QByteArray good = GifWriter::write(8, 8, kPalette, {solid(0, 0, 8, 8, 1), solid(0, 0, 8, 8, 2)});
    ASSERT_EQ(GifBanner::decode(good).frames().size(), 2u);

    EXPECT_TRUE(GifBanner::decode(QByteArray()).isNull());
    EXPECT_TRUE(GifBanner::decode(QByteArray("GIF89a not really a picture")).isNull());
    EXPECT_TRUE(GifBanner::decode(QByteArray(4096, '\xA5')).isNull());
    // Cut inside the second image's pixels: damaged, not half shown.
    EXPECT_TRUE(GifBanner::decode(good.left(good.size() - 6)).isNull());
    // Only the trailer missing: the complete frames stay.
    EXPECT_EQ(GifBanner::decode(GifWriter::write(8, 8, kPalette, {solid(0, 0, 8, 8, 1)}, false)).frames().size(), 1u);

    // A screen beyond the limit is refused before anything is decoded.
    EXPECT_TRUE(
        GifBanner::decode(GifWriter::write(GifBanner::kMaxSide + 1, 1, kPalette, {solid(0, 0, 1, 1, 0)})).isNull());
    // An animation longer than the limit keeps its first frames.
    const std::vector<GifWriter::Image> many(GifBanner::kMaxFrames + 5, solid(0, 0, 1, 1, 0));
    EXPECT_EQ(GifBanner::decode(GifWriter::write(1, 1, kPalette, many)).frames().size(),
              static_cast<size_t>(GifBanner::kMaxFrames));
    EXPECT_TRUE(GifBanner::load(u"/nonexistent/banners/0/1.gif"_qs).isNull());
}
