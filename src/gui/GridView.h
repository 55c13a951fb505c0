#pragma once

#include "core/io/CompactGrid.h"

#include <QFrame>
#include <QImage>
#include <QPointer>

// The map: a landscape grid drawn over a translucent green area, scaled to the
// whole frame, cells equal to the matrix value white and the others black.
class GridView : public QFrame {
    Q_OBJECT

public:
    // The largest side of the cell image; larger grids are sampled.
    static constexpr int MaxImageSide = 4096;

    explicit GridView(QWidget* parent = nullptr);

    // Draws this grid from now on; it is read again when the matrix value changes,
    // so it must stay alive until the next call.
    void setGrid(const orvalis::CompactGrid& grid);
    void setMatrixValue(int value);

    // One pixel per cell of an n x n view of the grid (n = number of lines): line j
    // is column j, position i is row i; cells equal to matrixValue are white, others
    // black, and positions beyond a line's end are left transparent.
    static QImage cellImage(const orvalis::CompactGrid& grid, int matrixValue);
    static QImage cellImage(const orvalis::LandscapeGrid& grid, int matrixValue)
    {
        return cellImage(orvalis::CompactGrid::from(grid), matrixValue);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void paintArea(QPainter& painter, const QRect& area) const;
    void watchParent();

    const orvalis::CompactGrid* grid_ = nullptr;
    int matrixValue_ = 0;
    QImage cells_;          // one pixel per cell, built when the grid or the matrix value changes
    int cellsMatrix_ = 0;   // matrix value cells_ was built with
    QImage scaled_;         // cells_ at the size last drawn
    QPointer<QWidget> watched_;  // the parent, painted on for the outline
};
