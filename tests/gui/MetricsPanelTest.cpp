#include "gui/MetricsPanel.h"

#include "core/io/MetricsCsv.h"
#include "core/metrics/LandscapeMetrics.h"
#include "support/NamedCase.h"
#include "support/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace orvalis::test;

namespace {

struct PanelFixture : ::testing::Test {
    MetricsPanel panel;
    QTreeWidget* tree = nullptr;
    QComboBox* level = nullptr;
    QComboBox* neighbours = nullptr;
    QDoubleSpinBox* side = nullptr;

    void SetUp() override
    {
        panel.resize(600, 500);
        panel.show();
        tree = child<QTreeWidget>(panel, "metricsTable");
        level = child<QComboBox>(panel, "metricsLevel");
        neighbours = child<QComboBox>(panel, "metricsNeighbours");
        side = child<QDoubleSpinBox>(panel, "metricsCellSize");
    }
    // The row of a metric, by its code.
    QTreeWidgetItem* row(const QString& code)
    {
        const auto found = tree->findItems(code, Qt::MatchExactly | Qt::MatchRecursive, 1);
        EXPECT_EQ(found.size(), 1) << code.toStdString();
        return found.value(0);
    }
    QString header(int column) { return tree->headerItem()->text(column); }
    // What the engine says of one metric, for comparing the panel's full digits with.
    static std::string engine(const orvalis::LandscapeGrid& grid, orvalis::MetricLevel at, const std::string& code,
                              int cls, int neighbourRule = 8)
    {
        const std::vector<int> cells = orvalis::flattenGrid(grid);
        orvalis::MetricsOptions options;
        options.neighbours = neighbourRule;
        options.selection = orvalis::MetricSelection::all({at});
        std::vector<orvalis::MetricValue> values;
        EXPECT_TRUE(orvalis::computeMetrics(
            {cells, static_cast<int>(grid.size()), static_cast<int>(grid[0].size()), std::nullopt, 1.0}, options,
            values));
        for (const orvalis::MetricValue& v : values)
            if (v.metric == code && (at == orvalis::MetricLevel::Landscape || v.cls == cls))
                return orvalis::formatMetricValue(v.value);
        return "missing";
    }
};

const orvalis::LandscapeGrid ThreeByThree{{1, 2, 2}, {2, 2, 2}, {1, 2, 2}};

TEST_F(PanelFixture, ClassLevelShowsTheWholeCatalogueByTypeRoundedWithEveryDigitInTheTooltip)
{
    panel.showMetricsOf(orvalis::CompactGrid::from(ThreeByThree));
    EXPECT_EQ(level->currentText(), "class");
    EXPECT_EQ(header(3), "class 1");
    EXPECT_EQ(header(4), "class 2");

    QTreeWidgetItem* pland = row("pland");
    ASSERT_NE(pland, nullptr);
    EXPECT_EQ(pland->text(0), "percentage of landscape");
    EXPECT_EQ(pland->text(2), "%");
    EXPECT_EQ(pland->text(3), "22.22");
    EXPECT_EQ(pland->toolTip(3).toStdString(), engine(ThreeByThree, orvalis::MetricLevel::Class, "pland", 1));
    EXPECT_EQ(pland->text(4), "77.78");
    EXPECT_EQ(row("pafrac")->text(3), "NA") << "undefined below 10 patches";
    // A family stays together, led by its usual member.
    QTreeWidgetItem* areaEdge = pland->parent();
    const int gyrate = areaEdge->indexOfChild(row("gyrate_am"));
    EXPECT_EQ(areaEdge->indexOfChild(row("area_sd")) + 1, areaEdge->indexOfChild(row("area_cv")));
    EXPECT_EQ(areaEdge->indexOfChild(row("gyrate_cv")), gyrate + 3);

    // Every class metric once, under the heading of its type.
    int metrics = 0;
    QStringList groups;
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tree->topLevelItem(g);
        groups << group->text(0);
        metrics += group->childCount();
    }
    int catalogued = 0;
    for (const orvalis::MetricDef& d : orvalis::metricCatalogue())
        catalogued += d.level == orvalis::MetricLevel::Class;
    EXPECT_EQ(metrics, catalogued);
    EXPECT_EQ(groups, (QStringList{"Area and edge", "Shape", "Core area", "Aggregation"}));
    EXPECT_EQ(pland->parent()->text(0), "Area and edge");
    EXPECT_EQ(row("np")->parent()->text(0), "Aggregation");
}

