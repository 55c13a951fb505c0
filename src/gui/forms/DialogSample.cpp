#include "gui/forms/DialogSample.h"

#include "gui/Texts.h"
#include "ui_DialogSample.h"

#include "core/run/CoverRange.h"

#include <algorithm>
#include <climits>

#include <QFileDialog>

DialogSample::DialogSample(QWidget* parent) : QDialog(parent), ui(new Ui::DialogSample)
{
    ui->setupUi(this);
    updateTotal();
}

DialogSample::~DialogSample()
{
    delete ui;
}

int DialogSample::windowSize() const
{
    return ui->Tam->value();
}

int DialogSample::replicates() const
{
    return ui->amo->value();
}

int DialogSample::minDistance() const
{
    return ui->distMin->value();
}

int DialogSample::coverMin() const
{
    return ui->Ci->value();
}

int DialogSample::coverMax() const
{
    return ui->Cf->value();
}

int DialogSample::coverStep() const
{
    return ui->Cp->value();
}

QString DialogSample::imagePath() const
{
    return ui->image->text();
}

QString DialogSample::folder() const
{
    return ui->path->text();
}

bool DialogSample::measureMetrics() const
{
    return ui->metrics->isChecked();
}

void DialogSample::updateTotal()
{
    // Division first, as users have always seen it; the run's own count multiplies first.
    const long long total =
        orvalis::sampleDialogTotal({ui->Ci->value(), ui->Cf->value(), ui->Cp->value()}, ui->amo->value());
    ui->nArq->setValue(static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX)));
}

void DialogSample::chooseFolder()
{
    ui->path->setText(QFileDialog::getExistingDirectory(this, texts::chooseSampleFolder(),
                                                        QString(), QFileDialog::ShowDirsOnly));
}

void DialogSample::chooseImage()
{
    ui->image->setText(QFileDialog::getOpenFileName(this, texts::chooseSampleImage()));
}

void DialogSample::on_pushButton_clicked()
{
    chooseFolder();
}

void DialogSample::on_pushButtonImage_clicked()
{
    chooseImage();
}

void DialogSample::on_Ci_valueChanged(int)
{
    updateTotal();
}

void DialogSample::on_Cf_valueChanged(int)
{
    updateTotal();
}

void DialogSample::on_Cp_valueChanged(int)
{
    updateTotal();
}

void DialogSample::on_Tam_valueChanged(int)
{
    updateTotal();
}

void DialogSample::on_amo_valueChanged(int)
{
    updateTotal();
}
