// SampleGifWriter: encodes palette pictures as GIF89a through giflib, for the sample's banners:
// one global palette, equally sized full frames, a delay per frame and, with several frames, the
// loop-forever extension. Pure function, any thread (giflib keeps no global state for encoding).
#pragma once

#include <cstdint>
#include <vector>

namespace sample {

// frames: width x height palette indices each; palette: 1 to 256 colours as 0xRRGGBB (padded to a
// power of two). delay: hundredths of a second per frame. Empty when the sizes, the indices or the
// palette do not agree, or giflib fails.
[[nodiscard]] std::vector<uint8_t> encodeGif(int width, int height, const std::vector<uint32_t>& palette,
                                             const std::vector<std::vector<uint8_t>>& frames, int delay);

} // namespace sample