TEST_F(PanelFixture, CopyPutsTheSelectedRowsWithEveryDigitOnTheClipboard)
{
    panel.showMetricsOf(orvalis::CompactGrid::from(ThreeByThree));
    QApplication::clipboard()->clear();
    row("pland")->setSelected(true);
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    const std::string pland1 = engine(ThreeByThree, orvalis::MetricLevel::Class, "pland", 1);
    const std::string pland2 = engine(ThreeByThree, orvalis::MetricLevel::Class, "pland", 2);
    ASSERT_GT(pland1.size(), 6u) << "a value with more digits than the table shows";
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "metric\tname\tunit\tclass 1\tclass 2\npland\tpercentage of landscape\t%\t" + pland1 + "\t" + pland2 + "\n");

    // A selected type brings all its metrics, each once even when also selected itself.
    tree->clearSelection();
    QTreeWidgetItem* shape = tree->findItems("Shape", Qt::MatchExactly).value(0);
    ASSERT_NE(shape, nullptr);
    shape->setSelected(true);
    shape->child(0)->setSelected(true);
    child<QAction>(panel, "actionCopyMetrics")->trigger();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 1 + shape->childCount());
    EXPECT_TRUE(lines.value(1).startsWith(shape->child(0)->data(0, Qt::UserRole).toStringList().value(0) + "\t"));

    tree->clearSelection();
    EXPECT_TRUE(panel.selectedText().isEmpty()) << "nothing selected, nothing copied";
}

TEST_F(PanelFixture, LevelSwitchShowsPatchesByIdAndTheLandscapeInOneColumn)
{
    const orvalis::LandscapeGrid grid{{1, 1, 2}, {2, 2, 2}, {1, 2, 1}};
    panel.showMetricsOf(orvalis::CompactGrid::from(grid));
    level->setCurrentIndex(0);
    ASSERT_EQ(tree->topLevelItemCount(), 4) << "patches: 1 1 at the top, the 2s, and two lone 1s, with 4 or 8 joined";
    EXPECT_EQ(header(0), "Patch");
    EXPECT_EQ(header(1), "Class");
    int area = -1;
    for (int c = 2; c < tree->columnCount(); ++c)
        if (header(c).endsWith("\narea, ha"))
            area = c;
    ASSERT_GT(area, 0);
    EXPECT_TRUE(header(area).startsWith("Area and edge:")) << "the first column of its type names the type";
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        EXPECT_EQ(tree->topLevelItem(i)->text(0), QString::number(i + 1));
    EXPECT_EQ(tree->topLevelItem(0)->text(1), "1");
    EXPECT_EQ(tree->topLevelItem(0)->text(area), "0.0002") << "two cells of 1 m²";

    tree->selectAll();
    const QStringList lines = panel.selectedText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("id\tclass\t"));
    EXPECT_TRUE(lines[1].startsWith("1\t1\t"));

    level->setCurrentIndex(2);
    EXPECT_EQ(tree->columnCount(), 4);
    EXPECT_EQ(header(3), "Value");
    EXPECT_EQ(row("ta")->text(3), "0.0009");
    EXPECT_EQ(row("shdi")->parent()->text(0), "Diversity");
}

TEST_F(PanelFixture, FourNeighboursSplitPatchesThatOnlyTouchAtCorners)
{
    const orvalis::LandscapeGrid diagonal{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    panel.showMetricsOf(orvalis::CompactGrid::from(diagonal));
    EXPECT_EQ(neighbours->currentData().toInt(), 8);
    QSignalSpy measured(&panel, &MetricsPanel::measured);
    EXPECT_EQ(row("np")->text(4), "1") << "class 1, joined at corners";
    neighbours->setCurrentIndex(1);
    EXPECT_EQ(row("np")->text(4), "3");
    EXPECT_EQ(measured.count(), 1) << "one measurement a change";
}

TEST_F(PanelFixture, CellSideComesFromTheFrameOrTheUser)
{
    const orvalis::CompactGrid grid = orvalis::CompactGrid::from(ThreeByThree);
    auto area = [&] {
        level->setCurrentIndex(2);
        return row("ta")->text(3);
    };
    panel.showMetricsOf(grid);
    EXPECT_EQ(side->value(), 1.0);
    EXPECT_EQ(area(), "0.0009");
    typeInto(side, "30");
    QTest::keyClick(side, Qt::Key_Return);
    EXPECT_EQ(area(), "0.81") << "nine cells of 900 m²";

    panel.showMetricsOf(grid, 10.0);
    EXPECT_EQ(side->text(), "10 m");
    EXPECT_EQ(area(), "0.09");
    panel.showMetricsOf(grid);
    EXPECT_EQ(side->value(), 30.0) << "a file without a frame keeps the side the user gave";
}

TEST_F(PanelFixture, EmptyRaggedAndHugeGridsSayWhyNothingIsShown)
{
    panel.showMetricsOf(orvalis::CompactGrid::from(ThreeByThree));
    panel.showMetricsOf(orvalis::CompactGrid());
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    panel.showMetricsOf(orvalis::CompactGrid::from(orvalis::LandscapeGrid{{1, 2, 2}, {2}}));
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_TRUE(child<QLabel>(panel, "metricsNote")->text().contains("not rectangular"));
    panel.showMetricsOf(orvalis::CompactGrid::from(orvalis::LandscapeGrid(2001, std::vector<int>(2000, 1))));
    EXPECT_TRUE(child<QLabel>(panel, "metricsNote")->text().contains("too many"));
}

TEST_F(PanelFixture, LongPatchListsStopAtTheLimitAndSaySo)
{
    // A checkerboard: with 4 neighbours every cell is a patch.
    orvalis::LandscapeGrid checker(50, std::vector<int>(50));
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 50; ++c)
            checker[r][c] = (r + c) % 2;
    panel.showMetricsOf(orvalis::CompactGrid::from(checker));
    neighbours->setCurrentIndex(1);
    level->setCurrentIndex(0);
    EXPECT_EQ(tree->topLevelItemCount(), MetricsPanel::MaxPatchRows);
    EXPECT_TRUE(child<QLabel>(panel, "metricsNote")->text().contains(QLocale().toString(2500)));
}

