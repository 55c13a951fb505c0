#include "gui/MainWindow.h"

#include "core/random/RandomSource.h"
#include "core/run/CoverRange.h"
#include "core/sampler/SampleRun.h"
#include "core/sampler/WindowSampler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The run's two window-modal dialogs, created when the search starts.
class SampleProgress {
public:
    SampleProgress(QWidget* parent, long long target) : parent_(parent), target_(target) {}
    ~SampleProgress()
    {
        if (progress_)
            progress_->close();
        if (search_)
            search_->close();
    }

    bool update(const orvalis::ProgressEvent& e)
    {
        if (!progress_)
            create();
        const int done = static_cast<int>(std::clamp<long long>(e.done, 0, progress_->maximum()));
        const int left = static_cast<int>(std::clamp<long long>(e.budgetLeft, 0, search_->maximum()));
        // Setting a value repaints and lets events in; a few times a second is enough to see it and to cancel.
        if (done != progress_->value() || sinceUpdate_.elapsed() >= 40) {
            const bool moved = done != progress_->value() || left != search_->value();
            progress_->setValue(done);
            search_->setValue(left);
            if (!moved)
                QCoreApplication::processEvents();
            sinceUpdate_.restart();
        }
        return !progress_->wasCanceled() && !search_->wasCanceled();
    }

private:
    void create()
    {
        const int maximum = static_cast<int>(std::clamp<long long>(target_, 0, INT_MAX));
        progress_ = std::make_unique<QProgressDialog>(QStringLiteral("Calculando..."), QStringLiteral("Cancel"), 0,
                                                      maximum, parent_);
        search_ = std::make_unique<QProgressDialog>(QStringLiteral("Tempo de busca total..."),
                                                    QStringLiteral("Cancel"), 0,
                                                    static_cast<int>(orvalis::WindowSampler::TryBudget), parent_);
        for (QProgressDialog* d : {progress_.get(), search_.get()}) {
            d->setAutoReset(false);
            d->setAutoClose(false);
            d->setMinimumDuration(0);
        }
        progress_->setWindowModality(Qt::WindowModal);
        progress_->show();
        progress_->setValue(0);
        search_->setWindowModality(Qt::WindowModal);
        const QRect above = progress_->geometry();
        search_->setGeometry(above.translated(0, above.height()));
        search_->show();
        search_->setValue(static_cast<int>(orvalis::WindowSampler::TryBudget));
        sinceUpdate_.start();
    }

    QWidget* parent_;
    long long target_;
    std::unique_ptr<QProgressDialog> progress_;
    std::unique_ptr<QProgressDialog> search_;
    QElapsedTimer sinceUpdate_;
};

}  // namespace

void MainWindow::on_actionSample_triggered()
{
    if (sampleDialog.exec() != QDialog::Accepted)
        return;
    showWrittenFiles({});

    if (sampleDialog.folder().isEmpty()) {
        // Joined with "/" an empty folder would mean the root folder.
        reportProblem(tr("Sampling: no folder was chosen for the window files, nothing was written."));
        return;
    }
    const QString imagePath = sampleDialog.imagePath();
    orvalis::SampleParameters params;
    params.image = QFile::encodeName(imagePath).toStdString();
    params.folder = QFile::encodeName(sampleDialog.folder()).toStdString();
    params.windowSize = sampleDialog.windowSize();
    params.minDistance = sampleDialog.minDistance();
    params.cover = {sampleDialog.coverMin(), sampleDialog.coverMax(), sampleDialog.coverStep()};
    params.replicates = sampleDialog.replicates();
    params.prefix = QFile::encodeName(samplePrefix).toStdString();
    params.postString = samplePostString.toUtf8().toStdString();
    params.coverValue = coverValue;
    params.matrixValue = matrixValue;

    orvalis::SampleResult outcome;
    {
        SampleProgress progress(this, orvalis::sampleTarget(params.cover, params.replicates));
        orvalis::RunControl control([&progress](const orvalis::ProgressEvent& e) { return progress.update(e); });
        // The window's Sample draws from the one process-wide source, so that runs follow one another.
        outcome = orvalis::runSample(params, orvalis::globalRandom(), control);
    }
    if (outcome.stop == orvalis::SampleStop::NoImage) {
        std::puts("Não foi possivel carregar a imagem");
        std::fflush(stdout);
        const QString why = imagePath.isEmpty()           ? tr("no image file was chosen")
                            : !QFileInfo::exists(imagePath) ? tr("the file does not exist")
                                                            : tr("it is not a readable uncompressed 24- or 32-bit TGA image");
        reportProblem(tr("Não foi possivel carregar a imagem \"%1\": %2.").arg(imagePath, why));
        return;
    }

    showWrittenFiles(outcome.files);

    if (!outcome.ok() || outcome.stop == orvalis::SampleStop::NoCentreLeft)
        reportProblem(tr("Sampling stopped after %n window(s): %1.", nullptr, outcome.written())
                          .arg(QString::fromLocal8Bit(outcome.message.c_str())));
}
