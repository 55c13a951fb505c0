#pragma once

#include <QDialog>

namespace Ui {
class DialogSample;
}

class DialogSample : public QDialog {
    Q_OBJECT

public:
    explicit DialogSample(QWidget* parent = nullptr);
    ~DialogSample() override;

private:
    Ui::DialogSample* ui;
};
