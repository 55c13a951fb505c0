// The Map tab: a sampling run's windows over its map, and a click on an outline selecting the
// window's file in the list and drawing it.
#include "core/io/LandscapeFile.h"
#include "core/io/LandscapeWriter.h"
#include "core/random/RandomSource.h"
#include "core/sampler/SampleRun.h"
#include "gui/GridView.h"
#include "gui/MapTab.h"
#include "gui/MapView.h"
#include "support/MainWindowFixture.h"
#include "support/TestMaps.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QImage>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include <sys/stat.h>

using namespace orvalis;
using namespace orvalis::test;

namespace {

struct MapTabTest : MainWindowFixture {
    MapView* view = nullptr;
    QString tga;
    QString log;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window.resize(1100, 700);
        view = child<MapView>(window, "mapView");
        tga = QString::fromStdString(sourceDir() + "/examples/augusta_forest.tga");
        // A folder with a blank and accents: the log names its windows with it.
        std::filesystem::create_directories("janelas ção");
        SampleParameters p;
        p.image = tga.toStdString();
        p.folder = "janelas ção";
        p.windowSize = 50;
        p.cover = {10, 90, 20};
        RandomSource random(5);
        RunControl control;
        ASSERT_EQ(runSample(p, random, control).status, RunStatus::Completed);
        log = QFileInfo(QStringLiteral("sample.txt")).absoluteFilePath();
    }

    void showRun()
    {
        QSignalSpy loaded(view, &MapView::loaded);
        window.mapTab().showRun(tga, log);
        ASSERT_TRUE(loaded.wait(10000));
        QApplication::processEvents();
    }

    // A window whose centre lies in no other outline, so that a click there can only mean it.
    int loneWindow() const
    {
        for (int k = 0; k < view->scene().windows.size(); ++k)
            if (view->windowAt(view->widgetPoint(view->scene().windows[k].cells.center())) == k)
                return k;
        return -1;
    }

    void clickWindow(int k)
    {
        QTest::mouseClick(view, Qt::LeftButton, {}, view->widgetPoint(view->scene().windows[k].cells.center()).toPoint());
    }
};

}  // namespace

TEST_F(MapTabTest, ClickingAnOutlineSelectsAndDrawsItsWindowWhileTheMapStays)
{
    showRun();
    auto* tabs = child<QTabWidget>(window, "viewTabs");
    EXPECT_EQ(tabs->currentWidget(), view);
    EXPECT_TRUE(view->scene().error.isEmpty()) << view->scene().error.toStdString();
    EXPECT_TRUE(view->scene().problems.isEmpty());
    ASSERT_GE(view->scene().windows.size(), 3);
    EXPECT_EQ(QFileInfo(MapTab::rememberedMap(log)), QFileInfo(tga));

    const int k = loneWindow();
    ASSERT_GE(k, 0);
    const QString file = view->scene().windows[k].path;
    clickWindow(k);
    // The list showed nothing: the run's windows join it and the clicked one is selected.
    EXPECT_EQ(list->count(), view->scene().windows.size());
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->data(Qt::UserRole).toString(), file);
    LandscapeGrid expected;
    ASSERT_TRUE(readLandscapeFile(file.toStdString(), expected).ok);
    EXPECT_EQ(window.grid(), expected);
    EXPECT_EQ(view->selectedWindow(), k);
    EXPECT_EQ(tabs->currentWidget(), view);

    // File → Export Picture takes the map tab as shown or at the overview's resolution.
    const QString png = QString::fromStdString(dir.file("map.png"));
    ASSERT_EQ(window.exportPicture(png, true), QString());
    EXPECT_EQ(QImage(png).size(), QSize(678, 440));
    ASSERT_EQ(window.exportPicture(png, false), QString());
    EXPECT_EQ(QImage(png).size(), view->size());
}

TEST_F(MapTabTest, ClickingFindsAListedFileByItsText)
{
    showRun();
    QStringList names;
    for (const MapWindowMark& w : view->scene().windows)
        names << w.path;
    list->insertItems(0, names);
    const int k = loneWindow();
    ASSERT_GE(k, 0);
    clickWindow(k);
    EXPECT_EQ(list->count(), names.size());
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(), view->scene().windows[k].path);
    // A click beside every window selects nothing new; a file chosen in the list is marked on the map.
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(list->currentItem()->text(), view->scene().windows[k].path);
    const int other = k == 0 ? 1 : 0;
    list->setCurrentItem(list->findItems(view->scene().windows[other].path, Qt::MatchExactly).value(0));
    EXPECT_EQ(view->selectedWindow(), other);
}

