#pragma once

#include <QDialog>

namespace Ui {
class dialogFbm;
}

class dialogFbm : public QDialog {
    Q_OBJECT

public:
    explicit dialogFbm(QWidget* parent = nullptr);
    ~dialogFbm() override;

private:
    Ui::dialogFbm* ui;
};
