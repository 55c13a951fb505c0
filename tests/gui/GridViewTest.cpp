#include "gui/GridView.h"

#include <QPixmap>
#include <gtest/gtest.h>

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

}  // namespace
