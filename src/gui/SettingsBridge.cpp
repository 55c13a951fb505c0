#include "gui/MainWindow.h"

#include "core/io/BatchList.h"
#include "core/io/Config.h"

#include <QFile>
#include <QTimer>

#include <string>
#include <vector>

namespace {

const char configFileName[] = "config.txt";

std::string toEngine(const QString& text)
{
    return text.toUtf8().toStdString();
}

QString fromEngine(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void MainWindow::loadSettings()
{
    orvalis::Settings settings;
    settings.coverValue = 1;
    settings.matrixValue = 0;
    const orvalis::ConfigResult result = orvalis::readConfig(configFileName, settings);
    samplePrefix = fromEngine(settings.samplePrefix);
    samplePostString = fromEngine(settings.samplePostString);
    coverValue = settings.coverValue;
    matrixValue = settings.matrixValue;
    if (result.ok || result.missing)
        return;

    const QString defaults[] = {tr("sample name empty"), tr("sample post-string empty"),
                                tr("cover value %1").arg(coverValue), tr("matrix value %1").arg(matrixValue)};
    QStringList defaulted;
    for (int i = result.valuesRead; i < 4; ++i)
        defaulted << defaults[i];
    const QString text = tr("config.txt could not be read completely (%1); using %2.")
                             .arg(QString::fromLocal8Bit(result.error.c_str()), defaulted.join(QStringLiteral(", ")));
    // Once the loop runs, so that the message shows over the window, not before it.
    QTimer::singleShot(0, this, [this, text] { reportProblem(text); });
}

void MainWindow::on_actionParametros_triggered()
{
    settingsDialog.setSampleName(samplePrefix);
    settingsDialog.setPostString(samplePostString);
    settingsDialog.setCover(coverValue);
    settingsDialog.setMatrix(matrixValue);
    if (settingsDialog.exec() != QDialog::Accepted)
        return;

    samplePrefix = settingsDialog.sampleName();
    samplePostString = settingsDialog.postString();
    coverValue = settingsDialog.cover();
    matrixValue = settingsDialog.matrix();
    update();

    orvalis::Settings settings;
    settings.samplePrefix = toEngine(samplePrefix);
    settings.samplePostString = toEngine(samplePostString);
    settings.coverValue = coverValue;
    settings.matrixValue = matrixValue;
    const orvalis::ConfigResult result = orvalis::writeConfig(configFileName, settings);
    if (!result.ok)
        reportProblem(tr("The settings apply until the program ends, but they could not be saved in config.txt: %1.")
                          .arg(QString::fromLocal8Bit(result.error.c_str())));
}

void MainWindow::writeBatchList(const QString& prefix, const QString& postString)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(fileNames.size()));
    for (const QString& name : fileNames)
        names.push_back(toEngine(name));
    const QString listName = prefix + QStringLiteral("ListFragStat.fbt");
    std::string error;
    if (!orvalis::writeBatchListFile(orvalis::batchListName(QFile::encodeName(prefix).toStdString()), names,
                                     toEngine(postString), &error))
        reportProblem(tr("The FRAGSTATS batch list %1 could not be written: %2.")
                          .arg(listName, QString::fromLocal8Bit(error.c_str())));
}
