#include "ads/AdStoreOpener.h"

#include "engine/DataFiles.h"

namespace adstore {

namespace {
constexpr int32_t kAdBuffer = 512;
} // namespace

std::unique_ptr<aviso> open(const std::string& folder, const SourceOpener& opener)
{
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    auto ads = std::make_unique<aviso>(base + datafiles::kAds, base + datafiles::kAdOffsets, kAdBuffer, opener);
    ads->LoadCodeTable(base + datafiles::kAdTable, opener);
    return ads;
}

} // namespace adstore
