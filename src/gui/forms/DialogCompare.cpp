#include "gui/forms/DialogCompare.h"

#include "core/metrics/LandscapeMetrics.h"
#include "core/sampler/SampleLog.h"
#include "core/sampler/SampleRun.h"
#include "gui/EngineMessages.h"
#include "plots/CatalogueTexts.h"
#include "gui/Texts.h"
#include "ui_DialogCompare.h"

#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>

#include <algorithm>
#include <set>

DialogCompare::DialogCompare(QWidget* parent) : QDialog(parent), ui(new Ui::DialogCompare)
{
    ui->setupUi(this);
    // Both levels share some names (np, pd, ed, ...): a name keeps the metric at either level.
    std::set<std::string> listed;
    for (const orvalis::MetricDef& d : orvalis::metricCatalogue())
        if (d.level != orvalis::MetricLevel::Patch && listed.insert(d.code).second) {
            auto* item = new QListWidgetItem(QString::fromStdString(d.code), ui->metricList);
            item->setToolTip(orvalis::catalogue::metricName(d));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    cellSizeUsed_ = new QLabel;
    cellSizeUsed_->setObjectName(QStringLiteral("cellSizeUsed"));
    cellSizeUsed_->setWordWrap(true);
    sizeNote_ = new QLabel;
    sizeNote_->setObjectName(QStringLiteral("sizeNote"));
    ui->optionsLayout->addRow(QString(), cellSizeUsed_);
    ui->optionsLayout->addRow(QString(), sizeNote_);
    const auto update = [this] { updateNotes(); };
    connect(ui->cellSize, &QDoubleSpinBox::valueChanged, this, update);
    connect(ui->replicates, &QSpinBox::valueChanged, this, update);
    connect(ui->keepLandscapes, &QCheckBox::toggled, this, update);
    connect(ui->randomModel, &QCheckBox::toggled, this, update);
    connect(ui->fractalModel, &QCheckBox::toggled, this, update);
    connect(ui->hValues, &QLineEdit::textChanged, this, update);
    connect(ui->allMetrics, &QRadioButton::toggled, this, update);
    connect(ui->metricList, &QListWidget::itemChanged, this, update);
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
    readWindows();
}

void DialogCompare::readWindows()
{
    windows_.clear();
    if (fromLog()) {
        const std::string log = QFile::encodeName(logPath()).toStdString();
        if (!log.empty() && orvalis::readSampleLogWindows(log, windows_, nullptr)) {
            // The sampling run's record knows the cells of its windows.
            if (const std::optional<double> recorded = orvalis::recordedCellSize(log))
                ui->cellSize->setValue(*recorded);
        }
    } else {
        for (const QString& file : listFiles_)
            windows_.push_back(QFile::encodeName(file).toStdString());
    }
    framed_ = orvalis::windowCellSizes(windows_, -1.0);
    updateNotes();
}

QString DialogCompare::cellSizeUsed() const
{
    return cellSizeUsed_->text();
}

orvalis::CompareSize DialogCompare::sizeEstimate() const
{
    orvalis::CompareParameters p;
    p.files = windows_;
    p.models = models(nullptr);
    p.replicates = replicates();
    p.metricNames = metricNames();
    p.keepLandscapes = keepLandscapes();
    return p.models.empty() ? orvalis::CompareSize{} : orvalis::estimateCompareSize(p);
}

void DialogCompare::updateNotes()
{
    std::vector<double> used = framed_;
    const bool unframed = std::any_of(used.begin(), used.end(), [](double s) { return s <= 0; });
    for (double& s : used)
        if (s <= 0)
            s = cellSize();
    const auto metres = [](double v) { return QString::number(v, 'g', 6); };
    const auto [low, high] = std::minmax_element(used.begin(), used.end());
    if (used.empty())
        cellSizeUsed_->clear();
    else if (*low != *high)
        cellSizeUsed_->setText(texts::compareCellSizes(metres(*low), metres(*high)));
    else if (unframed)
        cellSizeUsed_->setText(texts::compareCellSizeAssumed(metres(*low)));
    else
        cellSizeUsed_->setText(texts::compareCellSize(metres(*low) + QStringLiteral(" m")));
    const orvalis::CompareSize size = sizeEstimate();
    sizeNote_->setText(size.total() == 0 ? QString() : texts::compareWrites(QString::fromStdString(orvalis::sizeText(size.total()))));
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
                *error = engineMessage(why);
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
    readWindows();
}

void DialogCompare::on_logPath_textChanged(const QString&)
{
    suggestOutput();
    readWindows();
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
