// SearchCriteria: the criteria table of the search passes and the values the search panel gives
// them. A criterion's code is also the bit-set plane that holds its result. The table's order is the
// order of every scan and the tie-break between rows in the merge. Plain data, any thread.
#pragma once

#include "engine/FiltroBits.h"
#include "engine/QdData.h"

#include <array>
#include <cstdint>
#include <string>

namespace criteria {

enum Code : uint8_t {
    kRubro = plane::kRubro,
    kLocality = plane::kLocality,
    kProvince = plane::kProvince,
    kGuide = plane::kGuide,
    kArea = plane::kAreaCode,
    kPrefix = plane::kPrefix,
    kLine = plane::kLine,
    kNameWords = plane::kNameWords,
    kAddressWords = plane::kAddressWords,
    kSelection = plane::kSelection, // only ever 0: a pass that visits it withdraws the selection requirement
};

struct Row {
    uint8_t code;
    int slot;     // record-store index slot
    int32_t area; // key space of a list index, or word area (0 names, 1 addresses)
    bool word;
};

inline constexpr int kRows = 10;
inline constexpr std::array<Row, kRows> kTable = {{
    {kLocality, slot::ixLoc, 0, false},
    {kRubro, slot::ixRub, 0, false},
    {kGuide, slot::ixGuia, 0, false},
    {kProvince, slot::ixPrv, 0, false},
    {kPrefix, slot::ixTeP, 0, false},
    {kLine, slot::ixTeN, 0, false},
    {kArea, slot::ixTeA, 0, false},
    {kNameWords, slot::ixpal, 0, true},
    {kAddressWords, slot::ixpal, 1, true},
    {kSelection, slot::kSelection, 0, false},
}};

// The row of a code, or -1.
[[nodiscard]] constexpr int rowOf(int code)
{
    for (int i = 0; i < kRows; ++i)
        if (kTable[static_cast<size_t>(i)].code == code)
            return i;
    return -1;
}

[[nodiscard]] constexpr uint32_t bit(int code)
{
    return code >= 0 && code < 32 ? 1u << code : 0u;
}

// Every criterion code as a plane mask.
inline constexpr uint32_t kAllCodes = [] {
    uint32_t m = 0;
    for (const Row& r : kTable)
        m |= 1u << r.code;
    return m;
}();

// The telephone's three parts are asked for together (SetPhone) and a pass recomputes all of them
// once any is out of date, so their planes need only hold the records that every part in use
// holds: the passing records are the same, and a pass writes a few bits instead of every record
// of a large area code.
inline constexpr uint32_t kPhoneCodes = bit(kArea) | bit(kPrefix) | bit(kLine);

// One value per row: a key for list rows (0 = not in use), a Windows-1252 text for word rows
// ("" = not in use).
struct Values {
    std::array<int32_t, kRows> key{};
    std::array<std::string, kRows> text{};

    [[nodiscard]] bool empty(int row) const
    {
        return kTable[static_cast<size_t>(row)].word ? text[static_cast<size_t>(row)].empty()
                                                     : key[static_cast<size_t>(row)] == 0;
    }
    [[nodiscard]] int32_t keyOf(int code) const { return key[static_cast<size_t>(rowOf(code))]; }
    [[nodiscard]] const std::string& textOf(int code) const { return text[static_cast<size_t>(rowOf(code))]; }
};

} // namespace criteria
