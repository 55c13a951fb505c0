#include "gui/GridView.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

GridView::GridView(QWidget* parent) : QFrame(parent)
{
    watchParent();
}

void GridView::setGrid(const orvalis::CompactGrid& grid)
{
    grid_ = &grid;
    cells_ = cellImage(grid, matrixValue_);
    cellsMatrix_ = matrixValue_;
    scaled_ = QImage();
    update();
}

void GridView::setMatrixValue(int value)
{
    matrixValue_ = value;
    update();
}

QImage GridView::cellImage(const orvalis::CompactGrid& grid, int matrixValue)
{
    const std::size_t n = grid.lineCount();
    if (n == 0)
        return QImage();
    const int side = static_cast<int>(std::min<std::size_t>(n, MaxImageSide));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRgb white = qRgba(255, 255, 255, 255);
    const QRgb black = qRgba(0, 0, 0, 255);
    // Map each image position to a cell; the identity when the grid fits.
    auto cellOf = [n, side](int p) { return static_cast<std::size_t>(static_cast<unsigned long long>(p) * n / static_cast<unsigned>(side)); };
    for (int col = 0; col < side; ++col) {
        const std::size_t line = cellOf(col);
        const std::size_t length = grid.lineLength(line);
        for (int row = 0; row < side; ++row) {
            std::size_t i = cellOf(row);
            if (i >= length)
                break;
            reinterpret_cast<QRgb*>(image.scanLine(row))[col] = grid.at(line, i) == matrixValue ? white : black;
        }
    }
    return image;
}

void GridView::paintArea(QPainter& painter, const QRect& area) const
{
    painter.setBrush(QBrush(QColor(0, 255, 0, 120)));
    painter.drawRect(QRectF(area));
}

void GridView::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        const QRect r = rect();
        paintArea(painter, r);
        if (grid_ && !grid_->empty()) {
            if (cellsMatrix_ != matrixValue_ || cells_.isNull()) {
                cells_ = cellImage(*grid_, matrixValue_);
                cellsMatrix_ = matrixValue_;
                scaled_ = QImage();
            }
            // Nearest-neighbour scaling gives every cell whole pixels: no gaps, no overlaps.
            if (scaled_.size() != r.size())
                scaled_ = cells_.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
            painter.drawImage(r.topLeft(), scaled_);
        }
    }
    // The border goes over the map, as the frame has always drawn it.
    QFrame::paintEvent(event);
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    // The area's outline has always reached one pixel past the right and bottom edges, onto the parent.
    if (watched == watched_ && event->type() == QEvent::Paint && !isHidden()) {
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
