#include "plots/CompareCharts.h"

#include "core/metrics/MetricCatalogue.h"
#include "plots/CatalogueTexts.h"

#include <QCoreApplication>

#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace orvalis {

namespace {

// The charts' own texts are translated in this context: the window's translator gives them its
// language; the command line installs none, so its pictures keep the source texts.
constexpr char Context[] = "orvalis::charts";

// A metric's name and unit from the catalogue; the class level's where both levels have the code.
const MetricDef* metricText(const std::string& metric)
{
    const MetricDef* d = findMetric(metric, MetricLevel::Class);
    return d ? d : findMetric(metric, MetricLevel::Landscape);
}

QString capitalised(QString s)
{
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

// Okabe and Ito's palette, told apart with any colour vision; black is kept for the real windows.
const QColor& modelColour(std::size_t i)
{
    static const QColor colours[] = {QColor(0x00, 0x72, 0xB2), QColor(0xE6, 0x9F, 0x00), QColor(0x00, 0x9E, 0x73),
                                     QColor(0xCC, 0x79, 0xA7), QColor(0xD5, 0x5E, 0x00), QColor(0x56, 0xB4, 0xE9)};
    return colours[i % std::size(colours)];
}

// Each model's own hatching and line dashes: the bands stay apart where they overlap, and in grey print.
Qt::BrushStyle modelHatch(std::size_t i)
{
    static const Qt::BrushStyle hatches[] = {Qt::BDiagPattern, Qt::FDiagPattern, Qt::HorPattern, Qt::VerPattern,
                                             Qt::DiagCrossPattern, Qt::CrossPattern};
    return hatches[i % std::size(hatches)];
}

Qt::PenStyle modelDashes(std::size_t i)
{
    static const Qt::PenStyle dashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::SolidLine};
    return dashes[i % std::size(dashes)];
}

QFont font(double points, bool bold = false)
{
    QFont f = QApplication::font();
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QChart* newChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(font(13, true));
    chart->setTitleBrush(Qt::black);
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(font(10));
    chart->legend()->setLabelColor(Qt::black);
    return chart;
}

QValueAxis* newAxis(const QString& title)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setTitleFont(font(11));
    axis->setLabelsFont(font(10));
    axis->setGridLineColor(QColor(0xDD, 0xDD, 0xDD));
    axis->setLinePenColor(Qt::black);
    axis->setLabelsColor(Qt::black);
    axis->setTitleBrush(Qt::black);
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

// Attaches every series to both axes.
void attach(QChart* chart, QValueAxis* x, QValueAxis* y)
{
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

struct Extent {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    void add(double v)
    {
        min = std::min(min, v);
        max = std::max(max, v);
    }
    bool empty() const { return min > max; }
};

// A range with some room around the data, from 0 when the values are positive and 0 is not far
// below them, so that sizes read as sizes; then rounded to readable ticks.
void setRange(QValueAxis* axis, Extent e, double lowest, double highest)
{
    if (e.empty())
        e = {0, 1};
    if (e.min >= 0 && e.min <= 0.4 * e.max)
        e.min = 0;
    double pad = (e.max - e.min) * 0.05;
    if (pad == 0)
        pad = e.max != 0 ? std::abs(e.max) * 0.1 : 1;
    axis->setRange(std::max(lowest, e.min == 0 ? 0 : e.min - pad), std::min(highest, e.max + pad));
    axis->applyNiceNumbers();
    axis->setRange(std::max(lowest, axis->min()), std::min(highest, axis->max()));
}

}  // namespace

QString metricAxisTitle(const std::string& metric)
{
    const MetricDef* d = metricText(metric);
    const QString code = QString::fromStdString(metric);
    if (!d)
        return code;
    // The code is in the chart's title; the axis has room for the name and the unit only.
    QString title = capitalised(catalogue::metricName(*d));
    if (!d->unit.empty())
        title += QStringLiteral(" (%1)").arg(catalogue::metricUnit(*d));
    return title;
}

QString metricLabel(const std::string& metric)
{
    const MetricDef* d = metricText(metric);
    const QString code = QString::fromStdString(metric);
    return d ? QStringLiteral("%1 (%2)").arg(capitalised(catalogue::metricName(*d)), code) : code;
}

QChart* makeCompareChart(const ChartTables& tables, const ChartKey& key)
{
    QString level = key.landscape ? QCoreApplication::translate("orvalis::charts", "landscape level")
                                  : QCoreApplication::translate("orvalis::charts", "class %1").arg(key.cls);
    if (!key.landscape && tables.habitatClass)
        level = (key.cls == *tables.habitatClass ? QCoreApplication::translate("orvalis::charts", "habitat (%1)")
                                                 : QCoreApplication::translate("orvalis::charts", "matrix (%1)"))
                    .arg(level);
    // The second line says once what every band is, so that the legend names only the models.
    QChart* chart = newChart(QStringLiteral("%1, %2<br><span style=\"font-weight:normal; font-size:small\">%3</span>")
                                 .arg(metricLabel(key.metric), level,
                                      QCoreApplication::translate("orvalis::charts",
                                                                  "lines: medians; hatched bands: 2.5–97.5 % of the "
                                                                  "replicates; dots: real windows")));
    Extent xs, ys;

    const auto bands = tables.bands.find(key);
    if (bands != tables.bands.end()) {
        for (const ModelBand& band : bands->second) {
            const auto model = std::find(tables.models.begin(), tables.models.end(), band.model);
            const std::size_t index = static_cast<std::size_t>(model - tables.models.begin());
            const QColor colour = modelColour(index);
            // The area series owns its edges; the chart never gets them.
            auto* area = new QAreaSeries;
            auto* low = new QLineSeries(area);
            auto* high = new QLineSeries(area);
            auto* median = new QLineSeries;
            const auto add = [&](double x, const CoverBin& b) {
                low->append(x, b.low);
                high->append(x, b.high);
                median->append(x, b.median);
                xs.add(x);
                ys.add(b.low);
                ys.add(b.high);
            };
            // A lone bin would draw no area: it gets the width of its percent instead.
            for (const CoverBin& b : band.bins) {
                if (band.bins.size() > 1) {
                    add(b.cover, b);
                } else {
                    add(b.cover - 0.4, b);
                    add(b.cover + 0.4, b);
                }
            }
            area->setUpperSeries(high);
            area->setLowerSeries(low);
            area->setName(QString::fromStdString(band.model));
            // Hatching in the model's colour, not a wash: overlapping bands keep both patterns.
            area->setBrush(QBrush(colour, modelHatch(index)));
            area->setPen(QPen(colour, 1.2, modelDashes(index)));
            chart->addSeries(area);
            median->setPen(QPen(colour, 2.5, modelDashes(index)));
            chart->addSeries(median);
            chart->legend()->markers(median).first()->setVisible(false);
        }
    }

    auto* real = new QScatterSeries;
    const auto points = tables.real.find(key);
    if (points != tables.real.end()) {
        for (const RealPoint& p : points->second) {
            real->append(p.cover, p.value);
            xs.add(p.cover);
            ys.add(p.value);
        }
    }
    real->setName(QCoreApplication::translate("orvalis::charts", "real windows (%1)").arg(real->count()));
    real->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    real->setMarkerSize(7);
    real->setColor(Qt::black);
    real->setBorderColor(Qt::white);
    chart->addSeries(real);

    QValueAxis* x = newAxis(QCoreApplication::translate("orvalis::charts", "Habitat cover (%)"));
    QValueAxis* y = newAxis(metricAxisTitle(key.metric));
    attach(chart, x, y);
    setRange(x, xs, 0, 100);
    const double inf = std::numeric_limits<double>::infinity();
    setRange(y, ys, -inf, inf);
    return chart;
}

QChart* makePercolationChart(const ChartTables& tables)
{
    if (tables.percolation.empty())
        return nullptr;
    QChart* chart = newChart(QCoreApplication::translate("orvalis::charts", "Percolation of random landscapes: "
                                                                            "replicates whose habitat (class %1) spans")
                                 .arg(tables.habitatClass.value_or(1)));
    auto* share = new QLineSeries;
    for (const PercolationBin& b : tables.percolation)
        share->append(b.cover, 100 * b.share());
    share->setName(QCoreApplication::translate("orvalis::charts", "random replicates"));
    share->setPen(QPen(modelColour(0), 2.5));
    share->setPointsVisible(true);
    chart->addSeries(share);

    // The thresholds of an infinite lattice, where a spanning cluster appears; their labels sit
    // at different heights, as the two lines are too close for them side by side.
    const struct {
        double at;
        const char* rule;
        Qt::PenStyle style;
        double labelAt;
    } thresholds[] = {{59.27, QT_TRANSLATE_NOOP("orvalis::charts", "4 neighbours"), Qt::DashLine, 86},
                      {40.73, QT_TRANSLATE_NOOP("orvalis::charts", "8 neighbours"), Qt::DotLine, 74}};
    for (const auto& t : thresholds) {
        auto* line = new QLineSeries;
        line->append(t.at, 0);
        line->append(t.at, t.labelAt);
        line->append(t.at, 100);
        const QString label = QStringLiteral("%1 % (%2)").arg(t.at, 0, 'f', 2).arg(QCoreApplication::translate(Context, t.rule));
        line->setName(QCoreApplication::translate("orvalis::charts", "threshold %1").arg(label));
        line->setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5, t.style));
        line->setPointLabelsVisible(true);
        line->setPointLabelsFormat(label);
        line->setPointLabelsFont(font(9));
        line->setPointLabelsColor(Qt::black);
        // Inside the plot area, well below its top: a label above the frame would run into it.
        line->setPointLabelsClipping(true);
        for (int point = 0; point < 3; ++point)
            if (line->at(point).y() != t.labelAt)
                line->setPointConfiguration(point, QXYSeries::PointConfiguration::LabelVisibility, false);
        chart->addSeries(line);
    }

    QValueAxis* x = newAxis(QCoreApplication::translate("orvalis::charts", "Habitat cover (%)"));
    QValueAxis* y = newAxis(QCoreApplication::translate("orvalis::charts", "Replicates spanning (%)"));
    attach(chart, x, y);
    x->setRange(0, 100);
    y->setRange(0, 100);
    y->setTickCount(6);
    return chart;
}