TEST_F(MapTabTest, WheelZoomsAboutThePointerDragPansAndZeroFits)
{
    showRun();
    const QPointF corner = view->widgetPoint({0, 0});
    const QPointF far = view->widgetPoint({678, 440});
    // Fitted: square cells, the map centred in the view.
    EXPECT_NEAR((far - corner).x() / 678, (far - corner).y() / 440, 1e-9);
    EXPECT_NEAR(corner.x() + far.x(), view->width(), 1);
    EXPECT_NEAR(corner.y() + far.y(), view->height(), 1);

    const QPointF cell(300, 200);
    const QPointF at = view->widgetPoint(cell);
    QWheelEvent wheel(at, view->mapToGlobal(at), {}, {0, 240}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_GT(view->widgetPoint({678, 440}).x() - view->widgetPoint({0, 0}).x(), (far - corner).x() * 1.5);
    EXPECT_NEAR(view->widgetPoint(cell).x(), at.x(), 1e-6);
    EXPECT_NEAR(view->widgetPoint(cell).y(), at.y(), 1e-6);

    const QPoint from = at.toPoint(), to = from + QPoint(40, -25);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    EXPECT_NEAR(view->widgetPoint(cell).x(), at.x() + 40, 1e-6);
    EXPECT_NEAR(view->widgetPoint(cell).y(), at.y() - 25, 1e-6);
    EXPECT_EQ(list->count(), 0);  // a drag is no click

    QTest::keyClick(view, Qt::Key_0);
    EXPECT_NEAR(view->widgetPoint({0, 0}).x(), corner.x(), 1e-6);
    EXPECT_NEAR(view->widgetPoint({0, 0}).y(), corner.y(), 1e-6);
}

// The bundled image stores its rows south first: a window cut from it, drawn in the Grid tab,
// lies north-up cell for cell as it does under its outline on the map, and the map's tooltip
// counts its rows from the north. The file itself keeps the sampler's order.
TEST_F(MapTabTest, TgaWindowInTheGridTabLiesNorthUpAsOnTheMap)
{
    showRun();
    ASSERT_TRUE(view->scene().overview.firstRowSouth);
    const int k = loneWindow();
    ASSERT_GE(k, 0);
    const MapWindowMark w = view->scene().windows[k];  // a copy: another map replaces the scene below
    EXPECT_GE(w.row, static_cast<qint64>(w.cells.top()));
    EXPECT_LT(w.row, static_cast<qint64>(w.cells.bottom()));
    EXPECT_EQ(w.row, 439 - w.y);
    clickWindow(k);
    auto* grid = child<::GridView>(window, "frameView");
    child<QTabWidget>(window, "viewTabs")->setCurrentWidget(grid->parentWidget());
    QApplication::processEvents();
    EXPECT_TRUE(grid->rowsFromSouth());
    const int side = static_cast<int>(w.cells.width());
    ASSERT_EQ(grid->rows(), side);
    ASSERT_EQ(grid->columns(), side);
    const orvalis::MapOverview& map = view->scene().overview;
    const QRectF drawn = grid->gridRect();
    const double cell = grid->cellPixels();
    int differences = 0;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const auto at = grid->cellAt(drawn.topLeft() + QPointF((c + 0.5) * cell, (r + 0.5) * cell));
            ASSERT_TRUE(at.has_value());
            ASSERT_EQ(at->row, r);
            const int onMap = map.at(static_cast<int>(w.cells.left()) + c, static_cast<int>(w.cells.top()) + r);
            differences += (at->value == 1) != (onMap == 1);
        }
    EXPECT_EQ(differences, 0);
    // Another map on view: the window's folder is remembered as holding south-first windows.
    QSignalSpy loaded(view, &MapView::loaded);
    window.mapTab().showMapFile(QString::fromStdString(sourceDir() + "/examples/augusta_nlcd.tif"));
    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_TRUE(window.mapTab().rowsFromSouth(w.path));
    // A text grid of no run is drawn as its lines say.
    ASSERT_TRUE(writeLandscapeFile(dir.file("own.txt"), LandscapeGrid{{0, 1}, {1, 1}}));
    window.openFiles({QString::fromStdString(dir.file("own.txt"))});
    EXPECT_FALSE(grid->rowsFromSouth());
}

