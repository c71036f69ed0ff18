// BannerPlayer: shows one banner in a picture box of the banner strip and, when the banner has
// several frames, plays them in a loop with each frame's own delay. With fitting on, a banner
// larger than its box is scaled down to fit, keeping its proportions. Owned by the main window
// (Qt parent); it does not own the box, which must outlive it. Main thread.
#pragma once

#include "ui/GifBanner.h"

#include <QObject>
#include <QTimer>

class PicturePanel;

class BannerPlayer : public QObject {
    Q_OBJECT
public:
    BannerPlayer(PicturePanel* box, QObject* parent);

    // Shows banner from its first frame (an empty banner empties the box); file is remembered
    // for whoever asks what the box shows.
    void play(const GifBanner& banner, const QString& file);
    void clear();
    void setFit(bool fit);
    // The box changed size: the current frame is drawn again for it.
    void refit();

    [[nodiscard]] const QString& file() const { return m_file; }
    [[nodiscard]] const GifBanner& banner() const { return m_banner; }
    [[nodiscard]] int currentFrame() const { return m_frame; }
    [[nodiscard]] bool animating() const { return m_timer.isActive(); }
    // The next frame now, as its timer would (tests).
    void advance();

private:
    void showFrame(int index);

    PicturePanel* m_box;
    GifBanner m_banner;
    QString m_file;
    QTimer m_timer;
    int m_frame = -1;
    bool m_fit = false;
};
