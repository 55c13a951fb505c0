#include "gui/forms/DialogSample.h"

#include "gui/EngineMessages.h"
#include "gui/Texts.h"
#include "ui_DialogSample.h"

#include "core/map/HabitatClasses.h"
#include "core/run/CoverRange.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>

namespace {

// Item data of the class list: the class value.
constexpr int ClassRole = Qt::UserRole;

// The order of the window format choice.
constexpr orvalis::WindowFormat formats[] = {orvalis::WindowFormat::Tif, orvalis::WindowFormat::Asc,
                                              orvalis::WindowFormat::Txt};

// Ascending distinct classes as a list is typed: runs of neighbours as ranges, "11, 41-43, 90".
QString classList(const std::vector<std::int64_t>& values)
{
    QStringList items;
    for (std::size_t i = 0; i < values.size();) {
        std::size_t j = i;
        while (j + 1 < values.size() && values[j + 1] == values[j] + 1)
            ++j;
        items << (j == i ? QString::number(values[i]) : QStringLiteral("%1-%2").arg(values[i]).arg(values[j]));
        i = j + 1;
    }
    return items.join(QStringLiteral(", "));
}

std::int64_t classOf(const QTreeWidgetItem* item)
{
    return item->data(0, ClassRole).toLongLong();
}

}  // namespace

