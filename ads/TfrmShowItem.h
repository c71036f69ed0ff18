// TfrmShowItem: the ad window ("Aviso"). Shows an ad's picture from the picture library (opened
// fitted when it is larger than the window may grow, with zoom buttons between the fitted and the
// natural size) or, for an ad without a picture, a card drawn from its text lines; prints what it
// shows through the ad report. Holds the ad store's line list by reference while it is shown (the
// store is not read meanwhile) and the library's file and picture handles from FormShow to
// FormHide. Created for one showing, modal. Main thread.
#pragma once

#include "platform/BlockLibrary.h"

#include <QDialog>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

class PicturePanel;
class Printers;
class QFrame;
class QPushButton;
class QScrollArea;
class QToolButton;
class QWidget;

class TfrmShowItem : public QDialog {
    Q_OBJECT
public:
    static constexpr int kToolBarHeight = 45;
    static constexpr QSize kInitialClient{301, 240};
    static constexpr QSize kMaxClient{740, 560};

    TfrmShowItem(QWidget* owner, int32_t kind, const std::vector<std::string>& lines, int32_t imageNumber,
                 std::string pictureFile, BlockLibrary& library, const Printers& printers);
    ~TfrmShowItem() override;

    // Shows an ad modally (modal::exec): lays it out and draws it first, releases the picture
    // after. Returns the dialog's result.
    static int ShowAd(QWidget* owner, int32_t kind, const std::vector<std::string>& lines, int32_t imageNumber,
                      const std::string& pictureFile, BlockLibrary& library, const Printers& printers);

    void FormShow();
    void FormHide();
    void cmdZoomInClick();
    void cmdZoomOutClick();
    void cmdImprimirClick();

    // What the window shows, for its tests, the screenshots and the command line.
    [[nodiscard]] QSize clientSize() const { return m_client; }
    [[nodiscard]] QRect imageGeometry() const;
    [[nodiscard]] QSize scrollPaneSize() const;
    [[nodiscard]] bool imageStretched() const;
    // The picture held by the drawing surface: the ad's picture, or the card as shown (separator
    // line included), as the report prints it.
    [[nodiscard]] QImage shownPicture() const;
    [[nodiscard]] bool separatorShown() const;
    [[nodiscard]] QRect separatorGeometry() const;
    [[nodiscard]] bool laidOut() const { return m_drawn; }
    [[nodiscard]] BlockLibrary::Handle libraryHandle() const { return m_handle; }
    QToolButton* cmdZoomIn = nullptr;
    QToolButton* cmdZoomOut = nullptr;
    QPushButton* cmdImprimir = nullptr;
    QPushButton* cmsSalir = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void LoadPicture();
    void DrawAd();
    void ReleasePicture();
    void setClientHeight(int height);
    void setClientWidth(int width);
    void applyClient();
    void placeImage();
    void centreOnScreen();
    [[nodiscard]] int toolBarWidth() const;

    const std::vector<std::string>& m_lines;
    std::string m_pictureFile;
    int32_t m_imageNumber;
    int32_t m_kind;
    BlockLibrary::Handle m_handle = 0;
    BlockLibrary::Bitmap m_picture = 0;

    BlockLibrary& m_library;
    const Printers& m_printers;
    QSize m_client = kInitialClient;
    QSize m_natural; // the client size at natural picture size, for cmdZoomInClick
    QImage m_shown;  // the picture or card the surface holds
    bool m_drawn = false;

    QWidget* pnlToolBar = nullptr;
    PicturePanel* logoQD = nullptr;
    QScrollArea* ScrollPane = nullptr;
    QWidget* m_surface = nullptr;
    PicturePanel* Image = nullptr;
    QFrame* Linea = nullptr;
};
