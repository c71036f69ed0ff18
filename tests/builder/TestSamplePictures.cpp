#include "builder/PlainPictureMaker.h"
#include "builder/SampleGifWriter.h"
#include "builder/SamplePngWriter.h"
#include "builder/SampleRandom.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>

namespace {

// zlib's own reader: whatever level or block kinds the writer picked, the bytes must come back.
std::vector<uint8_t> inflate(const std::vector<uint8_t>& z)
{
    std::vector<uint8_t> out(1u << 22);
    uLongf size = out.size();
    EXPECT_EQ(::uncompress(out.data(), &size, z.data(), static_cast<uLong>(z.size())), Z_OK);
    out.resize(size);
    return out;
}

uint32_t be32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

// The chunks of a PNG file, every CRC checked.
std::vector<Chunk> chunks(const std::vector<uint8_t>& png)
{
    std::vector<Chunk> out;
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) {
        ADD_FAILURE() << "no PNG signature";
        return out;
    }
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = be32(png, at);
        if (at + 12 + length > png.size()) {
            ADD_FAILURE() << "chunk runs past the end";
            return out;
        }
        Chunk c{std::string(png.begin() + static_cast<ptrdiff_t>(at + 4), png.begin() + static_cast<ptrdiff_t>(at + 8)),
                std::vector<uint8_t>(png.begin() + static_cast<ptrdiff_t>(at + 8),
                                     png.begin() + static_cast<ptrdiff_t>(at + 8 + length))};
        EXPECT_EQ(be32(png, at + 8 + length), ::crc32(0, png.data() + at + 4, length + 4)) << c.type;
        out.push_back(std::move(c));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return out;
}

struct DecodedGif {
    int width = 0, height = 0, frames = 0, delay = -1;
    bool loops = false;
    std::vector<uint32_t> palette;
    std::vector<std::vector<uint8_t>> pixels;
};

int readFromVector(GifFileType* gif, GifByteType* data, int length)
{
    auto* source = static_cast<std::pair<const std::vector<uint8_t>*, size_t>*>(gif->UserData);
    const size_t n = std::min(static_cast<size_t>(length), source->first->size() - source->second);
    std::memcpy(data, source->first->data() + source->second, n);
    source->second += n;
    return static_cast<int>(n);
}

// Read back through giflib's decoder.
bool decodeGif(const std::vector<uint8_t>& bytes, DecodedGif& out)
{
    std::pair<const std::vector<uint8_t>*, size_t> source(&bytes, 0);
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readFromVector, &error);
    if (!gif)
        return false;
    const bool ok = DGifSlurp(gif) == GIF_OK;
    if (ok) {
        out.width = gif->SWidth;
        out.height = gif->SHeight;
        out.frames = gif->ImageCount;
        for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType& c = gif->SColorMap->Colors[i];
            out.palette.push_back(static_cast<uint32_t>(c.Red) << 16 | c.Green << 8 | c.Blue);
        }
        for (int f = 0; f < gif->ImageCount; ++f) {
            const SavedImage& image = gif->SavedImages[f];
            out.pixels.emplace_back(image.RasterBits,
                                    image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
            GraphicsControlBlock control;
            if (DGifSavedExtensionToGCB(gif, f, &control) == GIF_OK)
                out.delay = control.DelayTime;
        }
        // giflib files the extensions before an image under that image.
        for (int f = 0; f < gif->ImageCount; ++f) {
            const SavedImage& image = gif->SavedImages[f];
            for (int e = 0; e < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& block = image.ExtensionBlocks[e];
                if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                    std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0)
                    out.loops = true;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return ok;
}

std::vector<uint8_t> noise(size_t n, uint64_t seed, uint32_t alphabet)
{
    sample::Random random(seed);
    std::vector<uint8_t> out(n);
    for (uint8_t& b : out)
        b = static_cast<uint8_t>(random.below(alphabet));
    return out;
}

} // namespace

