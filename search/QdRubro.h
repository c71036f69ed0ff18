// QdRubro: one rubro (business category) of the catalog. Plain value held in the rubro table of
// QdLocs; an entry without a name is absent.
#pragma once

#include <cstdint>
#include <string>

struct QdRubro {
    int32_t id = 0;
    std::string name;
    char kind = 0;        // 'C' commercial guide, 'P' professional guide, 0 none
    std::string seeAlso;  // related rubro ids separated by commas
    std::string redirect; // empty, or the id of the rubro searched in place of this one

    [[nodiscard]] bool present() const { return !name.empty(); }
};
