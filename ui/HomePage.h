// HomePage: the home section (the panel named pnlHome): the 745 x 442 card centred in it with its
// strips, the central picture, the description picture that follows the mouse over the section
// buttons, the six section buttons, the link areas over the picture, and the "powered by" picture
// under the card. The window connects the section buttons to its section switches. Owned by the
// main window through its Qt parent; main thread only.
#pragma once

#include "widgets/PicturePanel.h"

#include <array>
#include <functional>

class PictureButton;

class HomePage final : public PicturePanel {
    Q_OBJECT
public:
    // openAddress opens a link area's address in the desktop's browser.
    HomePage(std::function<void(const QString&)> openAddress, QWidget* parent);

    // Makes the controls (after the window's tab bar, which comes first in the focus order).
    void build();
    // The configured pictures, positions and links.
    void ApplyHomeBranding();
    // A move over button shows description text (0 off the button's inner area).
    void watchHover(PictureButton* button, int text);
    void ShowHomeText(int n);
    void pnlHomeResize();
    [[nodiscard]] int homeText() const { return m_homeText; }

    PicturePanel* pnlHomeInterior = nullptr;
    PicturePanel *pnlHome_Solapas = nullptr, *PnlHomeBottom = nullptr;
    PicturePanel *imgHome = nullptr, *img_HomeText = nullptr, *imgPowerBy = nullptr;
    PictureButton *spbuHome1 = nullptr, *spbuComercial1 = nullptr, *spbuTelefonos1 = nullptr,
                  *spbuOrgOficial1 = nullptr, *spbuAgenda1 = nullptr, *spbuInformacion1 = nullptr;
    std::array<QWidget*, 5> homeLinks{}; // imgLink0, spbLink1..4

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::function<void(const QString&)> m_openAddress;
    int m_homeText = -1;
};
