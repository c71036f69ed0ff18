// The program's language and fonts: Qt's own Spanish translations (the standard buttons read
// "Aceptar", "Cancelar", "Sí", "No") and the one mapping of the fonts the window is designed in
// (MS Sans Serif, Verdana, Tahoma, Arial, Wingdings 3) to fonts Debian ships. Called once after
// the application object exists, before any window; main thread.
#pragma once

#include <QString>

class QApplication;

namespace localization {

// Idempotent: a second call does nothing.
void prepare(QApplication& app);

// The arrow the designed Wingdings 3 bullet shows ("u" in that font).
[[nodiscard]] QString wingdingsBullet();

} // namespace localization
