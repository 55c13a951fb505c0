#include "gui/MetricsPanel.h"

#include "core/io/MetricsCsv.h"
#include "gui/Texts.h"
#include "plots/CatalogueTexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QSignalBlocker>
#include <QThread>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>

using orvalis::MetricDef;
using orvalis::MetricLevel;
using orvalis::MetricType;
using orvalis::MetricValue;

struct MetricsPanel::Measurement {
    MetricLevel level = MetricLevel::Class;
    bool ok = false;
    std::string error;
    std::vector<MetricValue> values;  // patch rows beyond MaxPatchRows dropped
    std::size_t patches = 0;          // at patch level, every patch
};

namespace {

// The copied text of a row lives in its first column.
constexpr int CopyRole = Qt::UserRole;
// Names are cut short to leave the values room, never below this; the code beside them and
// the tooltip stay whole.
constexpr int NarrowestNames = 150;

// A cell side typed as 30 reads 30, not 30.0000.
class CellSideBox : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    QString textFromValue(double value) const override
    {
        QLocale plain = locale();
        plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
        QString text = plain.toString(value, 'f', decimals());
        const QString point = plain.decimalPoint();
        if (text.contains(point)) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(point))
                text.chop(point.size());
        }
        return text;
    }
};

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// The command line's option hint means nothing here: the window measures in log2 bits.
QString unitText(const MetricDef& d)
{
    const QString unit = orvalis::catalogue::metricUnit(d);
    const qsizetype hint = unit.indexOf(QLatin1String(" (--"));
    return hint < 0 ? unit : unit.left(hint);
}

QString typeTitle(MetricType type)
{
    QString title = orvalis::catalogue::typeName(type);
    if (!title.isEmpty())
        title[0] = title[0].toUpper();
    return title;
}

// A code's family and its place there: area_mn is ("area", 1), a code of no family (code, -1).
std::pair<std::string_view, int> familyOf(const std::string& code)
{
    static const std::vector<std::string_view> order{"am", "mn", "sd", "cv"};
    const std::size_t cut = code.rfind('_');
    if (cut == std::string::npos)
        return {code, -1};
    const auto at = std::find(order.begin(), order.end(), std::string_view(code).substr(cut + 1));
    if (at == order.end())
        return {code, -1};
    return {std::string_view(code).substr(0, cut), static_cast<int>(at - order.begin())};
}

// The level's metrics, type after type; within a type in catalogue order (the usual ones first),
// except that a family's members follow its first: area_mn, area_sd, area_cv.
std::vector<const MetricDef*> groupedMetrics(MetricLevel level)
{
    const std::vector<const MetricDef*> listed = orvalis::MetricSelection::all({level}).metrics();
    std::map<std::string_view, std::size_t> firstOfFamily;
    for (std::size_t i = 0; i < listed.size(); ++i)
        firstOfFamily.emplace(familyOf(listed[i]->code).first, i);
    auto key = [&](const MetricDef* d) {
        const auto [family, place] = familyOf(d->code);
        return std::tuple(d->type, firstOfFamily.at(family), place);
    };
    std::vector<const MetricDef*> defs = listed;
    std::stable_sort(defs.begin(), defs.end(), [&](const MetricDef* a, const MetricDef* b) { return key(a) < key(b); });
    return defs;
}

// Words broken into lines of about width characters, for a column's header.
QStringList wrapped(const QString& text, int width)
{
    QStringList lines;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && lines.back().size() + 1 + word.size() <= width)
            lines.back() += QLatin1Char(' ') + word;
        else
            lines << word;
    }
    return lines;
}

void setValue(QTreeWidgetItem* item, int column, const std::optional<double>& value)
{
    const QString full = fromStd(orvalis::formatMetricValue(value));
    item->setText(column, value ? MetricsPanel::roundedText(*value) : full);
    item->setToolTip(column, value ? full : texts::metricsUndefined());
    item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace

QString MetricsPanel::roundedText(double value)
{
    if (!std::isfinite(value))
        return QString::fromStdString(orvalis::formatMetricValue(value));
    if (value == 0)
        return QStringLiteral("0");
    // Rounded first: 9.99996 carries to 10, which takes one decimal fewer.
    const double r = QString::number(value, 'g', 4).toDouble();
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(r))));
    if (exponent < -4 || exponent >= 9)
        return QString::number(r, 'g', 4);
    QString text = QString::number(r, 'f', std::max(0, 3 - exponent));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

