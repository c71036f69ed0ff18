#include "builder/SampleGenerator.h"

#include "builder/SampleBanners.h"
#include "builder/SampleCatalog.h"
#include "builder/SampleListings.h"
#include "builder/SampleNames.h"
#include "builder/SampleOfficial.h"
#include "builder/SamplePhones.h"
#include "builder/SampleProductPage.h"
#include "builder/SampleRandom.h"
#include "builder/SampleSeeds.h"

#include <set>

std::string SampleGenerator::defaultSeedsDir()
{
#ifdef ORTELIA_SEEDS_DIR
    return ORTELIA_SEEDS_DIR;
#else
    return {};
#endif
}

bool SampleGenerator::generate(const SampleOptions& options, const PictureMaker* pictures, SourceModel& out,
                               std::string* error)
{
    out = SourceModel();
    const auto fail = [&](const std::string& why) {
        out = SourceModel();
        if (error)
            *error = why;
        return false;
    };
    if (options.listings < 0 || options.listings > SampleOptions::kMaxListings)
        return fail("the number of listings must be between 0 and " + std::to_string(SampleOptions::kMaxListings));
    if (options.maxPictures < 0)
        return fail("the number of pictures cannot be negative");
    const std::string dir = options.seedsDir.empty() ? defaultSeedsDir() : options.seedsDir;
    if (dir.empty())
        return fail("no seeds folder was given");

    sample::SampleSeeds seeds;
    std::string why;
    if (!seeds.load(dir, &why))
        return fail(why);

    // Independent streams: the catalogs, official bodies and banners do not depend on the number
    // of listings, so samples of different sizes share them.
    sample::SamplePhones phones;
    phones.build(seeds.localities, options.seed);
    sample::SampleCatalog catalog;
    if (!catalog.build(seeds, phones, out.catalogs, &why))
        return fail(why);
    sample::SampleNames names(seeds);
    names.prepare(seeds, catalog.rubros);

    sample::Random officialRandom(options.seed, 0x4F464943ull); // "OFIC"
    sample::buildOfficialBodies(catalog, seeds, phones, officialRandom, out.officialBodies);

    sample::Random bannerRandom(options.seed, 0x42414E4Eull); // "BANN"
    const auto banners = sample::bannerRequests(catalog, names, phones, bannerRandom);
    if (pictures) {
        for (const auto& [folder, request] : banners) {
            std::vector<uint8_t> gif = pictures->banner(request);
            if (!gif.empty())
                out.banners[folder].push_back(std::move(gif));
        }
    }

    std::vector<AdPictureRequest> requests;
    sample::SampleListings listings(catalog, names, phones, options.seed);
    listings.generate(options.listings, pictures ? options.maxPictures : 0, out, requests, options.progress);

    // A picture the maker could not draw leaves its ads as cards.
    std::set<int32_t> missing;
    for (size_t i = 0; i < requests.size(); ++i) {
        const int32_t id = static_cast<int32_t>(i + 1);
        std::vector<uint8_t> png = pictures->adPicture(requests[i]);
        if (png.empty())
            missing.insert(id);
        else
            out.pictures.emplace(id, std::move(png));
    }
    if (!missing.empty()) {
        for (SourceAd& ad : out.ads) {
            if (missing.count(ad.pictureId) != 0)
                ad.pictureId = 0;
        }
    }

    const int32_t counts[3] = {listings.emitted(GuideKind::Alphabetical), listings.emitted(GuideKind::Commercial),
                               listings.emitted(GuideKind::Professional)};
    out.productsHtml = sample::productsPage(catalog, counts);
    return true;
}
