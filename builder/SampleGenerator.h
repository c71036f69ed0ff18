// SampleGenerator: makes a realistic sample directory as a SourceModel, from the committed seed
// tables (builder/seeds) and two numbers: how many listings and a seed. The same options give the
// same model, byte for byte, on every machine: the generator has its own random numbers and uses
// integer arithmetic only. Pictures come from a PictureMaker; without one the model has no ad
// pictures (picture ads then show as cards) and no banners. The caller owns everything; one thread.
//
// What comes out: 24 provinces (ids in alphabetical order, so banner folder k is province id k),
// 8 regional guides, 314 localities, about 330 rubros, 245 countries with their cities, useful
// numbers; listings split 76 / 18 / 6 % over the alphabetical, commercial and professional guides,
// in generation order (the data-set builder sorts them); ads for a few percent of commercial and
// professional subscribers; an official-bodies tree per province; banners; the product page.
#pragma once

#include "builder/PictureMaker.h"
#include "builder/SourceModel.h"

#include <cstdint>
#include <functional>
#include <string>

struct SampleOptions {
    static constexpr int32_t kMaxListings = 11'999'999;

    int32_t listings = 1000; // 0..kMaxListings
    uint64_t seed = 1;
    std::string seedsDir; // empty: defaultSeedsDir()
    // Distinct ad pictures; picture ads beyond this many reuse them in turn. 0: no pictures.
    int32_t maxPictures = 240;
    // Hears (listings done, listings to do) now and then; may be empty.
    std::function<void(int32_t, int32_t)> progress;
};

class SampleGenerator {
public:
    // The seeds folder of the source tree this was built from; empty when the build did not say.
    [[nodiscard]] static std::string defaultSeedsDir();

    // Replaces out with a new sample. False, with a reason, on options out of range or unreadable
    // seeds; out is then empty.
    static bool generate(const SampleOptions& options, const PictureMaker* pictures, SourceModel& out,
                         std::string* error = nullptr);
};

inline bool generateSample(const SampleOptions& options, const PictureMaker* pictures, SourceModel& out,
                           std::string* error = nullptr)
{
    return SampleGenerator::generate(options, pictures, out, error);
}
