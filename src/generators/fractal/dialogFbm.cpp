#include "generators/fractal/dialogFbm.h"

#include "ui_dialogFbm.h"

dialogFbm::dialogFbm(QWidget* parent) : QDialog(parent), ui(new Ui::dialogFbm)
{
    ui->setupUi(this);
}

dialogFbm::~dialogFbm()
{
    delete ui;
}
