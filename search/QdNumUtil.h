// QdNumUtil: one useful number (an entity and its telephone number). Plain value held in the
// useful-number table of QdLocs; the guides list the ids of theirs. An entry never read has id 0.
#pragma once

#include <cstdint>
#include <string>

struct QdNumUtil {
    int32_t id = 0;
    std::string entity; // the body the number belongs to
    std::string number;
};
