#include "plots/CompareCharts.h"
#include "plots/ComparePlots.h"
#include "plots/CompareFolder.h"

#include <QApplication>
#include <QChart>
#include <QFile>
#include <QImage>
#include <QSvgRenderer>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::test;

namespace {

QString qtPath(const std::filesystem::path& p)
{
    return QFile::decodeName(QByteArray::fromStdString(p.string()));
}

// Where a value lands in a picture of makeCompareChart's chart, in the picture's pixels.
QPoint pixelOf(const ChartTables& tables, const ChartKey& key, QPointF value)
{
    const OffscreenChart laidOut(makeCompareChart(tables, key));
    return (laidOut.positionOf(value, laidOut.chart()->series().last()) * PictureScale).toPoint();
}

// The darkest pixel within radius of at: the real windows are black dots.
int darkestAround(const QImage& image, QPoint at, int radius = 4)
{
    int darkest = 255;
    for (int y = at.y() - radius; y <= at.y() + radius; ++y)
        for (int x = at.x() - radius; x <= at.x() + radius; ++x)
            if (image.rect().contains(x, y))
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

TEST(ComparePlots, OneChartPerMetricWithTheRealWindowsWhereTheTablesPutThem)
{
    TempDir dir;
    // A folder with an accent: the names pass through Qt and back.
    const std::filesystem::path root = dir.path() / "comparação";
    std::filesystem::create_directories(root);
    writeCompareFolder(root, {{"a.txt", 20.5, 30}, {"b.txt", 40.2, 200}, {"c.txt", 60, 130}}, {"random", "fractal:0.5"},
                       15, true);

    const PlotsResult result = drawComparePlots(root);
    ASSERT_TRUE(result.ok) << result.message;
    std::vector<std::string> names;
    for (const std::string& f : result.files)
        names.push_back(std::filesystem::path(f).filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"class_1_ed.png", "class_1_ed.svg", "landscape_ed.png",
                                               "landscape_ed.svg", "percolation.png", "percolation.svg"}));

    QImage picture(qtPath(root / "plots" / "class_1_ed.png"));
    ASSERT_EQ(picture.size(), QSize(1600, 1000));
    ChartTables tables;
    std::string error;
    ASSERT_TRUE(loadChartTables(root, tables, &error)) << error;
    const ChartKey ed{false, 1, "ed"};
    // b.txt stands far above every band: nothing else is dark there.
    const QPoint b = pixelOf(tables, ed, {40.2, 200});
    EXPECT_LT(darkestAround(picture, b), 60) << "at " << b.x() << "," << b.y();

    // Without b.txt's real value the same spot is light.
    std::string compare = readFile((root / "compare.csv").string());
    for (std::size_t at; (at = compare.find(",ed,200.000000")) != std::string::npos;)
        compare.replace(at, 14, ",ed,NA");
    writeFile((root / "compare.csv").string(), compare);
    const PlotsResult again = drawComparePlots(root);
    ASSERT_TRUE(again.ok) << again.message;
    EXPECT_GT(darkestAround(QImage(qtPath(root / "plots" / "class_1_ed.png")), b), 150);

    // The SVG reads back as a drawing of the chart's size, and the landscape chart has its bands
    // though no real value.
    const QSvgRenderer svg(qtPath(root / "plots" / "class_1_ed.svg"));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBoxF(), QRectF(QPointF(0, 0), ChartSize));
    QImage landscape(qtPath(root / "plots" / "landscape_ed.png"));
    int coloured = 0;
    for (int y = 0; y < landscape.height(); y += 4)
        for (int x = 0; x < landscape.width(); x += 4)
            coloured += qRed(landscape.pixel(x, y)) != qBlue(landscape.pixel(x, y));
    EXPECT_GT(coloured, 1000);
}

TEST(ComparePlots, PercolationOnlyWithSpanningRowsOfTheRandomModel)
{
    const struct {
        const char* name;
        std::vector<std::string> models;
        bool spanning;
        bool drawn;
    } cases[] = {
        {"random with spanning", {"random"}, true, true},
        {"no spanning rows", {"random"}, false, false},
        {"fractal only", {"fractal:0.5"}, true, false},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeCompareFolder(dir.path(), {{"a.txt", 50, 1}}, c.models, 4, c.spanning);
        const PlotsResult result = drawComparePlots(dir.path());
        ASSERT_TRUE(result.ok) << c.name << ": " << result.message;
        EXPECT_EQ(std::filesystem::exists(dir.path() / "plots" / "percolation.png"), c.drawn) << c.name;
        EXPECT_EQ(std::filesystem::exists(dir.path() / "plots" / "percolation.svg"), c.drawn) << c.name;
    }
}

TEST(ComparePlots, ConstantMetricsAreListedNotDrawnAndEarlierPicturesGo)
{
    TempDir dir;
    writeCompareFolder(dir.path(), {{"a.txt", 20, 30}, {"b.txt", 60, 130}}, {"random"}, 5, false);
    // ta is the same 1 ha everywhere; an earlier drawing left a chart of a metric no longer kept.
    std::string compare = readFile((dir.path() / "compare.csv").string());
    std::string neutral = readFile((dir.path() / "neutral-metrics.csv").string());
    for (const char* file : {"a.txt", "b.txt"}) {
        compare += std::string(file) + ",random,landscape,,ta,1,5,0,1,0,1,1,50,NA\n";
        for (int r = 1; r <= 5; ++r)
            neutral += std::string(file) + ",random," + std::to_string(r) + ",landscape,,,ta,1\n";
    }
    writeFile((dir.path() / "compare.csv").string(), compare);
    writeFile((dir.path() / "neutral-metrics.csv").string(), neutral);
    std::filesystem::create_directories(dir.path() / "plots");
    writeFile((dir.path() / "plots" / "class_1_np.png").string(), "old");

    std::vector<std::string> asked;
    const PlotsResult result = drawComparePlots(dir.path(), [&] {
        asked.push_back("picture");
        return true;
    });
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.constant, std::vector<std::string>{"landscape_ta 1"});
    EXPECT_EQ(readFile((dir.path() / "plots" / "constant-metrics.txt").string()), "landscape_ta 1\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plots" / "landscape_ta.png"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plots" / "class_1_np.png"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "plots" / "landscape_ed.svg"));
    EXPECT_EQ(asked.size(), 2u);  // class 1 ed, landscape ed

    // Asked to stop, it stops before the next picture and says so.
    const PlotsResult stopped = drawComparePlots(dir.path(), [] { return false; });
    EXPECT_TRUE(stopped.interrupted);
    EXPECT_TRUE(stopped.files.empty());
}

TEST(ComparePlots, AFolderWithoutTablesIsRefusedWithoutPictures)
{
    TempDir dir;
    const PlotsResult result = drawComparePlots(dir.path());
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("windows.csv"), std::string::npos) << result.message;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plots"));
}

}  // namespace
