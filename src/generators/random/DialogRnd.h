#pragma once

#include <QDialog>

namespace Ui {
class DialogRnd;
}

class DialogRnd : public QDialog {
    Q_OBJECT

public:
    explicit DialogRnd(QWidget* parent = nullptr);
    ~DialogRnd() override;

private:
    Ui::DialogRnd* ui;
};
