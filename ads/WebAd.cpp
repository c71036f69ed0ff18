#include "ads/WebAd.h"

#include "online/SealText.h"
#include "online/UrlEncode.h"
#include "platform/ShellOpener.h"

#include <cstdio>

namespace webad {

std::string text(int32_t reference)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "iid=%016ld", static_cast<long>(reference));
    return buffer;
}

QString address(const std::string& serverBase, int32_t reference)
{
    const std::string url = serverBase + "ot_image.php?p=" + UrlEncode(SealText(text(reference)));
    return QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()));
}

void open(ShellOpener& shell, const std::string& serverBase, int32_t reference)
{
    (void)shell.openAddress(address(serverBase, reference));
}

} // namespace webad
