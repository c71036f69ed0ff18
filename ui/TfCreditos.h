// TfCreditos: the "Créditos" dialog reached through the hidden commands: the roles of the people
// who made the program, each heading followed by its names, and a close button. Created for one
// showing and destroyed after it. Main thread.
#pragma once

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;

class TfCreditos : public QDialog {
    Q_OBJECT
public:
    explicit TfCreditos(QWidget* parent = nullptr);

    struct Role {
        QString heading;
        std::vector<QString> names;
    };
    // The roles in the order shown.
    [[nodiscard]] static const std::vector<Role>& roles();

    std::vector<QLabel*> headings;
    std::vector<QLabel*> names;
    QPushButton* btnAceptar = nullptr;
};
