#include "gui/GridView.h"

#include <QApplication>
#include <QSet>

#include <QPixmap>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

TEST(GridView, ShortLinesLeaveTheirMissingCellsEmpty)
{
    QImage image = GridView::cellImage({{0, 1, 0, 9}, {1}, {}}, 0);
    ASSERT_EQ(image.size(), QSize(3, 3));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, 2), QColor(Qt::white)) << "only the first n values of a line are drawn";
    EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0) << "past a line's end nothing is drawn";
    EXPECT_EQ(image.pixelColor(2, 0).alpha(), 0);
    EXPECT_TRUE(GridView::cellImage(orvalis::LandscapeGrid{}, 0).isNull());
}

TEST(GridView, HugeGridsAreSampledToABoundedImage)
{
    orvalis::LandscapeGrid grid(10000, std::vector<int>(3, 1));
    QImage image = GridView::cellImage(grid, 0);
    EXPECT_EQ(image.width(), GridView::MaxImageSide);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, 3).alpha(), 0);

    GridView view;
    view.resize(50, 50);
    const orvalis::CompactGrid compact = orvalis::CompactGrid::from(grid);
    view.setGrid(compact);
    EXPECT_EQ(view.grab().toImage().pixelColor(0, 0), QColor(Qt::black));
}

TEST(GridView, NewMatrixValueRecoloursTheGridAlreadyShown)
{
    const orvalis::CompactGrid grid = orvalis::CompactGrid::from({{0, 0}, {1, 1}});
    GridView view;
    view.resize(40, 40);
    view.setGrid(grid);
    QImage before = view.grab().toImage();
    EXPECT_EQ(before.pixelColor(10, 10), QColor(Qt::white));
    EXPECT_EQ(before.pixelColor(30, 10), QColor(Qt::black));
    view.setMatrixValue(1);
    QImage after = view.grab().toImage();
    EXPECT_EQ(after.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(after.pixelColor(30, 10), QColor(Qt::white));
}

// A grid of columns x rows cells, value(column, row), lines being columns.
orvalis::CompactGrid makeGrid(int columns, int rows, const std::function<int(int, int)>& value)
{
    orvalis::CompactGrid grid;
    std::vector<int> line(static_cast<std::size_t>(rows));
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r)
            line[static_cast<std::size_t>(r)] = value(c, r);
        grid.appendLine(line);
    }
    return grid;
}

TEST(GridView, CellsStaySquareAndLetterboxedAtAnyFrameSize)
{
    const orvalis::CompactGrid grid = makeGrid(6, 4, [](int, int) { return 1; });  // all black
    for (const QSize size : {QSize(300, 200), QSize(200, 300), QSize(333, 334), QSize(517, 211), QSize(61, 400)}) {
        SCOPED_TRACE(size.width() * 1000 + size.height());
        GridView view;
        view.resize(size);
        view.setGrid(grid, 4);
        const QImage shot = view.grab().toImage();
        QRect black;
        // Inside the area's black outline.
        for (int y = 1; y < shot.height() - 1; ++y)
            for (int x = 1; x < shot.width() - 1; ++x)
                if (shot.pixelColor(x, y) == QColor(Qt::black))
                    black |= QRect(x, y, 1, 1);
        // Six cells across, four down, each the same size within rounding and the outline's pixel.
        EXPECT_NEAR(black.width() / 6.0, black.height() / 4.0, 1.0);
        const bool fillsWidth = black.width() >= size.width() - 3, fillsHeight = black.height() >= size.height() - 3;
        EXPECT_TRUE(fillsWidth || fillsHeight) << "the grid is fitted to the frame";
        EXPECT_NEAR(black.center().x(), size.width() / 2.0, 1.5) << "letterboxed in the middle";
        EXPECT_NEAR(black.center().y(), size.height() / 2.0, 1.5);
    }
}

