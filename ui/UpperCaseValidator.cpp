#include "ui/UpperCaseValidator.h"

#include "engine/Cp1252.h"

QValidator::State UpperCaseValidator::validate(QString& input, int&) const
{
    // One character for one, so the cursor stays where it was.
    for (QChar& c : input) {
        const int byte = cp1252::fromUnicode(c.unicode());
        if (byte < 0)
            continue;
        const char32_t raised = cp1252::toUnicode(cp1252::upper(static_cast<unsigned char>(byte)));
        if (raised <= 0xFFFF)
            c = QChar(static_cast<char16_t>(raised));
    }
    return Acceptable;
}
