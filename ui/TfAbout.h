// TfAbout: the "Acerca de" dialog: the about picture, a bottom band with the team's notice, and two
// flat buttons over the band: the publisher's support page and close. Created for one showing and
// destroyed after it; the shell is borrowed and must outlive the dialog. Main thread.
#pragma once

#include <QDialog>

class QPushButton;
class ShellOpener;

class TfAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfAbout(ShellOpener* shell, QWidget* parent = nullptr);

    // The page the support button opens.
    [[nodiscard]] static QString supportPage();

    QPushButton* btnSoporteTecnico = nullptr;
    QPushButton* btnAceptar = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ShellOpener* m_shell;
};
