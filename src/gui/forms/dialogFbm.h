#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class dialogFbm;
}

// Settings of a fractal run: H range, cover range, size, replicates and folder,
// with the number of files they ask for shown live.
class dialogFbm : public QDialog {
    Q_OBJECT

public:
    explicit dialogFbm(QWidget* parent = nullptr);
    ~dialogFbm() override;

    double initialH() const;
    double finalH() const;
    double stepH() const;
    int coverMin() const;
    int coverMax() const;
    int coverStep() const;
    int gridSize() const;
    int replicates() const;
    QString folder() const;
    // Whether every file is to be measured into the run's metrics table.
    bool measureMetrics() const;

private slots:
    void on_pushButton_clicked();
    void on_Hi_valueChanged(double);
    void on_Hf_valueChanged(double);
    void on_Hp_valueChanged(double);
    void on_Ci_valueChanged(int);
    void on_Cf_valueChanged(int);
    void on_Cp_valueChanged(int);
    void on_amo_valueChanged(int);

private:
    void updateTotal();

    Ui::dialogFbm* ui;
};
