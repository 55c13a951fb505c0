// The Map tab: a sampling run's windows over its map, and a click on an outline selecting the
// window's file in the list and drawing it.
#include "core/io/LandscapeFile.h"
#include "core/random/RandomSource.h"
#include "core/sampler/SampleRun.h"
#include "gui/MapTab.h"
#include "gui/MapView.h"
#include "support/MainWindowFixture.h"

#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

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
