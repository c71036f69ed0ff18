// QdProvincia: one province of the catalog. Plain value held in the province table of QdLocs; an
// entry without a name is absent.
#pragma once

#include <cstdint>
#include <string>

struct QdProvincia {
    int32_t id = 0;
    std::string name;

    [[nodiscard]] bool present() const { return !name.empty(); }
};
