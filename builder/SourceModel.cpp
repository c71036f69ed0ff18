#include "builder/SourceModel.h"

#include <algorithm>
#include <functional>
#include <string>

void ListingTable::add(const Listing& l)
{
    Row r{};
    r.text = m_arena.size();
    const std::string_view parts[4] = {l.name, l.address, l.web, l.mail};
    // A listing read back from this table points into the arena, which may move as it grows:
    // copy such texts aside first.
    const char* begin = m_arena.data();
    const char* end = begin + m_arena.size();
    bool aliased = false;
    for (const auto& p : parts)
        aliased = aliased || (!p.empty() && std::less_equal<>()(begin, p.data()) && std::less<>()(p.data(), end));
    std::string copy;
    if (aliased)
        for (const auto& p : parts)
            copy.append(p.data(), std::min<size_t>(p.size(), UINT16_MAX));
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t n = std::min<size_t>(parts[i].size(), UINT16_MAX);
        r.lengths[i] = static_cast<uint16_t>(n);
        const char* from = aliased ? copy.data() + at : parts[i].data();
        m_arena.insert(m_arena.end(), from, from + n);
        at += n;
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
