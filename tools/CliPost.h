// CliPost: the "post", "seal" and "unseal" commands of ortelia-cli. "post" sends a recommendation or
// a contact request through the same OnlineRequests code the dialogs use, the options standing in
// for the dialog's fields, and prints the message the user would see as JSON; "seal" and "unseal"
// show a text's sealed form and a sealed text's content, for a publisher debugging a server. Main
// thread.
#pragma once

#include "tools/CliDataSet.h"

#include <ostream>
#include <string>
#include <vector>

extern const char* const kPostUsage;

// args: the words after "post". Exit status: 0 when the server accepted the request, 1 for any
// other outcome (its message printed), 2 for bad options.
int cliPost(CliDataSet& data, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// args: the words after "seal" or "unseal".
int cliSeal(bool seal, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