TEST(SamplePngWriter, ChecksumsMatchTheirStandards)
{
    // Every PNG ends with the same empty IEND chunk, whose CRC-32 the format's readers know.
    const std::vector<uint8_t> png = sample::encodePng(1, 1, {0}, {0xFFFFFF});
    ASSERT_GE(png.size(), 12u);
    const std::vector<uint8_t> iend(png.end() - 12, png.end());
    EXPECT_EQ(iend, (std::vector<uint8_t>{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
    // The zlib stream's trailer is the Adler-32 of the rows (here the filter byte and index 0).
    const std::vector<uint8_t> z = sample::zlibCompress(png.data(), 0);
    EXPECT_EQ(std::vector<uint8_t>(z.end() - 4, z.end()), (std::vector<uint8_t>{0, 0, 0, 1})) << "Adler-32 of nothing";
}

TEST(SamplePngWriter, CompressedDataInflatesBackExactly)
{
    std::vector<std::vector<uint8_t>> inputs = {{}, {42}, std::vector<uint8_t>(1000, 7)};
    inputs.push_back(noise(5000, 1, 256)); // incompressible
    inputs.push_back(noise(70000, 2, 3));  // short matches everywhere, past the 32 KiB window
    // Long repeats at distances beyond one row, as in pictures: every length and distance code.
    std::vector<uint8_t> rows = noise(1500, 3, 256);
    for (int k = 0; k < 40; ++k) {
        const std::vector<uint8_t> copy(rows.end() - 1500 + k * 13 % 700, rows.end());
        rows.insert(rows.end(), copy.begin(), copy.end());
    }
    inputs.push_back(rows);
    std::vector<uint8_t> far = noise(30000, 7, 256); // a repeat near the end of the window
    far.insert(far.end(), far.begin(), far.begin() + 2000);
    inputs.push_back(far);
    for (const auto& in : inputs) {
        const std::vector<uint8_t> z = sample::zlibCompress(in.data(), in.size());
        EXPECT_EQ(inflate(z), in) << in.size() << " bytes";
        EXPECT_EQ(sample::zlibCompress(in.data(), in.size()), z) << "the same bytes every time";
    }
    EXPECT_LT(sample::zlibCompress(inputs[2].data(), inputs[2].size()).size(), 30u) << "runs are coded as matches";
}

TEST(SamplePngWriter, WritesAPaletteImageThatReadsBack)
{
    const int w = 37, h = 11;
    std::vector<uint8_t> pixels = noise(static_cast<size_t>(w * h), 4, 5);
    const std::vector<uint32_t> palette = {0xFFFFFF, 0x000000, 0xC8102E, 0x0B3D91, 0x123456};
    const std::vector<uint8_t> png = sample::encodePng(w, h, pixels, palette);
    const std::vector<Chunk> c = chunks(png);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].type, "IHDR");
    EXPECT_EQ(be32(c[0].data, 0), static_cast<uint32_t>(w));
    EXPECT_EQ(be32(c[0].data, 4), static_cast<uint32_t>(h));
    EXPECT_EQ(c[0].data[8], 8);
    EXPECT_EQ(c[0].data[9], 3);
    EXPECT_EQ(c[1].type, "PLTE");
    ASSERT_EQ(c[1].data.size(), 15u);
    EXPECT_EQ(c[1].data[6], 0xC8);
    EXPECT_EQ(c[2].type, "IDAT");
    EXPECT_EQ(c[3].type, "IEND");
    const std::vector<uint8_t> rows = inflate(c[2].data);
    ASSERT_EQ(rows.size(), static_cast<size_t>((w + 1) * h));
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(rows[static_cast<size_t>(y * (w + 1))], 0) << "filter byte";
        EXPECT_TRUE(std::equal(pixels.begin() + y * w, pixels.begin() + (y + 1) * w, rows.begin() + y * (w + 1) + 1));
    }
}

TEST(SamplePngWriter, RefusesInconsistentInput)
{
    const std::vector<uint32_t> palette = {0xFFFFFF, 0x000000};
    EXPECT_TRUE(sample::encodePng(2, 2, {0, 1, 1, 0}, palette).size() > 8);
    EXPECT_TRUE(sample::encodePng(2, 2, {0, 1, 1}, palette).empty());
    EXPECT_TRUE(sample::encodePng(2, 2, {0, 1, 2, 0}, palette).empty()) << "index beyond the palette";
    EXPECT_TRUE(sample::encodePng(2, 2, {0, 0, 0, 0}, {}).empty());
    EXPECT_TRUE(sample::encodePng(0, 2, {}, palette).empty());
    EXPECT_TRUE(sample::encodePng(-1, -4, {0, 0, 0, 0}, palette).empty());
}

