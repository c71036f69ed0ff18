#include "ui/AppearanceSettings.h"

#include <QHash>

using namespace Qt::StringLiterals;

// The pictures are compiled into the ui library; a static library's resources must be registered
// by hand before the first lookup.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace {

QString asset(const QString& name)
{
    return u":/assets/"_s + name + u".svg"_s;
}

ColourScheme makeScheme(int s)
{
    const QString n = u"_"_s + QString::number(s);
    const auto a = [&](const char16_t* name) { return asset(QString::fromUtf16(name) + n); };
    ColourScheme c;
    c.spbuHome = a(u"tab_home");
    c.spbuTelefonos = a(u"tab_telefonos");
    c.spbuComercial = a(u"tab_comercial");
    c.spbuOrgOficial = a(u"tab_orgoficial");
    c.spbuAgenda = a(u"tab_agenda");
    c.spbuInformacion = a(u"tab_informacion");
    c.btn_imprimir = a(u"btn_imprimir");
    c.btn_agendar = a(u"btn_agendar");
    c.btn_delagenda_on = a(u"btn_delagenda_on");
    c.btn_marcar = a(u"btn_marcar");
    c.btn_desmarcar = a(u"btn_desmarcar");
    c.btn_seleccionados_on = a(u"btn_seleccionados_on");
    c.btn_seleccionados_off = a(u"btn_seleccionados_off");
    c.btnRecomendarSelected = a(u"btnRecomendarSelected");
    c.btnMailSelected = a(u"btnMailSelected");
    c.bbuBuscar = a(u"bbuBuscar");
    c.bbuLimpiar = a(u"bbuLimpiar");
    c.btn_help = a(u"btn_help");
    c.fondoSolapas = a(u"fondoSolapas");
    c.vertBar = a(u"vertBar");
    c.imgVerTambien = a(u"imgVerTambien");
    c.imgVerTambien_none = a(u"imgVerTambien_none");
    c.FondoBarra = a(u"FondoBarra");
    c.FondoPanel2 = a(u"FondoPanel2");
    c.imgSecciones = a(u"imgSecciones");
    c.imgBanners = a(u"imgBanners");
    c.logo = a(u"logo");
    c.Fuente = s == 2 ? QColor(63, 63, 63) : QColor(72, 72, 72);
    c.FuenteSel = s == 2 ? QColor(116, 116, 116) : QColor(90, 90, 90);
    c.lblVerTambien = QColor(127, 67, 13);
    return c;
}

} // namespace

AppearanceSettings AppearanceSettings::shipped()
{
    registerAssets();
    AppearanceSettings s;
    s.txTitulo = u"Ortelia"_s;
    s.spbuHome = asset(u"tab_home_on"_s);
    s.spbuTelefonos = asset(u"tab_telefonos_on"_s);
    s.spbuComercial = asset(u"tab_comercial_on"_s);
    s.spbuOrgOficial = asset(u"tab_orgoficial_on"_s);
    s.spbuAgenda = asset(u"tab_agenda_on"_s);
    s.spbuInformacion = asset(u"tab_informacion_on"_s);
    s.imSolapaH_Home = asset(u"home_home"_s);
    s.imSolapaH_Alfa = asset(u"home_telefonos"_s);
    s.imSolapaH_Com = asset(u"home_comercial"_s);
    s.imSolapaH_OrgOf = asset(u"home_orgoficial"_s);
    s.imSolapaH_Agenda = asset(u"home_agenda"_s);
    s.imSolapaH_InfoUtil = asset(u"home_informacion"_s);
    s.bbuNuevoAgenda = asset(u"bbuNuevoAgenda"_s);
    s.imgHome_fondoSolapas_esqI = asset(u"home_top_left"_s);
    s.imgHome_fondoSolapas = asset(u"home_top"_s);
    s.imgHome_fondoSolapas_esqD = asset(u"home_top_right"_s);
    s.imgHome = asset(u"home_central"_s);
    s.imgHome_fondoSolapas_esqIb = asset(u"home_bottom_left"_s);
    s.imgHome_fondoBottom = asset(u"home_bottom"_s);
    s.imgHome_fondoSolapas_esqDB = asset(u"home_bottom_right"_s);
    for (size_t i = 0; i < s.img_HomeText.size(); ++i)
        s.img_HomeText[i] = asset(u"home_text"_s + QString::number(i));
    s.txHomeTextsTop = u"80"_s;
    s.txHomeTextsLeft = u"414"_s;
    // Reserved example domains: the product ships without a real company's address.
    // Links 1 to 4 are the partners the central picture shows, in its reading order.
    s.txLink = {u"http://www.ortelia.example/"_s, u"http://www.alcotan.example/"_s, u"http://www.miralejos.example/"_s,
                u"http://www.robles.example/"_s, u"http://www.cipres.example/"_s};
    s.txHelpFile = u"ot.hlp"_s;
    s.DDN_Image1 = asset(u"DDN_Image1"_s);
    s.DDI_Image1 = asset(u"DDI_Image1"_s);
    s.NU_Image1 = asset(u"NU_Image1"_s);
    s.splash = asset(u"splash"_s);
    s.busqueDatos = asset(u"busqueDatos"_s);
    s.about = asset(u"about"_s);
    s.appIcon = asset(u"app_icon"_s);
    s.schemes = {makeScheme(1), makeScheme(2)};
    return s;
}

namespace {
const AppearanceSettings* g_substitute = nullptr;
} // namespace

const AppearanceSettings& appearance()
{
    static const AppearanceSettings settings = AppearanceSettings::shipped(); // also registers the pictures
    return g_substitute ? *g_substitute : settings;
}

ScopedAppearance::ScopedAppearance(AppearanceSettings settings)
    : m_settings(std::move(settings)), m_previous(g_substitute)
{
    (void)appearance();
    g_substitute = &m_settings;
}

ScopedAppearance::~ScopedAppearance()
{
    g_substitute = m_previous;
}

QPixmap picture(const QString& path)
{
    static QHash<QString, QPixmap> cache;
    if (path.isEmpty())
        return {};
    (void)appearance(); // registers the pictures
    const auto it = cache.constFind(path);
    if (it != cache.constEnd())
        return *it;
    QPixmap p(path);
    cache.insert(path, p);
    return p;
}
