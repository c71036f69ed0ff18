#include "builder/PlainPictureMaker.h"
#include "builder/SampleGifWriter.h"
#include "builder/SamplePngWriter.h"
#include "builder/SampleRandom.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// An independent reader for what the encoder writes: zlib streams whose blocks are stored or use
// the fixed Huffman codes. Fails (false) on anything else or on damage.
class Inflater {
public:
    Inflater(const std::vector<uint8_t>& in) : m_in(in) {}

    bool run(std::vector<uint8_t>& out)
    {
        if (m_in.size() < 6 || (m_in[0] & 0x0F) != 8 || ((m_in[0] << 8) | m_in[1]) % 31 != 0)
            return false;
        m_pos = 2;
        bool last = false;
        while (!last) {
            last = bits(1) == 1;
            const uint32_t type = bits(2);
            if (m_bad)
                return false;
            if (type == 0) {
                m_count = 0; // stored blocks start on a byte boundary
                if (m_pos + 4 > m_in.size())
                    return false;
                const size_t length = m_in[m_pos] | m_in[m_pos + 1] << 8;
                m_pos += 4;
                if (m_pos + length > m_in.size())
                    return false;
                out.insert(out.end(), m_in.begin() + static_cast<ptrdiff_t>(m_pos),
                           m_in.begin() + static_cast<ptrdiff_t>(m_pos + length));
                m_pos += length;
            } else if (type == 1) {
                if (!fixedBlock(out))
                    return false;
            } else {
                return false;
            }
        }
        if (m_pos + 4 > m_in.size())
            return false;
        const uint32_t adler =
            static_cast<uint32_t>(m_in[m_pos]) << 24 | m_in[m_pos + 1] << 16 | m_in[m_pos + 2] << 8 | m_in[m_pos + 3];
        return adler == sample::adler32(out.data(), out.size()) && m_pos + 4 == m_in.size();
    }

private:
    uint32_t bits(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (m_count == 0) {
                if (m_pos >= m_in.size()) {
                    m_bad = true;
                    return 0;
                }
                m_byte = m_in[m_pos++];
                m_count = 8;
            }
            v |= static_cast<uint32_t>(m_byte & 1) << i;
            m_byte >>= 1;
            --m_count;
        }
        return v;
    }
    // Huffman codes arrive most significant bit first.
    uint32_t code(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = v << 1 | bits(1);
        return v;
    }
    int symbol()
    {
        uint32_t c = code(7);
        if (c <= 0x17)
            return static_cast<int>(256 + c);
        c = c << 1 | code(1);
        if (c >= 0x30 && c <= 0xBF)
            return static_cast<int>(c - 0x30);
        if (c >= 0xC0 && c <= 0xC7)
            return static_cast<int>(280 + c - 0xC0);
        c = c << 1 | code(1);
        return static_cast<int>(144 + c - 0x190);
    }
    bool fixedBlock(std::vector<uint8_t>& out)
    {
        static const int lengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const int lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                            2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const int distBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                         33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static const int distExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                          6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        for (;;) {
            const int s = symbol();
            if (m_bad)
                return false;
            if (s < 256) {
                out.push_back(static_cast<uint8_t>(s));
            } else if (s == 256) {
                return true;
            } else {
                if (s > 285)
                    return false;
                const int length = lengthBase[s - 257] + static_cast<int>(bits(lengthExtra[s - 257]));
                const uint32_t d = code(5);
                if (d > 29)
                    return false;
                const size_t distance = static_cast<size_t>(distBase[d] + static_cast<int>(bits(distExtra[d])));
                if (m_bad || distance > out.size() || distance > 32768)
                    return false;
                for (int i = 0; i < length; ++i)
                    out.push_back(out[out.size() - distance]);
            }
        }
    }

    const std::vector<uint8_t>& m_in;
    size_t m_pos = 0;
    uint8_t m_byte = 0;
    int m_count = 0;
    bool m_bad = false;
};

std::vector<uint8_t> inflate(const std::vector<uint8_t>& z)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE(Inflater(z).run(out));
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
        EXPECT_EQ(be32(png, at + 8 + length), sample::crc32(png.data() + at + 4, length + 4)) << c.type;
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
    const std::string text = "123456789";
    EXPECT_EQ(sample::crc32(reinterpret_cast<const uint8_t*>(text.data()), text.size()), 0xCBF43926u);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(sample::adler32(reinterpret_cast<const uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
    EXPECT_EQ(sample::adler32(nullptr, 0), 1u);
}

TEST(SamplePngWriter, CompressedDataInflatesBackExactly)
{
    std::vector<std::vector<uint8_t>> inputs = {{}, {42}, std::vector<uint8_t>(1000, 7)};
    inputs.push_back(noise(5000, 1, 256)); // literals of both code lengths
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
