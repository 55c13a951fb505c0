#pragma once

#include "gui/PictureSource.h"
#include "plots/ChartTables.h"

#include <QDialog>
#include <QString>

class QChart;
class QChartView;
class QComboBox;
class QLabel;

// The charts of a comparison folder, one at a time: each metric against cover with the models'
// bands and the real windows, and the percolation chart; Export... saves the one shown.
class CompareResultsView : public QDialog, public PictureSource {
    Q_OBJECT

public:
    explicit CompareResultsView(const QString& folder, QWidget* parent = nullptr);

    // False with problem() set when the folder's tables could not be read.
    bool loaded() const { return problem_.isEmpty(); }
    const QString& problem() const { return problem_; }
    QComboBox* chartChoice() const { return choice_; }
    // The metrics not charted for having one value everywhere, as the view lists them.
    QLabel* constantList() const { return constant_; }
    QChart* chart() const;
    // Writes the chart shown, PNG or SVG by the file's suffix; false with *error set.
    bool exportChart(const QString& file, QString* error) const;

    QSize pictureSize(bool fullResolution) const override;
    void paintPicture(QPainter& painter, bool fullResolution) const override;

private:
    void showChoice(int choice);
    void askExport();
    // A new chart of the choice shown; the caller owns it.
    QChart* makeChart() const;
    // Names the window under a real point in a tooltip.
    void tellWindow(const QPointF& point, bool entered);

    orvalis::ChartTables tables_;
    QString folder_;
    QString problem_;
    QLabel* where_ = nullptr;
    QLabel* constant_ = nullptr;
    QComboBox* choice_ = nullptr;
    QChartView* view_ = nullptr;
};
