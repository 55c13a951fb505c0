#include "gui/GridView.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace {

// Okabe and Ito's eight colours, then Tol's muted scheme: told apart with the common colour
// vision deficiencies. Beyond seventeen classes colours come round again.
constexpr std::array<QRgb, 17> Palette{
    0xffe69f00, 0xff56b4e9, 0xff009e73, 0xfff0e442, 0xff0072b2, 0xffd55e00, 0xffcc79a7, 0xff000000, 0xff332288,
    0xffddcc77, 0xff117733, 0xff882255, 0xff44aa99, 0xff999933, 0xffaa4499, 0xff88ccee, 0xffcc6677};
constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;
constexpr double ZoomStep = 1.25;

}  // namespace

GridView::GridView(QWidget* parent) : QFrame(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    watchParent();
}

void GridView::setGrid(const orvalis::CompactGrid& grid, int rows)
{
    grid_ = &grid;
    columns_ = static_cast<int>(std::min<std::size_t>(grid.lineCount(), INT32_MAX));
    rows_ = rows > 0 ? rows : columns_;
    counts_.clear();
    std::unordered_map<int, std::uint64_t> counts;
    for (int c = 0; c < columns_; ++c) {
        const std::size_t length = std::min<std::size_t>(grid.lineLength(static_cast<std::size_t>(c)), rows_);
        // Runs of one value are the rule in a landscape: count them without a lookup per cell.
        std::size_t i = 0;
        while (i < length) {
            const int v = grid.at(static_cast<std::size_t>(c), i);
            std::size_t end = i + 1;
            while (end < length && grid.at(static_cast<std::size_t>(c), end) == v)
                ++end;
            counts[v] += end - i;
            i = end;
        }
    }
    counts_.assign(counts.begin(), counts.end());
    std::sort(counts_.begin(), counts_.end());
    zoom_ = 1;
    centre_ = QPointF(columns_ / 2.0, rows_ / 2.0);
    rebuild();
}

void GridView::setRowsFromSouth(bool fromSouth)
{
    if (fromSouth == fromSouth_)
        return;
    fromSouth_ = fromSouth;
    if (grid_)
        rebuild();
}

void GridView::setMatrixValue(int value)
{
    matrixValue_ = value;
    if (grid_)
        rebuild();
}

void GridView::setCoverValue(int value)
{
    coverValue_ = value;
    if (grid_)
        rebuild();
}

void GridView::setNoDataValue(std::optional<int> value)
{
    // No rebuild: the caller is about to hand over the grid these cells belong to.
    noData_ = value;
}

void GridView::rebuild()
{
    landscapeCells_ = 0;
    std::vector<std::pair<int, std::uint64_t>> classes;
    std::uint64_t noDataCells = 0;
    for (const auto& [value, cells] : counts_) {
        if (noData_ && value == *noData_) {
            noDataCells = cells;
            continue;
        }
        classes.emplace_back(value, cells);
        landscapeCells_ += cells;
    }
    auto isTwoClassValue = [this](int v) { return v == matrixValue_ || v == coverValue_; };
    const bool hasMatrix = std::any_of(classes.begin(), classes.end(), [this](auto& c) { return c.first == matrixValue_; });
    twoClass_ = std::all_of(classes.begin(), classes.end(), [&](auto& c) { return isTwoClassValue(c.first); }) ||
                (classes.size() <= 2 && hasMatrix);

    auto share = [this](std::uint64_t cells) { return landscapeCells_ ? 100.0 * double(cells) / double(landscapeCells_) : 0.0; };
    legend_.clear();
    colours_.clear();
    if (twoClass_) {
        LegendEntry white{QColor::fromRgb(White), {matrixValue_}, 0, 0, false};
        LegendEntry black{QColor::fromRgb(Black), {}, 0, 0, false};
        for (const auto& [value, cells] : classes) {
            LegendEntry& e = value == matrixValue_ ? white : black;
            if (value != matrixValue_)
                e.values.push_back(value);
            e.cells += cells;
        }
        for (LegendEntry* e : {&white, &black}) {
            e->percent = share(e->cells);
            legend_.push_back(*e);
        }
    } else {
        for (std::size_t k = 0; k < classes.size(); ++k) {
            const QRgb colour = Palette[k % Palette.size()];
            colours_.emplace_back(classes[k].first, colour);
            legend_.push_back({QColor::fromRgb(colour), {classes[k].first}, classes[k].second, share(classes[k].second), false});
        }
    }
    if (noDataCells)
        legend_.push_back({QColor(Qt::transparent), {*noData_}, noDataCells, 0, true});

    cells_ = QImage();
    if (columns_ > 0 && rows_ > 0) {
        const int w = std::min(columns_, MaxImageSide), h = std::min(rows_, MaxImageSide);
        cells_ = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        cells_.fill(Qt::transparent);
        for (int x = 0; x < w; ++x) {
            const int column = static_cast<int>(static_cast<std::int64_t>(x) * columns_ / w);
            for (int y = 0; y < h; ++y) {
                const int row = static_cast<int>(static_cast<std::int64_t>(y) * rows_ / h);
                if (!cellDrawn(row, column))
                    continue;
                reinterpret_cast<QRgb*>(cells_.scanLine(y))[x] = colourOf(valueAt(row, column));
            }
        }
    }
    clampCentre();
    update();
    emit drawingChanged();
}

