// QdLocalidad: one locality of the catalog, with the guides it belongs to. Plain value held in the
// locality table of QdLocs; an entry without a name is absent.
#pragma once

#include "search/CatalogLimits.h"

#include <array>
#include <cstdint>
#include <string>

struct QdLocalidad {
    int32_t id = 0;
    std::string name;
    int32_t province = 0;                                // province id
    int32_t guide = 0;                                   // guide id of the last line read for this locality
    std::array<uint8_t, catalog::kGuideSlots> inGuide{}; // by guide id: non-zero when it belongs to it
    int32_t areaCode = 0;

    [[nodiscard]] bool present() const { return !name.empty(); }
    [[nodiscard]] bool belongsTo(int32_t guideId) const
    {
        return guideId >= 0 && guideId < catalog::kGuideSlots && inGuide[static_cast<size_t>(guideId)] != 0;
    }
};
