#include "gui/NeutralAction.h"

#include "core/neutral/NeutralRun.h"
#include "core/random/RandomSource.h"
#include "gui/EngineMessages.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogNeutral.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>

namespace {

struct NeutralTexts {
    Q_DECLARE_TR_FUNCTIONS(NeutralAction)
};

}  // namespace

ActionOutcome writeNeutralSeries(QWidget* parent, const DialogNeutral& dialog, const WindowSettings& settings)
{
    ActionOutcome outcome;
    QString why;
    orvalis::NeutralRunParameters p = dialog.parameters(&why);
    p.coverValue = settings.coverValue;
    p.matrixValue = settings.matrixValue;
    p.postString = settings.samplePostString.toLocal8Bit().toStdString();
    if (why.isEmpty())
        why = engineMessage(orvalis::checkNeutralParameters(p));
    if (!why.isEmpty()) {
        outcome.problems << NeutralTexts::tr("The neutral landscapes were not made: %1").arg(why);
        return outcome;
    }
    const long long total = static_cast<long long>(orvalis::neutralLevels(p).size()) * p.replicates;
    orvalis::RunResult result;
    runWithProgress(parent, total, [&](orvalis::RunControl& control) {
        orvalis::RandomSource unused;  // each replicate has a state of its own
        result = orvalis::runNeutralLandscapes(p, unused, control);
    });
    const QString message = engineMessage(result.message);
    if (result.status == orvalis::RunStatus::Refused) {
        outcome.problems << NeutralTexts::tr("The neutral landscapes were not made: %1").arg(message);
        return outcome;
    }
    outcome.written = result.files;
    outcome.replacesList = true;
    outcome.summary = texts::runSummary("Neutral landscapes", result, texts::RunFiles::Landscapes);
    if (result.failed())
        outcome.problems << NeutralTexts::tr("The neutral landscapes stopped: %1").arg(message);
    return outcome;
}

ActionOutcome runNeutralAction(QWidget* parent, DialogNeutral& dialog, const WindowSettings& settings)
{
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return writeNeutralSeries(parent, dialog, settings);
}

void addNeutralMenu(QMainWindow& window, QMenu& create, std::function<WindowSettings()> settings,
                    std::function<void(const ActionOutcome&)> finish)
{
    QAction* action = create.addAction(NeutralTexts::tr("Neutral landscape…"));
    action->setObjectName(QStringLiteral("actionNeutral"));
    auto* dialog = new DialogNeutral(&window);
    QObject::connect(action, &QAction::triggered, &window, [&window, dialog, settings, finish] {
        finish(runNeutralAction(&window, *dialog, settings()));
    });
}
