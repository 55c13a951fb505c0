#include "gui/SampleAction.h"

#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "core/sampler/SampleRun.h"
#include "core/sampler/WindowSampler.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogSample.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

// The run's two window-modal dialogs, created when the search starts: windows
// written, and below it the search's tries left. A map's read shows in the first one before.
class SampleProgress {
public:
    SampleProgress(QWidget* parent, long long target) : parent_(parent), target_(target) {}
    ~SampleProgress()
    {
        if (progress_)
            progress_->dialog().close();
        if (search_)
            search_->dialog().close();
    }

    bool update(const orvalis::ProgressEvent& e)
    {
        // Events without a try budget come before the search: the map being read.
        if (e.budgetLeft < 0)
            return reading(e);
        if (!search_)
            create();
        QProgressDialog& progress = progress_->dialog();
        QProgressDialog& search = search_->dialog();
        const int done = progress_->valueFor(e.done);
        const int left = search_->valueFor(e.budgetLeft);
        // Setting a value repaints and lets events in; a few times a second is enough to see it and to cancel.
        if (done != progress.value() || sinceUpdate_.elapsed() >= 40) {
            const bool moved = done != progress.value() || left != search.value();
            progress.setValue(done);
            search.setValue(left);
            if (!moved)
                QCoreApplication::processEvents();
            sinceUpdate_.restart();
        }
        return !progress_->wasCanceled() && !search_->wasCanceled();
    }

private:
    // One dialog, in thousandths of the map read, with the engine's label.
    bool reading(const orvalis::ProgressEvent& e)
    {
        const bool first = !progress_;
        if (first) {
            RunProgressOptions options;
            options.holdAtMaximum = true;
            options.label = QString::fromStdString(e.label);
            progress_.emplace(parent_, e.total, options);
        }
        const bool goOn = progress_->update(e.done, e.label);
        // Painted at once: the next piece of a large map may be seconds away.
        if (first)
            QCoreApplication::processEvents();
        return goOn && !progress_->wasCanceled();
    }

    void create()
    {
        RunProgressOptions options;
        options.holdAtMaximum = true;
        if (progress_) {
            // The dialog that showed the read goes on with the search.
            QProgressDialog& dialog = progress_->dialog();
            dialog.setLabelText(options.label);
            dialog.setRange(0, static_cast<int>(std::clamp<long long>(target_, 0, INT_MAX)));
            dialog.setValue(0);
        } else {
            progress_.emplace(parent_, target_, options);
        }
        options.label = texts::searchTime();
        options.below = &progress_->dialog();
        options.startValue = orvalis::WindowSampler::TryBudget;
        search_.emplace(parent_, orvalis::WindowSampler::TryBudget, options);
        sinceUpdate_.start();
    }

    QWidget* parent_;
    long long target_;
    std::optional<RunProgressDialog> progress_;
    std::optional<RunProgressDialog> search_;
    QElapsedTimer sinceUpdate_;
};

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

    orvalis::SampleResult result;
    {
        SampleProgress progress(parent, orvalis::sampleTarget(params.cover, params.replicates));
        orvalis::RunControl control([&progress](const orvalis::ProgressEvent& e) { return progress.update(e); });
        // The window's Sample draws from the one process-wide source, so that each run goes on
        // where the last one (a Sample or a Random series) left it.
        result = orvalis::runSample(params, orvalis::globalRandom(), control);
    }
    if (result.stop == orvalis::SampleStop::NoImage && dialog.isMap() && QFileInfo::exists(imagePath)) {
        // GDAL's own words name the map and what is wrong with it.
        outcome.problems << texts::mapNotLoaded(QString::fromLocal8Bit(result.message.c_str()));
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
            warnings << QString::fromLocal8Bit(w.c_str());
        outcome.problems << texts::sampleWarnings(warnings);
    }
    outcome.summary = texts::runSummary("Sample", orvalis::runSummary(result, "windows"));
    // A run that ends with nothing must say so, not just leave an empty list.
    if (result.files.empty() && result.status == orvalis::RunStatus::Completed && result.asked > 0)
        outcome.problems << texts::nothingWritten(outcome.summary);
    if (!result.ok() || result.stop == orvalis::SampleStop::NoCentreLeft)
        outcome.problems << texts::sampleStopped(result.written(), QString::fromLocal8Bit(result.message.c_str()));
    return outcome;
}