// File → Open Sample Log takes the map from the run's record, without asking, and the windows
// of a map run are measured with the record's cell side.
TEST_F(MapTabTest, OpenSampleLogTakesTheMapAndCellSideOfTheRunsRecord)
{
    std::filesystem::create_directories("nlcd windows");
    SampleParameters p;
    p.image = sourceDir() + "/examples/augusta_nlcd.tif";
    p.folder = "nlcd windows";
    p.windowSize = 40;
    p.cover = {20, 80, 30};
    p.habitatClasses = "41-43";
    p.format = WindowFormat::Txt;
    p.cellSize = 30;
    RandomSource random(9);
    RunControl control;
    ASSERT_EQ(runSample(p, random, control).status, RunStatus::Completed);
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral("sample-run.txt")));
    QSettings().remove(QStringLiteral("mapOfSampleLog"));
    QSignalSpy loaded(view, &MapView::loaded);
    window.mapTab().openSampleLog(log);
    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_EQ(QFileInfo(view->scene().mapPath).canonicalFilePath(),
              QFileInfo(QString::fromStdString(p.image.string())).canonicalFilePath());
    ASSERT_FALSE(view->scene().windows.isEmpty());
    EXPECT_TRUE(view->scene().problems.isEmpty()) << view->scene().problems.join('\n').toStdString();
    EXPECT_FALSE(window.mapTab().rowsFromSouth(view->scene().windows[0].path));
    const int k = loneWindow();
    ASSERT_GE(k, 0);
    clickWindow(k);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(window, "metricsCellSize")->value(), 30);
}

// A FIFO as map, log or listed file is refused at once with a message; nothing waits on it.
TEST_F(MapTabTest, SpecialFilesAreRefusedAtOnce)
{
    for (const char* name : {"pipe.tif", "pipe.txt", "pipe-sample.txt"})
        ASSERT_EQ(mkfifo(dir.file(name).c_str(), 0600), 0);
    const auto fifo = [&](const char* name) { return QString::fromStdString(dir.file(name)); };
    window.mapTab().showMapFile(fifo("pipe.tif"));
    ASSERT_FALSE(window.reportedProblems().isEmpty());
    EXPECT_TRUE(window.reportedProblems().last().contains(QStringLiteral("not a regular file")));
    window.mapTab().openSampleLog(fifo("pipe-sample.txt"));
    EXPECT_EQ(window.reportedProblems().size(), 2);
    EXPECT_TRUE(window.reportedProblems().last().contains(QStringLiteral("not a regular file")));
    window.openFiles({fifo("pipe.txt")});
    EXPECT_TRUE(window.statusBar()->currentMessage().contains(QStringLiteral("not a regular file")))
        << window.statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(window.grid().empty());
}

namespace {

struct MapViewFixture : ::testing::Test {
    TempDir dir;
    MapView view;

    void SetUp() override
    {
        view.resize(800, 600);
        view.show();
    }
    void show(const std::string& path)
    {
        QSignalSpy loaded(&view, &MapView::loaded);
        view.showMap(QString::fromStdString(path));
        ASSERT_TRUE(loaded.wait(10000));
        ASSERT_TRUE(view.scene().error.isEmpty()) << view.scene().error.toStdString();
    }
    const MapClassEntry* entry(qint64 value) const
    {
        for (const MapClassEntry& c : view.scene().classes)
            if (c.value == value)
                return &c;
        return nullptr;
    }
};

}  // namespace

// NLCD: classes named and shared out, the cell and its map coordinates under the pointer, and a
// scale bar as long as the length it names.
TEST_F(MapViewFixture, NlcdMapHasItsLegendPointerReadoutAndScaleBar)
{
    show(sourceDir() + "/examples/augusta_nlcd.tif");
    const MapClassEntry* deciduous = entry(41);
    ASSERT_NE(deciduous, nullptr);
    EXPECT_EQ(deciduous->name, QStringLiteral("Deciduous Forest"));
    EXPECT_EQ(deciduous->colour, 0xFF68AB5Fu);
    double total = 0;
    for (const MapClassEntry& c : view.scene().classes)
        total += c.percent;
    EXPECT_NEAR(total, 100, 1e-6);
    for (qsizetype k = 1; k < view.scene().classes.size(); ++k)
        EXPECT_GE(view.scene().classes[k - 1].percent, view.scene().classes[k].percent);

    const QString text = view.pointerText(view.widgetPoint({10.5, 20.5}));
    EXPECT_TRUE(text.contains(QStringLiteral("row 21, column 11"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLocale().toString(1249665 + 10.5 * 30, 'f', 2))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLocale().toString(1260015 - 20.5 * 30, 'f', 2))) << text.toStdString();
    EXPECT_TRUE(view.pointerText(view.widgetPoint({-1, 5})).isEmpty());
    EXPECT_NEAR(view.cellPixels().width(), view.cellPixels().height(), 1e-9);

    const auto bar = view.scaleBar(150);
    ASSERT_TRUE(bar.has_value());
    EXPECT_LE(bar->first, 150);
    EXPECT_GT(bar->first, 150 / 5.0 - 1e-9);
    const QString label = bar->second;
    const bool km = label.endsWith(QStringLiteral(" km"));
    const double metres = QLocale().toDouble(label.section(QLatin1Char(' '), 0, 0)) * (km ? 1000 : 1);
    EXPECT_NEAR(bar->first / view.cellPixels().height() * 30, metres, 1e-6) << label.toStdString();
}

