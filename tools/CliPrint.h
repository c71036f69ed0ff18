// CliPrint: the printing commands of ortelia-cli, drawn offscreen by the window's own code: the
// result-list report of a search's first page as a PDF file ("print"), and an ad as the viewer
// shows it (PNG) or as its report prints it (PDF) ("ad N --png/--pdf"). Creates the one
// QApplication of the process (offscreen unless a platform is chosen). Main thread.
#pragma once

#include "tools/CliDataSet.h"

#include <ostream>
#include <string>
#include <vector>

// print --pdf FILE [search options] [--section NAME]: 0 when the file is written; 2 with a message
// on err for wrong options or a file that cannot be written.
int cliPrint(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// ad N (--png FILE | --pdf FILE): 2 with a message for a number outside the ads, an ad kept on the
// server, an ad with nothing to show (no picture that decodes, no lines) or a file not written.
int cliAdOutput(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kPrintUsage;
