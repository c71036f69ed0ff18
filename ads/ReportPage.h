// ReportPage: one printed page as the reports lay it out, in report pixels: 96 per inch, the
// screen pixels every report layout is given in (1 mm = 96 / 25.4 px). A page holds bands (title,
// detail, footer) at page positions, each with labels, pictures and lines placed relative to the
// band; the page's own items sit in its "page" band at 0,0. Labels may end with a field (the date
// of printing, the page number) filled in when the page is drawn. Pure data plus painting onto any
// QPainter (preview, printer, PDF file, image). Main thread (fonts).
#pragma once

#include <QDate>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;

namespace report {

constexpr double kDpi = 96.0;
[[nodiscard]] inline double mm(double millimetres)
{
    return millimetres * kDpi / 25.4;
}

// Arial (or its metric twin) at a size in points, as a pixel size in report pixels.
[[nodiscard]] QFont arial(int points, bool bold = false);

enum class Field { None, Date, PageNumber };

struct Label {
    QString name;
    QRectF rect; // in the band; with autoSize the width follows the text
    QString text;
    QFont font;
    Field field = Field::None; // appended to text when drawn
    bool autoSize = false;
    bool wordWrap = false;
};

struct Picture {
    QString name;
    QRectF rect;
    QImage image;
    bool stretch = false; // false: drawn at its own size, centred in rect
};

// A horizontal rule across rect, centred on its height.
struct Line {
    QRectF rect;
    double penWidth = 1;
};

struct Band {
    QString name;
    QRectF rect; // on the page
    std::vector<Label> labels;
    std::vector<Picture> pictures;
    std::vector<Line> lines;

    [[nodiscard]] Label* label(const QString& name);
    [[nodiscard]] const Label* label(const QString& name) const;
    [[nodiscard]] Picture* picture(const QString& name);
};

struct PrintContext {
    QDate date = QDate::currentDate();
    int pageNumber = 1;
};

struct Page {
    QSizeF size{794, 1123}; // A4 portrait
    bool landscape = false;
    double marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    std::vector<Band> bands; // drawn in order

    [[nodiscard]] Band* band(const QString& name);
    [[nodiscard]] const Band* band(const QString& name) const;
    // The label with that name in any band, or nullptr.
    [[nodiscard]] const Label* findLabel(const QString& name) const;
};

// The text a label shows once its field is filled in.
[[nodiscard]] QString shownText(const Label& label, const PrintContext& context);
// The width a label of that font needs for its text (autoSize labels).
[[nodiscard]] double textWidth(const QFont& font, const QString& text);

// Draws the page into target (device coordinates of the painter), scaled from report pixels.
void paint(const Page& page, QPainter& painter, const QRectF& target, const PrintContext& context);
// The page drawn on white at a resolution (96: one image pixel per report pixel).
[[nodiscard]] QImage render(const Page& page, double dpi, const PrintContext& context = {});

} // namespace report
