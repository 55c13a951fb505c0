#include "sampler/DialogSample.h"

#include "ui_DialogSample.h"

DialogSample::DialogSample(QWidget* parent) : QDialog(parent), ui(new Ui::DialogSample)
{
    ui->setupUi(this);
}

DialogSample::~DialogSample()
{
    delete ui;
}
