#include "gui/MainWindow.h"
#include "gui/GridView.h"
#include "core/io/MetricsCsv.h"
#include "core/metrics/LandscapeMetrics.h"
#include "support/MainWindowFixture.h"
#include "support/TestMaps.h"

#include <QAction>
#include <QMap>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QDockWidget>
#include <QStatusBar>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTreeWidget>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace orvalis::test;

namespace {

struct WindowFixture : MainWindowFixture {
    void select(const QString& path)
    {
        list->addItem(path);
        list->setCurrentRow(list->count() - 1);
    }
    // Where the map is, in window coordinates.
    QRect viewRect()
    {
        auto* view = child<QFrame>(window, "frameView");
        return QRect(view->mapTo(&window, QPoint(0, 0)), view->size());
    }
    // Where the cells are drawn, letterboxed in the map, in window coordinates.
    QRectF cellsRect()
    {
        auto* view = child<GridView>(window, "frameView");
        return view->gridRect().translated(view->mapTo(&window, QPoint(0, 0)));
    }
};

}  // namespace

TEST_F(WindowFixture, FormMatchesTheLayout)
{
    EXPECT_EQ(window.windowTitle(), "Orvalis");
    EXPECT_EQ(window.objectName(), "MainWindow");
    EXPECT_EQ(child<QLabel>(window, "label")->text(), "File list");
    EXPECT_EQ(child<QLabel>(window, "label_2")->text(), "Map");
    EXPECT_EQ(list->maximumWidth(), 300);
    auto* frame = child<QFrame>(window, "frameView");
    EXPECT_EQ(frame->minimumWidth(), 300);
    EXPECT_EQ(frame->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(frame->frameShadow(), QFrame::Raised);

    QStringList menus;
    for (QAction* a : window.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"File", "View", "Create", "Analyse", "Settings", "Help"}));
    auto texts = [&](const char* menu) {
        QStringList t;
        for (QAction* a : child<QMenu>(window, menu)->actions())
            t << a->objectName() + "=" + a->text();
        return t;
    };
    EXPECT_EQ(texts("menuOpen"), (QStringList{"actionOpen=Open", "actionOpenMap=Open Map…",
                                              "actionOpenSampleLog=Open Sample Log…", "actionClearList=Clear List", "=",
                                              "actionExportPicture=Export Picture…", "=", "actionQuit=Quit"}));
    EXPECT_EQ(texts("menuHelp"), (QStringList{"actionManual=Manual", "actionAbout=About Orvalis"}));
    EXPECT_EQ(texts("menuCreate"),
              (QStringList{"actionSample=Sample", "actionRandom=Random", "actionFractal=Fractal",
                           "actionNeutral=Neutral landscape…"}));
    EXPECT_EQ(texts("menuConfigura_es"), QStringList{"actionParametros=Parameters"});
    EXPECT_EQ(texts("menuView"), (QStringList{"actionMetricsPanel=Metrics panel", "actionToolBar=Tool bar"}));
    EXPECT_EQ(window.findChild<QAction*>("actionOpen")->toolTip(), "Open directory");
    // The desktop's usual keys, and no others.
    const QMap<QString, QString> keys{{"actionOpen", "Ctrl+O"}, {"actionQuit", "Ctrl+Q"}, {"actionAbout", "F1"},
                                      {"actionCopyMetrics", "Ctrl+C"}};
    for (QAction* a : window.findChildren<QAction*>())
        EXPECT_EQ(a->shortcut().toString(), keys.value(a->objectName())) << a->objectName().toStdString();
}

TEST_F(WindowFixture, OpenAccumulatesTheListButKeepsOnlyTheLastChoice)
{
    QString a = QString::fromStdString(dir.file("a.txt")), b = QString::fromStdString(dir.file("b.txt"));
    writeFile(a.toStdString(), "1 0 \n0 1 \n");
    writeFile(b.toStdString(), "1 1 \n1 1 \n");
    QAction* open = window.findChild<QAction*>("actionOpen");

    answerFileDialog({a});
    open->trigger();
    answerFileDialog({a, b});
    open->trigger();
    EXPECT_EQ(listed(), (QStringList{a, b})) << "a file already listed is not listed again";
    EXPECT_EQ(window.fileNames, (QStringList{a, b}));

    answerFileDialog({});
    open->trigger();
    EXPECT_EQ(list->count(), 2) << "cancel leaves the list";
    EXPECT_TRUE(window.fileNames.isEmpty());
}

