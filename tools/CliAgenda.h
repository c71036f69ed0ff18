// CliAgenda: the "agenda" command of ortelia-cli: the user's agenda table read and written through
// TAgenda, as the viewer does it: list (JSON), export --vcard FILE (vCard 4.0), add N (save a
// directory record), note N TEXT (a directory record's note). The table is exclusive: while the
// viewer has it open the command stops with a clear message. One thread.
#pragma once

#include "agenda/TAgenda.h"
#include "tools/CliDataSet.h"

#include <ostream>
#include <string>
#include <vector>

// The vCard 4.0 (RFC 6350) text of the agenda's contacts: UTF-8, CRLF line ends, lines folded at
// 75 octets, text values escaped. Directory rows take their texts from the data set.
std::string agendaVCards(CliDataSet& data, const TAgenda& agenda);

// The whole command; args follow "agenda". 0 on success, 2 with a message on err otherwise.
int cliAgenda(CliDataSet& data, const std::vector<std::string>& args, const std::string& defaultFolder,
              std::ostream& out, std::ostream& err);

extern const char* const kAgendaUsage;