QRgb GridView::colourOf(int value) const
{
    if (noData_ && value == *noData_)
        return 0;
    if (twoClass_)
        return value == matrixValue_ ? White : Black;
    auto it = std::lower_bound(colours_.begin(), colours_.end(), std::pair<int, QRgb>(value, 0));
    return it != colours_.end() && it->first == value ? it->second : 0;
}

std::size_t GridView::positionOf(int row) const
{
    return static_cast<std::size_t>(fromSouth_ ? rows_ - 1 - row : row);
}

int GridView::valueAt(int row, int column) const
{
    return grid_->at(static_cast<std::size_t>(column), positionOf(row));
}

bool GridView::cellDrawn(int row, int column) const
{
    return positionOf(row) < grid_->lineLength(static_cast<std::size_t>(column));
}

double GridView::coverPercent() const
{
    auto it = std::lower_bound(counts_.begin(), counts_.end(), std::pair<int, std::uint64_t>(coverValue_, 0));
    if (it == counts_.end() || it->first != coverValue_ || landscapeCells_ == 0 || (noData_ && *noData_ == coverValue_))
        return 0;
    return 100.0 * double(it->second) / double(landscapeCells_);
}

QImage GridView::cellImage(const orvalis::CompactGrid& grid, int matrixValue)
{
    const std::size_t n = grid.lineCount();
    if (n == 0)
        return QImage();
    const int side = static_cast<int>(std::min<std::size_t>(n, MaxImageSide));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // Map each image position to a cell; the identity when the grid fits.
    auto cellOf = [n, side](int p) { return static_cast<std::size_t>(static_cast<unsigned long long>(p) * n / static_cast<unsigned>(side)); };
    for (int col = 0; col < side; ++col) {
        const std::size_t line = cellOf(col);
        const std::size_t length = grid.lineLength(line);
        for (int row = 0; row < side; ++row) {
            std::size_t i = cellOf(row);
            if (i >= length)
                break;
            reinterpret_cast<QRgb*>(image.scanLine(row))[col] = grid.at(line, i) == matrixValue ? White : Black;
        }
    }
    return image;
}

double GridView::fitPixels(const QRectF& area) const
{
    if (columns_ <= 0 || rows_ <= 0)
        return 1;
    return std::min(area.width() / columns_, area.height() / rows_);
}

double GridView::cellPixels() const
{
    return fitPixels(contentsRect()) * zoom_;
}

QPointF GridView::originIn(const QRectF& area) const
{
    return area.center() - centre_ * (fitPixels(area) * zoom_);
}

QRectF GridView::gridRect() const
{
    const double s = cellPixels();
    return QRectF(originIn(contentsRect()), QSizeF(columns_ * s, rows_ * s));
}

std::optional<GridView::Cell> GridView::cellAt(QPointF point) const
{
    if (!grid_ || columns_ <= 0)
        return std::nullopt;
    const QPointF g = centre_ + (point - QRectF(contentsRect()).center()) / cellPixels();
    const double column = std::floor(g.x()), row = std::floor(g.y());
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return std::nullopt;
    const Cell cell{static_cast<int>(row), static_cast<int>(column), 0};
    if (!cellDrawn(cell.row, cell.column))
        return std::nullopt;
    return Cell{cell.row, cell.column, valueAt(cell.row, cell.column)};
}

void GridView::clampCentre()
{
    if (zoom_ <= 1) {
        zoom_ = 1;
        centre_ = QPointF(columns_ / 2.0, rows_ / 2.0);
        return;
    }
    // Some of the grid always stays in sight.
    centre_.setX(std::clamp(centre_.x(), 0.0, double(columns_)));
    centre_.setY(std::clamp(centre_.y(), 0.0, double(rows_)));
}

void GridView::zoomBy(double factor, QPointF anchor)
{
    if (columns_ <= 0)
        return;
    const QPointF fromCentre = anchor - QRectF(contentsRect()).center();
    const QPointF held = centre_ + fromCentre / cellPixels();
    const double fit = fitPixels(contentsRect());
    zoom_ = std::clamp(zoom_ * factor, 1.0, std::max(1.0, MaxCellPixels / fit));
    centre_ = held - fromCentre / cellPixels();
    clampCentre();
    update();
    if (pointer_)
        setPointer(cellAt(mapFromGlobal(QCursor::pos())));
}

void GridView::zoomIn()
{
    zoomBy(ZoomStep, QRectF(contentsRect()).center());
}

void GridView::zoomOut()
{
    zoomBy(1 / ZoomStep, QRectF(contentsRect()).center());
}

void GridView::fitToView()
{
    zoom_ = 1;
    clampCentre();
    update();
}

void GridView::panBy(QPointF pixels)
{
    if (columns_ <= 0)
        return;
    centre_ -= pixels / cellPixels();
    clampCentre();
    update();
}

