#pragma once

#include "core/compare/CompareRun.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace Ui {
class DialogCompare;
}

// The options of a comparison of real windows with neutral landscapes: which windows (the
// window's list or a sampling log), the models, replicates, seed, patch rule, cell size, metrics
// and the output folder, by default a "compare" folder beside the windows.
class DialogCompare : public QDialog {
    Q_OBJECT

public:
    explicit DialogCompare(QWidget* parent = nullptr);
    ~DialogCompare() override;

    // The files of the window's list, before the dialog opens.
    void setListFiles(const QStringList& files);

    bool fromLog() const;
    QString logPath() const;
    // The models ticked, in the tables' order; empty with *error set when an H value is unreadable.
    std::vector<orvalis::NeutralModel> models(QString* error) const;
    int replicates() const;
    std::uint32_t seed() const;
    int neighbours() const;
    double cellSize() const;
    // The metrics ticked; empty for all of them.
    std::vector<std::string> metricNames() const;
    QString outputFolder() const;
    bool keepLandscapes() const;
    // What the dialog says of the cells the run will measure, and about how much it will write.
    QString cellSizeUsed() const;
    orvalis::CompareSize sizeEstimate() const;

private slots:
    void on_browseLog_clicked();
    void on_browseOutput_clicked();
    void on_fromLog_toggled(bool);
    void on_logPath_textChanged(const QString&);
    void on_outputFolder_textEdited(const QString&);

private:
    // A "compare" folder beside the chosen windows, until the user names one.
    void suggestOutput();
    // The windows chosen, and the cell sizes their files give.
    void readWindows();
    // The cell size and size notes, for the options as they stand.
    void updateNotes();

    Ui::DialogCompare* ui;
    QStringList listFiles_;
    bool outputChosen_ = false;
    std::vector<std::string> windows_;
    std::vector<double> framed_;  // per window, its file's cell size; -1 when it gives none
    class QLabel* cellSizeUsed_ = nullptr;
    class QLabel* sizeNote_ = nullptr;
};
