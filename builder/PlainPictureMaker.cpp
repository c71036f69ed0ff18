#include "builder/PlainPictureMaker.h"

#include "builder/SampleGifWriter.h"
#include "builder/SamplePngWriter.h"
#include "builder/SampleText.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace {

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost pixel.
struct Glyph {
    unsigned char c;
    uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},  {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},  {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},  {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},  {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},  {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},  {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},  {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},  {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},  {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},  {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},  {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},  {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},  {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},  {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},  {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},  {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},  {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},  {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},  {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},  {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
    {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},  {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},  {'@', {0x0E, 0x11, 0x17, 0x15, 0x17, 0x10, 0x0F}},
    {'&', {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}},  {'\'', {0x0C, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}},
    {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},  {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},  {'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}},
    {'"', {0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00}},  {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {'*', {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}},  {0xB0, {0x0C, 0x12, 0x12, 0x0C, 0x00, 0x00, 0x00}}, // °
    {0xD1, {0x0D, 0x16, 0x11, 0x19, 0x15, 0x13, 0x11}},                                                     // Ñ
    {0xDC, {0x0A, 0x00, 0x11, 0x11, 0x11, 0x11, 0x0E}},                                                     // Ü
};

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kAdvance = 6;

constexpr std::array<int16_t, 256> makeGlyphIndex()
{
    std::array<int16_t, 256> index{};
    for (auto& i : index)
        i = -1;
    for (size_t g = 0; g < std::size(kGlyphs); ++g)
        index[kGlyphs[g].c] = static_cast<int16_t>(g);
    return index;
}
constexpr std::array<int16_t, 256> kGlyphIndex = makeGlyphIndex();

enum Colour : uint8_t { kBackground, kInk, kAccent, kLight, kDark, kWhite, kBlack, kSoft, kColours };

uint32_t mix(uint32_t a, uint32_t b, uint32_t num, uint32_t den)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * (den - num) + cb * num) / den) << shift;
    }
    return out;
}

std::vector<uint32_t> paletteOf(const PictureTheme& t)
{
    std::vector<uint32_t> p(kColours);
    p[kBackground] = t.background & 0xFFFFFF;
    p[kInk] = t.ink & 0xFFFFFF;
    p[kAccent] = t.accent & 0xFFFFFF;
    p[kLight] = mix(p[kAccent], p[kBackground], 1, 2);
    p[kDark] = mix(p[kAccent], 0x000000, 2, 5);
    p[kWhite] = 0xFFFFFF;
    p[kBlack] = 0x000000;
    p[kSoft] = mix(p[kInk], p[kBackground], 2, 3);
    return p;
}

class Canvas {
public:
    Canvas(int width, int height, uint8_t fill)
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill)
    {}

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] const std::vector<uint8_t>& pixels() const { return m_pixels; }

    // [x0, x1) x [y0, y1), clipped.
    void rect(int x0, int y0, int x1, int y1, uint8_t c)
    {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, m_width);
        y1 = std::min(y1, m_height);
        for (int y = y0; y < y1; ++y)
            std::fill_n(m_pixels.begin() + static_cast<ptrdiff_t>(y) * m_width + x0, std::max(0, x1 - x0), c);
    }
    void frame(int x0, int y0, int x1, int y1, int thickness, uint8_t c)
    {
        rect(x0, y0, x1, y0 + thickness, c);
        rect(x0, y1 - thickness, x1, y1, c);
        rect(x0, y0, x0 + thickness, y1, c);
        rect(x1 - thickness, y0, x1, y1, c);
    }
    void disc(int cx, int cy, int r, uint8_t c)
    {
        for (int y = -r; y <= r; ++y) {
            for (int x = -r; x <= r; ++x) {
                if (x * x + y * y <= r * r)
                    set(cx + x, cy + y, c);
            }
        }
    }
    // Diagonal stripes inside a rectangle.
    void stripes(int x0, int y0, int x1, int y1, int period, int width, uint8_t c)
    {
        for (int y = std::max(y0, 0); y < std::min(y1, m_height); ++y) {
            for (int x = std::max(x0, 0); x < std::min(x1, m_width); ++x) {
                if ((x + y) % period < width)
                    set(x, y, c);
            }
        }
    }

    static int textWidth(std::string_view text, int scale)
    {
        return text.empty() ? 0 : (static_cast<int>(text.size()) * kAdvance - 1) * scale;
    }
    // The largest scale up to maxScale at which text fits maxWidth; 0 when not even 1 does.
    static int fitScale(std::string_view text, int maxWidth, int maxScale)
    {
        for (int s = maxScale; s >= 1; --s) {
            if (textWidth(text, s) <= maxWidth)
                return s;
        }
        return 0;
    }
    // text (already in printed form) with its top-left corner at (x, y).
    void text(int x, int y, std::string_view text, int scale, uint8_t c, bool bold)
    {
        for (const char ch : text) {
            const int16_t g = kGlyphIndex[static_cast<unsigned char>(ch)];
            if (g >= 0) {
                for (int row = 0; row < kGlyphHeight; ++row) {
                    const uint8_t bits = kGlyphs[g].rows[row];
                    for (int col = 0; col < kGlyphWidth; ++col) {
                        if (bits & (0x10 >> col)) {
                            rect(x + col * scale, y + row * scale, x + (col + 1) * scale + (bold ? 1 : 0),
                                 y + (row + 1) * scale, c);
                        }
                    }
                }
            }
            x += kAdvance * scale;
        }
    }
    // Centred on cx, shrunk to maxWidth (cut when even the smallest size is too wide); the height
    // used.
    int centred(int cx, int y, std::string_view line, int maxWidth, int maxScale, uint8_t c, bool bold)
    {
        int scale = fitScale(line, maxWidth, maxScale);
        if (scale == 0) {
            scale = 1;
            line = line.substr(0, static_cast<size_t>(std::max(1, (maxWidth + 1) / kAdvance)));
        }
        text(cx - textWidth(line, scale) / 2, y, line, scale, c, bold);
        return kGlyphHeight * scale;
    }
    int left(int x, int y, std::string_view line, int maxWidth, int maxScale, uint8_t c, bool bold)
    {
        int scale = fitScale(line, maxWidth, maxScale);
        if (scale == 0) {
            scale = 1;
            line = line.substr(0, static_cast<size_t>(std::max(1, (maxWidth + 1) / kAdvance)));
        }
        text(x, y, line, scale, c, bold);
        return kGlyphHeight * scale;
    }

