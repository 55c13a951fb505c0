#include "gui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace language {

QString choose(const QString& requested, const QLocale& system)
{
    if (requested.isEmpty())
        return system.language() == QLocale::Portuguese ? QStringLiteral("pt_BR") : QStringLiteral("en");
    const QString wanted = requested.toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
    if (wanted == u"pt" || wanted.startsWith(u"pt_"))
        return QStringLiteral("pt_BR");
    if (wanted == u"en" || wanted.startsWith(u"en_"))
        return QStringLiteral("en");
    return {};
}

bool install(QCoreApplication& app, const QString& lang)
{
    auto* own = new QTranslator(&app);
    if (!own->load(QStringLiteral(":/i18n/orvalis_%1.qm").arg(lang))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    // Qt has no English file: its source texts are English.
    auto* qt = new QTranslator(&app);
    if (lang != u"en" && qt->load(QStringLiteral("qtbase_") + lang, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}

}  // namespace language