namespace {

// QSettings splits keys at '/': a folder is kept as one key.
QString folderSideKey(const QString& folder)
{
    return QStringLiteral("metrics/cellSideOfFolder/") +
           QString::fromLatin1(QFileInfo(folder).absoluteFilePath().toUtf8().toBase64(QByteArray::Base64UrlEncoding));
}

}  // namespace

MetricsPanel::MetricsPanel(QWidget* parent) : QDockWidget(texts::metricsTitle(), parent)
{
    setObjectName(QStringLiteral("metricsPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* form = new QFormLayout;
    level_ = new QComboBox(body);
    level_->setObjectName(QStringLiteral("metricsLevel"));
    level_->addItems(texts::metricsLevels());
    level_->setCurrentIndex(static_cast<int>(MetricLevel::Class));
    neighbours_ = new QComboBox(body);
    neighbours_->setObjectName(QStringLiteral("metricsNeighbours"));
    neighbours_->addItem(texts::metricsEightNeighbours(), 8);
    neighbours_->addItem(texts::metricsFourNeighbours(), 4);
    cellSize_ = new CellSideBox(body);
    cellSize_->setObjectName(QStringLiteral("metricsCellSize"));
    cellSize_->setDecimals(4);
    cellSize_->setRange(0.0001, 1'000'000);
    cellSize_->setValue(side_);
    cellSize_->setSuffix(texts::metricsMetres());
    // Typing 30 must not measure with 3 first.
    cellSize_->setKeyboardTracking(false);
    cellSizeOrigin_ = new QLabel(body);
    cellSizeOrigin_->setObjectName(QStringLiteral("metricsCellSizeOrigin"));
    auto* side = new QHBoxLayout;
    side->addWidget(cellSize_);
    side->addWidget(cellSizeOrigin_, 1);
    form->addRow(texts::metricsLevel(), level_);
    form->addRow(texts::metricsNeighbours(), neighbours_);
    form->addRow(texts::metricsCellSize(), side);
    note_ = new QLabel(body);
    note_->setObjectName(QStringLiteral("metricsNote"));
    note_->setWordWrap(true);
    tree_ = new QTreeWidget(body);
    tree_->setObjectName(QStringLiteral("metricsTable"));
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    tree_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    tree_->header()->setStretchLastSection(false);
    tree_->setMinimumWidth(300);
    tree_->setIndentation(14);
    tree_->viewport()->installEventFilter(this);
    // "standard de…patch area" says more than "standard deviation of …".
    tree_->setTextElideMode(Qt::ElideMiddle);
    copy_ = new QAction(texts::metricsCopy(), tree_);
    copy_->setObjectName(QStringLiteral("actionCopyMetrics"));
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tree_->addAction(copy_);
    tree_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy_, &QAction::triggered, this, &MetricsPanel::copySelection);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addWidget(tree_, 1);
    setWidget(body);

    connect(level_, &QComboBox::currentIndexChanged, this, &MetricsPanel::measure);
    connect(neighbours_, &QComboBox::currentIndexChanged, this, &MetricsPanel::measure);
    connect(cellSize_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        side_ = value;
        if (!frameSide_) {
            framelessSide_ = value;
            if (!folder_.isEmpty())
                QSettings().setValue(folderSideKey(folder_), value);
        }
        updateCellSizeOrigin();
        measure();
    });
}

MetricsPanel::~MetricsPanel()
{
    // A measurement under way ends within a second or two; its result has nowhere to go.
    ++job_;
    for (QThread* thread : std::as_const(threads_)) {
        thread->wait();
        delete thread;
    }
}

