#include "ads/ReportPage.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace report {

QFont arial(int points, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(static_cast<int>(std::lround(points * kDpi / 72.0)));
    f.setBold(bold);
    // Text is laid out on report pixels and scaled: hinting for the screen would shift it.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

Label* Band::label(const QString& n)
{
    for (Label& l : labels)
        if (l.name == n)
            return &l;
    return nullptr;
}

const Label* Band::label(const QString& n) const
{
    return const_cast<Band*>(this)->label(n);
}

Picture* Band::picture(const QString& n)
{
    for (Picture& p : pictures)
        if (p.name == n)
            return &p;
    return nullptr;
}

Band* Page::band(const QString& n)
{
    for (Band& b : bands)
        if (b.name == n)
            return &b;
    return nullptr;
}

const Band* Page::band(const QString& n) const
{
    return const_cast<Page*>(this)->band(n);
}

const Label* Page::findLabel(const QString& n) const
{
    for (const Band& b : bands)
        if (const Label* l = b.label(n))
            return l;
    return nullptr;
}

QString shownText(const Label& label, const PrintContext& context)
{
    switch (label.field) {
    case Field::Date: return label.text + context.date.toString(QStringLiteral("dd/MM/yyyy"));
    case Field::PageNumber: return label.text + QString::number(context.pageNumber);
    case Field::None: break;
    }
    return label.text;
}

double textWidth(const QFont& font, const QString& text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

namespace {

void paintLabel(QPainter& p, const Label& l, const QPointF& origin, const PrintContext& context)
{
    const QString text = shownText(l, context);
    if (text.isEmpty())
        return;
    QRectF r = l.rect.translated(origin);
    if (l.autoSize)
        r.setWidth(textWidth(l.font, text));
    if (r.width() <= 0)
        return; // a cell laid out to nothing shows nothing
    p.setFont(l.font);
    if (l.wordWrap) {
        p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        return;
    }
    // Cells do not grow: a text longer than its cell ends in an ellipsis instead of running into
    // the next column.
    const QString fitted = QFontMetricsF(l.font).elidedText(text, Qt::ElideRight, r.width() + 0.5);
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, fitted);
}

} // namespace

void paint(const Page& page, QPainter& p, const QRectF& target, const PrintContext& context)
{
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / page.size.width(), target.height() / page.size.height());
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);
    for (const Band& band : page.bands) {
        const QPointF origin = band.rect.topLeft();
        for (const Picture& pic : band.pictures) {
            if (pic.image.isNull())
                continue;
            const QRectF r = pic.rect.translated(origin);
            if (pic.stretch) {
                p.drawImage(r, pic.image);
            } else {
                QRectF natural(QPointF(0, 0), QSizeF(pic.image.size()));
                natural.moveCenter(r.center());
                p.drawImage(natural, pic.image);
            }
        }
        for (const Line& line : band.lines) {
            const QRectF r = line.rect.translated(origin);
            p.setPen(QPen(Qt::black, line.penWidth, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        }
        p.setPen(Qt::black);
        for (const Label& label : band.labels)
            paintLabel(p, label, origin, context);
    }
    p.restore();
}

QImage render(const Page& page, double dpi, const PrintContext& context)
{
    const double scale = dpi / kDpi;
    QImage image(static_cast<int>(std::lround(page.size.width() * scale)),
                 static_cast<int>(std::lround(page.size.height() * scale)), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    QPainter painter(&image);
    paint(page, painter, QRectF(0, 0, image.width(), image.height()), context);
    return image;
}

} // namespace report
