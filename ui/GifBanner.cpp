#include "ui/GifBanner.h"

#include <QFile>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct MemoryReader {
    const uchar* data;
    qsizetype size;
    qsizetype pos = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int wanted)
{
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    if (wanted <= 0)
        return 0;
    const qsizetype n = std::min<qsizetype>(wanted, r->size - r->pos);
    std::memcpy(out, r->data + r->pos, static_cast<size_t>(n));
    r->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// The pixel indices of one image, rows in display order whether or not the file interlaces them.
bool readRaster(GifFileType* gif, int width, int height, bool interlaced, std::vector<GifPixelType>& raster)
{
    raster.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const auto line = [&](int y) { return DGifGetLine(gif, raster.data() + static_cast<size_t>(y) * width, width); };
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            if (line(y) != GIF_OK)
                return false;
        }
        return true;
    }
    static constexpr int kOffset[4] = {0, 4, 2, 1};
    static constexpr int kJump[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kOffset[pass]; y < height; y += kJump[pass]) {
            if (line(y) != GIF_OK)
                return false;
        }
    }
    return true;
}

} // namespace

GifBanner GifBanner::decode(const QByteArray& bytes)
{
    MemoryReader reader{reinterpret_cast<const uchar*>(bytes.constData()), bytes.size()};
    int error = 0;
    GifHandle gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif)
        return {};
    const int screenW = gif->SWidth, screenH = gif->SHeight;
    if (screenW <= 0 || screenH <= 0 || screenW > kMaxSide || screenH > kMaxSide)
        return {};
    const qint64 screenPixels = static_cast<qint64>(screenW) * screenH;

    QImage canvas(screenW, screenH, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::transparent);

    GifBanner out;
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    std::vector<GifPixelType> raster;
    qint64 pixelsUsed = 0;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK) {
            // A missing trailer after complete frames is a common, harmless truncation.
            return out;
        }
        if (type == TERMINATE_RECORD_TYPE)
            return out;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK)
                return {};
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4)
                DGifExtensionToGCB(block[0], block + 1, &control);
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif.get(), &block) != GIF_OK)
                    return {};
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            return {};

        if (DGifGetImageDesc(gif.get()) != GIF_OK)
            return {};
        const GifImageDesc& d = gif->Image;
        if (d.Width <= 0 || d.Height <= 0 || d.Width > kMaxSide || d.Height > kMaxSide || d.Left < 0 || d.Top < 0)
            return {};
        if (static_cast<int>(out.m_frames.size()) >= kMaxFrames ||
            pixelsUsed + screenPixels + static_cast<qint64>(d.Width) * d.Height > kMaxTotalPixels)
            return out.m_frames.empty() ? GifBanner() : out;
        const ColorMapObject* palette = d.ColorMap != nullptr ? d.ColorMap : gif->SColorMap;
        if (palette == nullptr || palette->Colors == nullptr || palette->ColorCount <= 0)
            return {};
        if (!readRaster(gif.get(), d.Width, d.Height, d.Interlace, raster))
            return {};

        const QImage before = control.DisposalMode == DISPOSE_PREVIOUS ? canvas.copy() : QImage();
        // Parts of a frame outside the logical screen are not shown.
        const QRect area = QRect(d.Left, d.Top, d.Width, d.Height) & canvas.rect();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
            const GifPixelType* src = raster.data() + static_cast<size_t>(y - d.Top) * d.Width;
            for (int x = area.left(); x <= area.right(); ++x) {
                const int index = src[x - d.Left];
                if (index == control.TransparentColor || index >= palette->ColorCount)
                    continue;
                const GifColorType& c = palette->Colors[index];
                row[x] = qRgb(c.Red, c.Green, c.Blue);
            }
        }
        const int delay = control.DelayTime * 10;
        out.m_frames.push_back({canvas.copy(), delay < 20 ? kDefaultDelayMs : delay});
        pixelsUsed += screenPixels + static_cast<qint64>(d.Width) * d.Height;

        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb*>(canvas.scanLine(y)) + area.left(), area.width(), QRgb(0));
        } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = before;
        }
        control = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    }
}

GifBanner GifBanner::load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // A banner is a small picture; anything far larger is not one.
    constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
    if (f.size() > kMaxFileBytes)
        return {};
    return decode(f.read(kMaxFileBytes));
}
