// PictureMaker: draws the pictures of a sample data set: the picture of an ad from its text lines
// (PNG bytes) and a banner (GIF bytes, animated when it has several frames). The generator chooses
// sizes, colours and texts; an implementation only draws them. Implementations are deterministic:
// the same request gives the same bytes. Called from one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PictureTheme {
    uint32_t background = 0xFFFFFF; // 0xRRGGBB
    uint32_t ink = 0x000000;        // text
    uint32_t accent = 0xC00000;     // bands, frames and emblems
    int layout = 0;                 // 0..3: where bands and emblems go
};

struct AdPictureRequest {
    int width = 480;
    int height = 320;
    PictureTheme theme;
    std::vector<std::string> lines; // Windows-1252: the advertiser's name, then the body lines
};

struct BannerRequest {
    int width = 468;
    int height = 60;
    PictureTheme theme;
    std::vector<std::vector<std::string>> frames; // the lines of each frame (Windows-1252), one to three
    int frameDelay = 150;                         // hundredths of a second per frame
};

class PictureMaker {
public:
    virtual ~PictureMaker() = default;
    // A complete PNG file; empty when the picture cannot be drawn.
    [[nodiscard]] virtual std::vector<uint8_t> adPicture(const AdPictureRequest& request) const = 0;
    // A complete GIF file, looping forever when animated; empty when it cannot be drawn.
    [[nodiscard]] virtual std::vector<uint8_t> banner(const BannerRequest& request) const = 0;

protected:
    PictureMaker() = default;
    PictureMaker(const PictureMaker&) = default;
    PictureMaker& operator=(const PictureMaker&) = default;
};
