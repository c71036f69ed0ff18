#include "builder/SourceModel.h"

#include <algorithm>

void ListingTable::add(const Listing& l)
{
    Row r{};
    r.text = m_arena.size();
    const std::string_view parts[4] = {l.name, l.address, l.web, l.mail};
    for (int i = 0; i < 4; ++i) {
        const size_t n = std::min<size_t>(parts[i].size(), UINT16_MAX);
        r.lengths[i] = static_cast<uint16_t>(n);
        m_arena.insert(m_arena.end(), parts[i].data(), parts[i].data() + n);
    }
    r.guideId = l.guideId;
    r.localityId = l.localityId;
    r.rubroId = l.rubroId;
    r.areaCode = l.areaCode;
    r.phonePrefix = l.phonePrefix;
    r.phoneLine = l.phoneLine;
    r.adNumber = l.adNumber;
    r.guide = l.guide;
    m_rows.push_back(r);
}

void ListingTable::reserve(size_t listings, size_t textBytes)
{
    m_rows.reserve(listings);
    m_arena.reserve(textBytes);
}

void ListingTable::clear()
{
    m_rows.clear();
    m_arena.clear();
}