TEST_F(WindowFixture, SelectionReadsTheFileAndDrawsColumnsFromLines)
{
    // Line 1 (the leftmost column) is all matrix (white), the rest is cover (black).
    QString path = QString::fromStdString(dir.file("g.txt"));
    writeFile(path.toStdString(), "0 0 0 \n1 1 1 \n1 0 1 \n");
    select(path);
    EXPECT_EQ(window.grid(), (orvalis::LandscapeGrid{{0, 0, 0}, {1, 1, 1}, {1, 0, 1}}));

    QImage shot = window.grab().toImage();
    QRectF r = cellsRect();
    auto cellColour = [&](int col, int row) {
        return shot.pixelColor(int(r.x() + (2 * col + 1) * r.width() / 6), int(r.y() + (2 * row + 1) * r.height() / 6));
    };
    EXPECT_EQ(cellColour(0, 0), QColor(Qt::white));
    EXPECT_EQ(cellColour(0, 2), QColor(Qt::white));
    EXPECT_EQ(cellColour(1, 1), QColor(Qt::black));
    EXPECT_EQ(cellColour(2, 1), QColor(Qt::white));
    EXPECT_EQ(cellColour(2, 2), QColor(Qt::black));
}

TEST_F(WindowFixture, ViewCoversTheFrameExactlyWithoutGaps)
{
    QString path = QString::fromStdString(dir.file("black.txt"));
    std::string text;
    for (int i = 0; i < 7; ++i)
        text += "1 1 1 1 1 1 1 \n";
    writeFile(path.toStdString(), text);
    window.resize(611, 433);
    select(path);
    QImage shot = window.grab().toImage();
    QRect r = viewRect();
    // The cells fill a square letterboxed in the frame, whole pixels inside its edges.
    const QRectF cells = cellsRect();
    EXPECT_NEAR(cells.width(), cells.height(), 0.5);
    const QRect inner(QPoint(int(std::ceil(cells.left())), int(std::ceil(cells.top()))),
                      QPoint(int(std::floor(cells.right())) - 1, int(std::floor(cells.bottom())) - 1));
    int notBlack = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            notBlack += shot.pixelColor(x, y) != QColor(Qt::black);
    EXPECT_EQ(notBlack, 0) << "seven cells that do not divide the frame still leave no gap";
    const QPoint letterbox = cells.width() < r.width() - 8 ? QPoint(inner.left() - 2, inner.center().y())
                                                           : QPoint(inner.center().x(), inner.top() - 2);
    EXPECT_NE(shot.pixelColor(letterbox), QColor(Qt::black)) << "the letterbox is not drawn";
    // Just outside the view nothing is drawn black.
    EXPECT_NE(shot.pixelColor(r.left() - 2, r.center().y()), QColor(Qt::black));
    // The area's outline has always shown one pixel past the right and bottom edges.
    EXPECT_EQ(shot.pixelColor(r.right() + 1, r.center().y()), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(r.center().x(), r.bottom() + 1), QColor(Qt::black));
    EXPECT_NE(shot.pixelColor(r.right() + 2, r.center().y()), QColor(Qt::black));
}