void MetricsPanel::showMetricsOf(const orvalis::CompactGrid& grid, std::optional<double> cellSize,
                                 std::optional<int> noData, bool linesAreColumns)
{
    cells_.reset();
    rows_ = cols_ = 0;
    refusal_.clear();
    noData_ = noData;
    frameSide_ = cellSize;
    side_ = cellSize.value_or(folderSide(folder_).value_or(framelessSide_));
    {
        const QSignalBlocker quiet(cellSize_);
        cellSize_->setValue(side_);
    }
    updateCellSizeOrigin();
    if (!grid.empty()) {
        std::size_t cells = 0;
        bool rectangular = true;
        for (std::size_t j = 0; j < grid.lineCount(); ++j) {
            cells += grid.lineLength(j);
            rectangular = rectangular && grid.lineLength(j) == grid.lineLength(0);
        }
        if (cells > MaxCells) {
            refusal_ = texts::metricsTooLarge(static_cast<qulonglong>(cells)).toStdString();
        } else if (!rectangular) {
            refusal_ = texts::metricsNotMeasured(texts::metricsNotRectangular())
                           .toStdString();
        } else {
            auto flat = std::make_shared<std::vector<int>>();
            flat->reserve(cells);
            rows_ = static_cast<int>(grid.lineCount());
            cols_ = static_cast<int>(grid.lineLength(0));
            if (linesAreColumns) {
                // A raster's lines are its columns: measured as its rows run, patches are numbered
                // as the command line numbers them.
                std::swap(rows_, cols_);
                for (int r = 0; r < rows_; ++r)
                    for (int c = 0; c < cols_; ++c)
                        flat->push_back(grid.at(static_cast<std::size_t>(c), static_cast<std::size_t>(r)));
            } else {
                for (std::size_t j = 0; j < grid.lineCount(); ++j)
                    for (std::size_t i = 0; i < grid.lineLength(j); ++i)
                        flat->push_back(grid.at(j, i));
            }
            cells_ = std::move(flat);
        }
    }
    measure();
}

void MetricsPanel::setSource(const QString& folder, const QString& frameNote, bool recorded)
{
    folder_ = folder;
    frameNote_ = frameNote;
    recorded_ = recorded;
}

