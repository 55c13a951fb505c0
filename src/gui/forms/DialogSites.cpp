#include "gui/forms/DialogSites.h"

#include "core/metrics/MetricCatalogue.h"
#include "gui/Texts.h"
#include "plots/CatalogueTexts.h"
#include "ui_DialogSites.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <set>

DialogSites::DialogSites(QWidget* parent) : QDialog(parent), ui(new Ui::DialogSites)
{
    ui->setupUi(this);
    ui->problem->hide();
    // Both levels share some names (np, pd, ed, ...): a name keeps the metric at either level.
    std::set<std::string> listed;
    for (const orvalis::MetricDef& d : orvalis::metricCatalogue())
        if (d.level != orvalis::MetricLevel::Patch && listed.insert(d.code).second) {
            auto* item = new QListWidgetItem(QString::fromStdString(d.code), ui->metricList);
            item->setToolTip(orvalis::catalogue::metricName(d));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
}

DialogSites::~DialogSites()
{
    delete ui;
}

QString DialogSites::defaultTable(const QString& sitesPath)
{
    const QFileInfo sites(sitesPath);
    return QDir(sites.absolutePath()).filePath(sites.completeBaseName() + QStringLiteral("_metrics.csv"));
}

void DialogSites::suggestMap(const QString& path)
{
    if (!mapChosen_ && !path.isEmpty())
        ui->mapPath->setText(path);
}

void DialogSites::accept()
{
    const QString problem = check_ ? check_() : QString();
    ui->problem->setText(problem);
    ui->problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QDialog::accept();
}

QString DialogSites::mapPath() const
{
    return ui->mapPath->text().trimmed();
}

QString DialogSites::sitesPath() const
{
    return ui->sitesPath->text().trimmed();
}

QString DialogSites::sitesCrs() const
{
    return ui->sitesCrs->text().trimmed();
}

QString DialogSites::radiiText() const
{
    return ui->radii->text();
}

bool DialogSites::square() const
{
    return ui->shape->currentIndex() == 1;
}

QString DialogSites::habitat() const
{
    return ui->habitat->text().trimmed();
}

int DialogSites::neighbours() const
{
    return ui->neighbours->currentIndex() == 1 ? 4 : 8;
}

bool DialogSites::standardMetrics() const
{
    return ui->allMetrics->isChecked();
}

std::vector<std::string> DialogSites::tickedMetrics() const
{
    std::vector<std::string> names;
    for (int i = 0; i < ui->metricList->count(); ++i)
        if (ui->metricList->item(i)->checkState() == Qt::Checked)
            names.push_back(ui->metricList->item(i)->text().toStdString());
    return names;
}

QString DialogSites::tablePath() const
{
    return ui->outputPath->text().trimmed();
}

QString DialogSites::problem() const
{
    return ui->problem->isVisible() ? ui->problem->text() : QString();
}

void DialogSites::on_browseMap_clicked()
{
    const QString map = QFileDialog::getOpenFileName(this, texts::chooseLandCoverMap(), QFileInfo(mapPath()).absolutePath(),
                                                     texts::landCoverMapFilter());
    if (map.isEmpty())
        return;
    ui->mapPath->setText(map);
    mapChosen_ = true;
}

void DialogSites::on_browseSites_clicked()
{
    const QString sites = QFileDialog::getOpenFileName(this, texts::chooseSitesFile(), QFileInfo(sitesPath()).absolutePath(),
                                                       texts::sitesFileFilter());
    if (!sites.isEmpty())
        ui->sitesPath->setText(sites);
}

void DialogSites::on_browseOutput_clicked()
{
    const QString start = tablePath().isEmpty() ? QFileInfo(sitesPath()).absolutePath() : tablePath();
    const QString table = QFileDialog::getSaveFileName(this, texts::chooseSitesTable(), start, texts::csvFilter());
    if (table.isEmpty())
        return;
    ui->outputPath->setText(table);
    tableChosen_ = true;
}

void DialogSites::on_mapPath_textEdited(const QString&)
{
    mapChosen_ = true;
}

void DialogSites::on_sitesPath_textChanged(const QString& sites)
{
    if (!tableChosen_)
        ui->outputPath->setText(sites.trimmed().isEmpty() ? QString() : defaultTable(sites.trimmed()));
}

void DialogSites::on_outputPath_textEdited(const QString& text)
{
    // Emptied, the field follows the sites again.
    tableChosen_ = !text.trimmed().isEmpty();
}
