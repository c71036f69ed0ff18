#include "search/CatalogFill.h"

#include "search/QdLocs.h"

namespace catalogfill {
namespace {

// Empties the list, makes it sorted and adds the "all" entry when there is one.
void start(CatalogList& list, const char* allText)
{
    list.clear();
    list.setSorted(true);
    if (allText)
        list.addItem(allText, 0);
}

// Selects the "all" entry wherever the list's sorting put it (a name may sort before "- "), or
// the first entry of a list without one.
void selectAll(CatalogList& list)
{
    const int n = list.count();
    for (int i = 0; i < n; ++i) {
        if (list.itemId(i) == 0) {
            list.setSelectedIndex(i);
            return;
        }
    }
    list.selectFirst();
}

void addGuides(const QdLocs& locs, CatalogList& list)
{
    for (int32_t id = 1; id < catalog::kGuideSlots; ++id) {
        if (locs.guide(id).present())
            list.addItem(locs.guide(id).name, id);
    }
}

void addProvinces(const QdLocs& locs, CatalogList& list)
{
    for (int32_t id = 1; id < catalog::kProvinceSlots; ++id) {
        if (locs.province(id).present())
            list.addItem(locs.province(id).name, id);
    }
}

} // namespace

void fillGuides(const QdLocs& locs, CatalogList& list)
{
    const CatalogListUpdate update(list);
    start(list, kAllFeminine);
    addGuides(locs, list);
    selectAll(list);
}

void fillProvinces(const QdLocs& locs, CatalogList& list, int32_t guideId)
{
    const CatalogListUpdate update(list);
    start(list, kAllFeminine);
    if (guideId != 0) {
        for (const int32_t id : locs.guide(guideId).provinces) {
            if (id == 0)
                break;
            if (locs.province(id).present())
                list.addItem(locs.province(id).name, id);
        }
    } else {
        addProvinces(locs, list);
    }
    selectAll(list);
}

void fillLocalities(const QdLocs& locs, CatalogList& list, int32_t provinceId, int32_t guideId)
{
    const CatalogListUpdate update(list);
    list.clear();
    list.setSorted(true);
    if (provinceId == 0) {
        list.setEnabled(false);
        return;
    }
    list.setEnabled(true);
    list.addItem(kAllFeminine, 0);
    for (int32_t id = 1; id < catalog::kLocalitySlots; ++id) {
        const QdLocalidad& l = locs.locality(id);
        if (l.present() && l.province == provinceId && (guideId == 0 || l.belongsTo(guideId)))
            list.addItem(l.name, id);
    }
    selectAll(list);
}

void fillRubros(const QdLocs& locs, CatalogList& list, char kind)
{
    const CatalogListUpdate update(list);
    start(list, kAllMasculine);
    for (int32_t id = 1; id < catalog::kRubroSlots; ++id) {
        const QdRubro& r = locs.rubro(id);
        if (r.present() && r.kind == kind)
            list.addItem(r.name, id);
    }
    selectAll(list);
}

void fillGuideChooser(const QdLocs& locs, CatalogList& list)
{
    const CatalogListUpdate update(list);
    start(list, kChooseGuide);
    addGuides(locs, list);
    selectAll(list);
}

void fillProvinceChooser(const QdLocs& locs, CatalogList& list)
{
    const CatalogListUpdate update(list);
    start(list, kAllFeminine);
    addProvinces(locs, list);
    selectAll(list);
}

void fillCountries(const QdLocs& locs, CatalogList& list)
{
    const CatalogListUpdate update(list);
    // Emptied first, so a second fill does not list every country twice.
    start(list, nullptr);
    for (int32_t id = 1; id < catalog::kCountrySlots; ++id) {
        if (locs.country(id).present())
            list.addItem(locs.country(id).name, id);
    }
    list.selectFirst();
}

} // namespace catalogfill
