// CatalogLimits: the table capacities of the catalog file "da01.dat", shared by its reader (QdLocs)
// and its writer (CatalogWriter). Every table but the city table is indexed by id: ids run from 1 to
// its capacity minus one, and id 0 means "all" in a selection list and "none" in a record.
#pragma once

#include <cstddef>
#include <cstdint>

namespace catalog {

inline constexpr int32_t kRubroSlots = 12000;
inline constexpr int32_t kLocalitySlots = 6000;
inline constexpr int32_t kProvinceSlots = 30;
inline constexpr int32_t kGuideSlots = 60;
inline constexpr int32_t kCountrySlots = 250;
inline constexpr int32_t kUsefulNumberSlots = 50;
inline constexpr int32_t kCityCapacity = 3000;     // cities are stored in file order, not by id
inline constexpr int32_t kGuideProvinces = 30;     // provinces listed per guide
inline constexpr int32_t kGuideUsefulNumbers = 50; // useful numbers listed per guide
inline constexpr size_t kMaxLineLength = 1499;     // characters of a line, its CR LF not counted

// True for an id that names a slot of a table with the given capacity (0 is never one).
[[nodiscard]] constexpr bool isSlotId(int32_t id, int32_t slots)
{
    return id > 0 && id < slots;
}

} // namespace catalog