OffscreenChart::OffscreenChart(QChart* chart, QSize size) : view_(std::make_unique<QChartView>(chart))
{
    view_->setAttribute(Qt::WA_DontShowOnScreen);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setBackgroundBrush(Qt::white);
    view_->setFrameShape(QFrame::NoFrame);
    view_->resize(size);
    view_->show();
    QApplication::processEvents();
    QApplication::processEvents();
}

OffscreenChart::~OffscreenChart() = default;

QChart* OffscreenChart::chart() const
{
    return view_->chart();
}

void OffscreenChart::render(QPainter& painter, const QRectF& target) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    view_->scene()->render(&painter, target, QRectF(QPointF(0, 0), view_->viewport()->size()));
}

QPointF OffscreenChart::positionOf(QPointF value, QAbstractSeries* series) const
{
    QChart* chart = view_->chart();
    return view_->mapFromScene(chart->mapToScene(chart->mapToPosition(value, series)));
}

void paintChart(QChart* chart, QPainter& painter, QSize size)
{
    OffscreenChart(chart, size).render(painter, QRectF(QPointF(0, 0), size));
}

bool writeChartPictures(QChart* chart, const QStringList& files, QString* error)
{
    const OffscreenChart laidOut(chart);
    for (const QString& name : files) {
        QSaveFile file(name);
        bool drawn = file.open(QIODevice::WriteOnly);
        if (drawn && name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            QSvgGenerator svg;
            svg.setOutputDevice(&file);
            svg.setSize(ChartSize);
            svg.setViewBox(QRect(QPoint(0, 0), ChartSize));
            // CSS's 96 pixels an inch: a browser shows the drawing at the chart's size.
            svg.setResolution(96);
            // The title's markup would break the SVG's own: its text alone, with the break as a blank.
            svg.setTitle(chart->title().replace(QLatin1String("<br>"), QLatin1String(" ")).remove(QRegularExpression(QStringLiteral("<[^>]*>"))));
            QPainter painter(&svg);
            laidOut.render(painter, QRectF(QPointF(0, 0), ChartSize));
        } else if (drawn) {
            QImage image(ChartSize * PictureScale, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                laidOut.render(painter, QRectF(image.rect()));
            }
            drawn = image.save(&file, "PNG");
        }
        if (!drawn || !file.commit()) {
            if (error)
                *error = QStringLiteral("cannot write %1: %2").arg(name, file.errorString());
            return false;
        }
    }
    return true;
}

}  // namespace orvalis
