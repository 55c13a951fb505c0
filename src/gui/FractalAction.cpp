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
    p.coverMin = fbmDialog.coverMin();
    p.coverMax = fbmDialog.coverMax();
    p.coverStep = fbmDialog.coverStep();
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
    std::vector<std::string> written;
    orvalis::FractalRunResult result;
    {
        RunProgressDialog progress(this, total);
        result = orvalis::runFractalGeneration(p, written, progress.callback());
    }

    showWrittenFiles(written);
    if (!result.ok)
        reportProblem(tr("Fractal landscapes: %1").arg(QString::fromLocal8Bit(result.error.c_str())));
}
