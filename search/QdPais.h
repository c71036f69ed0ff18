// QdPais: one country of the international dialling data. Plain value held in the country table of
// QdLocs; an entry without a name is absent.
#pragma once

#include <cstdint>
#include <string>

struct QdPais {
    int32_t id = 0;
    int32_t dialCode = 0; // international code
    std::string name;
    std::string winter; // time text shown under "INVIERNO"
    std::string summer; // time text shown under "VERANO"
    std::string notes;  // lines separated by "|"

    [[nodiscard]] bool present() const { return !name.empty(); }
};
