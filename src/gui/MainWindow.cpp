#include "gui/MainWindow.h"

#include "gui/CompareAction.h"
#include "gui/FractalAction.h"
#include "gui/MetricsPanel.h"
#include "gui/RandomAction.h"
#include "gui/SampleAction.h"
#include "gui/Texts.h"
#include "ui_MainWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    // The generators are reached from the Create menu, after Sample.
    ui->menuCreate->addAction(ui->actionRandom);
    ui->menuCreate->addAction(ui->actionFractal);
    addCompareMenu(*this, [this] { return fileNames; }, [this](const QString& problem) { reportProblem(problem); });
    ui->frameView->setGrid(grid_);
    metrics_ = new MetricsPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, metrics_);
    // The panel comes beside the list and the map, not out of their room.
    resize(width() + metrics_->sizeHint().width(), height());
    loadSettings();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::reportProblem(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    problems_.append(text);
    // Not exec(): the message must not block a run or a script driving the window.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

void MainWindow::setSettings(const WindowSettings& values)
{
    settings_.setValues(values);
    ui->frameView->setMatrixValue(values.matrixValue);
}

void MainWindow::loadSettings()
{
    const QString problem = settings_.load();
    ui->frameView->setMatrixValue(settings_.values().matrixValue);
    // Once the loop runs, so that the message shows over the window, not before it.
    if (!problem.isEmpty())
        QTimer::singleShot(0, this, [this, problem] { reportProblem(problem); });
}

void MainWindow::on_actionParametros_triggered()
{
    settings_.fill(settingsDialog_);
    const int seed = settingsDialog_.randomSeed();
    if (settingsDialog_.exec() != QDialog::Accepted) {
        // Cancel leaves every field as it showed when the dialog opened, the seed of the next Random run too.
        settings_.fill(settingsDialog_);
        settingsDialog_.setRandomSeed(seed);
        return;
    }
    settings_.takeFrom(settingsDialog_);
    ui->frameView->setMatrixValue(settings_.values().matrixValue);
    if (settings_.changedOnDisk() &&
        QMessageBox::question(this, windowTitle(), texts::configChangedOnDisk()) != QMessageBox::Yes) {
        reportProblem(texts::configKeptAsChanged());
        return;
    }
    const QString problem = settings_.save();
    if (!problem.isEmpty())
        reportProblem(problem);
}

void MainWindow::on_actionOpen_triggered()
{
    fileNames.clear();
    fileNames = QFileDialog::getOpenFileNames(this, texts::chooseFilesToOpen());
    ui->fileListView->insertItems(ui->fileListView->count(), fileNames);
}

void MainWindow::on_fileListView_clicked(QModelIndex)
{
}

void MainWindow::on_fileListView_currentRowChanged(int row)
{
    if (row < 0)
        return;
    const QString name = ui->fileListView->currentItem()->text();
    const orvalis::LandscapeReadResult read = orvalis::readLandscapeFile(QFile::encodeName(name).toStdString(), grid_);
    ui->frameView->setGrid(grid_);
    metrics_->showMetricsOf(grid_);
    // A file that gives no picture says why, without a box in the way of the next click.
    if (!read.ok)
        statusBar()->showMessage(texts::gridNotRead(name, QString::fromLocal8Bit(read.error.c_str())));
    else if (grid_.empty())
        statusBar()->showMessage(texts::gridEmpty(name));
    else
        statusBar()->clearMessage();
    repaint();
}

void MainWindow::on_actionSample_triggered()
{
    finish(runSampleAction(this, sampleDialog_, settings_.values()));
}

void MainWindow::on_actionRandom_triggered()
{
    finish(runRandomAction(this, rndDialog_, settings_.values(), settingsDialog_.randomSeed()));
}

void MainWindow::on_actionFractal_triggered()
{
    finish(runFractalAction(this, fbmDialog_, settings_.values()));
}

void MainWindow::finish(const ActionOutcome& outcome)
{
    if (outcome.replacesList)
        showWrittenFiles(outcome.written);
    if (!outcome.summary.isEmpty())
        statusBar()->showMessage(outcome.summary);
    for (const QString& problem : outcome.problems)
        reportProblem(problem);
}

void MainWindow::showWrittenFiles(const std::vector<std::string>& written)
{
    fileNames.clear();
    for (const std::string& name : written)
        fileNames.append(QFile::decodeName(QByteArray::fromStdString(name)));
    ui->fileListView->clear();
    ui->fileListView->insertItems(0, fileNames);
    ui->fileListView->sortItems(Qt::AscendingOrder);
}
