#include "ads/AdCard.h"

#include "widgets/UiText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace adcard {

QFont surfaceFont(int points, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    f.setBold(bold);
    return f;
}

namespace {

constexpr int kDefaultPoints = 8; // the canvas font's size until a title sets its own

QString trimmed(const std::string& line)
{
    return uitext::fromData(line).trimmed();
}

// Writes text with its top-left corner at (x, y) on a white ground, as a canvas writes text.
void textOut(QPainter& p, int x, int y, const QString& text)
{
    const QFontMetrics m(p.font());
    p.fillRect(QRect(x, y, m.horizontalAdvance(text), m.height()), Qt::white);
    p.drawText(x, y + m.ascent(), text);
}

} // namespace

AdCard draw(int32_t kind, const std::vector<std::string>& lines, int clientWidth)
{
    AdCard card;
    if (lines.empty())
        return card;
    const bool rounded = kind == 2;
    const QFont base = surfaceFont(kDefaultPoints);
    const QFontMetrics baseMetrics(base);

    // Width: every line with four blanks each side, plus 30. A line is also measured in the font
    // it is drawn in, so that a long bold line never runs into the frame.
    int width = clientWidth;
    for (size_t j = 0; j < lines.size(); ++j) {
        const QString text = uitext::fromData(lines[j]);
        int w = baseMetrics.horizontalAdvance(QStringLiteral("    ") + text + QStringLiteral("    "));
        const bool bold = rounded && (j == 0 || j >= 4);
        const QFont drawn = surfaceFont(rounded ? 9 : 8, bold);
        w = std::max(w, QFontMetrics(drawn).horizontalAdvance(text.trimmed()) + 16);
        width = std::max(width, w + 30);
    }
    const int h = baseMetrics.height() + 3;
    card.rows = rounded ? static_cast<int>(lines.size()) : static_cast<int>(lines.size()) - 1;
    card.clientWidth = width;
    const int W = width;
    const int H = h * card.rows + 25;

    QImage picture(W, H, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    // Frames from (x1, y1) to (x2, y2), the right and bottom edges excluded, as a canvas draws them.
    auto frame = [&](int x1, int y1, int x2, int y2) {
        if (rounded) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawRoundedRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1), 7.5, 7.5);
            p.setRenderHint(QPainter::Antialiasing, false);
        } else {
            p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        }
    };
    if (rounded) {
        frame(1, 5, W - 2, H);
        frame(2, 6, W - 3, H - 1);
    } else {
        frame(1, 5, W - 2, H - 2);
        frame(2, 6, W - 3, H - 3);
    }
    p.setRenderHint(QPainter::TextAntialiasing, true);

    int y = 16;
    const QString title = trimmed(lines[0]);
    if (rounded) {
        p.setFont(surfaceFont(9, true));
        const QFontMetrics m(p.font());
        textOut(p, (W - m.horizontalAdvance(title)) / 2, y, title);
        y += m.height() + 2;
    } else {
        p.setFont(surfaceFont(8));
        textOut(p, 8, 0, QStringLiteral("  ") + title + QStringLiteral("  "));
    }
    QFont body = p.font();
    for (size_t j = 1; j < lines.size(); ++j) {
        const QString text = trimmed(lines[j]);
        if (rounded) {
            body.setBold(j >= 4);
            card.lineShown = true;
            card.lineTop = y - 19;
            card.lineWidth = W - 6;
        }
        p.setFont(body);
        const QFontMetrics m(body);
        textOut(p, (W - m.horizontalAdvance(text)) / 2, y, text);
        y += m.height() + 2;
    }
    p.end();
    card.picture = picture;
    return card;
}

} // namespace adcard
