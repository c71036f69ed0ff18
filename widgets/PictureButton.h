// PictureButton: a flat button drawn entirely by its picture, with a hand cursor, as the tab,
// action-bar and header buttons are designed. Disabled buttons are drawn faded; a pressed button
// shifts by one pixel. Main thread.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    [[nodiscard]] const QPixmap& picture() const { return m_picture; }
    // Size follows the picture (the default); off keeps the size the owner gives.
    void setAutoSize(bool autoSize) { m_autoSize = autoSize; }
    [[nodiscard]] QSize sizeHint() const override;

Q_SIGNALS:
    void mouseMoved(QPoint pos);
    // Any mouse button pressed on the button (pressed() only reports the left one).
    void mousePressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    bool m_autoSize = true;
};
