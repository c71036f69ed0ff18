#include "widgets/UiText.h"

#include "engine/Cp1252.h"

#include <QList>

namespace uitext {

QString fromData(std::string_view windows1252)
{
    QString out;
    out.reserve(static_cast<qsizetype>(windows1252.size()));
    for (const char c : windows1252)
        out.append(QChar(static_cast<char16_t>(cp1252::toUnicode(static_cast<unsigned char>(c)))));
    return out;
}

std::string toData(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const char32_t u : text.toUcs4()) {
        const int b = cp1252::fromUnicode(u);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

} // namespace uitext
