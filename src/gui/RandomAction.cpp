#include "gui/MainWindow.h"

#include "gui/RunProgressDialog.h"
#include "core/neutral/RandomGenerator.h"
#include "core/random/RandomSource.h"

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

    orvalis::RandomLandscapeParameters p;
    p.cover = {rndDialog.coverMin(), rndDialog.coverMax(), rndDialog.coverStep()};
    p.rows = p.cols = rndDialog.gridSize();
    p.replicates = rndDialog.replicates();
    p.matrixValue = matrixValue;
    p.coverValue = coverValue;
    p.folder = QFile::encodeName(folder).toStdString();
    p.seed = settingsDialog.randomSeed();
    p.postString = samplePostString.toLocal8Bit().toStdString();
    orvalis::RunResult result;
    {
        RunProgressDialog progress(this, p.replicates * orvalis::randomLevelCount(p.cover));
        orvalis::RunControl control(progress.callback());
        // Seeded from the settings, then drawn from the process-wide source, which later Samples continue.
        result = orvalis::runRandomLandscapes(p, orvalis::globalRandom(), control);
    }

    showWrittenFiles(result.files);
    if (result.failed())
        reportProblem(tr("Random landscapes: %1").arg(QString::fromLocal8Bit(result.message.c_str())));
}
