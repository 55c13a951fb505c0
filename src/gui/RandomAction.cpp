#include "gui/RandomAction.h"

#include "core/neutral/RandomGenerator.h"
#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "gui/EngineMessages.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogRnd.h"

#include <QFile>

ActionOutcome runRandomAction(QWidget* parent, DialogRnd& dialog, const WindowSettings& settings, int seed)
{
    ActionOutcome outcome;
    if (dialog.exec() != QDialog::Accepted)
        return outcome;
    QString folder = dialog.folder();
    if (folder.isEmpty()) {
        // With "/" added an empty field would mean the root folder.
        outcome.problems << texts::randomNoFolder();
        return outcome;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');

    orvalis::RandomLandscapeParameters p;
    p.cover = {dialog.coverMin(), dialog.coverMax(), dialog.coverStep()};
    p.rows = p.cols = dialog.gridSize();
    p.replicates = dialog.replicates();
    p.matrixValue = settings.matrixValue;
    p.coverValue = settings.coverValue;
    p.folder = QFile::encodeName(folder).toStdString();
    p.seed = seed;
    p.postString = settings.samplePostString.toLocal8Bit().toStdString();
    if (dialog.measureMetrics())
        p.metrics = orvalis::MetricsOptions{};
    orvalis::RunResult result;
    // Each landscape's label names its cover level and its number, "gerando para cobertura ...".
    RunProgressOptions labelled;
    labelled.describe = engineLabel;
    // Seeded from the settings, then drawn from the process-wide source, where a later Sample goes on;
    // the window's modal progress keeps every other draw from it until the run ends.
    runWithProgress(parent, static_cast<long long>(p.replicates) * orvalis::randomLevelCount(p.cover),
                    [&](orvalis::RunControl& control) {
                        result = orvalis::runRandomLandscapes(p, orvalis::globalRandom(), control);
                    },
                    labelled);
    outcome.written = result.files;
    outcome.summary = texts::runSummary("Random landscapes", result, texts::RunFiles::Landscapes);
    // A run that ends with nothing must say so, not just leave an empty list.
    if (result.files.empty() && result.status == orvalis::RunStatus::Completed && result.asked > 0)
        outcome.problems << texts::nothingWritten(outcome.summary);
    outcome.replacesList = true;
    if (result.failed())
        outcome.problems << texts::randomFailed(engineMessage(result.message));
    return outcome;
}
