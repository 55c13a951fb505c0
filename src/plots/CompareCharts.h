#pragma once

#include "plots/ChartTables.h"

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractSeries;
class QChart;
class QChartView;
class QPainter;

namespace orvalis {

// The size charts are laid out at, in device-independent pixels; pictures are drawn at twice
// that (1600 x 1000 pixels), enough for a printed column.
inline constexpr QSize ChartSize(800, 500);
inline constexpr double PictureScale = 2.0;

// The metric's long name and its code: "Edge density (ed)".
QString metricLabel(const std::string& metric);
// The metric's long name and unit, as the axis says it: "Edge density (m/ha)".
QString metricAxisTitle(const std::string& metric);

// One metric against habitat cover: the real windows as points, and for each model the band
// from its 2.5 % to its 97.5 % quantile with a line for its median, bin by bin. The caller owns it.
QChart* makeCompareChart(const ChartTables& tables, const ChartKey& key);
// Share of random replicates whose habitat spans the landscape against cover, with the
// infinite lattice's thresholds for 4 and 8 neighbours. Null when there is nothing to draw.
QChart* makePercolationChart(const ChartTables& tables);

// A chart laid out in a view that is never on screen: Qt Charts lays a chart out only in a
// view that is shown and has had its events.
class OffscreenChart {
public:
    explicit OffscreenChart(QChart* chart, QSize size = ChartSize);  // takes the chart over
    ~OffscreenChart();
    QChart* chart() const;
    // Draws the chart scaled into target: as vectors, so a picture twice the size stays sharp.
    void render(QPainter& painter, const QRectF& target) const;
    // Where value of series lands, in the layout's pixels.
    QPointF positionOf(QPointF value, QAbstractSeries* series) const;

private:
    std::unique_ptr<QChartView> view_;
};

// Draws chart (taken over and deleted) into each file, PNG or SVG by its suffix, at ChartSize;
// each file appears only once complete. False with *error naming the file that failed.
bool writeChartPictures(QChart* chart, const QStringList& files, QString* error);
// Paints chart (taken over and deleted) into painter's device over size, as writeChartPictures does.
void paintChart(QChart* chart, QPainter& painter, QSize size = ChartSize);

}  // namespace orvalis
