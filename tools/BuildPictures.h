// BuildPictures: the pictures ortelia-build needs: a PictureMaker for generated samples (drawn with
// Qt when the tools are built with Qt, plain colour bands otherwise) and the conversion of GIF
// (or any other picture Qt reads) to PNG for a publisher's ad pictures. With Qt it owns the
// application object, drawn offscreen whatever the environment names: create one, in main, before
// any picture and keep it to the end. Main thread only.
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
    struct Application;
    std::unique_ptr<Application> m_application; // before the maker: it outlives it
    std::unique_ptr<PictureMaker> m_maker;
};
