#include "gui/forms/dialogFbm.h"

#include "core/neutral/FractalRun.h"
#include "gui/Texts.h"
#include "ui_dialogFbm.h"

#include "core/run/CoverRange.h"

#include <QFileDialog>

#include <algorithm>

dialogFbm::dialogFbm(QWidget* parent) : QDialog(parent), ui(new Ui::dialogFbm)
{
    ui->setupUi(this);
    updateTotal();
}

dialogFbm::~dialogFbm()
{
    delete ui;
}

double dialogFbm::initialH() const
{
    return ui->Hi->value();
}

double dialogFbm::finalH() const
{
    return ui->Hf->value();
}

double dialogFbm::stepH() const
{
    return ui->Hp->value();
}

int dialogFbm::coverMin() const
{
    return ui->Ci->value();
}

int dialogFbm::coverMax() const
{
    return ui->Cf->value();
}

int dialogFbm::coverStep() const
{
    return ui->Cp->value();
}

int dialogFbm::gridSize() const
{
    return ui->Tam->value();
}

int dialogFbm::replicates() const
{
    return ui->amo->value();
}

QString dialogFbm::folder() const
{
    return ui->path->text();
}

bool dialogFbm::measureMetrics() const
{
    return ui->metrics->isChecked();
}

void dialogFbm::updateTotal()
{
    const long long covers = orvalis::fractalLevelCount({ui->Ci->value(), ui->Cf->value(), ui->Cp->value()});
    // Count the H values as the run visits them: truncating (Hf - Hi) / Hp can fall one short.
    const long long hValues =
        static_cast<long long>(orvalis::fractalHValues(ui->Hi->value(), ui->Hf->value(), ui->Hp->value()).size());
    // 64 bits: the largest settings ask for more files than an int holds.
    const long long total = covers * ui->amo->value() * hValues;
    ui->nArq->setValue(static_cast<int>(std::clamp<long long>(total, 0, ui->nArq->maximum())));
}

void dialogFbm::on_pushButton_clicked()
{
    ui->path->setText(QFileDialog::getExistingDirectory(this, texts::chooseFractalFolder(), QString(),
                                                        QFileDialog::ShowDirsOnly));
}

void dialogFbm::on_Hi_valueChanged(double)
{
    updateTotal();
}

void dialogFbm::on_Hf_valueChanged(double)
{
    updateTotal();
}

void dialogFbm::on_Hp_valueChanged(double)
{
    updateTotal();
}

void dialogFbm::on_Ci_valueChanged(int)
{
    updateTotal();
}

void dialogFbm::on_Cf_valueChanged(int)
{
    updateTotal();
}

void dialogFbm::on_Cp_valueChanged(int)
{
    updateTotal();
}

void dialogFbm::on_amo_valueChanged(int)
{
    updateTotal();
}
