#pragma once

#include <QDialog>

namespace Ui {
class setings;
}

class setings : public QDialog {
    Q_OBJECT

public:
    explicit setings(QWidget* parent = nullptr);
    ~setings() override;

private:
    Ui::setings* ui;
};
