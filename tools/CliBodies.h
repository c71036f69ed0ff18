// CliBodies: the "bodies", "dialling" and "useful" commands of ortelia-cli: the official-bodies tree
// as the section builds it, its keyword search and a node's detail rows, and what the national
// and international dialling and useful-number panels list, as JSON (UTF-8). The same code as the
// panels (search/OfficialBodies.h, search/TelephoneInfo.h). One thread.
#pragma once

#include "tools/CliDataSet.h"

#include <ostream>
#include <string>
#include <vector>

// Each command: 0 with the JSON on out, 2 with a message on err for wrong options, an unknown
// path, an empty keyword or an official-bodies file that cannot be opened.
int cliBodies(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int cliDialling(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int cliUseful(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kBodiesUsage;