TEST(GridView, LegendNamesEachDrawnColourWithItsValuesAndShare)
{
    struct Case {
        const char* name;
        std::vector<std::vector<int>> lines;
        std::vector<std::pair<std::vector<int>, double>> legend;  // values and percent, in order
    };
    const Case cases[] = {
        {"two classes: matrix white, the other black", {{0, 0, 7}, {0, 7, 7}, {0, 0, 0}}, {{{0}, 600 / 9.0}, {{7}, 300 / 9.0}}},
        {"classes of a land-cover map, one above a byte", {{41, 41}, {42, 300}}, {{{41}, 50}, {{42}, 25}, {{300}, 25}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const orvalis::CompactGrid grid = orvalis::CompactGrid::from(c.lines);
        GridView view;
        view.resize(90, 90);
        view.setGrid(grid);
        ASSERT_EQ(view.legend().size(), c.legend.size());
        const QImage shot = view.grab().toImage();
        for (std::size_t k = 0; k < c.legend.size(); ++k) {
            EXPECT_EQ(view.legend()[k].values, c.legend[k].first);
            EXPECT_NEAR(view.legend()[k].percent, c.legend[k].second, 1e-9);
        }
        // Each cell is drawn in the colour its legend entry shows.
        const int n = static_cast<int>(c.lines.size());
        for (int col = 0; col < n; ++col)
            for (int row = 0; row < n; ++row) {
                const int value = c.lines[col][row];
                const auto entry = std::find_if(view.legend().begin(), view.legend().end(), [value](const LegendEntry& e) {
                    return std::find(e.values.begin(), e.values.end(), value) != e.values.end();
                });
                ASSERT_NE(entry, view.legend().end());
                EXPECT_EQ(shot.pixelColor((2 * col + 1) * 90 / (2 * n), (2 * row + 1) * 90 / (2 * n)), entry->colour);
            }
    }
    // Distinct classes get distinct colours.
    const orvalis::CompactGrid many = makeGrid(5, 1, [](int c, int) { return c * 1000; });
    GridView view;
    view.setGrid(many, 1);
    QSet<QRgb> colours;
    for (const LegendEntry& e : view.legend())
        colours.insert(e.colour.rgba());
    EXPECT_EQ(colours.size(), 5);
}

TEST(GridView, ZoomAndPanKeepTheCellUnderThePointer)
{
    const orvalis::CompactGrid grid = makeGrid(40, 30, [](int c, int r) { return r * 40 + c; });
    GridView view;
    view.resize(300, 260);
    view.setGrid(grid, 30);
    view.show();
    const QRectF fitted = view.gridRect();
    for (const QPointF at : {QPointF(150, 130), QPointF(40.5, 200.5), QPointF(270, 33)}) {
        const auto before = view.cellAt(at);
        ASSERT_TRUE(before.has_value());
        const double pixels = view.cellPixels();
        QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &wheel);
        EXPECT_NEAR(view.cellPixels(), pixels * 1.25 * 1.25, 1e-9);
        EXPECT_EQ(view.cellAt(at), before) << "zooming in";
        view.zoomBy(0.9, at);
        EXPECT_EQ(view.cellAt(at), before) << "zooming out";
    }
    // Dragging carries the cell along with the pointer.
    const QPoint from(100, 100), to(160, 70);
    const auto held = view.cellAt(from);
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&view, to);
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(view.cellAt(to), held);
    EXPECT_EQ(view.pointerCell(), held) << "the status line names the cell under the pointer";
    QTest::keyClick(&view, Qt::Key_0);
    EXPECT_EQ(view.gridRect(), fitted);
    QTest::keyClick(&view, Qt::Key_Minus);
    EXPECT_EQ(view.gridRect(), fitted) << "never smaller than fitted";
}

TEST(GridView, ZoomedInCellsComeFromTheGridNotTheSampledImage)
{
    // 4097 columns: sampling to 4096 pixels skips the last one, a white column after a black one.
    const orvalis::CompactGrid grid = makeGrid(4097, 2, [](int c, int) { return c % 2; });
    GridView view;
    view.resize(300, 300);
    view.setGrid(grid, 2);
    ASSERT_EQ(view.pictureSize(true), QSize(GridView::MaxImageSide, 2));
    const QRectF all = view.gridRect();
    view.zoomBy(1e9, QPointF(all.right() - 0.01, all.center().y()));
    const QPointF lastCell(view.gridRect().right() - view.cellPixels() / 2, view.gridRect().center().y());
    ASSERT_EQ(view.cellAt(lastCell)->column, 4096);
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(lastCell.toPoint()), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor((lastCell - QPointF(view.cellPixels(), 0)).toPoint()), QColor(Qt::black));
}

}  // namespace