TEST_F(PanelFixture, LargeGridsAreMeasuredOnAThreadAndOnlyTheLastChoiceIsShown)
{
    // 2 x 2 blocks in a checkerboard: with 8 neighbours a class is one patch, with 4 every block.
    const int n = 600;
    orvalis::LandscapeGrid blocks(n, std::vector<int>(n));
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            blocks[r][c] = (r / 2 + c / 2) % 2;
    ASSERT_GT(std::size_t(n) * n, MetricsPanel::InstantCells);
    QSignalSpy measured(&panel, &MetricsPanel::measured);
    panel.showMetricsOf(orvalis::CompactGrid::from(blocks));
    EXPECT_TRUE(panel.busy());
    EXPECT_EQ(tree->topLevelItemCount(), 0) << "no values of another choice meanwhile";
    neighbours->setCurrentIndex(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.busy(); }, 20000));
    EXPECT_EQ(measured.count(), 1) << "the first measurement, overtaken, is dropped";
    EXPECT_EQ(row("np")->text(3), QString::number(n * n / 4 / 2));
}

struct RoundingCase : NamedCase {
    double value;
    const char* text;
};

class Rounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(Rounding, ShowsFourSignificantDigits)
{
    EXPECT_EQ(MetricsPanel::roundedText(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    MetricsPanel, Rounding,
    ::testing::Values(RoundingCase{{"share"}, 22.222222222222221, "22.22"}, RoundingCase{{"short"}, 0.54, "0.54"},
                      RoundingCase{{"whole"}, 2, "2"}, RoundingCase{{"zero"}, 0, "0"},
                      RoundingCase{{"negative"}, -0.123456, "-0.1235"},
                      RoundingCase{{"carry"}, 9.99996, "10"}, RoundingCase{{"large"}, 1234565.4321, "1235000"},
                      RoundingCase{{"small"}, 0.000123456, "0.0001235"},
                      RoundingCase{{"tiny"}, 1.5e-7, "1.5e-07"}, RoundingCase{{"huge"}, 1.23456e12, "1.235e+12"}),
    CaseName());

}  // namespace

// The side set for a file without one is offered again for the files of its folder, each folder
// its own; a file whose frame is in degrees is warned about rather than measured in "metres" silently.
TEST_F(PanelFixture, CellSideIsRememberedPerFolderAndDegreesAreWarnedAbout)
{
    auto* origin = child<QLabel>(panel, "metricsCellSizeOrigin");
    const orvalis::LandscapeGrid grid{{0, 1}, {1, 1}};
    const auto compact = orvalis::CompactGrid::from(grid);
    const auto showIn = [&](const QString& folder, const QString& note = {}) {
        panel.setSource(folder, note);
        panel.showMetricsOf(compact);
    };
    showIn(QStringLiteral("/data/a"));
    side->setValue(30);
    showIn(QStringLiteral("/data/b"));
    side->setValue(10);
    showIn(QStringLiteral("/data/a"));
    EXPECT_DOUBLE_EQ(side->value(), 30);
    showIn(QStringLiteral("/data/b"));
    EXPECT_DOUBLE_EQ(side->value(), 10);
    EXPECT_FALSE(origin->text().contains(QStringLiteral("Warning")));
    showIn(QStringLiteral("/data/c"), QStringLiteral("its coordinates are degrees"));
    EXPECT_TRUE(origin->text().contains(QStringLiteral("degrees"))) << origin->text().toStdString();
    EXPECT_TRUE(origin->text().contains(QStringLiteral("Warning")));
    if (panel.busy())
        ASSERT_TRUE(QSignalSpy(&panel, &MetricsPanel::measured).wait(5000));
    EXPECT_TRUE(child<QLabel>(panel, "metricsNote")->text().contains(QStringLiteral("degrees")));
    // A side from the file's frame leaves the folder's alone.
    panel.setSource(QStringLiteral("/data/a"));
    panel.showMetricsOf(compact, 5.0);
    EXPECT_DOUBLE_EQ(side->value(), 5);
    showIn(QStringLiteral("/data/a"));
    EXPECT_DOUBLE_EQ(side->value(), 30);
}