private:
    void set(int x, int y, uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)] = c;
    }

    int m_width, m_height;
    std::vector<uint8_t> m_pixels;
};

// The body lines between top and bottom: the largest common size that lets them all fit.
void bodyLines(Canvas& canvas, const std::vector<std::string>& lines, int x0, int x1, int top, int bottom, bool centre,
               uint8_t c)
{
    if (lines.empty() || bottom <= top)
        return;
    const int n = static_cast<int>(lines.size());
    int scale = 3;
    while (scale > 1 && n * (kGlyphHeight + 4) * scale > bottom - top)
        --scale;
    const int lineHeight = (kGlyphHeight + 4) * scale;
    int y = top + std::max(0, (bottom - top - n * lineHeight) / 2);
    for (const std::string& line : lines) {
        if (y + kGlyphHeight * scale > bottom)
            break;
        if (centre)
            canvas.centred((x0 + x1) / 2, y, line, x1 - x0, scale, c, false);
        else
            canvas.left(x0, y, line, x1 - x0, scale, c, false);
        y += lineHeight;
    }
}

} // namespace

std::vector<uint8_t> PlainPictureMaker::adPicture(const AdPictureRequest& request) const
{
    const int w = request.width, h = request.height;
    if (w < 64 || h < 64 || w > 4096 || h > 4096)
        return {};
    Canvas canvas(w, h, kBackground);
    std::vector<std::string> lines;
    for (const std::string& line : request.lines)
        lines.push_back(sample::printed(line));
    const std::string title = lines.empty() ? std::string() : lines.front();
    std::vector<std::string> body(lines.empty() ? lines.end() : lines.begin() + 1, lines.end());

    switch (request.theme.layout & 3) {
    case 0: {
        canvas.frame(4, 4, w - 4, h - 4, 3, kAccent);
        canvas.frame(10, 10, w - 10, h - 10, 1, kInk);
        const int band = std::max(h / 4, 40);
        canvas.rect(14, 14, w - 14, 14 + band, kAccent);
        canvas.stripes(14, 14 + band - 6, w - 14, 14 + band, 8, 4, kDark);
        const int scale = std::max(1, std::min(5, (band - 16) / kGlyphHeight));
        const int used = std::min(scale, std::max(1, Canvas::fitScale(title, w - 48, scale))) * kGlyphHeight;
        canvas.centred(w / 2, 14 + (band - used) / 2, title, w - 48, scale, kBackground, true);
        bodyLines(canvas, body, 24, w - 24, 14 + band + 12, h - 20, true, kInk);
        break;
    }
    case 1: {
        const int band = w / 5;
        canvas.rect(4, 4, 4 + band, h - 4, kAccent);
        canvas.stripes(4, 4, 4 + band, h - 4, 14, 5, kLight);
        canvas.frame(4, 4, w - 4, h - 4, 2, kInk);
        const int x0 = band + 18;
        const int used = canvas.left(x0, 20, title, w - x0 - 16, 4, kDark, true);
        canvas.rect(x0, 26 + used, w - 16, 29 + used, kAccent);
        bodyLines(canvas, body, x0, w - 16, 40 + used, h - 16, false, kInk);
        break;
    }
    case 2: {
        canvas.frame(3, 3, w - 3, h - 3, 2, kAccent);
        const int r = std::max(16, std::min(h / 7, 44));
        canvas.disc(14 + r, 14 + r, r, kAccent);
        const std::string initial = title.substr(0, 1);
        const int initialScale = std::max(1, (r * 6 / 5) / kGlyphHeight);
        canvas.text(14 + r - Canvas::textWidth(initial, initialScale) / 2, 14 + r - kGlyphHeight * initialScale / 2,
                    initial, initialScale, kBackground, true);
        const int x0 = 28 + 2 * r;
        const int used = canvas.left(x0, 14 + r - 10, title, w - x0 - 14, 3, kInk, true);
        canvas.rect(14, 24 + 2 * r, w - 14, 27 + 2 * r, kAccent);
        canvas.rect(6, h - 18, w - 6, h - 6, kLight);
        bodyLines(canvas, body, 20, w - 20, 36 + 2 * r + std::max(0, used - 20), h - 24, true, kInk);
        break;
    }
    default: {
        canvas.frame(6, 6, w - 6, h - 6, 1, kSoft);
        const int used = canvas.centred(w / 2, 18, title, w - 32, 4, kAccent, true);
        canvas.rect(24, 26 + used, w - 24, 28 + used, kInk);
        // The telephone line goes on the band at the foot.
        std::string phone;
        std::vector<std::string> rest;
        for (const std::string& line : body) {
            if (phone.empty() && line.rfind("TEL", 0) == 0)
                phone = line;
            else
                rest.push_back(line);
        }
        const int band = std::max(30, h / 8);
        canvas.rect(6, h - 6 - band, w - 6, h - 6, kAccent);
        if (!phone.empty()) {
            const int scale = std::max(1, std::min(3, (band - 8) / kGlyphHeight));
            canvas.centred(w / 2, h - 6 - band + (band - kGlyphHeight * scale) / 2, phone, w - 32, scale, kBackground,
                           true);
        }
        bodyLines(canvas, rest, 20, w - 20, 40 + used, h - 14 - band, true, kInk);
        break;
    }
    }
    return sample::encodePng(w, h, canvas.pixels(), paletteOf(request.theme));
}