// A map in degrees: cells as wide as a degree of longitude is at the map's latitude, no scale bar;
// the band's colour table and category names make the legend.
TEST_F(MapViewFixture, DegreesMapHasCellsOfTheirTrueShapeAndItsOwnCategories)
{
    TestMap m;
    m.width = 200;
    m.height = 100;
    m.value = [](int x, int) { return x < 120 ? 1 : 2; };
    m.gt = {10.0, 0.01, 0.0, 61.0, 0.0, -0.01};
    m.epsg = 4326;
    const std::string path = dir.file("degrees.tif");
    writeMap(path, m);
    {
        GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE);
        ASSERT_NE(ds, nullptr);
        GDALColorTable table;
        const GDALColorEntry none{0, 0, 0, 0}, wet{20, 40, 200, 255}, dry{200, 180, 40, 255};
        table.SetColorEntry(0, &none);
        table.SetColorEntry(1, &wet);
        table.SetColorEntry(2, &dry);
        ds->GetRasterBand(1)->SetColorTable(&table);
        const char* names[] = {"", "Wetland", "Heath", nullptr};
        ds->GetRasterBand(1)->SetCategoryNames(const_cast<char**>(names));
        GDALClose(ds);
    }
    show(path);
    EXPECT_NEAR(view.cellPixels().width() / view.cellPixels().height(), std::cos(60.5 * M_PI / 180), 1e-9);
    EXPECT_FALSE(view.scaleBar(150).has_value());
    ASSERT_NE(entry(1), nullptr);
    EXPECT_EQ(entry(1)->name, QStringLiteral("Wetland"));
    EXPECT_EQ(entry(1)->colour, qRgba(20, 40, 200, 255));
    EXPECT_EQ(entry(2)->name, QStringLiteral("Heath"));
    EXPECT_NEAR(entry(1)->percent, 60, 1e-9);
    EXPECT_TRUE(view.pointerText(view.widgetPoint({5.5, 5.5})).contains(QStringLiteral("latitude")));
    // Without a coordinate system the frame's unit is unknown: square cells, no scale bar.
    m.epsg = 0;
    m.gt = {0.0, 30.0, 0.0, 0.0, 0.0, -30.0};
    writeMap(dir.file("plain.tif"), m);
    show(dir.file("plain.tif"));
    EXPECT_NEAR(view.cellPixels().width(), view.cellPixels().height(), 1e-9);
    EXPECT_FALSE(view.scaleBar(150).has_value());
    EXPECT_TRUE(entry(1)->name.isEmpty());
}

// Stop reading ends a slow read at once: the view says so, and the window reports no problem.
TEST_F(MapTabTest, StopReadingEndsASlowReadWithoutAProblem)
{
    const std::string huge = dir.file("huge.tif");
    writeSparseMap(huge, 400'000, 256, 10, 10);
    auto* stop = child<QPushButton>(*view, "mapStopReading");
    QSignalSpy loaded(view, &MapView::loaded);
    window.mapTab().showMapFile(QString::fromStdString(huge));
    EXPECT_TRUE(view->loading());
    EXPECT_TRUE(stop->isVisible());
    QTest::mouseClick(stop, Qt::LeftButton);
    ASSERT_TRUE(loaded.wait(20000));
    EXPECT_TRUE(view->scene().stopped);
    EXPECT_FALSE(view->loading());
    EXPECT_FALSE(stop->isVisible());
    EXPECT_TRUE(window.reportedProblems().isEmpty());
}

// Outlines take the strong colour farthest from the classes that cover the map.
TEST(MapOutline, StandsApartFromTheMapsMainColours)
{
    const auto classesOf = [](std::initializer_list<QRgb> colours) {
        QList<MapClassEntry> classes;
        for (QRgb c : colours)
            classes.append({0, c, {}, 100.0 / static_cast<double>(colours.size())});
        return classes;
    };
    EXPECT_NE(outlineColour(classesOf({0xffff00ff})).rgb(), 0xffff00ffu);
    EXPECT_NE(outlineColour(classesOf({0xff00ffff, 0xffff00ff})).rgb(), 0xff00ffffu);
    EXPECT_NE(outlineColour(classesOf({0xff00ffff, 0xffff00ff})).rgb(), 0xffff00ffu);
    // A class too small to see does not steer the choice.
    QList<MapClassEntry> tiny = classesOf({0xff000000});
    tiny.append({1, 0xffff00ff, {}, 0.2});
    EXPECT_EQ(outlineColour(tiny).rgb(), outlineColour(classesOf({0xff000000})).rgb());
}
