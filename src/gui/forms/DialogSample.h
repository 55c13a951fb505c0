#pragma once

#include "core/sampler/SampleRun.h"
#include "gui/MapClassCounter.h"

#include <QDialog>
#include <QString>
#include <QTimer>

namespace Ui {
class DialogSample;
}

// Parameters of a sampling run; the main window keeps one instance, so the
// fields hold their values from one run to the next.
class DialogSample : public QDialog {
    Q_OBJECT

public:
    explicit DialogSample(QWidget* parent = nullptr);
    ~DialogSample() override;

    // A land-cover map rather than a TGA image is chosen; the map fields apply only then.
    bool isMap() const;
    QString habitatClasses() const;
    int band() const;
    orvalis::WindowFormat windowFormat() const;
    bool keepClasses() const;
    // OK refuses a map whose habitat classes do not parse, naming the fault under the field.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Closing stops a count under way; the next showing counts again.
    void done(int result) override;

public:
    int windowSize() const;
    int replicates() const;
    int minDistance() const;
    int coverMin() const;
    int coverMax() const;
    int coverStep() const;
    QString imagePath() const;
    QString folder() const;
    // Where the log and the batch list go: the folder the field names, the working directory when it is empty.
    QString workFolder() const;
    // Whether every file is to be measured into the run's metrics table.
    bool measureMetrics() const;

private slots:
    void on_pushButton_clicked();
    void on_pushButtonImage_clicked();
    void on_Ci_valueChanged(int);
    void on_Cf_valueChanged(int);
    void on_Cp_valueChanged(int);
    void on_Tam_valueChanged(int);
    void on_amo_valueChanged(int);

private:
    void updateTotal();
    void chooseFolder();
    void chooseImage();
    void chooseWorkFolder();
    // Shows the map fields for a map, hides them for a TGA image, and counts a new map's classes.
    void imageSettled(bool again);
    void countClasses(bool again);
    void showClasses(const MapClasses& map);
    void setMapStatus(const QString& text, bool fault);
    void classesTyped();
    void classPicked();
    void showMapFields(bool shown);

    Ui::DialogSample* ui;
    MapClassCounter counter_;
    // Typing a path settles before the file is looked at, so that half a name is not read as a map.
    QTimer imageSettle_;
    QString countedPath_;  // the map and band the list shows, empty when it shows none
    int countedBand_ = 0;
    int heightWithoutMap_ = 0;
    bool syncing_ = false;  // the field and the ticks are being made to agree
};
