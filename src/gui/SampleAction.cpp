#include "gui/SampleAction.h"

#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "core/sampler/SampleRun.h"
#include "core/sampler/WindowSampler.h"
#include "core/io/BatchList.h"
#include "gui/EarlierSampleLog.h"
#include "gui/EngineMessages.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogSample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The one dialog's label: the map's read, then the search with the windows written and the tries left.
QString describeSample(const orvalis::ProgressEvent& e, long long target)
{
    if (e.budgetLeft < 0)
        return e.label.empty() ? QString() : texts::readingMap();
    const long long budget = orvalis::WindowSampler::TryBudget;
    const int left = static_cast<int>(std::clamp<long long>(e.budgetLeft, 0, budget) * 100 / budget);
    return texts::sampleSearching(e.done, std::max<long long>(target, 0), left);
}

}  // namespace

ActionOutcome runSampleAction(QWidget* parent, DialogSample& dialog, const WindowSettings& settings)
{
    ActionOutcome outcome;
    if (dialog.exec() != QDialog::Accepted)
        return outcome;
    outcome.replacesList = true;

    if (dialog.folder().isEmpty()) {
        // Joined with "/" an empty folder would mean the root folder.
        outcome.problems << texts::sampleNoFolder();
        return outcome;
    }
    const QString imagePath = dialog.imagePath();
    // Opening a pipe or a device would wait for a writer, with the window frozen until one comes.
    std::error_code ec;
    const std::filesystem::path image(QFile::encodeName(imagePath).toStdString());
    if (!imagePath.isEmpty() && std::filesystem::exists(image, ec) && !std::filesystem::is_regular_file(image, ec)) {
        std::puts(texts::imageNotLoadedLine);
        std::fflush(stdout);
        outcome.problems << texts::imageNotLoaded(imagePath, texts::imageNotPlainFile());
        return outcome;
    }
    orvalis::SampleParameters params;
    params.image = QFile::encodeName(imagePath).toStdString();
    params.folder = QFile::encodeName(dialog.folder()).toStdString();
    params.windowSize = dialog.windowSize();
    params.minDistance = dialog.minDistance();
    params.cover = {dialog.coverMin(), dialog.coverMax(), dialog.coverStep()};
    params.replicates = dialog.replicates();
    // The map fields stay filled while a TGA is chosen, but a TGA run would refuse them.
    if (dialog.isMap()) {
        params.habitatClasses = dialog.habitatClasses().toUtf8().toStdString();
        params.band = dialog.band();
        params.format = dialog.windowFormat();
        params.keepClasses = dialog.keepClasses();
    }
    params.prefix = QFile::encodeName(settings.samplePrefix).toStdString();
    params.postString = settings.samplePostString.toUtf8().toStdString();
    params.coverValue = settings.coverValue;
    params.matrixValue = settings.matrixValue;
    if (dialog.measureMetrics())
        params.metrics = orvalis::MetricsOptions{};

    // The log and the batch list go to the working folder the dialog shows.
    const QDir work(dialog.workFolder());
    params.logPath = QFile::encodeName(work.filePath(QStringLiteral("sample.txt"))).toStdString();
    params.batchList =
        (std::filesystem::path(QFile::encodeName(work.path()).toStdString()) / orvalis::batchListName(params.prefix))
            .string();
    QStringList kept;
    const EarlierSampleLog earlier(QFile::decodeName(QByteArray::fromStdString(params.logPath)));
    if (earlier.found()) {
        const EarlierSampleLog::Answer answer = earlier.ask(parent);
        if (answer == EarlierSampleLog::Answer::Cancel) {
            outcome.replacesList = false;
            return outcome;
        }
        QString why;
        if (answer == EarlierSampleLog::Answer::Keep && !earlier.keep(&kept, &why)) {
            outcome.problems << texts::earlierLogNotKept(why);
            return outcome;
        }
    }

    orvalis::SampleResult result;
    const long long target = orvalis::sampleTarget(params.cover, params.replicates);
    RunProgressOptions options;
    // Held at its maximum: the map's read fills the bar before the search counts its windows.
    options.holdAtMaximum = true;
    // A map is read before its search starts; a TGA image loads in a moment.
    options.label = dialog.isMap() ? texts::readingMap() : texts::calculating();
    options.describe = [target](const orvalis::ProgressEvent& e) { return describeSample(e, target); };
    // The window's Sample draws from the one process-wide source, so that each run goes on where the
    // last one (a Sample or a Random series) left it; the modal progress keeps other draws out meanwhile.
    runWithProgress(
        parent, target,
        [&](orvalis::RunControl& control) { result = orvalis::runSample(params, orvalis::globalRandom(), control); },
        options);
    if (result.stop == orvalis::SampleStop::NoImage && dialog.isMap() && QFileInfo::exists(imagePath)) {
        // GDAL's own words name the map and what is wrong with it.
        outcome.problems << texts::mapNotLoaded(engineMessage(result.message));
        return outcome;
    }
    if (result.stop == orvalis::SampleStop::NoImage) {
        std::puts(texts::imageNotLoadedLine);
        std::fflush(stdout);
        const QString why = imagePath.isEmpty()             ? texts::noImageChosen()
                            : !QFileInfo::exists(imagePath) ? texts::imageMissing()
                                                            : texts::imageUnreadable();
        outcome.problems << texts::imageNotLoaded(imagePath, why);
        return outcome;
    }
    outcome.written = result.files;
    if (!result.files.empty()) {
        outcome.mapPath = QFileInfo(imagePath).absoluteFilePath();
        outcome.logPath = QFileInfo(QFile::decodeName(QByteArray::fromStdString(params.logPath))).absoluteFilePath();
    }
    if (!result.warnings.empty()) {
        QStringList warnings;
        for (const std::string& w : result.warnings)
            warnings << engineMessage(w);
        outcome.problems << texts::sampleWarnings(warnings);
    }
    outcome.summary = texts::runSummary("Sample", result, texts::RunFiles::Windows);
    // First: a long summary runs past the status bar's end.
    if (!kept.isEmpty()) {
        QStringList names;
        for (const QString& copy : kept)
            names << QFileInfo(copy).fileName();
        outcome.summary = texts::earlierLogKept(names) + QLatin1Char(' ') + outcome.summary;
    }
    // A run that ends with nothing must say so, not just leave an empty list.
    if (result.files.empty() && result.status == orvalis::RunStatus::Completed && result.asked > 0)
        outcome.problems << texts::nothingWritten(outcome.summary);
    if (!result.ok() || result.stop == orvalis::SampleStop::NoCentreLeft)
        outcome.problems << texts::sampleStopped(result.written(), engineMessage(result.message));
    return outcome;
}
