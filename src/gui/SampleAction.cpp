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

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

// The run's two window-modal dialogs, created when the search starts: windows
// written, and below it the search's tries left.
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
        if (!progress_)
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
    void create()
    {
        RunProgressOptions options;
        options.holdAtMaximum = true;
        progress_.emplace(parent_, target_, options);
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
    outcome.summary = texts::runSummary("Sample", orvalis::runSummary(result, "windows"));
    // A run that ends with nothing must say so, not just leave an empty list.
    if (result.files.empty() && result.status == orvalis::RunStatus::Completed && result.asked > 0)
        outcome.problems << texts::nothingWritten(outcome.summary);
    if (!result.ok() || result.stop == orvalis::SampleStop::NoCentreLeft)
        outcome.problems << texts::sampleStopped(result.written(), QString::fromLocal8Bit(result.message.c_str()));
    return outcome;
}