TEST_F(WindowFixture, BadFilesLeaveAnEmptyGridAWorkingWindowAndSayWhy)
{
    std::string binary;
    for (int i = 0; i < 3'000'000; ++i)
        binary.push_back(static_cast<char>((i * 2654435761u) >> 24));
    writeFile(dir.file("binary.bin"), binary);
    writeFile(dir.file("empty.txt"), "");
    std::string huge = dir.file("huge.txt");
    writeFile(huge, "");
    ASSERT_EQ(truncate(huge.c_str(), 3LL << 30), 0);  // sparse: costs no disk
    const std::string fifo = dir.file("pipe.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // selecting it must not wait for a writer

    writeFile(dir.file("good.txt"), "1 \n");
    const std::pair<std::string, const char*> cases[] = {
        {dir.file("missing.txt"), "No such file"}, {dir.file("empty.txt"), "no grid lines"},
        {dir.path().string(), "not a regular file"}, {huge, "too large"},
        {fifo, "not a regular file"}, {dir.file("binary.bin"), "binary"},
    };
    auto* status = window.findChild<QStatusBar*>();
    ASSERT_NE(status, nullptr);
    for (const auto& [name, why] : cases) {
        select(QString::fromStdString(dir.file("good.txt")));
        ASSERT_EQ(window.grid(), orvalis::LandscapeGrid{{1}});
        EXPECT_TRUE(status->currentMessage().isEmpty());
        select(QString::fromStdString(name));
        EXPECT_TRUE(window.grid().empty()) << name;
        EXPECT_TRUE(status->currentMessage().contains(QString::fromStdString(name))) << name;
        EXPECT_TRUE(status->currentMessage().contains(why)) << status->currentMessage().toStdString();
        window.grab();
    }
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowFixture, SelectionShowsTheMetricsOfTheGridBesideTheMap)
{
    writeFile(dir.file("two.txt"), "1 0 1 \n0 1 1 \n");
    select(QString::fromStdString(dir.file("two.txt")));
    auto* panel = window.findChild<QDockWidget*>("metricsPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->windowTitle(), "Metrics");
    auto* table = panel->findChild<QTreeWidget*>();
    const std::vector<int> cells{1, 0, 1, 0, 1, 1};
    std::vector<orvalis::MetricValue> values;
    ASSERT_TRUE(orvalis::computeMetrics({cells, 2, 3, std::nullopt, 1.0}, orvalis::MetricsOptions(), values));
    const auto division = table->findItems("division", Qt::MatchExactly | Qt::MatchRecursive, 1);
    ASSERT_EQ(division.size(), 1);
    EXPECT_EQ(table->headerItem()->text(4), "class 1");
    const auto class1 = std::find_if(values.begin(), values.end(), [](const orvalis::MetricValue& v) {
        return !v.landscape() && v.cls == 1 && v.metric == "division";
    });
    ASSERT_NE(class1, values.end());
    EXPECT_EQ(division[0]->toolTip(4).toStdString(), orvalis::formatMetricValue(class1->value));

    // Closed, it comes back from the View menu.
    panel->close();
    child<QAction>(window, "actionMetricsPanel")->trigger();
    EXPECT_TRUE(panel->isVisible());

    select(QString::fromStdString(dir.file("missing.txt")));
    EXPECT_EQ(table->topLevelItemCount(), 0);
}

TEST_F(WindowFixture, OpenListsNamesInNaturalOrderOnceAndDrawsTheFirstAdded)
{
    const QString folder = QString::fromStdString(dir.path().string());
    for (const char* name : {"a1.txt", "a2.txt", "a10.txt", "b.txt"})
        writeFile(dir.file(name), name[1] == '2' ? "1 1 \n1 1 \n" : "0 \n");
    auto names = [&] {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
            EXPECT_EQ(list->item(i)->toolTip(), listed()[i]) << "the full path is the tooltip";
        }
        return texts;
    };

    window.openFiles({folder + "/a10.txt", folder + "/a2.txt"});
    EXPECT_EQ(names(), (QStringList{"a2.txt", "a10.txt"}));
    EXPECT_EQ(listed(), (QStringList{folder + "/a2.txt", folder + "/a10.txt"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(window.grid(), (orvalis::LandscapeGrid{{1, 1}, {1, 1}})) << "the first added is drawn";

    // The same file by another path is not listed again; the first new one is drawn.
    window.openFiles({folder + "/./a10.txt", folder + "/b.txt", folder + "/a1.txt"});
    EXPECT_EQ(names(), (QStringList{"a1.txt", "a2.txt", "a10.txt", "b.txt"}));
    EXPECT_EQ(list->currentItem()->text(), "a1.txt");
    EXPECT_EQ(window.grid(), orvalis::LandscapeGrid{{0}});
    EXPECT_EQ(window.fileNames.size(), 3);

    // Arrow keys draw the file they move to.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(window.grid(), (orvalis::LandscapeGrid{{1, 1}, {1, 1}}));

    window.removeFromList(list->item(1));
    EXPECT_EQ(names(), (QStringList{"a1.txt", "a10.txt", "b.txt"}));
    EXPECT_FALSE(window.fileNames.contains(folder + "/a2.txt"));
    child<QAction>(window, "actionClearList")->trigger();
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(window.grid().empty());
    EXPECT_TRUE(window.fileNames.isEmpty());
}

TEST_F(WindowFixture, GeoTiffWindowIsDrawnNorthUpWithItsClassesAndExported)
{
    // Three columns, two rows: the north-west cell alone is class 11.
    const std::string tif = dir.file("w.tif");
    orvalis::test::TestMap map;
    map.width = 3;
    map.height = 2;
    map.value = [](int x, int y) { return x == 0 && y == 0 ? 11 : 90 + x; };
    orvalis::test::writeMap(tif, map);
    window.openFiles({QString::fromStdString(tif)});
    EXPECT_EQ(window.grid(), (orvalis::LandscapeGrid{{11, 90}, {91, 91}, {92, 92}})) << "lines are columns";
    auto* view = child<GridView>(window, "frameView");
    EXPECT_EQ(view->columns(), 3);
    EXPECT_EQ(view->rows(), 2);
    EXPECT_TRUE(child<QLabel>(window, "gridStatus")->text().contains("2 rows × 3 columns"));
    EXPECT_TRUE(child<QLabel>(window, "gridLegend")->text().contains("11:&nbsp;16.7&nbsp;%"));
    // Measured with the frame's 30 m cells: six cells are 0.54 ha.
    auto* panel = window.findChild<QDockWidget*>("metricsPanel");
    EXPECT_EQ(child<QDoubleSpinBox>(*panel, "metricsCellSize")->value(), 30.0);
    child<QComboBox>(*panel, "metricsLevel")->setCurrentIndex(2);
    const auto totalArea =
        panel->findChild<QTreeWidget*>()->findItems("ta", Qt::MatchExactly | Qt::MatchRecursive, 1).value(0);
    ASSERT_NE(totalArea, nullptr);
    EXPECT_EQ(totalArea->text(3), "0.54");

    const QRectF cells = cellsRect();
    const QImage shot = window.grab().toImage();
    auto colourAt = [&](int col, int row) {
        return shot.pixelColor(int(cells.x() + (col + 0.5) * cells.width() / 3),
                               int(cells.y() + (row + 0.5) * cells.height() / 2));
    };
    EXPECT_EQ(colourAt(0, 0), view->legend().front().colour);
    EXPECT_NE(colourAt(0, 1), colourAt(0, 0));
    EXPECT_EQ(colourAt(1, 0), colourAt(1, 1));

    const QString png = QString::fromStdString(dir.file("full.png"));
    ASSERT_EQ(window.exportPicture(png, true), QString());
    const QImage full(png);
    ASSERT_EQ(full.size(), QSize(3, 2)) << "one pixel a cell";
    EXPECT_EQ(full.pixelColor(0, 0), colourAt(0, 0));
    EXPECT_EQ(full.pixelColor(2, 1), colourAt(2, 1));
    const QString svg = QString::fromStdString(dir.file("shown.svg"));
    ASSERT_EQ(window.exportPicture(svg, false), QString());
    EXPECT_NE(readFile(svg.toStdString()).find("<svg"), std::string::npos);

    child<QAction>(window, "actionClearList")->trigger();
    EXPECT_FALSE(window.exportPicture(QString::fromStdString(dir.file("none.png")), true).isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.png"))) << "nothing to draw, nothing written";
}
