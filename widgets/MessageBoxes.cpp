#include "widgets/MessageBoxes.h"

#include "widgets/ModalSeam.h"

#include <QInputDialog>

using namespace Qt::StringLiterals;

namespace messageboxes {
namespace {

std::deque<QMessageBox::StandardButton>& answers()
{
    static std::deque<QMessageBox::StandardButton> queue;
    return queue;
}

std::vector<Shown>& record()
{
    static std::vector<Shown> boxes;
    return boxes;
}

std::deque<std::optional<QString>>& texts()
{
    static std::deque<std::optional<QString>> queue;
    return queue;
}

std::vector<Shown>& askedRecord()
{
    static std::vector<Shown> boxes;
    return boxes;
}

} // namespace

QMessageBox::StandardButton show(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    if (!answers().empty()) {
        record().push_back({caption, text, buttons});
        const QMessageBox::StandardButton a = answers().front();
        answers().pop_front();
        return a;
    }
    if (modal::headless()) { // a test that queued nothing: recorded, answered with no button
        record().push_back({caption, text, buttons});
        return QMessageBox::NoButton;
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool confirm(QWidget* parent, const QString& text)
{
    return show(parent, u"Atención"_s, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) ==
           QMessageBox::Yes;
}

std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt, const QString& value)
{
    if (!texts().empty()) {
        askedRecord().push_back({caption, prompt, QMessageBox::Ok | QMessageBox::Cancel});
        std::optional<QString> a = texts().front();
        texts().pop_front();
        return a;
    }
    if (modal::headless()) {
        askedRecord().push_back({caption, prompt, QMessageBox::Ok | QMessageBox::Cancel});
        return std::nullopt;
    }
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void queueText(std::optional<QString> answer)
{
    texts().push_back(std::move(answer));
}

const std::vector<Shown>& asked()
{
    return askedRecord();
}

void queueAnswer(QMessageBox::StandardButton answer)
{
    answers().push_back(answer);
}

const std::vector<Shown>& shown()
{
    return record();
}

void clearShown()
{
    record().clear();
    askedRecord().clear();
}

bool answersQueued()
{
    return !answers().empty();
}

} // namespace messageboxes
