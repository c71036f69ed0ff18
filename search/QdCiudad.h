// QdCiudad: one city abroad with its dialling code. Plain value; QdLocs keeps the cities in file order.
#pragma once

#include <cstdint>
#include <string>

struct QdCiudad {
    int32_t country = 0; // country id
    std::string code;    // the city's dialling code
    std::string name;
};
