#include "gui/FractalAction.h"

#include "core/neutral/FractalRun.h"
#include "gui/EngineMessages.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/dialogFbm.h"

#include <QFile>
#include <QFileInfo>

#include <string>

ActionOutcome runFractalAction(QWidget* parent, dialogFbm& dialog, const WindowSettings& settings)
{
    ActionOutcome outcome;
    if (dialog.exec() != QDialog::Accepted)
        return outcome;
    QString folder = dialog.folder();
    if (folder.isEmpty()) {
        // With "/" added an empty field would mean the root folder.
        outcome.problems << texts::fractalNoFolder();
        return outcome;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (!QFileInfo(folder).isDir()) {
        outcome.problems << texts::fractalFolderMissing(folder);
        return outcome;
    }

    orvalis::FractalRunParameters p;
    p.initialH = dialog.initialH();
    p.finalH = dialog.finalH();
    p.stepH = dialog.stepH();
    p.cover = {dialog.coverMin(), dialog.coverMax(), dialog.coverStep()};
    p.size = dialog.gridSize();
    p.replicates = dialog.replicates();
    p.matrixValue = settings.matrixValue;
    p.coverValue = settings.coverValue;
    p.folder = QFile::encodeName(folder).toStdString();
    if (dialog.measureMetrics())
        p.metrics = orvalis::MetricsOptions{};
    const std::string refused = orvalis::checkFractalParameters(p);
    if (!refused.empty()) {
        outcome.problems << texts::fractalRefused(engineMessage(refused));
        return outcome;
    }

    const long long total =
        static_cast<long long>(orvalis::fractalHValues(p.initialH, p.finalH, p.stepH).size()) * orvalis::SurfacesPerH;
    orvalis::FractalRunResult result;
    // Each surface's label names its H and its number, "gerando para h=...".
    RunProgressOptions labelled;
    labelled.describe = engineLabel;
    runWithProgress(parent, total, [&](orvalis::RunControl& control) {
        // Each surface seeds a source of its own; the process-wide one is left as it is.
        orvalis::RandomSource unused;
        result = orvalis::runFractalLandscapes(p, unused, control);
    }, labelled);
    outcome.written = result.files;
    outcome.summary = texts::runSummary("Fractal landscapes", result, texts::RunFiles::Landscapes);
    // A run that ends with nothing must say so, not just leave an empty list.
    if (result.files.empty() && result.status == orvalis::RunStatus::Completed && result.asked > 0)
        outcome.problems << texts::nothingWritten(outcome.summary);

    outcome.replacesList = true;
    if (result.failed())
        outcome.problems << texts::fractalFailed(engineMessage(result.message));
    return outcome;
}
