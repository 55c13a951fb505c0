#include "gui/MainWindow.h"
#include "core/io/MetricsCsv.h"
#include "core/metrics/LandscapeMetrics.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QDockWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <gtest/gtest.h>

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
    EXPECT_EQ(menus, (QStringList{"File", "Create", "Analyse", "Settings"}));
    auto texts = [&](const char* menu) {
        QStringList t;
        for (QAction* a : child<QMenu>(window, menu)->actions())
            t << a->objectName() + "=" + a->text();
        return t;
    };
    EXPECT_EQ(texts("menuOpen"), QStringList{"actionOpen=Open"});
    EXPECT_EQ(texts("menuCreate"),
              (QStringList{"actionSample=Sample", "actionRandom=Random", "actionFractal=Fractal"}));
    EXPECT_EQ(texts("menuConfigura_es"), QStringList{"actionParametros=Parameters"});
    EXPECT_EQ(window.findChild<QAction*>("actionOpen")->toolTip(), "Open directory");
    for (QAction* a : window.findChildren<QAction*>())
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
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
    EXPECT_EQ(listed(), (QStringList{a, a, b})) << "the same file twice is listed twice";
    EXPECT_EQ(window.fileNames, (QStringList{a, b}));

    answerFileDialog({});
    open->trigger();
    EXPECT_EQ(list->count(), 3) << "cancel leaves the list";
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
    QRect r = viewRect();
    auto cellColour = [&](int col, int row) {
        return shot.pixelColor(r.x() + (2 * col + 1) * r.width() / 6, r.y() + (2 * row + 1) * r.height() / 6);
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
    auto* frame = child<QFrame>(window, "frameView");
    // The frame paints its own border over the view, as a child widget does.
    const int border = frame->frameWidth();
    int notBlack = 0;
    for (int y = r.top() + border; y <= r.bottom() - border; ++y)
        for (int x = r.left() + border; x <= r.right() - border; ++x)
            notBlack += shot.pixelColor(x, y) != QColor(Qt::black);
    EXPECT_EQ(notBlack, 0) << "seven cells that do not divide the frame still leave no gap";
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
    auto* table = panel->findChild<QTableWidget*>();
    std::vector<orvalis::MetricValue> values;
    ASSERT_TRUE(orvalis::computeMetrics({{1, 0, 1}, {0, 1, 1}}, orvalis::MetricsOptions(), values));
    ASSERT_EQ(table->rowCount(), static_cast<int>(values.size()));
    const int last = table->rowCount() - 1;  // landscape division, the last row
    EXPECT_EQ(table->item(last, 0)->text(), "landscape");
    EXPECT_EQ(table->item(last, 1)->text(), "division");
    EXPECT_EQ(table->item(last, 2)->text().toStdString(), orvalis::formatMetricValue(values.back().value));
    select(QString::fromStdString(dir.file("missing.txt")));
    EXPECT_EQ(table->rowCount(), 0);
}
