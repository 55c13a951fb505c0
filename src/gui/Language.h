#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

// The window speaks one language: Brazilian Portuguese for a Portuguese locale, English for
// every other one, or the one asked for on the command line.
namespace language {

// "pt_BR" or "en" for a requested "pt" or "en" (any case, "pt_BR" and "en_GB" too), the locale's
// language when nothing is requested, and an empty string for a language the window does not have.
QString choose(const QString& requested, const QLocale& system);

// Installs the window's translation into lang (and Qt's own for its standard buttons and file
// chooser, where that package is installed); false when the translation is not found.
bool install(QCoreApplication& app, const QString& lang);

}  // namespace language
