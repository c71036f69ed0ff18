// QdGuia: one guide of the catalog with the provinces of its localities and its useful numbers.
// Plain value held in the guide table of QdLocs; an entry without a name is absent (its lists may
// still be filled by lines that name it).
#pragma once

#include "search/CatalogLimits.h"

#include <array>
#include <cstdint>
#include <string>

struct QdGuia {
    int32_t id = 0;
    std::string name;
    // Province ids in order of first appearance, filled from the front; 0 ends the list. Held as ids,
    // not as province entries, so the list does not depend on the order of the file's lines.
    std::array<int32_t, catalog::kGuideProvinces> provinces{};
    // Useful-number ids in file order, filled from the front; 0 ends the list.
    std::array<int32_t, catalog::kGuideUsefulNumbers> usefulNumbers{};

    [[nodiscard]] bool present() const { return !name.empty(); }
};
