#pragma once

#include "core/io/CompactGrid.h"
#include "gui/SettingsBridge.h"
#include "gui/forms/DialogRnd.h"
#include "gui/forms/DialogSample.h"
#include "gui/forms/dialogFbm.h"
#include "gui/forms/setings.h"

#include <QMainWindow>
#include <QModelIndex>
#include <QPointer>
#include <QStringList>

#include <string>
#include <vector>

struct ActionOutcome;

class MapTab;
class MetricsPanel;
class PictureSource;
class QDialog;
class QListWidgetItem;

namespace Ui {
class MainWindow;
}

// The window: menus, the file list and the map, wired to the Create commands and
// the settings. The commands and the drawing live in their own classes.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Tells the user about a failure: standard error and a message in the window.
    void reportProblem(const QString& text);
    const QStringList& reportedProblems() const { return problems_; }

    // The grid of the selected file; empty when it could not be read.
    // The grid on view, line by line.
    orvalis::LandscapeGrid grid() const { return grid_.lines(); }
    const WindowSettings& settings() const { return settings_.values(); }
    // Takes the four settings as if read from config.txt; the file is not written.
    void setSettings(const WindowSettings& values);
    setings& settingsDialog() { return settingsDialog_; }
    DialogSample& sampleDialog() { return sampleDialog_; }

    MapTab& mapTab() { return *mapTab_; }

    // The files of the last run or the last Open, in their order, with their full paths.
    QStringList fileNames;

    // What File → Open does once files are chosen: lists those not listed yet (by canonical
    // path), in natural order, and selects and draws the first one added.
    void openFiles(const QStringList& chosen);
    // Writes the current tab's picture, PNG or SVG by the name's ending; the problem, or empty.
    QString exportPicture(const QString& path, bool fullResolution);
    // The full path a list item stands for.
    static QString pathOf(const QListWidgetItem& item);
    void removeFromList(QListWidgetItem* item);
    // Where the bundled examples and the manual are: installed beside the program, or in the
    // source tree of a build; empty when neither has it.
    static QString examplePath(const QString& file);
    static QString manualPath();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_actionOpen_triggered();
    void on_fileListView_clicked(QModelIndex index);
    void on_actionParametros_triggered();
    void on_fileListView_currentRowChanged(int row);
    void on_actionSample_triggered();
    void on_actionRandom_triggered();
    void on_actionFractal_triggered();
    void on_actionClearList_triggered();
    void on_actionExportPicture_triggered();
    void on_actionQuit_triggered();
    void on_actionAbout_triggered();
    void showManual();

private:
    void loadSettings();
    // After a run: fileNames becomes the files it wrote, in writing order, and the
    // list widget shows them sorted.
    void showWrittenFiles(const std::vector<std::string>& written);
    void finish(const ActionOutcome& outcome);
    void showFile(const QString& path);
    void clearView();
    void showListMenu(const QPoint& at);
    void updateLegend();
    void updateGridStatus();
    void setUpFirstScreen();
    void setUpPanels(QMenu& viewMenu);
    // The hint of a first start shows while nothing is listed or drawn.
    void updateFirstScreen();
    // Export Picture is offered only when the tab on view has a picture.
    void updateExportAction();
    PictureSource* currentPicture() const;
    QString lastFolder(const char* key) const;
    void rememberFolder(const char* key, const QString& file);

    Ui::MainWindow* ui;
    orvalis::CompactGrid grid_;  // a byte a cell: a file of hundreds of megabytes still fits
    MapTab* mapTab_ = nullptr;  // the Map tab and its File commands, owned by the window
    MetricsPanel* metrics_ = nullptr;  // owned by the window, as a dock
    QString shownFile_;  // the file whose grid is on view
    QWidget* firstScreen_ = nullptr;  // the hint in the empty grid view
    QPointer<QDialog> manual_;  // Help → Manual, open until closed
    setings settingsDialog_;
    DialogRnd rndDialog_;
    dialogFbm fbmDialog_;
    DialogSample sampleDialog_;
    SettingsBridge settings_;
    QStringList problems_;
};
