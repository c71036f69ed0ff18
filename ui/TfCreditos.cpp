#include "ui/TfCreditos.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 513, kHeight = 296;

} // namespace

const std::vector<TfCreditos::Role>& TfCreditos::roles()
{
    // The program is the team's work; each line names the team and the part it did.
    static const std::vector<Role> list = {
        {u"Gerente de Proyecto"_s, {u"Equipo Ortelia"_s}},
        {u"Lider de Proyecto"_s, {u"Equipo Ortelia"_s}},
        {u"Análisis, Diseño e Implementación del Motor de datos"_s,
         {u"Equipo Ortelia · índices y compresión"_s, u"Equipo Ortelia · registros y filtros"_s}},
        {u"Análisis, Diseño e Implementación del Sistema de consultas"_s,
         {u"Equipo Ortelia · búsqueda y resultados"_s, u"Equipo Ortelia · ventana principal"_s,
          u"Equipo Ortelia · agenda y servicios en línea"_s}},
        {u"Experto en Imágenes"_s, {u"Equipo Ortelia · diseño gráfico"_s}},
    };
    return list;
}

TfCreditos::TfCreditos(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"fCreditos"_s);
    setWindowTitle(u"Créditos"_s);
    setFixedSize(kWidth, kHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(172, 230, 228));
    setPalette(pal);
    setAutoFillBackground(true);

    QFont headingFont(u"MS Sans Serif"_s);
    headingFont.setPointSize(12);
    headingFont.setBold(true);
    headingFont.setItalic(true);
    QFont nameFont(u"MS Sans Serif"_s);
    nameFont.setPointSize(10);
    nameFont.setItalic(true);
    QPalette headingPal = pal;
    headingPal.setColor(QPalette::WindowText, QColor(152, 104, 4));
    QPalette namePal = pal;
    namePal.setColor(QPalette::WindowText, Qt::black);

    const auto add = [&](const QString& text, bool heading, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setFont(heading ? headingFont : nameFont);
        l->setPalette(heading ? headingPal : namePal);
        l->move(x, y);
        l->adjustSize();
        (heading ? headings : names).push_back(l);
        return l->height();
    };
    // The two single-name roles side by side, the long ones across, the pictures' expert left of
    // the button.
    const std::vector<Role>& r = roles();
    const auto block = [&](const Role& role, int x, int y) {
        y += add(role.heading, true, x, y);
        for (const QString& n : role.names)
            y += add(n, false, x + 16, y);
        return y;
    };
    const int left = 16, right = 270;
    int y = 10;
    const int belowFirst = block(r[0], left, y);
    y = std::max(belowFirst, block(r[1], right, y)) + 8;
    y = block(r[2], left, y) + 8;
    y = block(r[3], left, y) + 8;
    block(r[4], left, y);

    btnAceptar = new QPushButton(u"&Aceptar"_s, this);
    btnAceptar->setObjectName(u"btnAceptar"_s);
    btnAceptar->move(396, 248);
    btnAceptar->resize(std::max(75, btnAceptar->sizeHint().width()), 25);
    btnAceptar->setDefault(true);
    connect(btnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        move(g.left() + (g.width() - kWidth) / 2, g.top() + (g.height() - kHeight) / 2);
    }
}
