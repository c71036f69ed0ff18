// PlainPictureMaker: the PictureMaker that needs no toolkit: flat colour bands, frames, stripes and
// emblems, with the text set in a built-in 5 x 7 pixel font, encoded by the sample's own PNG
// writer and by giflib. Looks like a simple printed ad; the same request gives the same bytes on
// every machine. Stateless; any thread.
#pragma once

#include "builder/PictureMaker.h"

class PlainPictureMaker final : public PictureMaker {
public:
    [[nodiscard]] std::vector<uint8_t> adPicture(const AdPictureRequest& request) const override;
    [[nodiscard]] std::vector<uint8_t> banner(const BannerRequest& request) const override;
};
