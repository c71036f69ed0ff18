// GifBanner: a GIF picture decoded through giflib into whole frames, each the full logical screen
// with the earlier frames' disposal applied, and each with its display time. Used for the banner
// strip's pictures, which come from the data set: every size, position and palette index is
// checked: a file that breaks a rule, or whose screen is too large, gives an empty banner; an
// animation longer than the limits keeps its first frames. A value type; decoding needs no shared
// state, so any thread may decode.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

class GifBanner {
public:
    struct Frame {
        QImage image; // ARGB32 premultiplied, the logical screen's size
        int delayMs = 0;
    };

    // Limits that keep a damaged or hostile file from taking the memory of the whole program.
    static constexpr int kMaxSide = 2048;
    static constexpr int kMaxFrames = 256;
    static constexpr qint64 kMaxTotalPixels = 16LL * 1024 * 1024; // over all frames
    // Delays below 20 ms are a "no delay" that browsers show at 100 ms; so do we.
    static constexpr int kDefaultDelayMs = 100;

    GifBanner() = default;

    // Empty when the bytes are not a complete, valid GIF within the limits. A file that ends
    // after a complete frame but lacks its trailer keeps the frames read so far.
    [[nodiscard]] static GifBanner decode(const QByteArray& bytes);
    // Empty when the file cannot be read or decoded.
    [[nodiscard]] static GifBanner load(const QString& path);

    [[nodiscard]] bool isNull() const { return m_frames.empty(); }
    [[nodiscard]] const std::vector<Frame>& frames() const { return m_frames; }
    [[nodiscard]] QSize size() const { return isNull() ? QSize() : m_frames.front().image.size(); }

private:
    std::vector<Frame> m_frames;
};
