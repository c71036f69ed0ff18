// UpperCaseValidator: makes a line edit show what is typed in upper case, as the search text is
// searched: letters the data set's code page holds are raised by its Spanish rule (á -> Á, ñ -> Ñ;
// ß stays), anything else is left as typed. Owned by the edit; main thread.
#pragma once

#include <QValidator>

class UpperCaseValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
