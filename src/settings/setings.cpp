#include "settings/setings.h"

#include "ui_setings.h"

setings::setings(QWidget* parent) : QDialog(parent), ui(new Ui::setings)
{
    ui->setupUi(this);
}

setings::~setings()
{
    delete ui;
}
