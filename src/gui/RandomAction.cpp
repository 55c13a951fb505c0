#include "gui/RandomAction.h"

#include "core/neutral/RandomGenerator.h"
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

    const int size = dialog.gridSize();
    const long long total = static_cast<long long>(dialog.replicates()) *
                            orvalis::RandomGenerator::levelCount(dialog.coverMin(), dialog.coverMax(),
                                                                 dialog.coverStep());
    orvalis::RandomRunResult result;
    {
        RunProgressDialog progress(parent, total);
        orvalis::RandomGenerator generator(settings.samplePostString.toLocal8Bit().toStdString());
        result = generator.generate(dialog.coverMin(), dialog.coverMax(), dialog.coverStep(), size, size,
                                    dialog.replicates(), settings.matrixValue, settings.coverValue,
                                    QFile::encodeName(folder).toStdString(), seed, outcome.written,
                                    progress.callback());
    }

    outcome.replacesList = true;
    if (!result.ok)
        outcome.problems << texts::randomFailed(QString::fromLocal8Bit(result.error.c_str()));
    return outcome;
}