TEST(SampleGifWriter, FramesReadBackThroughGiflib)
{
    const int w = 20, h = 6;
    const std::vector<uint32_t> palette = {0x000000, 0xFFFFFF, 0xFF0000};
    const std::vector<std::vector<uint8_t>> frames = {noise(w * h, 5, 3), noise(w * h, 6, 3)};
    DecodedGif gif;
    ASSERT_TRUE(decodeGif(sample::encodeGif(w, h, palette, frames, 150), gif));
    EXPECT_EQ(gif.width, w);
    EXPECT_EQ(gif.height, h);
    ASSERT_EQ(gif.frames, 2);
    EXPECT_EQ(gif.pixels, frames);
    ASSERT_EQ(gif.palette.size(), 4u) << "padded to a power of two";
    EXPECT_EQ(gif.palette[2], 0xFF0000u);
    EXPECT_EQ(gif.delay, 150);
    EXPECT_TRUE(gif.loops);

    DecodedGif still;
    ASSERT_TRUE(decodeGif(sample::encodeGif(w, h, palette, {frames[0]}, 0), still));
    EXPECT_EQ(still.frames, 1);
    EXPECT_FALSE(still.loops);

    EXPECT_TRUE(sample::encodeGif(w, h, palette, {}, 10).empty());
    EXPECT_TRUE(sample::encodeGif(w, h, palette, {std::vector<uint8_t>(w * h, 3)}, 10).empty());
    EXPECT_TRUE(sample::encodeGif(w, h + 1, palette, frames, 10).empty());
}

TEST(PlainPictureMaker, DrawsAdsAtTheRequestedSizeAlwaysTheSame)
{
    const PlainPictureMaker maker;
    AdPictureRequest request;
    request.width = 300;
    request.height = 200;
    request.lines = {"FERRETERIA EL PROGRESO", "TODO PARA LA CONSTRUCCION", "TEL. (0351) 428-5600"};
    std::vector<uint8_t> previous;
    for (int layout = 0; layout < 4; ++layout) {
        request.theme.layout = layout;
        const std::vector<uint8_t> png = maker.adPicture(request);
        const std::vector<Chunk> c = chunks(png);
        ASSERT_FALSE(c.empty());
        EXPECT_EQ(be32(c[0].data, 0), 300u);
        EXPECT_EQ(be32(c[0].data, 4), 200u);
        const std::vector<uint8_t> rows = inflate(c[2].data);
        EXPECT_EQ(rows.size(), 301u * 200u);
        EXPECT_EQ(maker.adPicture(request), png) << "deterministic";
        EXPECT_NE(png, previous) << "each layout looks different";
        previous = png;
    }
    request.lines.clear();
    EXPECT_FALSE(maker.adPicture(request).empty()) << "no text still gives a picture";
    request.width = 10;
    EXPECT_TRUE(maker.adPicture(request).empty());
}

TEST(PlainPictureMaker, BannersAnimateTheirFrames)
{
    const PlainPictureMaker maker;
    BannerRequest request;
    request.frames = {{"ORTELIA", "GUIA TELEFONICA"}, {"ANUNCIE AQUI"}, {"A", "B", "C"}};
    request.frameDelay = 120;
    DecodedGif gif;
    ASSERT_TRUE(decodeGif(maker.banner(request), gif));
    EXPECT_EQ(gif.width, 468);
    EXPECT_EQ(gif.height, 60);
    ASSERT_EQ(gif.frames, 3);
    EXPECT_NE(gif.pixels[0], gif.pixels[1]);
    EXPECT_EQ(gif.delay, 120);
    EXPECT_EQ(maker.banner(request), maker.banner(request));
    request.frames.clear();
    EXPECT_TRUE(maker.banner(request).empty());
}
