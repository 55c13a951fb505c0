#include "gui/MainWindow.h"

#include "gui/RunProgressDialog.h"
#include "core/neutral/RandomGenerator.h"

#include <QFile>

#include <string>
#include <vector>

void MainWindow::on_actionRandom_triggered()
{
    if (rndDialog.exec() != QDialog::Accepted)
        return;
    QString folder = rndDialog.folder();
    if (folder.isEmpty()) {
        // With "/" added an empty field would mean the root folder.
        reportProblem(tr("Random landscapes: no folder was chosen, nothing was written."));
        return;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');

    const int size = rndDialog.gridSize();
    const long long total = static_cast<long long>(rndDialog.replicates()) *
                            orvalis::RandomGenerator::levelCount(rndDialog.coverMin(), rndDialog.coverMax(),
                                                                 rndDialog.coverStep());
    std::vector<std::string> written;
    orvalis::RandomRunResult result;
    {
        RunProgressDialog progress(this, total);
        orvalis::RandomGenerator generator(samplePostString.toLocal8Bit().toStdString());
        result = generator.generate(rndDialog.coverMin(), rndDialog.coverMax(), rndDialog.coverStep(), size, size,
                                    rndDialog.replicates(), matrixValue, coverValue,
                                    QFile::encodeName(folder).toStdString(), settingsDialog.randomSeed(), written,
                                    progress.callback());
    }

    showWrittenFiles(written);
    if (!result.ok)
        reportProblem(tr("Random landscapes: %1").arg(QString::fromLocal8Bit(result.error.c_str())));
}
