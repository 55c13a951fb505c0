#pragma once

#include "core/io/CompactGrid.h"

#include <QDockWidget>

#include <optional>

class QLabel;
class QTableWidget;

// The metrics of the grid on view, beside the map: class level for every class, then the
// landscape level. It can be closed like any dock and reopened from the tool bar's menu.
class MetricsPanel : public QDockWidget {
    Q_OBJECT

public:
    // Larger grids are left to orvalis-cli metrics: selecting a file must stay quick.
    static constexpr std::size_t MaxCells = 4'000'000;

    explicit MetricsPanel(QWidget* parent = nullptr);

    // Measures the grid (8 neighbours, cells of cellSize metres, 1 when the file gives none, noData
    // cells outside the landscape) and shows the table; an empty grid clears it.
    void showMetricsOf(const orvalis::CompactGrid& grid, std::optional<double> cellSize = std::nullopt,
                       std::optional<int> noData = std::nullopt);

private:
    QLabel* note_;
    QTableWidget* table_;
};
