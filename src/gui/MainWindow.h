#pragma once

#include "gui/forms/dialogFbm.h"
#include "gui/forms/DialogRnd.h"
#include "core/io/LandscapeFile.h"
#include "gui/forms/DialogSample.h"
#include "gui/forms/setings.h"

#include <QImage>
#include <QMainWindow>
#include <QModelIndex>
#include <QStringList>

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces grid with the content of a landscape file; empty when it cannot be read.
    void loadGrid(const QString& fileName);
    // FRAGSTATS batch list: prefix + "ListFragStat.fbt", one line per entry of fileNames.
    void writeBatchList(const QString& prefix, const QString& postString);

    // Tells the user about a failure: standard error and a message in the window.
    void reportProblem(const QString& text);
    const QStringList& reportedProblems() const { return problems_; }

    // Where the grid is drawn, in window coordinates: exactly over frameView.
    QRect viewRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void on_actionOpen_triggered();
    void on_fileListView_clicked(QModelIndex index);
    void on_actionParametros_triggered();
    void on_fileListView_currentRowChanged(int row);
    void on_actionSample_triggered();
    void on_actionRandom_triggered();
    void on_actionFractal_triggered();

private:
    // Reads config.txt into the four settings; defined with the settings dialog.
    void loadSettings();
    // After a run: fileNames becomes the files it wrote, in writing order, and the
    // list widget shows them sorted.
    void showWrittenFiles(const std::vector<std::string>& written);

public:
    QStringList fileNames;

private:
    Ui::MainWindow* ui;

public:
    orvalis::LandscapeGrid grid;
    setings settingsDialog;
    DialogRnd rndDialog;
    dialogFbm fbmDialog;
    DialogSample sampleDialog;
    QString samplePrefix;
    QString samplePostString;
    int coverValue = 1;
    int matrixValue = 0;

private:
    QImage gridImage_;         // one pixel per cell, built when a file is selected
    int gridImageMatrix_ = 0;  // matrixValue the image was built with
    QImage scaledImage_;       // gridImage_ at the size last drawn
    QStringList problems_;
};
