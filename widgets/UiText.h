// The one crossing between the data set's Windows-1252 bytes and the user interface's QString.
// Pure functions, any thread.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace uitext {

[[nodiscard]] QString fromData(std::string_view windows1252);
// Characters the code page cannot hold become '?', as a Windows edit box would store them.
[[nodiscard]] std::string toData(const QString& text);

} // namespace uitext
