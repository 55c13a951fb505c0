#include "generators/random/DialogRnd.h"

#include "ui_DialogRnd.h"

DialogRnd::DialogRnd(QWidget* parent) : QDialog(parent), ui(new Ui::DialogRnd)
{
    ui->setupUi(this);
}

DialogRnd::~DialogRnd()
{
    delete ui;
}
