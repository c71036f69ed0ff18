#include "tools/QtPictureMaker.h"

#include "builder/SampleGifWriter.h"
#include "engine/Cp1252.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QColor colour(uint32_t rgb)
{
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

// a + (b - a) * num / den, channel by channel.
QColor blend(const QColor& a, const QColor& b, int num, int den)
{
    return QColor(a.red() + (b.red() - a.red()) * num / den, a.green() + (b.green() - a.green()) * num / den,
                  a.blue() + (b.blue() - a.blue()) * num / den);
}

QString text(const std::string& windows1252)
{
    return QString::fromStdString(cp1252::toUtf8(windows1252));
}

QFont font(int pixelSize, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(pixelSize, 6));
    f.setBold(bold);
    return f;
}

// The largest font up to maxSize in which line fits width.
QFont fitted(const QString& line, int width, int maxSize, bool bold)
{
    for (int size = maxSize; size > 7; --size) {
        const QFont f = font(size, bold);
        if (QFontMetrics(f).horizontalAdvance(line) <= width)
            return f;
    }
    return font(7, bold);
}

// Text is filled as a path of the glyph outlines rather than drawn through the glyph cache, whose
// rasterised glyphs depend on what was drawn before: the same request must give the same pixels.
void textPath(QPainter& p, const QRectF& box, bool centre, const QString& line, const QFont& f, const QColor& c)
{
    const QFontMetricsF metrics(f);
    const qreal width = metrics.horizontalAdvance(line);
    const qreal x = centre ? box.left() + (box.width() - width) / 2 : box.left();
    const qreal baseline = box.top() + (box.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
    QPainterPath path;
    path.addText(QPointF(x, baseline), f, line);
    p.fillPath(path, c);
}

// One line centred in a box, elided if even the smallest size is too wide.
void centredLine(QPainter& p, const QRect& box, const QString& line, int maxSize, bool bold, const QColor& c)
{
    const QFont f = fitted(line, box.width(), maxSize, bold);
    textPath(p, box, true, QFontMetrics(f).elidedText(line, Qt::ElideRight, box.width()), f, c);
}

void leftLine(QPainter& p, const QRect& box, const QString& line, int maxSize, bool bold, const QColor& c)
{
    const QFont f = fitted(line, box.width(), maxSize, bold);
    textPath(p, box, false, QFontMetrics(f).elidedText(line, Qt::ElideRight, box.width()), f, c);
}

// The body lines spread over a box: telephone lines bold and in the accent colour.
void bodyLines(QPainter& p, const QRect& box, const QStringList& lines, bool centre, const QColor& ink,
               const QColor& accent)
{
    if (lines.isEmpty() || box.height() <= 0)
        return;
    const int n = static_cast<int>(lines.size());
    const int rowHeight = std::min(box.height() / n, std::max(46, box.height() / 6));
    const int size = std::min(rowHeight * 3 / 5, 32);
    int y = box.top() + (box.height() - rowHeight * n) / 2;
    for (const QString& line : lines) {
        const bool phone = line.startsWith(QLatin1String("TEL"));
        const QRect row(box.left(), y, box.width(), rowHeight);
        if (centre)
            centredLine(p, row, line, phone ? size + 2 : size, phone, phone ? accent : ink);
        else
            leftLine(p, row, line, phone ? size + 2 : size, phone, phone ? accent : ink);
        y += rowHeight;
    }
}

QString initials(const QString& title)
{
    QString out;
    for (const QString& word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.size() > 2 && word.at(0).isLetter())
            out += word.at(0);
        if (out.size() == 2)
            break;
    }
    return out.isEmpty() ? title.left(1) : out;
}

void emblem(QPainter& p, const QPointF& centre, qreal radius, const QString& letters, const QColor& fill,
            const QColor& ring, const QColor& ink)
{
    p.setPen(QPen(ring, std::max<qreal>(2, radius / 10)));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    textPath(p, QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), true, letters,
             font(static_cast<int>(radius * (letters.size() > 1 ? 0.8 : 1.1)), true), ink);
}

std::vector<uint8_t> png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // A light zlib level: several times faster than the default for a few percent more bytes.
    if (!image.save(&buffer, "PNG", 80))
        return {};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

