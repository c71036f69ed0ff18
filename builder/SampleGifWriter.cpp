#include "builder/SampleGifWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>

namespace sample {
namespace {

int writeToVector(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

std::vector<uint8_t> encodeGif(int width, int height, const std::vector<uint32_t>& palette,
                               const std::vector<std::vector<uint8_t>>& frames, int delay)
{
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || frames.empty() || palette.empty() ||
        palette.size() > 256)
        return {};
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (const auto& frame : frames) {
        if (frame.size() != pixels)
            return {};
        for (const uint8_t index : frame) {
            if (index >= palette.size())
                return {};
        }
    }
    int bits = 1;
    while ((1u << bits) < palette.size())
        ++bits;
    std::vector<GifColorType> colours(1u << bits, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {static_cast<GifByteType>(palette[i] >> 16), static_cast<GifByteType>(palette[i] >> 8),
                      static_cast<GifByteType>(palette[i])};
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(1 << bits, colours.data()));
    if (!map)
        return {};

    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToVector, &error);
    if (!gif)
        return {};
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, width, height, bits, 0, map.get()) == GIF_OK;
    if (ok && frames.size() > 1) {
        static const GifByteType kNetscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        static const GifByteType kLoopForever[] = {1, 0, 0};
        ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(gif, sizeof kNetscape, kNetscape) == GIF_OK &&
             EGifPutExtensionBlock(gif, sizeof kLoopForever, kLoopForever) == GIF_OK &&
             EGifPutExtensionTrailer(gif) == GIF_OK;
    }
    std::vector<GifPixelType> row(static_cast<size_t>(width));
    for (size_t f = 0; ok && f < frames.size(); ++f) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.UserInputFlag = false;
        control.DelayTime = std::clamp(delay, 0, 65535);
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < height; ++y) {
            const auto begin = frames[f].begin() + static_cast<ptrdiff_t>(y) * width;
            std::copy(begin, begin + width, row.begin());
            ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
        }
    }
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    if (!ok)
        return {};
    return out;
}

} // namespace sample
