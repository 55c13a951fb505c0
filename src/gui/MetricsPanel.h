#pragma once

#include "core/io/CompactGrid.h"
#include "core/metrics/LandscapeMetrics.h"

#include <QDockWidget>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QThread;
class QTreeWidget;

// The metrics of the grid on view, beside the map, one level at a time: every metric of the
// catalogue at that level, grouped by type, rounded for reading and copied with every digit.
// It can be closed like any dock and reopened from View → Metrics panel.
class MetricsPanel : public QDockWidget {
    Q_OBJECT

public:
    // Larger grids are left to orvalis-cli metrics: selecting a file must stay quick.
    static constexpr std::size_t MaxCells = 4'000'000;
    // More patch rows than this are for a spreadsheet; orvalis-cli lists every patch.
    static constexpr int MaxPatchRows = 1000;
    // Up to this many cells a measurement takes tens of milliseconds and is made at once; larger
    // grids are measured on a thread so that the window keeps answering.
    static constexpr std::size_t InstantCells = 250'000;

    // Room for the names, codes and units and three classes' values.
    static constexpr int PreferredWidth = 540;

    explicit MetricsPanel(QWidget* parent = nullptr);
    ~MetricsPanel() override;

    // Measures the grid (line j is grid row j, or its column j when linesAreColumns, as a
    // raster's are read for the view; noData cells outside the landscape) with the
    // panel's level and neighbour rule, its cells cellSize metres wide; without a cellSize the
    // side the user last gave a file without a frame, 1 m at first. An empty grid clears it.
    void showMetricsOf(const orvalis::CompactGrid& grid, std::optional<double> cellSize = std::nullopt,
                       std::optional<int> noData = std::nullopt, bool linesAreColumns = false);
    // Where the next grid comes from, before showMetricsOf: the side the user sets for a file
    // without one is remembered for its folder and offered again for the folder's files; frameNote
    // says why a file with a frame gives no side (its cells in degrees, ...) and is shown as a
    // warning; recorded: the side comes from the sampling run's record, not the file.
    void setSource(const QString& folder, const QString& frameNote = {}, bool recorded = false);
    // The side remembered for a folder's files; empty when none was set there.
    static std::optional<double> folderSide(const QString& folder);

    // A value as the table shows it: four significant digits, without an exponent from 0.0001
    // to below 10^9 (1235, 0.01234, 1235000).
    static QString roundedText(double value);

    // The selected rows under a line of column names, tab-separated, every value in full;
    // empty when no row is selected. A selected type takes all its metrics.
    QString selectedText() const;
    // Whether a measurement is still running on its thread.
    bool busy() const { return shownJob_ != job_; }

signals:
    // The table now shows the latest choices (or why they could not be measured).
    void measured();

private:
    struct Measurement;

    void measure();
    void showMeasurement(const Measurement& m);
    void showClassOrLandscape(const Measurement& m);
    void showPatches(const Measurement& m);
    void copySelection() const;
    // The names take the room the other columns leave, within limits.
    void fitNames();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateCellSizeOrigin();

    QComboBox* level_;
    QComboBox* neighbours_;
    QDoubleSpinBox* cellSize_;
    QLabel* cellSizeOrigin_;
    QLabel* note_;
    QTreeWidget* tree_;
    QAction* copy_;

    // The grid on view, row after row, shared with a measuring thread.
    std::shared_ptr<const std::vector<int>> cells_;
    int rows_ = 0;
    int cols_ = 0;
    std::optional<int> noData_;
    std::string refusal_;  // why the grid on view cannot be measured at all
    std::optional<double> frameSide_;  // the cell side the file's frame gives
    double side_ = 1.0;  // the cell side measured with
    double framelessSide_ = 1.0;  // what the user last set for a file without a frame
    QString folder_;     // of the file on view
    QString frameNote_;  // why its frame gives no side
    bool recorded_ = false;
    QStringList copyHeader_;
    int namesWidth_ = 0;  // what the names need; 0 when the table has no name column

    QList<QThread*> threads_;
    quint64 job_ = 0;  // the latest measurement asked for
    quint64 shownJob_ = 0;
};
