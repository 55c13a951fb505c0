#include "gui/forms/DialogSurface.h"

#include "core/metrics/MetricCatalogue.h"
#include "gui/Texts.h"
#include "plots/CatalogueTexts.h"
#include "ui_DialogSurface.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <set>

DialogSurface::DialogSurface(QWidget* parent) : QDialog(parent), ui(new Ui::DialogSurface)
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
            // One landscape band to start from: a class metric makes a band for every class.
            item->setCheckState(d.code == "shdi" ? Qt::Checked : Qt::Unchecked);
        }
}

DialogSurface::~DialogSurface()
{
    delete ui;
}

QString DialogSurface::defaultSurface(const QString& mapPath)
{
    const QFileInfo map(mapPath);
    return QDir(map.absolutePath()).filePath(map.completeBaseName() + QStringLiteral("_surface.tif"));
}

void DialogSurface::suggestMap(const QString& path)
{
    if (!mapChosen_ && !path.isEmpty())
        ui->mapPath->setText(path);
}

void DialogSurface::accept()
{
    const QString problem = check_ ? check_() : QString();
    ui->problem->setText(problem);
    ui->problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QDialog::accept();
}

QString DialogSurface::mapPath() const
{
    return ui->mapPath->text().trimmed();
}

int DialogSurface::window() const
{
    return ui->window->value();
}

orvalis::WindowShape DialogSurface::shape() const
{
    return ui->shape->currentIndex() == 1 ? orvalis::WindowShape::Circle : orvalis::WindowShape::Square;
}

int DialogSurface::step() const
{
    return ui->step->value();
}

QString DialogSurface::habitat() const
{
    return ui->habitat->text().trimmed();
}

int DialogSurface::neighbours() const
{
    return ui->neighbours->currentIndex() == 1 ? 4 : 8;
}

std::vector<std::string> DialogSurface::tickedMetrics() const
{
    std::vector<std::string> names;
    for (int i = 0; i < ui->metricList->count(); ++i)
        if (ui->metricList->item(i)->checkState() == Qt::Checked)
            names.push_back(ui->metricList->item(i)->text().toStdString());
    return names;
}

QString DialogSurface::surfacePath() const
{
    return ui->outputPath->text().trimmed();
}

QString DialogSurface::problem() const
{
    return ui->problem->isVisible() ? ui->problem->text() : QString();
}

void DialogSurface::on_browseMap_clicked()
{
    const QString map = QFileDialog::getOpenFileName(this, texts::chooseLandCoverMap(), QFileInfo(mapPath()).absolutePath(),
                                                     texts::landCoverMapFilter());
    if (map.isEmpty())
        return;
    ui->mapPath->setText(map);
    mapChosen_ = true;
}

void DialogSurface::on_browseOutput_clicked()
{
    const QString start = surfacePath().isEmpty() ? QFileInfo(mapPath()).absolutePath() : surfacePath();
    const QString surface = QFileDialog::getSaveFileName(this, texts::chooseSurfaceFile(), start, texts::surfaceFilter());
    if (surface.isEmpty())
        return;
    ui->outputPath->setText(surface);
    surfaceChosen_ = true;
}

void DialogSurface::on_mapPath_textEdited(const QString&)
{
    mapChosen_ = true;
}

void DialogSurface::on_mapPath_textChanged(const QString& map)
{
    if (!surfaceChosen_)
        ui->outputPath->setText(map.trimmed().isEmpty() ? QString() : defaultSurface(map.trimmed()));
}

void DialogSurface::on_outputPath_textEdited(const QString& text)
{
    // Emptied, the field follows the map again.
    surfaceChosen_ = !text.trimmed().isEmpty();
}
