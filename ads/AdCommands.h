// AdCommands: the window's ad and print commands, given what they need as values and seams, so
// that the main window only forwards to them: "Ver aviso" (an ad kept on the server opens in the
// browser, any other in the ad window) and "Imprimir" (the result-list report of the rows shown,
// through its preview). Main thread.
#pragma once

#include "ads/TFormRpt.h"

#include <QString>

#include <cstdint>
#include <string>

class BlockLibrary;
class Printers;
class QWidget;
class ShellOpener;
class aviso;

namespace adcommands {

struct AdContext {
    aviso& store;
    std::string dataDirectory; // ends with a path separator
    std::string serverBase;    // the publisher's server, ends with "/"
    ShellOpener& shell;
    BlockLibrary& library;
    const Printers& printers;
};

enum class AdOutcome { NotRead, OpenedOnServer, Shown };

// Reads ad n; kind 3 hands its sealed address to the shell, any other kind is shown modally.
AdOutcome VerAviso(QWidget* owner, const AdContext& context, int32_t adNumber);

// The print command: the report of the rows shown, titled with the section's name, then its
// preview. Returns the preview's result.
int PrintResultList(QWidget* parent, const ResultListView& list, const QString& section, const Printers& printers);

} // namespace adcommands
