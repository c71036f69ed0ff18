// CliSearch: the "search" command of ortelia-cli. Runs one search the way the viewer does, through
// the result-list worker on its own thread, with the worker's calls carried to this thread by a
// HandOffQueue, and prints the passing count, a page of passing records and the matches the worker
// handed over while the pass ran, as JSON. One thread (plus the worker it starts and stops).
#pragma once

#include "tools/CliDataSet.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct CliSearchOptions {
    int32_t range = 0; // 0 telephone (A), 1 commercial (C), 2 professional (P)
    std::string name;  // Windows-1252, upper case as the search field shows it
    std::string address;
    int32_t area = 0;
    bool phoneGiven = false;
    std::string phone; // the digits of the telephone field
    int32_t province = 0;
    int32_t locality = 0;
    int32_t rubro = 0;
    std::vector<int> filterPlanes; // result-filter planes to require
    int32_t first = 30;            // records to list
    int32_t from = 0;              // passing records to skip, as the scroll bar's position
};

// False with a message for an unknown option, a missing or malformed value, or an option given
// twice. Texts on the command line are UTF-8.
bool parseSearchOptions(const std::vector<std::string>& args, CliSearchOptions& options, std::string& error);

// The JSON object {"count", "records", "first_matches"} for the options, searched in data.
std::string runSearch(CliDataSet& data, const CliSearchOptions& options);

// The whole command: 0 with the JSON on out, 2 with a message on err when the options are wrong.
int cliSearch(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kSearchUsage;
