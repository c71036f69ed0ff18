// TFormLogoInicial: the splash window shown while the data set opens: borderless, always on top,
// 398 x 301, centred on the desktop, the product picture with the status text at its lower left.
// Its timer closes it; the main window owns it and destroys it once it is closed. Main thread.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

class TFormLogoInicial : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 398;
    static constexpr int kHeight = 301;
    static constexpr int kCloseMs = 3000;

    explicit TFormLogoInicial(const QString& caption, int closeMs = kCloseMs);

    // Shows the text at once (pending events are processed so it is painted now).
    void Progress(const QString& text);
    [[nodiscard]] QString statusText() const;
    // Starts the close timer.
    void startClosing();
    [[nodiscard]] QTimer& TimerToClose() { return m_timer; }

private:
    QLabel* m_lblStatus = nullptr;
    QTimer m_timer;
};