DialogSample::DialogSample(QWidget* parent) : QDialog(parent), ui(new Ui::DialogSample)
{
    ui->setupUi(this);
    ui->mapFields->hide();
    ui->habitatError->hide();
    ui->habitatClasses->setToolTip(engineMessage(QString::fromUtf8(orvalis::HabitatClasses::syntax())));
    // Counts read best right-aligned under their headings, with the spare width after them.
    ui->mapClasses->header()->setStretchLastSection(false);
    for (int column : {1, 2})
        ui->mapClasses->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    imageSettle_.setSingleShot(true);
    imageSettle_.setInterval(300);
    connect(&imageSettle_, &QTimer::timeout, this, [this] { imageSettled(false); });
    connect(ui->image, &QLineEdit::textChanged, this, [this] { imageSettle_.start(); });
    connect(ui->band, &QSpinBox::valueChanged, this, [this] { countClasses(false); });
    connect(ui->habitatClasses, &QLineEdit::textChanged, this, &DialogSample::classesTyped);
    connect(ui->mapClasses, &QTreeWidget::itemChanged, this, &DialogSample::classPicked);
    connect(&counter_, &MapClassCounter::progressed, this,
            [this](int percent) { setMapStatus(texts::mapCounting(percent), false); });
    connect(&counter_, &MapClassCounter::counted, this, &DialogSample::showClasses);
    // Runs have always logged into the folder the program started in; the field says which one that is.
    ui->workFolder->setText(QDir::currentPath());
    ui->workFolder->setPlaceholderText(QDir::currentPath());
    connect(ui->workFolderButton, &QPushButton::clicked, this, &DialogSample::chooseWorkFolder);
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

QString DialogSample::workFolder() const
{
    const QString text = ui->workFolder->text().trimmed();
    return text.isEmpty() ? QDir::currentPath() : text;
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

void DialogSample::chooseWorkFolder()
{
    // Unlike the windows' folder, a cancelled choice keeps the folder: an empty one still means one.
    const QString chosen = QFileDialog::getExistingDirectory(this, texts::chooseWorkFolder(), workFolder(),
                                                             QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty())
        ui->workFolder->setText(chosen);
}

void DialogSample::chooseImage()
{
    ui->image->setText(
        QFileDialog::getOpenFileName(this, texts::chooseSampleImage(), QString(), texts::sampleImageFilter()));
    // A file chosen again is read again: it may have changed since.
    imageSettled(true);
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

bool DialogSample::isMap() const
{
    const QString path = imagePath();
    return !path.isEmpty() && !orvalis::isTgaPath(QFile::encodeName(path).toStdString());
}

QString DialogSample::habitatClasses() const
{
    return ui->habitatClasses->text();
}

int DialogSample::band() const
{
    return ui->band->value();
}

orvalis::WindowFormat DialogSample::windowFormat() const
{
    return formats[std::clamp(ui->windowFormat->currentIndex(), 0, 2)];
}

bool DialogSample::keepClasses() const
{
    return ui->keepClasses->isChecked();
}

void DialogSample::accept()
{
    if (imageSettle_.isActive())
        imageSettled(false);
    if (isMap()) {
        orvalis::HabitatClasses classes;
        std::string why;
        if (!classes.parse(habitatClasses().toUtf8().toStdString(), &why)) {
            ui->habitatError->setText(engineMessage(QString::fromUtf8(why)));
            ui->habitatError->show();
            ui->habitatClasses->setFocus();
            return;
        }
    }
    QDialog::accept();
}

void DialogSample::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    imageSettled(false);
}

void DialogSample::done(int result)
{
    imageSettle_.stop();
    if (counter_.busy()) {
        counter_.stop();
        countedPath_.clear();
    }
    QDialog::done(result);
}

void DialogSample::imageSettled(bool again)
{
    imageSettle_.stop();
    const bool map = isMap();
    showMapFields(map);
    if (map) {
        countClasses(again);
    } else {
        counter_.stop();
        countedPath_.clear();
    }
}

void DialogSample::showMapFields(bool shown)
{
    if (ui->mapFields->isHidden() != shown)
        return;
    if (shown) {
        heightWithoutMap_ = height();
        ui->mapFields->show();
        layout()->activate();
        resize(width(), std::max(height(), sizeHint().height()));
    } else {
        ui->mapFields->hide();
        layout()->activate();
        // Back to the TGA form as it was.
        resize(width(), heightWithoutMap_);
    }
}

void DialogSample::setMapStatus(const QString& text, bool fault)
{
    ui->mapStatus->setText(text);
    ui->mapStatus->setStyleSheet(fault ? ui->habitatError->styleSheet() : QString());
}

void DialogSample::countClasses(bool again)
{
    const QString path = imagePath();
    if (!again && path == countedPath_ && band() == countedBand_)
        return;
    counter_.stop();
    countedPath_.clear();
    syncing_ = true;
    ui->mapClasses->clear();
    syncing_ = false;
    // A pipe or a device would hold the reader until a writer comes.
    std::error_code ec;
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    if (!std::filesystem::exists(file, ec)) {
        setMapStatus(texts::mapNotUsable(texts::imageMissing()), true);
        return;
    }
    if (!std::filesystem::is_regular_file(file, ec)) {
        setMapStatus(texts::mapNotUsable(texts::imageNotPlainFile()), true);
        return;
    }
    countedPath_ = path;
    countedBand_ = band();
    setMapStatus(texts::mapCounting(0), false);
    counter_.start(path, countedBand_);
}

void DialogSample::showClasses(const MapClasses& map)
{
    if (map.bandCount > 0) {
        const QSignalBlocker quiet(ui->band);
        ui->band->setMaximum(std::max(map.bandCount, ui->band->value()));
    }
    // One band needs no choice; a band chosen beyond the map's stays in sight to be put right.
    const bool bandShown = map.bandCount > 1 || ui->band->value() > 1;
    ui->labelBand->setVisible(bandShown);
    ui->band->setVisible(bandShown);
    if (!map.ok) {
        setMapStatus(texts::mapNotUsable(map.error), true);
        return;
    }
    std::uint64_t valid = map.counts.otherCells;
    for (const auto& entry : map.counts.classes)
        valid += entry.second;
    syncing_ = true;
    for (const auto& [value, cells] : map.counts.classes) {
        auto* item = new QTreeWidgetItem(ui->mapClasses);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setData(0, ClassRole, static_cast<qlonglong>(value));
        item->setText(0, QString::number(value));
        item->setText(1, QLocale().toString(static_cast<qulonglong>(cells)));
        item->setText(2, texts::mapShare(100.0 * static_cast<double>(cells) / static_cast<double>(valid)));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setCheckState(0, Qt::Unchecked);
    }
    // Fitted to the figures with room between the columns.
    for (int column = 0; column < ui->mapClasses->columnCount(); ++column) {
        ui->mapClasses->resizeColumnToContents(column);
        ui->mapClasses->setColumnWidth(column, ui->mapClasses->columnWidth(column) + 12);
    }
    syncing_ = false;
    QString status = texts::mapSummary(map.width, map.height, static_cast<int>(map.counts.classes.size()),
                                       map.counts.noData);
    if (!map.counts.complete)
        status += texts::mapMoreValues(static_cast<int>(MapClassCounter::MaxClasses), map.counts.otherCells);
    setMapStatus(status, false);
    classesTyped();
}

void DialogSample::classesTyped()
{
    ui->habitatError->hide();
    if (syncing_)
        return;
    const std::string text = habitatClasses().toUtf8().toStdString();
    orvalis::HabitatClasses classes;
    // A list half typed leaves the ticks as they are; an empty one clears them.
    if (!classes.parse(text, nullptr) && !habitatClasses().trimmed().isEmpty())
        return;
    syncing_ = true;
    for (int i = 0; i < ui->mapClasses->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ui->mapClasses->topLevelItem(i);
        item->setCheckState(0, classes.contains(classOf(item)) ? Qt::Checked : Qt::Unchecked);
    }
    syncing_ = false;
}

void DialogSample::classPicked()
{
    if (syncing_)
        return;
    std::vector<std::int64_t> listed, values;
    for (int i = 0; i < ui->mapClasses->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->mapClasses->topLevelItem(i);
        listed.push_back(classOf(item));
        if (item->checkState(0) == Qt::Checked)
            values.push_back(classOf(item));
    }
    // Typed classes the list does not show are the user's to keep.
    orvalis::HabitatClasses typed;
    if (typed.parse(habitatClasses().toUtf8().toStdString(), nullptr))
        for (std::int64_t v : typed.values())
            if (!std::binary_search(listed.begin(), listed.end(), v))
                values.push_back(v);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    syncing_ = true;
    ui->habitatClasses->setText(classList(values));
    syncing_ = false;
}
