#include "gui/Language.h"
#include "gui/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    // Where QSettings keeps the window's layout and last folders: ~/.config/Orvalis/orvalis.conf
    QCoreApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QCoreApplication::setApplicationName(QStringLiteral("orvalis"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVALIS_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Orvalis, a desktop tool for landscape ecologists.\n"
        "\n"
        "Its sampler cuts square windows whose habitat cover falls on whole-percentage levels out\n"
        "of a landscape image (an uncompressed 24- or 32-bit TGA in which dark pixels are habitat),\n"
        "writes each window as a text grid (a landscape file), logs the windows in sample.txt and\n"
        "leaves a batch list for FRAGSTATS. The window also lists and draws landscape files and\n"
        "writes series of random and fractal (midpoint-displacement) neutral landscapes. Settings\n"
        "live in config.txt in the working directory. orvalis-cli runs the same engines without\n"
        "a window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("Language of the window: en or pt (default: pt for a Portuguese "
                                                 "locale, en for any other)."),
                                  QStringLiteral("language"));
    parser.addOption(lang);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Landscape files to list; the first is drawn."),
                                 QStringLiteral("[files...]"));

    {
        // --help and --version answer before a window system is opened, so they need no display
        QCoreApplication textOnly(argc, argv);
        parser.parse(QCoreApplication::arguments());
        if (parser.isSet(help))
            parser.showHelp();
        if (parser.isSet(version))
            parser.showVersion();
        if (language::choose(parser.value(lang), QLocale::system()).isEmpty()) {
            std::fprintf(stderr, "orvalis: --lang %s: the window speaks en or pt\n", qPrintable(parser.value(lang)));
            return 2;
        }
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("orvalis"));
    // Only now are Qt's own options (-platform, -style...) taken out, so unknown ones are reported here
    parser.process(app);
    const QString chosen = language::choose(parser.value(lang), QLocale::system());
    if (!language::install(app, chosen))
        std::fprintf(stderr, "orvalis: the %s translation is missing; the window keeps its source texts\n",
                     qPrintable(chosen));
    MainWindow window;
    window.show();
    QStringList files;
    for (const QString& file : parser.positionalArguments())
        files << QFileInfo(file).absoluteFilePath();
    window.openFiles(files);
    return app.exec();
}
