#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class DialogRnd;
}

// Settings of a random landscape series; shows how many files the series writes.
class DialogRnd : public QDialog {
    Q_OBJECT

public:
    explicit DialogRnd(QWidget* parent = nullptr);
    ~DialogRnd() override;

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
    void on_Ci_valueChanged(int);
    void on_Cf_valueChanged(int);
    void on_Cp_valueChanged(int);
    void on_Tam_valueChanged(int);
    void on_amo_valueChanged(int);

private:
    void updateTotal();

    Ui::DialogRnd* ui;
};
