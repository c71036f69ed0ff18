// WebAd: opening an ad kept on the publisher's server: the address of "ot_image.php" with the
// ad's reference sealed into its parameter, handed to the desktop's browser. Main thread.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class ShellOpener;

namespace webad {

// The text sealed for a reference: "iid=" and the reference as a signed decimal padded with zeros
// to sixteen characters (iid=0000000000000042).
[[nodiscard]] std::string text(int32_t reference);
// The address for the server base (which ends with "/"); nullopt while the sealing is not
// available in this build.
[[nodiscard]] std::optional<QString> address(const std::string& serverBase, int32_t reference);
// Hands the address to the shell; the outcome is not examined, as with every web ad.
void open(ShellOpener& shell, const std::string& serverBase, int32_t reference);

} // namespace webad
