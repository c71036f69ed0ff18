// CatalogFill: fills one selection list from the catalogs. Every fill brackets itself in an update,
// empties the list, makes it sorted, adds the "all" entry (id 0) when it has one, then one entry
// per present catalog entry carrying its id, and selects the "all" entry (the first entry of a list
// without one). The "all" texts begin with "- " so they normally sort first; the selection does not
// rely on it. Stateless; QdLocs chains them into the cascade of the search lists.
// Main thread (the lists are UI).
#pragma once

#include "search/CatalogList.h"

#include <cstdint>

class QdLocs;

namespace catalogfill {

inline constexpr const char* kAllFeminine = "- TODAS -";
inline constexpr const char* kAllMasculine = "- TODOS -";
inline constexpr const char* kChooseGuide = "- SELECCIONE LA GUIA -";

// "- TODAS -" and every guide.
void fillGuides(const QdLocs& locs, CatalogList& list);
// "- TODAS -" and, for a guide id other than 0, the provinces of that guide, else every province.
void fillProvinces(const QdLocs& locs, CatalogList& list, int32_t guideId);
// For province 0: empty, disabled and without a selection. Otherwise enabled, "- TODAS -" and the
// localities of the province that belong to the guide (to any guide for guide 0).
void fillLocalities(const QdLocs& locs, CatalogList& list, int32_t provinceId, int32_t guideId);
// "- TODOS -" and every rubro of the kind ('C' commercial, 'P' professional).
void fillRubros(const QdLocs& locs, CatalogList& list, char kind);
// "- SELECCIONE LA GUIA -" and every guide.
void fillGuideChooser(const QdLocs& locs, CatalogList& list);
// "- TODAS -" and every province.
void fillProvinceChooser(const QdLocs& locs, CatalogList& list);
// Every country under its name, no "all" entry.
void fillCountries(const QdLocs& locs, CatalogList& list);

} // namespace catalogfill
