#include "ads/WebAd.h"

#include "platform/ShellOpener.h"

#include <cstdio>

#if __has_include("online/SealText.h") && __has_include("online/UrlEncode.h")
#include "online/SealText.h"
#include "online/UrlEncode.h"
#define ORTELIA_HAVE_SEAL 1
#endif

namespace webad {

std::string text(int32_t reference)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "iid=%016ld", static_cast<long>(reference));
    return buffer;
}

std::optional<QString> address(const std::string& serverBase, int32_t reference)
{
#ifdef ORTELIA_HAVE_SEAL
    const std::string url = serverBase + "ot_image.php?p=" + UrlEncode(SealText(text(reference)));
    return QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()));
#else
    (void)serverBase;
    (void)reference;
    return std::nullopt;
#endif
}

void open(ShellOpener& shell, const std::string& serverBase, int32_t reference)
{
    if (const auto url = address(serverBase, reference))
        (void)shell.openAddress(*url);
}

} // namespace webad
