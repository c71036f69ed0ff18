#include "ui/BannerPlayer.h"

#include "widgets/PicturePanel.h"

#include <QPixmap>

BannerPlayer::BannerPlayer(PicturePanel* box, QObject* parent) : QObject(parent), m_box(box)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BannerPlayer::advance);
}

void BannerPlayer::play(const GifBanner& banner, const QString& file)
{
    m_timer.stop();
    m_banner = banner;
    m_file = file;
    m_frame = -1;
    if (m_banner.isNull()) {
        m_box->setPicture(QPixmap());
        return;
    }
    showFrame(0);
}

void BannerPlayer::clear()
{
    play(GifBanner(), QString());
}

void BannerPlayer::setFit(bool fit)
{
    if (fit == m_fit)
        return;
    m_fit = fit;
    refit();
}

void BannerPlayer::refit()
{
    if (m_frame >= 0) {
        const bool running = m_timer.isActive();
        const int left = m_timer.remainingTime();
        showFrame(m_frame);
        if (running)
            m_timer.start(std::max(0, left));
    }
}

void BannerPlayer::advance()
{
    const auto count = static_cast<int>(m_banner.frames().size());
    if (count > 1)
        showFrame((m_frame + 1) % count);
}

void BannerPlayer::showFrame(int index)
{
    const GifBanner::Frame& f = m_banner.frames()[static_cast<size_t>(index)];
    m_frame = index;
    QImage image = f.image;
    const QSize box = m_box->size();
    if (m_fit && box.isValid() && (image.width() > box.width() || image.height() > box.height()))
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_box->setPicture(QPixmap::fromImage(image));
    if (m_banner.frames().size() > 1)
        m_timer.start(f.delayMs);
}
