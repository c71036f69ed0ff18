// GridData: what one result-list row keeps about the record it shows, for the commands on that row
// (ad, agenda, web, mail). Owned by the row. Plain data.
#pragma once

#include <cstdint>
#include <string>

struct GridData {
    int32_t recno = 0;     // 0: a contact that exists only in the agenda
    int32_t agendaRef = 0; // the agenda's row for the record, 0 when it has none
    int32_t adNumber = 0;  // 0: no ad
    std::string phone;     // the display telephone
    std::string web;
    std::string mail;
};
