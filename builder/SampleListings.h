// SampleListings: generates the listings of a sample data set and their ads. Subscribers are
// spread over the localities by weight; each gets one to eight consecutive listing lines with the
// same name and address and different telephones. The commercial and professional guides hold
// businesses and professionals with a rubro of their guide; half of them are also listed, without
// rubro and ad, in the alphabetical guide, which is otherwise residential with some businesses. A
// few percent of commercial and professional subscribers have an ad; picture ads get a picture
// request, at most maxPictures distinct ones, reused beyond that. One owner, one thread.
#pragma once

#include "builder/PictureMaker.h"
#include "builder/SampleCatalog.h"
#include "builder/SampleNames.h"
#include "builder/SamplePhones.h"
#include "builder/SampleRandom.h"
#include "builder/SourceModel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sample {

class SampleListings {
public:
    // Shares of the three guides in the listings, per ten thousand; the rest is alphabetical.
    static constexpr int32_t kCommercialShare = 1800;
    static constexpr int32_t kProfessionalShare = 600;

    SampleListings(const SampleCatalog& catalog, const SampleNames& names, SamplePhones& phones, uint64_t seed);

    // Appends count listings to out.listings and their ads to out.ads; pictures receives the
    // request for picture ids 1, 2, ... in order. progress (may be empty) hears (done, count).
    void generate(int32_t count, int32_t maxPictures, SourceModel& out, std::vector<AdPictureRequest>& pictures,
                  const std::function<void(int32_t, int32_t)>& progress);

    // Listings written so far per guide (alphabetical, commercial, professional).
    [[nodiscard]] int32_t emitted(GuideKind guide) const { return m_emitted[static_cast<int>(guide)]; }

private:
    enum class Kind { Resident, Business, Commercial, Professional };

    void makeSubscriber(Kind kind);
    int linesFor(Kind kind);
    int32_t makeAd(SourceModel& out, std::vector<AdPictureRequest>& pictures, int32_t maxPictures);
    void emit(SourceModel& out, GuideKind guide, int lines, bool withRubroAndAd);
    void appendPhones(std::string& out, int lines);

    const SampleCatalog& m_catalog;
    const SampleNames& m_names;
    SamplePhones& m_phones;
    Random m_random;
    Random m_adRandom;

    WeightedPick m_localityPick;
    std::vector<std::vector<size_t>> m_localitiesOfProvince; // by province id - 1
    std::vector<const SampleRubro*> m_rubros[2];             // commercial, professional
    WeightedPick m_rubroPick[2];

    std::vector<std::string> m_slogans, m_professionalSlogans, m_hours;

    // The subscriber being written; the buffers are reused from one to the next.
    const SampleLocality* m_locality = nullptr;
    const SampleRubro* m_rubro = nullptr;
    std::string m_name, m_core, m_address, m_web, m_mail;
    int m_lines = 1;
    int32_t m_local[8] = {};
    int32_t m_adNumber = 0;

    int32_t m_emitted[3] = {0, 0, 0};
    uint64_t m_textBytes = 0;
    int32_t m_pictureAds = 0;
};

} // namespace sample
