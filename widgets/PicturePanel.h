// PicturePanel: a panel that paints a background colour and, over it, a picture: stretched to fill
// the panel, or at its own size at the top left. Children sit on top. Main thread.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

class PicturePanel : public QWidget {
    Q_OBJECT
public:
    explicit PicturePanel(QWidget* parent = nullptr, const QColor& background = QColor());

    void setPicture(const QPixmap& picture);
    [[nodiscard]] const QPixmap& picture() const { return m_picture; }
    void setStretch(bool stretch);
    void setBackground(const QColor& colour);
    [[nodiscard]] QColor background() const { return m_background; }
    // Picture boxes that size themselves to their picture.
    void setAutoSize(bool autoSize);
    // Picture drawn centred instead of at the top left (banner boxes).
    void setCenter(bool center);

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void mouseMoved(QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    QColor m_background;
    bool m_stretch = false;
    bool m_autoSize = false;
    bool m_center = false;
    bool m_pressed = false;
};
