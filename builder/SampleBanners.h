// SampleBanners: what the banners of a sample data set say: folder 0 holds four banners of the
// publisher (the product, ads, rubros, official bodies); folder k, for province id k (the k-th
// province of the alphabetical province list), two to four banners of local businesses with their
// telephone. Each banner has two or three animation frames, 468 x 60 pixels. One thread.
#pragma once

#include "builder/PictureMaker.h"
#include "builder/SampleCatalog.h"
#include "builder/SampleNames.h"
#include "builder/SamplePhones.h"
#include "builder/SampleRandom.h"

#include <utility>
#include <vector>

namespace sample {

constexpr int kBannerWidth = 468;
constexpr int kBannerHeight = 60;

// (folder, request) in folder order, the banners of a folder in their numbering order.
[[nodiscard]] std::vector<std::pair<int, BannerRequest>>
bannerRequests(const SampleCatalog& catalog, const SampleNames& names, SamplePhones& phones, Random& random);

} // namespace sample
