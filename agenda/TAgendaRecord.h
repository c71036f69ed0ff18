// TAgendaRecord: one agenda row in memory, as the window and the record dialog pass it around.
// Texts are Windows-1252, like the directory's. Plain value.
#pragma once

#include <cstdint>
#include <string>

struct TAgendaRecord {
    int32_t row = 0;     // physical row number in the table, 0 when not (yet) in it
    int32_t recno = 0;   // directory record number, 0 for a typed-in contact
    int32_t edition = 0; // data-edition stamp, 0 for a typed-in contact
    std::string name;
    std::string address;
    std::string phone;
    std::string locality;
    std::string province;
    std::string web;
    std::string mail;
    std::string note;
};
