#include "gui/forms/DialogCompare.h"

#include "core/metrics/LandscapeMetrics.h"
#include "gui/Texts.h"
#include "ui_DialogCompare.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

DialogCompare::DialogCompare(QWidget* parent) : QDialog(parent), ui(new Ui::DialogCompare)
{
    ui->setupUi(this);
    // Both levels share some names (np, pd, ed, ...): a name keeps the metric at either level.
    std::set<std::string> listed;
    for (const orvalis::MetricDef& d : orvalis::metricCatalogue())
        if (d.level != orvalis::MetricLevel::Patch && listed.insert(d.code).second) {
            auto* item = new QListWidgetItem(QString::fromStdString(d.code), ui->metricList);
            item->setToolTip(QString::fromStdString(d.name));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    setListFiles({});
}

DialogCompare::~DialogCompare()
{
    delete ui;
}

void DialogCompare::setListFiles(const QStringList& files)
{
    listFiles_ = files;
    ui->fromList->setText(texts::compareFromList(static_cast<int>(files.size())));
    suggestOutput();
}

bool DialogCompare::fromLog() const
{
    return ui->fromLog->isChecked();
}

QString DialogCompare::logPath() const
{
    return ui->logPath->text();
}

std::vector<orvalis::NeutralModel> DialogCompare::models(QString* error) const
{
    std::vector<orvalis::NeutralModel> models;
    if (ui->randomModel->isChecked())
        models.push_back({});
    if (!ui->fractalModel->isChecked())
        return models;
    const QStringList values = ui->hValues->text().split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
    for (const QString& h : values) {
        std::string why;
        const auto model = orvalis::NeutralModel::parse("fractal:" + h.toStdString(), &why);
        if (!model) {
            if (error)
                *error = QString::fromStdString(why);
            return {};
        }
        models.push_back(*model);
    }
    return models;
}

int DialogCompare::replicates() const
{
    return ui->replicates->value();
}

std::uint32_t DialogCompare::seed() const
{
    return static_cast<std::uint32_t>(ui->seed->value());
}

int DialogCompare::neighbours() const
{
    return ui->neighbours->currentIndex() == 1 ? 4 : 8;
}

double DialogCompare::cellSize() const
{
    return ui->cellSize->value();
}

std::vector<std::string> DialogCompare::metricNames() const
{
    std::vector<std::string> names;
    if (ui->allMetrics->isChecked())
        return names;
    for (int i = 0; i < ui->metricList->count(); ++i)
        if (ui->metricList->item(i)->checkState() == Qt::Checked)
            names.push_back(ui->metricList->item(i)->text().toStdString());
    return names;
}

QString DialogCompare::outputFolder() const
{
    return ui->outputFolder->text();
}

bool DialogCompare::keepLandscapes() const
{
    return ui->keepLandscapes->isChecked();
}

void DialogCompare::on_browseLog_clicked()
{
    const QString log = QFileDialog::getOpenFileName(this, texts::chooseSampleLog(), QString(), texts::sampleLogFilter());
    if (log.isEmpty())
        return;
    ui->logPath->setText(log);
    ui->fromLog->setChecked(true);
}

void DialogCompare::on_browseOutput_clicked()
{
    const QString folder = QFileDialog::getExistingDirectory(this, texts::chooseCompareFolder(), ui->outputFolder->text());
    if (folder.isEmpty())
        return;
    ui->outputFolder->setText(folder);
    outputChosen_ = true;
}

void DialogCompare::on_fromLog_toggled(bool)
{
    suggestOutput();
}

void DialogCompare::on_logPath_textChanged(const QString&)
{
    suggestOutput();
}

void DialogCompare::on_outputFolder_textEdited(const QString&)
{
    outputChosen_ = true;
}

void DialogCompare::suggestOutput()
{
    if (outputChosen_)
        return;
    QString beside;
    if (fromLog() && !logPath().isEmpty())
        beside = QFileInfo(logPath()).absolutePath();
    else if (!fromLog() && !listFiles_.isEmpty())
        beside = QFileInfo(listFiles_.first()).absolutePath();
    ui->outputFolder->setText(beside.isEmpty() ? QString() : QDir(beside).filePath(QStringLiteral("compare")));
}
