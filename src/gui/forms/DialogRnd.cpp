#include "gui/forms/DialogRnd.h"

#include "gui/Texts.h"
#include "ui_DialogRnd.h"

#include "core/run/CoverRange.h"

#include <QFileDialog>

#include <algorithm>

DialogRnd::DialogRnd(QWidget* parent) : QDialog(parent), ui(new Ui::DialogRnd)
{
    ui->setupUi(this);
    updateTotal();
}

DialogRnd::~DialogRnd()
{
    delete ui;
}

int DialogRnd::coverMin() const
{
    return ui->Ci->value();
}

int DialogRnd::coverMax() const
{
    return ui->Cf->value();
}

int DialogRnd::coverStep() const
{
    return ui->Cp->value();
}

int DialogRnd::gridSize() const
{
    return ui->Tam->value();
}

int DialogRnd::replicates() const
{
    return ui->amo->value();
}

QString DialogRnd::folder() const
{
    return ui->path->text();
}

bool DialogRnd::measureMetrics() const
{
    return ui->metrics->isChecked();
}

void DialogRnd::updateTotal()
{
    // Cf below Ci asks for no files.
    const long long total = static_cast<long long>(ui->amo->value()) *
                            orvalis::randomLevelCount({ui->Ci->value(), ui->Cf->value(), ui->Cp->value()});
    ui->nArq->setValue(static_cast<int>(std::clamp<long long>(total, 0, ui->nArq->maximum())));
}

void DialogRnd::on_pushButton_clicked()
{
    ui->path->setText(QFileDialog::getExistingDirectory(this, texts::chooseRandomFolder(), QString(),
                                                        QFileDialog::ShowDirsOnly));
}

void DialogRnd::on_Ci_valueChanged(int)
{
    updateTotal();
}

void DialogRnd::on_Cf_valueChanged(int)
{
    updateTotal();
}

void DialogRnd::on_Cp_valueChanged(int)
{
    updateTotal();
}

void DialogRnd::on_Tam_valueChanged(int)
{
    updateTotal();
}

void DialogRnd::on_amo_valueChanged(int)
{
    updateTotal();
}