std::vector<uint8_t> QtPictureMaker::adPicture(const AdPictureRequest& request) const
{
    const int w = request.width, h = request.height;
    if (w < 64 || h < 64 || w > 4096 || h > 4096)
        return {};
    const QColor paper = colour(request.theme.background);
    const QColor ink = colour(request.theme.ink);
    const QColor accent = colour(request.theme.accent);
    // On a dark ground the accent itself stands out; on a light one its darker shade reads better.
    const bool darkGround = paper.red() * 299 + paper.green() * 587 + paper.blue() * 114 < 128000;
    const QColor dark = darkGround ? accent : blend(accent, Qt::black, 2, 5);
    const QColor light = blend(accent, paper, 3, 4);

    QStringList lines;
    for (const std::string& line : request.lines)
        lines << text(line);
    const QString title = lines.isEmpty() ? QString() : lines.takeFirst();

    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient ground(0, 0, 0, h);
    ground.setColorAt(0, paper);
    ground.setColorAt(1, blend(paper, accent, 1, 8));
    p.fillRect(image.rect(), ground);

    const int margin = std::max(8, w / 50);
    const QRect inner(margin, margin, w - 2 * margin, h - 2 * margin);
    switch (request.theme.layout & 3) {
    case 0: {
        // A band across the top with the name, a double rounded frame around everything.
        const int band = std::max(h / 4, 48);
        QPainterPath top;
        top.addRoundedRect(QRectF(inner.left(), inner.top(), inner.width(), band), 14, 14);
        QLinearGradient shade(0, inner.top(), 0, inner.top() + band);
        shade.setColorAt(0, accent);
        shade.setColorAt(1, dark);
        p.fillPath(top, shade);
        centredLine(p, QRect(inner.left() + 12, inner.top(), inner.width() - 24, band), title, band * 11 / 20, true,
                    paper);
        p.setPen(QPen(accent, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(inner).adjusted(-3, -3, 3, 3), 16, 16);
        p.setPen(QPen(dark, 1));
        p.drawRoundedRect(QRectF(inner).adjusted(2, 2, -2, -2), 12, 12);
        bodyLines(p, QRect(inner.left() + 16, inner.top() + band + 10, inner.width() - 32, inner.height() - band - 20),
                  lines, true, ink, dark);
        break;
    }
    case 1: {
        // A striped column at the left, the name beside an emblem, lines left-aligned.
        const int column = w / 5;
        p.fillRect(QRect(0, 0, column, h), accent);
        p.fillRect(QRect(0, 0, column, h), QBrush(light, Qt::BDiagPattern));
        p.setPen(QPen(dark, 4));
        p.drawLine(column, 0, column, h);
        const qreal r = std::min(column * 0.36, h * 0.12);
        emblem(p, QPointF(column / 2.0, h - r - margin * 2), r, initials(title), paper, dark, accent);
        const QRect text(column + 16, inner.top(), w - column - 16 - margin, h / 5);
        leftLine(p, text, title, h / 10, true, dark);
        p.fillRect(QRect(text.left(), text.bottom() + 2, text.width(), 3), accent);
        bodyLines(p, QRect(text.left(), text.bottom() + 14, text.width(), h - text.bottom() - 14 - margin), lines,
                  false, ink, dark);
        break;
    }
    case 2: {
        // An emblem with the initials, the name beside it, a wave at the foot.
        const qreal r = std::min(h / 7.0, 56.0);
        emblem(p, QPointF(inner.left() + r + 4, inner.top() + r + 4), r, initials(title), accent, dark, paper);
        const QRect head(static_cast<int>(inner.left() + 2 * r + 20), inner.top(),
                         static_cast<int>(inner.width() - 2 * r - 24), static_cast<int>(2 * r + 8));
        leftLine(p, head, title, static_cast<int>(r * 0.8), true, ink);
        QPainterPath wave;
        wave.moveTo(0, h);
        wave.lineTo(0, h * 0.86);
        wave.cubicTo(w * 0.3, h * 0.78, w * 0.6, h * 0.96, w, h * 0.84);
        wave.lineTo(w, h);
        wave.closeSubpath();
        p.fillPath(wave, accent);
        p.setPen(QPen(dark, 2));
        p.drawLine(inner.left(), head.bottom() + 8, inner.right(), head.bottom() + 8);
        bodyLines(
            p, QRect(inner.left(), head.bottom() + 16, inner.width(), static_cast<int>(h * 0.80) - head.bottom() - 16),
            lines, true, ink, dark);
        break;
    }
    default: {
        // The name over a rule, the telephone on a band at the foot, a starburst in a corner.
        p.setPen(QPen(blend(ink, paper, 1, 2), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(inner).adjusted(0.5, 0.5, -0.5, -0.5));
        const QRect head(inner.left() + 12, inner.top() + 6, inner.width() - 24 - h / 5, h / 5);
        centredLine(p, head, title, h / 9, true, accent);
        p.fillRect(QRect(inner.left() + 20, head.bottom() + 4, inner.width() - 40, 2), ink);
        QString phone;
        QStringList rest;
        for (const QString& line : lines) {
            if (phone.isEmpty() && line.startsWith(QLatin1String("TEL")))
                phone = line;
            else
                rest << line;
        }
        const int band = std::max(34, h / 7);
        const QRect foot(inner.left(), inner.bottom() - band, inner.width(), band);
        p.fillRect(foot, accent);
        if (!phone.isEmpty())
            centredLine(p, foot.adjusted(10, 0, -10, 0), phone, band / 2, true, paper);
        bodyLines(p, QRect(inner.left() + 16, head.bottom() + 14, inner.width() - 32, foot.top() - head.bottom() - 24),
                  rest, true, ink, dark);
        const QPointF c(inner.right() - h / 10.0, inner.top() + h / 10.0);
        QPolygonF star;
        for (int k = 0; k < 24; ++k) {
            const double radius = (k % 2 == 0 ? h / 11.0 : h / 15.0);
            const double angle = k * 3.14159265358979323846 / 12;
            star << QPointF(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawPolygon(star);
        const QFont small = font(h / 30, true);
        const qreal line = QFontMetricsF(small).height();
        textPath(p, QRectF(c.x() - h / 12.0, c.y() - line, h / 6.0, line), true, QStringLiteral("LLAME"), small, paper);
        textPath(p, QRectF(c.x() - h / 12.0, c.y(), h / 6.0, line), true, QStringLiteral("YA"), small, paper);
        break;
    }
    }
    p.end();
    return png(image);
}

std::vector<uint8_t> QtPictureMaker::banner(const BannerRequest& request) const
{
    const int w = request.width, h = request.height;
    if (w < 32 || h < 16 || w > 2048 || h > 512 || request.frames.empty())
        return {};
    const QColor paper = colour(request.theme.background);
    const QColor ink = colour(request.theme.ink);
    const QColor accent = colour(request.theme.accent);
    const QColor dark = blend(accent, Qt::black, 2, 5);
    const QColor light = blend(accent, paper, 1, 2);

    // A fixed palette: the theme's colours and seven steps between each pair, so antialiased
    // edges find a close colour and the output does not depend on how Qt would choose one.
    const QColor keys[] = {paper, ink, accent, dark, light, QColor(Qt::white), QColor(Qt::black)};
    QList<QRgb> table;
    for (const QColor& k : keys)
        table << k.rgb();
    for (size_t a = 0; a < std::size(keys); ++a) {
        for (size_t b = a + 1; b < std::size(keys); ++b) {
            for (int step = 1; step < 8; ++step)
                table << blend(keys[a], keys[b], step, 8).rgb();
        }
    }

    const bool blockRight = (request.theme.layout & 1) != 0;
    std::vector<std::vector<uint8_t>> frames;
    for (size_t f = 0; f < request.frames.size(); ++f) {
        const bool inverted = f % 2 == 1;
        const QColor ground = inverted ? accent : paper;
        const QColor letters = inverted ? paper : ink;
        QImage image(w, h, QImage::Format_RGB32);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        QLinearGradient shade(0, 0, 0, h);
        shade.setColorAt(0, ground);
        shade.setColorAt(1, inverted ? dark : blend(paper, accent, 1, 4));
        p.fillRect(image.rect(), shade);
        const int block = std::min(h + 10, w / 6);
        const QRect side(blockRight ? w - block : 0, 0, block, h);
        p.fillRect(side, inverted ? dark : accent);
        p.fillRect(side, QBrush(inverted ? accent : light, Qt::BDiagPattern));
        p.setPen(QPen(inverted ? dark : accent, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 1.5, w - 3, h - 3));
        const QRect area(blockRight ? 10 : block + 10, 4, w - block - 20, h - 8);
        QStringList lines;
        for (const std::string& line : request.frames[f])
            lines << text(line);
        while (lines.size() > 3)
            lines.removeLast();
        const int n = static_cast<int>(lines.size());
        const int rowHeight = area.height() / std::max(n, 1);
        for (int i = 0; i < n; ++i) {
            const QRect row(area.left(), area.top() + i * rowHeight, area.width(), rowHeight);
            const int size = i == 0 ? (n == 1 ? 30 : rowHeight * 3 / 4) : rowHeight * 3 / 5;
            centredLine(p, row, lines[i], size, i == 0, letters);
        }
        p.end();
        const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
        std::vector<uint8_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            std::copy_n(indexed.constScanLine(y), w, pixels.begin() + static_cast<ptrdiff_t>(y) * w);
        frames.push_back(std::move(pixels));
    }
    std::vector<uint32_t> palette;
    for (const QRgb c : table)
        palette.push_back(static_cast<uint32_t>(c) & 0xFFFFFF);
    return sample::encodeGif(w, h, palette, frames, request.frameDelay);
}
