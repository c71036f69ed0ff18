// BuildPictures: the pictures ortelia-build needs: a PictureMaker for generated samples (drawn with
// Qt when the tools are built with Qt, plain colour bands otherwise) and the conversion of GIF
// (or any other picture Qt reads) to PNG for a publisher's ad pictures. Main thread only.
#pragma once

#include "builder/PictureMaker.h"

#include <memory>
#include <vector>

class BuildPictures final : public PictureMaker {
public:
    BuildPictures();
    ~BuildPictures() override;

    [[nodiscard]] std::vector<uint8_t> adPicture(const AdPictureRequest& request) const override;
    [[nodiscard]] std::vector<uint8_t> banner(const BannerRequest& request) const override;
    // False when the bytes are no picture this build can read.
    bool toPng(const std::vector<uint8_t>& in, std::vector<uint8_t>& png) const;

private:
    std::unique_ptr<PictureMaker> m_maker;
};
