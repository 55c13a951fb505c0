#pragma once

#include <QDialog>
#include <QString>

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

    int windowSize() const;
    int replicates() const;
    int minDistance() const;
    int coverMin() const;
    int coverMax() const;
    int coverStep() const;
    QString imagePath() const;
    QString folder() const;
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

    Ui::DialogSample* ui;
};
