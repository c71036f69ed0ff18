// TfrmRptImage: the printed ad: one page with the ad's picture (its own, or the card the viewer
// drew) centred, shrunk to fit when it is larger than the page, the logo at the top left and a
// note under the picture. Takes the picture as a value. Sizes in report pixels
// (ads/ReportPage.h); a picture's pixels count as report pixels. Main thread.
#pragma once

#include "ads/ReportPage.h"
#include "platform/Printers.h"

#include <QImage>

#include <optional>

class QWidget;

class TfrmRptImage {
public:
    static constexpr int kDetailBandHeight = 464;
    static constexpr int kShrinkMargin = 320; // a shrunk picture is the page less this

    TfrmRptImage();
    // Page set-up: the printer's orientation and page size; nullopt when no printer is installed.
    void FormCreate(const std::optional<Printers::PageSetup>& printer);
    // Lays the picture out on the page; true when it had to be shrunk.
    bool LayOut(const QImage& picture);
    // LayOut, then the preview (modal::exec) from which the user prints. Returns -1.
    int PrintPicture(const QImage& picture, QWidget* parent, const Printers& printers);

    [[nodiscard]] const report::Page& page() const { return m_page; }
    [[nodiscard]] QRectF pictureRect() const;
    [[nodiscard]] QRectF noteRect() const;
    [[nodiscard]] bool shrunk() const { return m_shrunk; }

private:
    report::Page m_page;
    bool m_shrunk = false;
};
