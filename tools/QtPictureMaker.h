// QtPictureMaker: the PictureMaker of the tools, drawn with Qt's painter: ads as printed cards with
// gradients, bands, emblems and antialiased text in DejaVu Sans (Liberation Sans when missing),
// saved as PNG; banners drawn the same way, reduced to a palette of the theme's colours and their
// blends, and written as animated GIF by the sample's giflib writer (Qt writes no GIF). The same
// request gives the same bytes with the same Qt and fonts. A QGuiApplication must exist before the
// first call (the offscreen platform will do); Qt's GUI thread only.
#pragma once

#include "builder/PictureMaker.h"

class QtPictureMaker final : public PictureMaker {
public:
    [[nodiscard]] std::vector<uint8_t> adPicture(const AdPictureRequest& request) const override;
    [[nodiscard]] std::vector<uint8_t> banner(const BannerRequest& request) const override;
};