void GridView::setPointer(std::optional<Cell> cell)
{
    if (cell == pointer_)
        return;
    pointer_ = cell;
    emit pointerCellChanged();
}

void GridView::paintArea(QPainter& painter, const QRect& area) const
{
    painter.setBrush(QBrush(QColor(0, 255, 0, 120)));
    painter.drawRect(QRectF(area));
}

void GridView::paintGrid(QPainter& painter, const QRectF& area) const
{
    if (!grid_ || cells_.isNull())
        return;
    const double s = fitPixels(area) * zoom_;
    const QPointF origin = originIn(area);
    auto firstCell = [s](double from, double origin, int count) {
        return std::clamp(static_cast<int>(std::floor((from - origin) / s)), 0, count);
    };
    auto endCell = [s](double to, double origin, int count) {
        return std::clamp(static_cast<int>(std::ceil((to - origin) / s)), 0, count);
    };
    const int c0 = firstCell(area.left(), origin.x(), columns_), c1 = endCell(area.right(), origin.x(), columns_);
    const int r0 = firstCell(area.top(), origin.y(), rows_), r1 = endCell(area.bottom(), origin.y(), rows_);
    if (c0 >= c1 || r0 >= r1)
        return;
    const QRectF target(origin.x() + c0 * s, origin.y() + r0 * s, (c1 - c0) * s, (r1 - r0) * s);
    painter.save();
    painter.setClipRect(area);
    const bool sampled = cells_.width() != columns_ || cells_.height() != rows_;
    const double visibleCells = double(c1 - c0) * double(r1 - r0);
    if (sampled && visibleCells <= target.width() * target.height()) {
        // Zoomed in on a sampled grid: the visible cells come from the grid itself, so they stay sharp.
        QImage visible(c1 - c0, r1 - r0, QImage::Format_ARGB32_Premultiplied);
        visible.fill(Qt::transparent);
        for (int c = c0; c < c1; ++c)
            for (int r = r0; r < r1; ++r)
                if (cellDrawn(r, c))
                    reinterpret_cast<QRgb*>(visible.scanLine(r - r0))[c - c0] = colourOf(valueAt(r, c));
        painter.drawImage(target, visible);
    } else {
        // Nearest-neighbour scaling gives every cell whole pixels: no gaps, no overlaps.
        const double sx = double(cells_.width()) / columns_, sy = double(cells_.height()) / rows_;
        painter.drawImage(target, cells_, QRectF(c0 * sx, r0 * sy, (c1 - c0) * sx, (r1 - r0) * sy));
    }
    painter.restore();
}

void GridView::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        // With nothing to draw the view stays neutral: the green area belongs under a grid.
        if (grid_ && !grid_->empty()) {
            paintArea(painter, rect());
            paintGrid(painter, contentsRect());
        } else {
            painter.fillRect(rect(), palette().window());
        }
    }
    // The border goes over the map, as the frame has always drawn it.
    QFrame::paintEvent(event);
}

QSize GridView::pictureSize(bool fullResolution) const
{
    if (cells_.isNull())
        return QSize();
    return fullResolution ? cells_.size() : contentsRect().size();
}

void GridView::paintPicture(QPainter& painter, bool fullResolution) const
{
    const QSize size = pictureSize(fullResolution);
    if (size.isEmpty())
        return;
    if (fullResolution) {
        painter.drawImage(QRect(QPoint(0, 0), size), cells_);
        return;
    }
    const QRectF area(QPointF(0, 0), QSizeF(size));
    painter.fillRect(area, palette().window());
    painter.fillRect(area, QColor(0, 255, 0, 120));
    paintGrid(painter, area);
}

void GridView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0 || columns_ <= 0) {
        QFrame::wheelEvent(event);
        return;
    }
    zoomBy(std::pow(ZoomStep, steps), event->position());
    event->accept();
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && columns_ > 0) {
        dragFrom_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
    }
    QFrame::mousePressEvent(event);
}

void GridView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragFrom_) {
        const QPoint at = event->position().toPoint();
        panBy(at - *dragFrom_);
        dragFrom_ = at;
    }
    setPointer(cellAt(event->position()));
    QFrame::mouseMoveEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && dragFrom_) {
        dragFrom_.reset();
        unsetCursor();
    }
    QFrame::mouseReleaseEvent(event);
}

void GridView::leaveEvent(QEvent* event)
{
    setPointer(std::nullopt);
    QFrame::leaveEvent(event);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_0:
        fitToView();
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    // The area's outline has always reached one pixel past the right and bottom edges, onto the parent.
    if (watched == watched_ && event->type() == QEvent::Paint && !isHidden() && grid_ && !grid_->empty()) {
        QPainter painter(watched_);
        painter.setClipRegion(QRegion(watched_->rect()) - geometry());
        paintArea(painter, geometry());
    }
    return QFrame::eventFilter(watched, event);
}

void GridView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        watchParent();
    QFrame::changeEvent(event);
}

void GridView::watchParent()
{
    if (watched_)
        watched_->removeEventFilter(this);
    watched_ = parentWidget();
    if (watched_)
        watched_->installEventFilter(this);
}
