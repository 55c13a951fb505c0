#include "gui/SurfaceAction.h"

#include "core/map/RasterWindows.h"
#include "gui/MapTab.h"
#include "gui/MapView.h"
#include "gui/EngineMessages.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogSurface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QString prepareSurface(const DialogSurface& dialog, orvalis::SurfaceParameters& p)
{
    p = orvalis::SurfaceParameters{};
    const QString map = dialog.mapPath();
    const QString surface = dialog.surfacePath();
    if (map.isEmpty())
        return texts::surfaceNoMap();
    if (!QFileInfo::exists(map))
        return texts::surfaceNoFile(map);
    if (dialog.window() % 2 == 0)
        return texts::surfaceEvenWindow(dialog.window());
    std::string why;
    if (!dialog.habitat().isEmpty() && !p.habitat.parse(dialog.habitat().toStdString(), &why))
        return texts::surfaceBadHabitat(engineMessage(why));
    if (dialog.tickedMetrics().empty())
        return texts::surfaceNoMetricTicked();
    const auto selection = orvalis::MetricSelection::parse(dialog.tickedMetrics(), {}, &why);
    if (!selection)
        return texts::surfaceBadMetrics(engineMessage(why));
    if (surface.isEmpty())
        return texts::surfaceNoOutput();
    const QFileInfo out(surface);
    if (out == QFileInfo(map))
        return texts::surfaceReplacesMap(map);
    if (out.isDir())
        return texts::surfaceIsFolder(surface);
    if (!out.absoluteDir().exists())
        return texts::surfaceFolderMissing(out.absolutePath());

    p.map = local(map);
    p.window = dialog.window();
    p.shape = dialog.shape();
    p.step = dialog.step();
    p.metrics.selection = *selection;
    p.metrics.neighbours = dialog.neighbours();
    p.output = local(surface);
    if (const std::string bad = orvalis::checkSurfaceParameters(p); !bad.empty())
        return texts::surfaceRefused(engineMessage(bad));
    orvalis::RasterWindows probe;
    if (!probe.open(p.map, p.band, p.habitat, &why))
        return texts::surfaceMapUnread(map, engineMessage(why));
    return {};
}

SurfaceOutcome runSurfaceAction(QWidget* parent, DialogSurface& dialog, const MapScene& shown)
{
    if (shown.error.isEmpty() && !shown.overview.tga && !shown.overview.real)
        dialog.suggestMap(shown.mapPath);
    orvalis::SurfaceParameters p;
    dialog.setCheck([&] { return prepareSurface(dialog, p); });
    const int answer = dialog.exec();
    dialog.setCheck({});
    SurfaceOutcome outcome;
    if (answer != QDialog::Accepted)
        return outcome;

    orvalis::RunResult result;
    RunProgressOptions options;
    // The map's classes are read before its rows are measured: the bar runs twice.
    options.holdAtMaximum = true;
    runWithProgress(parent, 0, [&](orvalis::RunControl& control) { result = orvalis::runSurface(p, control); }, options);
    const QString message = engineMessage(result.message);
    switch (result.status) {
    case orvalis::RunStatus::Refused: outcome.problems << texts::surfaceRefused(message); break;
    case orvalis::RunStatus::Failed: outcome.problems << texts::surfaceFailed(message); break;
    case orvalis::RunStatus::Cancelled: outcome.summary = texts::surfaceCancelled(); break;
    case orvalis::RunStatus::Completed:
        outcome.surface = dialog.surfacePath();
        outcome.summary = texts::surfaceWritten(outcome.surface);
        break;
    }
    return outcome;
}

void addSurfaceMenu(QMainWindow& window, MapTab& mapTab, std::function<void(const QString&)> report)
{
    QMenu* menu = window.findChild<QMenu*>(QStringLiteral("menuAnalyse"));
    if (!menu) {
        menu = window.menuBar()->addMenu(texts::analyseMenu());
        menu->setObjectName(QStringLiteral("menuAnalyse"));
    }
    QAction* action = menu->addAction(texts::surfaceAction());
    action->setObjectName(QStringLiteral("actionSurface"));
    auto* dialog = new DialogSurface(&window);
    QObject::connect(action, &QAction::triggered, &window, [&window, &mapTab, dialog, report] {
        const SurfaceOutcome outcome = runSurfaceAction(&window, *dialog, mapTab.view()->scene());
        if (!outcome.summary.isEmpty())
            window.statusBar()->showMessage(outcome.summary);
        for (const QString& problem : outcome.problems)
            report(problem);
        if (!outcome.surface.isEmpty())
            mapTab.showMapFile(outcome.surface);
    });
}