std::vector<uint8_t> PlainPictureMaker::banner(const BannerRequest& request) const
{
    const int w = request.width, h = request.height;
    if (w < 32 || h < 16 || w > 2048 || h > 512 || request.frames.empty())
        return {};
    std::vector<std::vector<uint8_t>> frames;
    const bool blockRight = (request.theme.layout & 1) != 0;
    for (size_t f = 0; f < request.frames.size(); ++f) {
        // Frames alternate between the plain and the inverted colours.
        const bool inverted = f % 2 == 1;
        const uint8_t paper = inverted ? kAccent : kBackground;
        const uint8_t ink = inverted ? kBackground : kInk;
        Canvas canvas(w, h, paper);
        const int block = std::min(h, w / 6);
        const int bx = blockRight ? w - block : 0;
        canvas.rect(bx, 0, bx + block, h, inverted ? kDark : kAccent);
        canvas.stripes(bx, 0, bx + block, h, 10, 4, inverted ? kAccent : kLight);
        canvas.frame(0, 0, w, h, 2, inverted ? kDark : kAccent);
        const int x0 = blockRight ? 8 : block + 8;
        const int x1 = blockRight ? w - block - 8 : w - 8;
        std::vector<std::string> lines;
        for (const std::string& line : request.frames[f])
            lines.push_back(sample::printed(line));
        const int n = static_cast<int>(std::min<size_t>(lines.size(), 3));
        int y = n == 1 ? (h - 21) / 2 : n == 2 ? 9 : 5;
        for (int i = 0; i < n; ++i) {
            const int maxScale = i == 0 ? (n == 1 ? 3 : 2) : (n == 2 ? 2 : 1);
            y += canvas.centred((x0 + x1) / 2, y, lines[static_cast<size_t>(i)], x1 - x0, maxScale, ink, i == 0) + 6;
        }
        frames.push_back(canvas.pixels());
    }
    return sample::encodeGif(w, h, paletteOf(request.theme), frames, request.frameDelay);
}