std::optional<double> MetricsPanel::folderSide(const QString& folder)
{
    if (folder.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double side = QSettings().value(folderSideKey(folder)).toDouble(&ok);
    return ok && side > 0 ? std::optional<double>(side) : std::nullopt;
}

void MetricsPanel::updateCellSizeOrigin()
{
    cellSizeOrigin_->setStyleSheet({});
    if (!frameSide_ && !frameNote_.isEmpty()) {
        // Cells in degrees are no metres: without a side set here, areas and distances mean little.
        cellSizeOrigin_->setText(tr("Warning: no side in metres from the file's frame (%1); set it here").arg(frameNote_));
        cellSizeOrigin_->setStyleSheet(QStringLiteral("color: #b35900"));
    } else if (!frameSide_) {
        cellSizeOrigin_->setText(texts::metricsSideNoFrame());
    } else if (side_ == *frameSide_) {
        cellSizeOrigin_->setText(recorded_ ? tr("from the sampling run's record") : texts::metricsSideOfFrame());
    } else {
        cellSizeOrigin_->setText(recorded_ ? tr("the sampling run's record gives %1 m").arg(QString::number(*frameSide_, 'g', 12))
                                           : texts::metricsSideNotFrame(*frameSide_));
    }
    cellSizeOrigin_->setWordWrap(true);
}

void MetricsPanel::measure()
{
    const quint64 job = ++job_;
    tree_->clear();
    tree_->setColumnCount(1);
    tree_->setHeaderLabels({QString()});
    copyHeader_.clear();
    namesWidth_ = 0;
    if (!cells_) {
        note_->setText(QString::fromStdString(refusal_));
        shownJob_ = job;
        emit measured();
        return;
    }
    const auto level = static_cast<MetricLevel>(level_->currentIndex());
    orvalis::MetricsOptions options;
    options.neighbours = neighbours_->currentData().toInt();
    options.selection = orvalis::MetricSelection::all({level});
    auto work = [cells = cells_, rows = rows_, cols = cols_, noData = noData_, side = side_, options, level] {
        Measurement m;
        m.level = level;
        m.ok = orvalis::computeMetrics(orvalis::GridView{*cells, rows, cols, noData, side}, options, m.values, &m.error);
        if (m.ok && level == MetricLevel::Patch && !m.values.empty()) {
            m.patches = static_cast<std::size_t>(m.values.back().id);
            std::erase_if(m.values, [](const MetricValue& v) { return v.id > MaxPatchRows; });
        }
        return m;
    };
    if (cells_->size() <= InstantCells) {
        showMeasurement(work());
        shownJob_ = job;
        emit measured();
        return;
    }
    note_->setText(texts::metricsMeasuring());
    auto result = std::make_shared<Measurement>();
    QThread* thread = QThread::create([result, work] { *result = work(); });
    threads_.append(thread);
    connect(thread, &QThread::finished, this, [this, thread, result, job] {
        threads_.removeOne(thread);
        thread->deleteLater();
        if (job != job_)
            return;
        showMeasurement(*result);
        shownJob_ = job;
        emit measured();
    });
    thread->start();
}

void MetricsPanel::showMeasurement(const Measurement& m)
{
    if (!m.ok) {
        note_->setText(texts::metricsNotMeasured(fromStd(m.error)));
        return;
    }
    QString note = texts::metricsNote();
    if (m.level == MetricLevel::Patch) {
        showPatches(m);
        if (m.patches > static_cast<std::size_t>(MaxPatchRows))
            note += QLatin1Char(' ') + texts::metricsPatchesCut(MaxPatchRows, m.patches);
    } else {
        showClassOrLandscape(m);
    }
    if (!frameSide_ && !frameNote_.isEmpty())
        note = tr("Areas and lengths assume cells of %1 m, a side the file does not give (%2).")
                   .arg(roundedText(side_), frameNote_) +
               QLatin1Char(' ') + note;
    note_->setText(note);
}

void MetricsPanel::showClassOrLandscape(const Measurement& m)
{
    // A column a class, in ascending order as the engine gives them; one value column for the landscape.
    std::vector<int> classes;
    if (m.level == MetricLevel::Class)
        for (const MetricValue& v : m.values)
            if (classes.empty() || classes.back() != v.cls)
                classes.push_back(v.cls);
    QStringList header{texts::metricsName(), texts::metricsCode(), texts::metricsUnit()};
    copyHeader_ = QStringList{texts::metricsCopyMetric(), texts::metricsCopyName(), texts::metricsCopyUnit()};
    if (m.level == MetricLevel::Class) {
        for (int cls : classes) {
            header << texts::metricsClassColumn(cls);
            copyHeader_ << texts::metricsClassColumn(cls);
        }
    } else {
        header << texts::metricsValue();
        copyHeader_ << texts::metricsCopyValue();
    }
    tree_->setColumnCount(static_cast<int>(header.size()));
    tree_->setHeaderLabels(header);
    tree_->setRootIsDecorated(true);

    std::map<std::string, QTreeWidgetItem*> rowOf;
    QTreeWidgetItem* group = nullptr;
    std::optional<MetricType> groupType;
    for (const MetricDef* d : groupedMetrics(m.level)) {
        if (d->type != groupType) {
            groupType = d->type;
            group = new QTreeWidgetItem(tree_, {typeTitle(d->type)});
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setFirstColumnSpanned(true);
        }
        const QString name = orvalis::catalogue::metricName(*d), code = fromStd(d->code);
        auto* item = new QTreeWidgetItem(group, {name, code, unitText(*d)});
        item->setToolTip(0, texts::metricsAbout(name, code, orvalis::catalogue::metricDefinition(*d)));
        item->setToolTip(1, item->toolTip(0));
        item->setData(0, CopyRole, QStringList{code, name, unitText(*d)});
        rowOf[d->code] = item;
    }
    for (const MetricValue& v : m.values) {
        const auto row = rowOf.find(v.metric);
        if (row == rowOf.end())
            continue;
        const int column =
            3 + static_cast<int>(std::lower_bound(classes.begin(), classes.end(), v.cls) - classes.begin());
        setValue(row->second, column, v.value);
        QStringList copied = row->second->data(0, CopyRole).toStringList();
        while (copied.size() <= column)
            copied << QString();
        copied[column] = fromStd(orvalis::formatMetricValue(v.value));
        row->second->setData(0, CopyRole, copied);
    }
    tree_->expandAll();
    for (int c = 0; c < tree_->columnCount(); ++c)
        tree_->resizeColumnToContents(c);
    namesWidth_ = tree_->columnWidth(0);
    fitNames();
}

void MetricsPanel::fitNames()
{
    if (namesWidth_ == 0)
        return;
    int others = 0;
    for (int c = 1; c < tree_->columnCount(); ++c)
        others += tree_->columnWidth(c);
    const int room = tree_->viewport()->width() - others;
    tree_->setColumnWidth(0, std::clamp(room, NarrowestNames, std::max(NarrowestNames, namesWidth_)));
}

bool MetricsPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The viewport also narrows when the scroll bar comes.
    if (watched == tree_->viewport() && event->type() == QEvent::Resize)
        fitNames();
    return QDockWidget::eventFilter(watched, event);
}

