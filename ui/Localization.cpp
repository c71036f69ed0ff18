#include "ui/Localization.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace localization {

void prepare(QApplication& app)
{
    static bool done = false;
    if (done)
        return;
    done = true;

    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {u"qtbase_es"_s, u"qt_es"_s}) {
        auto* t = new QTranslator(&app);
        if (t->load(name, folder))
            QCoreApplication::installTranslator(t);
        else
            delete t;
    }

    // Same metrics class where possible: Liberation Sans for the Arial-like faces, DejaVu Sans for
    // Verdana (it descends from the same design family of wide screen faces), its condensed cut for
    // the narrower Tahoma.
    QFont::insertSubstitutions(u"MS Sans Serif"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Arial"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Verdana"_s, {u"DejaVu Sans"_s, u"Liberation Sans"_s});
    QFont::insertSubstitutions(u"Tahoma"_s, {u"DejaVu Sans Condensed"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Wingdings 3"_s, {u"DejaVu Sans"_s});
    QFont base(u"MS Sans Serif"_s);
    base.setPointSize(8);
    QApplication::setFont(base);
}

QString wingdingsBullet()
{
    return u"\u25B6"_s;
}

} // namespace localization
