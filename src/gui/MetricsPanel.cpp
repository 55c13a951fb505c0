#include "gui/MetricsPanel.h"

#include "core/io/MetricsCsv.h"
#include "core/metrics/LandscapeMetrics.h"
#include "gui/Texts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

MetricsPanel::MetricsPanel(QWidget* parent) : QDockWidget(texts::metricsTitle(), parent)
{
    setObjectName(QStringLiteral("metricsPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    note_ = new QLabel(body);
    note_->setWordWrap(true);
    table_ = new QTableWidget(0, 3, body);
    table_->setHorizontalHeaderLabels({texts::metricsClass(), texts::metricsName(), texts::metricsValue()});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setMinimumWidth(260);
    layout->addWidget(note_);
    layout->addWidget(table_);
    setWidget(body);
}

void MetricsPanel::showMetricsOf(const orvalis::CompactGrid& grid, std::optional<double> cellSize,
                                 std::optional<int> noData)
{
    table_->setRowCount(0);
    note_->clear();
    if (grid.empty())
        return;
    std::size_t cells = 0;
    for (std::size_t j = 0; j < grid.lineCount(); ++j)
        cells += grid.lineLength(j);
    if (cells > MaxCells) {
        note_->setText(texts::metricsTooLarge(static_cast<qulonglong>(cells)));
        return;
    }
    std::vector<orvalis::MetricValue> values;
    std::string error;
    orvalis::MetricsOptions options;
    const orvalis::LandscapeGrid lines = grid.lines();
    const std::vector<int> flat = orvalis::flattenGrid(lines);
    const orvalis::GridView view{flat, static_cast<int>(lines.size()), static_cast<int>(lines.front().size()), noData,
                                 cellSize.value_or(1.0)};
    if (!orvalis::computeMetrics(view, options, values, &error)) {
        note_->setText(texts::metricsNotMeasured(QString::fromStdString(error)));
        return;
    }
    note_->setText(cellSize ? texts::metricsUnitsOfFrame(*cellSize) : texts::metricsUnits());
    table_->setRowCount(static_cast<int>(values.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const orvalis::MetricValue& v = values[static_cast<std::size_t>(row)];
        const QString level = v.landscape() ? texts::metricsLandscape() : QString::number(v.cls);
        table_->setItem(row, 0, new QTableWidgetItem(level));
        table_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(v.metric)));
        table_->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(orvalis::formatMetricValue(v.value))));
    }
}
