// AppearanceSettings: the program's built-in branding: title, which section tabs exist, every
// picture of tabs, buttons, strips and headers, the two colour schemes, the home page's pictures
// and links, the help file. Read-only; one process-wide instance (appearance()) made before the
// main window and kept to the end of the process; tests put other settings in its place with
// ScopedAppearance. Pictures are resource paths, loaded and cached by picture(). Main thread.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

#include <array>

struct ColourScheme {
    // Tab buttons in their normal state.
    QString spbuHome, spbuTelefonos, spbuComercial, spbuOrgOficial, spbuAgenda, spbuInformacion;
    QString btn_imprimir, btn_agendar, btn_delagenda_on, btn_marcar, btn_desmarcar;
    QString btn_seleccionados_on, btn_seleccionados_off, btnRecomendarSelected, btnMailSelected;
    QString bbuBuscar, bbuLimpiar, btn_help;
    QString fondoSolapas, vertBar, imgVerTambien, imgVerTambien_none;
    QString FondoBarra, FondoPanel2, imgSecciones, imgBanners, logo;
    QColor Fuente;        // labels and links
    QColor FuenteSel;     // the chosen link of the information section
    QColor lblVerTambien; // see-also labels
};

struct AppearanceSettings {
    QString txTitulo;
    // Which tabs exist (tab bar and home page).
    bool ckHome = true, ckAlfa = true, ckCom = true, ckOrgOf = true, ckAgenda = true, ckInfoUtil = true;
    // A tab's picture while its section is current.
    QString spbuHome, spbuTelefonos, spbuComercial, spbuOrgOficial, spbuAgenda, spbuInformacion;
    // The home page's section buttons.
    QString imSolapaH_Home, imSolapaH_Alfa, imSolapaH_Com, imSolapaH_OrgOf, imSolapaH_Agenda, imSolapaH_InfoUtil;
    QString bbuNuevoAgenda;
    QString imgHome_fondoSolapas_esqI, imgHome_fondoSolapas, imgHome_fondoSolapas_esqD;
    QString imgHome;
    QString imgHome_fondoSolapas_esqIb, imgHome_fondoBottom, imgHome_fondoSolapas_esqDB;
    std::array<QString, 6> img_HomeText;
    QString txHomeTextsTop, txHomeTextsLeft;
    std::array<QString, 5> txLink;
    QString txHelpFile;
    QString DDN_Image1, DDI_Image1, NU_Image1;
    // Pictures of our own windows: splash, intro panel of the list, about dialog, program icon.
    QString splash, busqueDatos, about, appIcon;
    std::array<ColourScheme, 2> schemes; // scheme 1 at [0], scheme 2 at [1]

    // The scheme of number s (1 or 2; anything else gives scheme 1).
    [[nodiscard]] const ColourScheme& scheme(int s) const { return schemes[s == 2 ? 1 : 0]; }
    // The publisher's web site (link 0), the base of its pages.
    [[nodiscard]] const QString& publisherSite() const { return txLink[0]; }

    // The settings as shipped.
    [[nodiscard]] static AppearanceSettings shipped();
};

// The process-wide settings: the shipped ones, or those of the innermost ScopedAppearance.
[[nodiscard]] const AppearanceSettings& appearance();

// Puts other settings in place of the process-wide ones for its lifetime (a tab switched off, an
// empty link); scopes nest. Made and destroyed on the main thread, around the windows that read
// them.
class ScopedAppearance {
public:
    explicit ScopedAppearance(AppearanceSettings settings);
    ~ScopedAppearance();
    ScopedAppearance(const ScopedAppearance&) = delete;
    ScopedAppearance& operator=(const ScopedAppearance&) = delete;

private:
    AppearanceSettings m_settings;
    const AppearanceSettings* m_previous;
};

// A picture from its resource path, cached for the process; a null pixmap for an empty or unknown
// path (the control then shows nothing).
[[nodiscard]] QPixmap picture(const QString& path);
