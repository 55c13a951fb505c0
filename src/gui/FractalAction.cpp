#include "gui/MainWindow.h"

#include "gui/RunProgressDialog.h"
#include "core/neutral/FractalRun.h"

#include <QFile>
#include <QFileInfo>

#include <string>
#include <vector>

void MainWindow::on_actionFractal_triggered()
{
    if (fbmDialog.exec() != QDialog::Accepted)
        return;
    QString folder = fbmDialog.folder();
    if (folder.isEmpty()) {
        // With "/" added an empty field would mean the root folder.
        reportProblem(tr("Fractal landscapes: no folder was chosen, nothing was written."));
        return;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (!QFileInfo(folder).isDir()) {
        reportProblem(tr("Fractal landscapes: the folder %1 does not exist, nothing was written.").arg(folder));
        return;
    }

    orvalis::FractalRunParameters p;
    p.initialH = fbmDialog.initialH();
    p.finalH = fbmDialog.finalH();
    p.stepH = fbmDialog.stepH();
    p.cover = {fbmDialog.coverMin(), fbmDialog.coverMax(), fbmDialog.coverStep()};
    p.size = fbmDialog.gridSize();
    p.replicates = fbmDialog.replicates();
    p.matrixValue = matrixValue;
    p.coverValue = coverValue;
    p.folder = QFile::encodeName(folder).toStdString();
    const std::string refused = orvalis::checkFractalParameters(p);
    if (!refused.empty()) {
        reportProblem(tr("Fractal landscapes: %1; nothing was written.").arg(QString::fromStdString(refused)));
        return;
    }

    const long long total =
        static_cast<long long>(orvalis::fractalHValues(p.initialH, p.finalH, p.stepH).size()) * orvalis::SurfacesPerH;
    orvalis::FractalRunResult result;
    {
        RunProgressDialog progress(this, total);
        orvalis::RunControl control(progress.callback());
        // Each surface seeds a source of its own; the process-wide one is left as it is.
        orvalis::RandomSource unused;
        result = orvalis::runFractalLandscapes(p, unused, control);
    }

    showWrittenFiles(result.files);
    if (result.failed())
        reportProblem(tr("Fractal landscapes: %1").arg(QString::fromLocal8Bit(result.message.c_str())));
}
