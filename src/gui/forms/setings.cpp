#include "gui/forms/setings.h"

#include "ui_setings.h"

setings::setings(QWidget* parent) : QDialog(parent), ui(new Ui::setings)
{
    ui->setupUi(this);
}

setings::~setings()
{
    delete ui;
}

void setings::setSampleName(const QString& name)
{
    ui->preTextSmp->setText(name);
}

void setings::setPostString(const QString& postString)
{
    ui->posTextSmp->setText(postString);
}

void setings::setCover(int value)
{
    ui->coverValue->setValue(value);
}

void setings::setMatrix(int value)
{
    ui->matrixValue->setValue(value);
}

QString setings::sampleName() const
{
    return ui->preTextSmp->text();
}

QString setings::postString() const
{
    return ui->posTextSmp->text();
}

int setings::cover() const
{
    return ui->coverValue->value();
}

int setings::matrix() const
{
    return ui->matrixValue->value();
}

void setings::setRandomSeed(int value)
{
    ui->seedRnd->setValue(value);
}

int setings::randomSeed() const
{
    return ui->seedRnd->value();
}