void MetricsPanel::showPatches(const Measurement& m)
{
    const std::vector<const MetricDef*> defs = groupedMetrics(MetricLevel::Patch);
    // Each header: the type over the first metric of its type, the name, then code and unit.
    std::vector<QStringList> titles;
    qsizetype height = 0;
    std::optional<MetricType> groupType;
    for (const MetricDef* d : defs) {
        QStringList lines{d->type != groupType ? typeTitle(d->type) + QLatin1Char(':') : QString()};
        groupType = d->type;
        lines << wrapped(orvalis::catalogue::metricName(*d), 14);
        const QString unit = unitText(*d);
        lines << (unit.isEmpty() ? fromStd(d->code) : fromStd(d->code) + QStringLiteral(", ") + unit);
        height = std::max(height, lines.size());
        titles.push_back(lines);
    }
    // Names padded to one height, so that types, names and codes each sit on their own line.
    QStringList header{texts::metricsPatch(), texts::metricsClass()};
    copyHeader_ = QStringList{texts::metricsCopyPatch(), texts::metricsCopyClass()};
    for (std::size_t i = 0; i < defs.size(); ++i) {
        QStringList lines = titles[i];
        while (lines.size() < height)
            lines.insert(lines.size() - 1, QString());
        header << lines.join(QLatin1Char('\n'));
        copyHeader_ << fromStd(defs[i]->code);
    }
    tree_->setColumnCount(static_cast<int>(header.size()));
    tree_->setHeaderLabels(header);
    tree_->setRootIsDecorated(false);
    std::map<std::string, int> columnOf;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const int column = static_cast<int>(i) + 2;
        columnOf[defs[i]->code] = column;
        tree_->headerItem()->setToolTip(
            column, texts::metricsAbout(orvalis::catalogue::metricName(*defs[i]), fromStd(defs[i]->code),
                                        orvalis::catalogue::metricDefinition(*defs[i])));
    }

    QList<QTreeWidgetItem*> rows;
    QStringList copied;
    auto finish = [&] {
        if (!rows.isEmpty())
            rows.back()->setData(0, CopyRole, copied);
    };
    int id = 0;
    for (const MetricValue& v : m.values) {
        if (v.level != MetricLevel::Patch)
            continue;
        if (v.id != id) {
            finish();
            id = v.id;
            auto* item = new QTreeWidgetItem({QString::number(v.id), QString::number(v.cls)});
            item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
            item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            rows << item;
            copied = QStringList{QString::number(v.id), QString::number(v.cls)};
            while (copied.size() < tree_->columnCount())
                copied << QString();
        }
        const auto column = columnOf.find(v.metric);
        if (column == columnOf.end())
            continue;
        setValue(rows.back(), column->second, v.value);
        copied[column->second] = fromStd(orvalis::formatMetricValue(v.value));
    }
    finish();
    tree_->addTopLevelItems(rows);
    for (int c = 0; c < tree_->columnCount(); ++c)
        tree_->resizeColumnToContents(c);
}

QString MetricsPanel::selectedText() const
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        const QTreeWidgetItem* item = *it;
        const QVariant copied = item->data(0, CopyRole);
        if (!copied.isValid())
            continue;
        if (item->isSelected() || (item->parent() && item->parent()->isSelected()))
            lines << copied.toStringList().join(QLatin1Char('\t'));
    }
    if (lines.isEmpty())
        return {};
    lines.prepend(copyHeader_.join(QLatin1Char('\t')));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void MetricsPanel::copySelection() const
{
    const QString text = selectedText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}
