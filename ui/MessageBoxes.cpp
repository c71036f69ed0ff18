#include "ui/MessageBoxes.h"

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
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool confirm(QWidget* parent, const QString& text)
{
    return show(parent, u"Atención"_s, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) ==
           QMessageBox::Yes;
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
}

bool answersQueued()
{
    return !answers().empty();
}

} // namespace messageboxes
