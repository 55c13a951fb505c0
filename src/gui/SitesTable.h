#pragma once

#include "gui/SiteRows.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of a sites table for a view: site, radius, level, class, metric, value. Values show
// four significant digits, every digit in their tooltip; every column sorts, numbers as numbers.
class SitesTable : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Site, Radius, Level, Class, Metric, Value, Columns };

    explicit SitesTable(SiteRows rows, QObject* parent = nullptr);

    const SiteRows& rows() const { return rows_; }
    // The table's row shown at a view's row.
    const SiteRow& rowAt(int row) const { return rows_.rows()[order_[static_cast<std::size_t>(row)]]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    SiteRows rows_;
    std::vector<std::size_t> order_;
};
