#include "gui/SitesTable.h"

#include "core/io/NumberText.h"
#include "gui/MetricsPanel.h"
#include "gui/Texts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SitesTable::SitesTable(SiteRows rows, QObject* parent) : QAbstractTableModel(parent), rows_(std::move(rows))
{
    order_.resize(rows_.rows().size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
}

int SitesTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int SitesTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant SitesTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const SiteRow& r = rowAt(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column == Radius || column == Class || column == Value ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                      : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == Value)
        return r.value ? QString::fromStdString(orvalis::shortestText(*r.value)) : texts::metricsUndefined();
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case Site: return fromUtf8(rows_.site(r));
    case Radius: return QString::fromStdString(orvalis::shortestText(r.radius));
    case Level: return texts::metricsLevels().value(static_cast<int>(r.level));
    case Class:
        if (!r.cls)
            return QString();
        return r.id ? QStringLiteral("%1 #%2").arg(*r.cls).arg(*r.id) : QString::number(*r.cls);
    case Metric: return fromUtf8(rows_.metric(r));
    case Value: return r.value ? MetricsPanel::roundedText(*r.value) : QStringLiteral("NA");
    default: return {};
    }
}

QVariant SitesTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return texts::sitesColumns().value(section);
}

void SitesTable::sort(int column, Qt::SortOrder order)
{
    const std::vector<SiteRow>& all = rows_.rows();
    // Rows without a class or a value go last either way, as spreadsheets put blanks.
    const auto key = [&](const SiteRow& r) -> std::pair<bool, double> {
        switch (column) {
        case Radius: return {false, r.radius};
        case Level: return {false, static_cast<double>(r.level)};
        case Class: return {!r.cls, r.cls ? *r.cls * 1e9 + r.id.value_or(0) : 0.0};
        case Value: return {!r.value || std::isnan(*r.value), r.value && !std::isnan(*r.value) ? *r.value : 0.0};
        default: return {false, 0.0};
        }
    };
    const bool descending = order == Qt::DescendingOrder;
    const auto before = [&](std::size_t a, std::size_t b) {
        const SiteRow &x = all[a], &y = all[b];
        if (column == Site || column == Metric) {
            const std::string& p = column == Site ? rows_.site(x) : rows_.metric(x);
            const std::string& q = column == Site ? rows_.site(y) : rows_.metric(y);
            return descending ? q < p : p < q;
        }
        const auto [blankX, vx] = key(x);
        const auto [blankY, vy] = key(y);
        if (blankX != blankY)
            return blankY;
        return descending ? vy < vx : vx < vy;
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<std::size_t> oldOrder = order_;
    // No column: the order the table was written in.
    if (column < 0 || column >= Columns)
        std::iota(order_.begin(), order_.end(), std::size_t{0});
    else
        std::stable_sort(order_.begin(), order_.end(), before);
    // Selections follow their rows.
    std::vector<int> newRow(order_.size());
    for (std::size_t k = 0; k < order_.size(); ++k)
        newRow[order_[k]] = static_cast<int>(k);
    QModelIndexList after;
    for (const QModelIndex& i : persistent)
        after << index(newRow[oldOrder[static_cast<std::size_t>(i.row())]], i.column());
    changePersistentIndexList(persistent, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
