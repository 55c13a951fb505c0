#pragma once

#include "core/io/CompactGrid.h"
#include "gui/PictureSource.h"

#include <QFrame>
#include <QImage>
#include <QPointer>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// One colour of the drawing and the cells it stands for.
struct LegendEntry {
    QColor colour;
    std::vector<int> values;  // the grid values drawn in this colour, ascending
    std::uint64_t cells = 0;
    double percent = 0;       // share of the drawn cells
    bool noData = false;
};

// The map: a landscape grid drawn over a translucent green area with square cells, letterboxed
// in the frame. A two-class grid is drawn as always, cells equal to the matrix value white and
// the others black; a grid of other classes gets a colour-blind-safe palette. The wheel zooms
// about the pointer, + and - about the centre, 0 fits the grid again; dragging pans.
class GridView : public QFrame, public PictureSource {
    Q_OBJECT

public:
    // The largest side of the cell image; larger grids are sampled.
    static constexpr int MaxImageSide = 4096;
    // Zoom never goes past this many pixels a cell side.
    static constexpr double MaxCellPixels = 96;

    struct Cell {
        int row = 0, column = 0;  // from 0
        int value = 0;
        bool operator==(const Cell&) const = default;
    };

    explicit GridView(QWidget* parent = nullptr);

    // Draws this grid from now on, fitted to the frame; it is read again when the matrix value
    // changes, so it must stay alive until the next call. rows is the grid's height in cells:
    // 0 keeps the text grid's rule, as many rows as lines (values past them are not drawn).
    void setGrid(const orvalis::CompactGrid& grid, int rows = 0);
    // A text window cut from a TGA stored bottom-up holds its rows south first: drawn the other
    // way up, so that it lies north-up as it does on its map. The file is read as it is. Applies
    // to the grid set last.
    void setRowsFromSouth(bool fromSouth);
    bool rowsFromSouth() const { return fromSouth_; }
    void setMatrixValue(int value);
    void setCoverValue(int value);
    // Cells holding this value are outside the landscape: left undrawn and out of the shares.
    // Takes effect with the next setGrid.
    void setNoDataValue(std::optional<int> value);

    // One pixel per cell of an n x n view of the grid (n = number of lines): line j is
    // column j, position i is row i; cells equal to matrixValue are white, others
    // black, and positions beyond a line's end are left transparent.
    static QImage cellImage(const orvalis::CompactGrid& grid, int matrixValue);
    static QImage cellImage(const orvalis::LandscapeGrid& grid, int matrixValue)
    {
        return cellImage(orvalis::CompactGrid::from(grid), matrixValue);
    }

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // What each colour means: white then black for a two-class grid, else a colour a class by value;
    // cells of the no-data value last.
    const std::vector<LegendEntry>& legend() const { return legend_; }
    bool twoClass() const { return twoClass_; }
    // Share of the landscape's cells holding the cover value, in percent.
    double coverPercent() const;

    // Pixels a cell side takes on screen.
    double cellPixels() const;
    // Where the whole grid is drawn, in the view's coordinates.
    QRectF gridRect() const;
    std::optional<Cell> cellAt(QPointF point) const;
    // The cell under the mouse pointer, when it is over the grid.
    std::optional<Cell> pointerCell() const { return pointer_; }

    // Zooms by factor keeping the cell at anchor (view coordinates) where it is.
    void zoomBy(double factor, QPointF anchor);
    void zoomIn();
    void zoomOut();
    void fitToView();
    void panBy(QPointF pixels);

    QSize pictureSize(bool fullResolution) const override;
    void paintPicture(QPainter& painter, bool fullResolution) const override;

signals:
    void pointerCellChanged();
    // The grid or its colours changed: the legend and the status need another look.
    void drawingChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintArea(QPainter& painter, const QRect& area) const;
    // The grid at the current zoom and centre, drawn into area.
    void paintGrid(QPainter& painter, const QRectF& area) const;
    void watchParent();
    // Counts the classes, chooses their colours and builds the cell image.
    void rebuild();
    QRgb colourOf(int value) const;
    int valueAt(int row, int column) const;  // row (as drawn) and column inside the grid
    std::size_t positionOf(int row) const;  // where a drawn row lies in the grid's lines
    bool cellDrawn(int row, int column) const;
    double fitPixels(const QRectF& area) const;
    QPointF originIn(const QRectF& area) const;  // view position of the grid's top-left corner
    void clampCentre();
    void setPointer(std::optional<Cell> cell);

    const orvalis::CompactGrid* grid_ = nullptr;
    int columns_ = 0, rows_ = 0;
    int matrixValue_ = 0;
    int coverValue_ = 1;
    std::optional<int> noData_;
    bool fromSouth_ = false;
    bool twoClass_ = true;
    std::vector<std::pair<int, QRgb>> colours_;  // by value, for the palette
    std::vector<std::pair<int, std::uint64_t>> counts_;  // cells of each value, by value
    std::uint64_t landscapeCells_ = 0;
    std::vector<LegendEntry> legend_;
    QImage cells_;          // one pixel per cell (sampled beyond MaxImageSide)
    double zoom_ = 1;       // relative to fitting the frame
    QPointF centre_;        // grid position, in cells, shown at the frame's centre
    std::optional<QPoint> dragFrom_;
    std::optional<Cell> pointer_;
    QPointer<QWidget> watched_;  // the parent, painted on for the outline
};
