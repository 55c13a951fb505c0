#include "gui/CompareResultsView.h"

#include "gui/Texts.h"
#include "plots/CompareCharts.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QCursor>
#include <QLineF>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>

#include <set>

namespace {

// The percolation chart's place in the choice, after the metrics.
constexpr int Percolation = -1;

}  // namespace

CompareResultsView::CompareResultsView(const QString& folder, QWidget* parent) : QDialog(parent), folder_(folder)
{
    setWindowTitle(texts::compareResultsTitle());
    std::string error;
    if (!orvalis::loadChartTables(QFile::encodeName(folder).toStdString(), tables_, &error))
        problem_ = texts::compareTablesUnread(QString::fromLocal8Bit(error.c_str()));

    where_ = new QLabel(problem_.isEmpty() ? texts::compareTablesIn(QDir::toNativeSeparators(folder)) : problem_);
    where_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    where_->setWordWrap(true);
    choice_ = new QComboBox;
    QStringList constant;
    int first = -1;
    for (std::size_t i = 0; i < tables_.keys.size(); ++i) {
        const orvalis::ChartKey& key = tables_.keys[i];
        const QString metric = orvalis::metricLabel(key.metric);
        QString label = texts::compareLandscapeLevel(metric);
        if (!key.landscape)
            label = !tables_.habitatClass              ? texts::compareClassLevel(metric, key.cls)
                    : key.cls == *tables_.habitatClass ? texts::compareHabitatLevel(metric, key.cls)
                                                       : texts::compareMatrixLevel(metric, key.cls);
        if (const std::optional<double> value = orvalis::constantValue(tables_, key)) {
            constant << QStringLiteral("%1 = %2").arg(label).arg(*value, 0, 'g', 6);
            continue;
        }
        // Habitat share, area and the whole area follow the cover the windows were chosen by.
        static const std::set<std::string> trivial{"pland", "ca", "ta", "pr", "prd"};
        if (first < 0 && !trivial.contains(key.metric))
            first = choice_->count();
        choice_->addItem(label, static_cast<int>(i));
    }
    if (!tables_.percolation.empty())
        choice_->addItem(texts::comparePercolation(), Percolation);
    if (first >= 0)
        choice_->setCurrentIndex(first);
    constant_ = new QLabel(constant.isEmpty() ? QString() : texts::compareConstant(constant.join(QStringLiteral("; "))));
    constant_->setWordWrap(true);
    constant_->setVisible(!constant.isEmpty());
    view_ = new QChartView;
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(orvalis::ChartSize * 0.75);

    auto* exportButton = new QPushButton(texts::compareExport());
    exportButton->setEnabled(choice_->count() > 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(texts::compareChartLabel()));
    top->addWidget(choice_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where_);
    layout->addLayout(top);
    layout->addWidget(constant_);
    layout->addWidget(view_, 1);
    layout->addWidget(buttons);

    connect(choice_, &QComboBox::currentIndexChanged, this, &CompareResultsView::showChoice);
    connect(exportButton, &QPushButton::clicked, this, &CompareResultsView::askExport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showChoice(choice_->currentIndex());
}

QChart* CompareResultsView::chart() const
{
    return view_->chart();
}

QChart* CompareResultsView::makeChart() const
{
    if (choice_->currentIndex() < 0)
        return nullptr;
    const int at = choice_->currentData().toInt();
    return at == Percolation ? orvalis::makePercolationChart(tables_)
                             : orvalis::makeCompareChart(tables_, tables_.keys[static_cast<std::size_t>(at)]);
}

void CompareResultsView::showChoice(int)
{
    QChart* old = view_->chart();
    QChart* chart = makeChart();
    view_->setChart(chart ? chart : new QChart);
    // The view gives up its old chart without deleting it.
    delete old;
    if (!chart)
        return;
    for (QAbstractSeries* series : chart->series())
        if (auto* real = qobject_cast<QScatterSeries*>(series))
            connect(real, &QScatterSeries::hovered, this, &CompareResultsView::tellWindow);
}

void CompareResultsView::tellWindow(const QPointF& point, bool entered)
{
    const int at = choice_->currentData().toInt();
    const auto points = at == Percolation ? tables_.real.end() : tables_.real.find(tables_.keys[static_cast<std::size_t>(at)]);
    if (!entered || points == tables_.real.end()) {
        QToolTip::hideText();
        return;
    }
    // The point nearest the one hovered, in the chart's units scaled to its axes.
    const orvalis::RealPoint* nearest = nullptr;
    double best = 0;
    const QRectF area = view_->chart()->plotArea();
    const QPointF here = view_->chart()->mapToPosition(point);
    for (const orvalis::RealPoint& p : points->second) {
        const QPointF there = view_->chart()->mapToPosition(QPointF(p.cover, p.value));
        const double d = QLineF(here, there).length();
        if (!nearest || d < best) {
            nearest = &p;
            best = d;
        }
    }
    if (!nearest || !area.isValid())
        return;
    QToolTip::showText(QCursor::pos(),
                       texts::compareWindowTip(QDir::toNativeSeparators(QString::fromStdString(nearest->file)),
                                               nearest->cover, nearest->value),
                       view_);
}

bool CompareResultsView::exportChart(const QString& file, QString* error) const
{
    QChart* chart = makeChart();
    return chart && orvalis::writeChartPictures(chart, {file}, error);
}

void CompareResultsView::askExport()
{
    const int at = choice_->currentData().toInt();
    const QString name = at == Percolation ? QStringLiteral("percolation")
                                           : QString::fromStdString(tables_.keys[static_cast<std::size_t>(at)].name());
    QString selected;
    QString file = QFileDialog::getSaveFileName(this, texts::compareExportTitle(), QDir(folder_).filePath(name + ".png"),
                                                texts::compareExportFilter(), &selected);
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) && !file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        file += selected.contains(QLatin1String("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    QString error;
    where_->setText(exportChart(file, &error) ? texts::compareExported(QDir::toNativeSeparators(file)) : error);
}

QSize CompareResultsView::pictureSize(bool fullResolution) const
{
    if (choice_->count() == 0)
        return {};
    return fullResolution ? orvalis::ChartSize * orvalis::PictureScale : orvalis::ChartSize;
}

void CompareResultsView::paintPicture(QPainter& painter, bool fullResolution) const
{
    QChart* chart = makeChart();
    if (!chart)
        return;
    painter.save();
    if (fullResolution)
        painter.scale(orvalis::PictureScale, orvalis::PictureScale);
    orvalis::paintChart(chart, painter);
    painter.restore();
}
