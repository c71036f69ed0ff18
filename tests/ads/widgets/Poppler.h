// Reads PDF files back with poppler-utils, an independent reader: the words with their boxes
// (pdftotext -bbox, in points from the top left), the page count (pdfinfo) and the pixels of a
// page (pdftoppm).
#pragma once

#include <QImage>
#include <QRegularExpression>
#include <QString>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace poppler {

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};

inline std::string run(const std::string& command)
{
    std::string out;
    FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (p == nullptr)
        return out;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), p)) > 0)
        out.append(buffer.data(), n);
    ::pclose(p);
    return out;
}

inline std::vector<Word> words(const std::string& pdf)
{
    const QString html = QString::fromStdString(run("pdftotext -bbox '" + pdf + "' -"));
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        out.push_back({text, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4).toDouble()});
    }
    return out;
}

// The words that equal text, in reading order.
inline std::vector<Word> find(const std::vector<Word>& all, const QString& text)
{
    std::vector<Word> out;
    for (const Word& w : all)
        if (w.text == text)
            out.push_back(w);
    return out;
}

inline int pages(const std::string& pdf)
{
    const std::string info = run("pdfinfo '" + pdf + "'");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// Page 1 at 96 dots per inch: one pixel per report pixel.
inline QImage firstPage(const std::string& pdf, const std::string& stem)
{
    run("pdftoppm -r 96 -f 1 -l 1 -singlefile -png '" + pdf + "' '" + stem + "'");
    return QImage(QString::fromStdString(stem + ".png"));
}

constexpr double kPointsPerPixel = 72.0 / 96.0;

} // namespace poppler
