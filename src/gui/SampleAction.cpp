#include "gui/SampleAction.h"

#include "core/io/BatchList.h"
#include "core/sampler/WindowSampler.h"
#include "gui/RunProgressDialog.h"
#include "gui/Texts.h"
#include "gui/forms/DialogSample.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
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

std::string toEngine(const QString& text)
{
    return text.toUtf8().toStdString();
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
    orvalis::WindowSampler sampler;
    if (!sampler.loadImage(QFile::encodeName(imagePath).constData())) {
        std::puts(texts::imageNotLoadedLine);
        std::fflush(stdout);
        const QString why = imagePath.isEmpty()             ? texts::noImageChosen()
                            : !QFileInfo::exists(imagePath) ? texts::imageMissing()
                                                            : texts::imageUnreadable();
        outcome.problems << texts::imageNotLoaded(imagePath, why);
        return outcome;
    }
    sampler.configure(128, dialog.windowSize() / 2, settings.matrixValue, settings.coverValue);

    orvalis::SampleParameters params;
    params.minDistance = dialog.minDistance();
    params.coverStep = dialog.coverStep();
    params.coverMax = dialog.coverMax();
    params.coverMin = dialog.coverMin();
    params.replicates = dialog.replicates();
    params.folder = QFile::encodeName(dialog.folder()).toStdString();
    params.prefix = QFile::encodeName(settings.samplePrefix).toStdString();
    const long long target = params.coverStep > 0 ? (static_cast<long long>(params.coverMax) + params.coverStep -
                                                     params.coverMin) * params.replicates / params.coverStep
                                                  : 0;

    orvalis::SampleOutcome result;
    {
        SampleProgress progress(parent, target);
        result = sampler.sampleWindows(params, outcome.written,
                                       [&progress](const orvalis::ProgressEvent& e) { return progress.update(e); });
    }

    // The list names the files as the window lists them.
    QStringList names;
    for (const std::string& name : outcome.written)
        names.append(QFile::decodeName(QByteArray::fromStdString(name)));
    const QString listProblem = writeBatchList(names, settings.samplePrefix, settings.samplePostString);
    if (!listProblem.isEmpty())
        outcome.problems << listProblem;

    if (!result.ok() || result.stop == orvalis::SampleStop::NoCentreLeft)
        outcome.problems << texts::sampleStopped(result.written, QString::fromLocal8Bit(result.message.c_str()));
    return outcome;
}

QString writeBatchList(const QStringList& fileNames, const QString& prefix, const QString& postString)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(fileNames.size()));
    for (const QString& name : fileNames)
        names.push_back(toEngine(name));
    std::string error;
    if (orvalis::writeBatchListFile(orvalis::batchListName(QFile::encodeName(prefix).toStdString()), names,
                                    toEngine(postString), &error))
        return QString();
    return texts::batchListNotWritten(prefix, QString::fromLocal8Bit(error.c_str()));
}
