#include "gui/CompareAction.h"

#include "core/compare/CompareRun.h"
#include "core/sampler/SampleLog.h"
#include "gui/CompareResultsView.h"
#include "gui/EngineMessages.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogCompare.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

namespace {

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

CompareOutcome runCompareAction(QWidget* parent, DialogCompare& dialog, const QStringList& files)
{
    CompareOutcome outcome;
    dialog.setListFiles(files);
    if (dialog.exec() != QDialog::Accepted)
        return outcome;

    orvalis::CompareParameters p;
    if (dialog.fromLog()) {
        std::string error;
        if (!orvalis::readSampleLogWindows(localPath(dialog.logPath()), p.files, &error)) {
            outcome.problems << texts::compareRefused(engineMessage(error));
            return outcome;
        }
    } else {
        for (const QString& file : files)
            p.files.push_back(localPath(file));
    }
    QString why;
    p.models = dialog.models(&why);
    if (!why.isEmpty()) {
        outcome.problems << texts::compareRefused(why);
        return outcome;
    }
    if (p.files.empty()) {
        outcome.problems << texts::compareNoWindows();
        return outcome;
    }
    const QString folder = dialog.outputFolder();
    if (folder.isEmpty()) {
        outcome.problems << texts::compareNoFolder();
        return outcome;
    }
    if (!QDir().mkpath(folder)) {
        outcome.problems << texts::compareFolderNotMade(folder);
        return outcome;
    }
    p.replicates = dialog.replicates();
    p.seed = dialog.seed();
    p.metrics.neighbours = dialog.neighbours();
    p.cellSize = dialog.cellSize();
    p.metricNames = dialog.metricNames();
    p.output = localPath(folder);
    p.keepLandscapes = dialog.keepLandscapes();
    // A large run is confirmed with its size: kept landscapes grow with every replicate.
    const orvalis::CompareSize size = orvalis::estimateCompareSize(p);
    constexpr std::uint64_t Large = 1'000'000'000, LargeLandscapes = 100'000'000;
    if ((size.total() > Large || size.landscapes > LargeLandscapes) &&
        QMessageBox::question(parent, texts::compareResultsTitle(),
                              texts::compareLargeRun(QString::fromStdString(orvalis::sizeText(size.total())),
                                                     QDir::toNativeSeparators(folder))) != QMessageBox::Yes)
        return outcome;

    const long long total = static_cast<long long>(p.files.size()) * static_cast<long long>(p.models.size()) * p.replicates;
    orvalis::RunResult result;
    runWithProgress(parent, total, [&](orvalis::RunControl& control) { result = orvalis::runCompare(p, control); });
    const QString message = engineMessage(result.message);
    if (result.status == orvalis::RunStatus::Refused) {
        outcome.problems << texts::compareRefused(message);
        return outcome;
    }
    outcome.folder = folder;
    outcome.summary = texts::compareSummary(total, result.status == orvalis::RunStatus::Cancelled);
    if (result.failed())
        outcome.problems << texts::compareFailed(message);
    return outcome;
}

void addCompareMenu(QMainWindow& window, std::function<QStringList()> files, std::function<void(const QString&)> report)
{
    QMenu* menu = new QMenu(texts::analyseMenu(), &window);
    menu->setObjectName(QStringLiteral("menuAnalyse"));
    QMenuBar* bar = window.menuBar();
    // Right after Create: analyses follow the menus that make files.
    QAction* before = nullptr;
    const QList<QAction*> menus = bar->actions();
    for (qsizetype i = 0; i + 1 < menus.size(); ++i)
        if (menus[i]->menu() && menus[i]->menu()->objectName() == QLatin1String("menuCreate"))
            before = menus[i + 1];
    bar->insertMenu(before, menu);
    QAction* action = menu->addAction(texts::compareAction());
    action->setObjectName(QStringLiteral("actionCompare"));
    auto* dialog = new DialogCompare(&window);
    QObject::connect(action, &QAction::triggered, &window, [&window, dialog, files, report] {
        const CompareOutcome outcome = runCompareAction(&window, *dialog, files());
        if (!outcome.summary.isEmpty())
            window.statusBar()->showMessage(outcome.summary);
        for (const QString& problem : outcome.problems)
            report(problem);
        if (outcome.folder.isEmpty())
            return;
        auto* view = new CompareResultsView(outcome.folder, &window);
        // A run cancelled before its first window has nothing to chart; the status bar says so.
        if (view->loaded() && view->chartChoice()->count() == 0) {
            delete view;
            return;
        }
        view->setObjectName(QStringLiteral("compareResults"));
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->show();
    });
}
