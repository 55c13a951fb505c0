// Analyse → Moving-window surface: the engine's GeoTIFF written from the dialog's options and
// opened in the Map tab, one band at a time; faults named in the dialog before anything runs.
#include "core/surface/SurfaceRun.h"
#include "gui/MapTab.h"
#include "gui/MapView.h"
#include "gui/forms/DialogSurface.h"
#include "support/MainWindowFixture.h"
#include "support/TestMaps.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>

using namespace orvalis;
using namespace orvalis::test;

namespace {

struct SurfaceActionTest : MainWindowFixture {
    QString map;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window.resize(1100, 700);
        TestMap cover;
        cover.width = 60;
        cover.height = 50;
        cover.value = [](int x, int y) { return 1 + ((x / 4 + y / 3) % 3); };
        writeMap(dir.file("cover.tif"), cover);
        map = QString::fromStdString(dir.file("cover.tif"));
    }
};

TEST_F(SurfaceActionTest, WritesTheEngineSurfaceAndShowsEachBandOnTheRamp)
{
    QString suggested;
    whenModalShows<DialogSurface>([&](DialogSurface& dialog) {
        typeInto(child<QLineEdit>(dialog, "mapPath"), map);
        typeInto(child<QSpinBox>(dialog, "window"), "5");
        child<QListWidget>(dialog, "metricList")->findItems("pland", Qt::MatchExactly).first()->setCheckState(Qt::Checked);
        suggested = child<QLineEdit>(dialog, "outputPath")->text();
        clickButton(dialog, QDialogButtonBox::Ok);
    });
    MapView* view = window.mapTab().view();
    QSignalSpy loaded(view, &MapView::loaded);
    child<QAction>(window, "actionSurface")->trigger();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    EXPECT_EQ(suggested.toStdString(), dir.file("cover_surface.tif"));
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(), "Surface written to " + dir.file("cover_surface.tif") + ".");

    SurfaceParameters p;
    p.map = map.toStdString();
    p.window = 5;
    p.metrics.selection = *MetricSelection::parse({"pland", "shdi"}, {}, nullptr);
    p.output = dir.file("engine.tif");
    RunControl control;
    ASSERT_EQ(runSurface(p, control).status, RunStatus::Completed);
    EXPECT_EQ(readFile(dir.file("cover_surface.tif")), readFile(p.output)) << "the same bytes as the engine's";

    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_EQ(QFileInfo(view->scene().mapPath), QFileInfo(QString::fromStdString(dir.file("cover_surface.tif"))));
    EXPECT_TRUE(view->scene().overview.real);
    ASSERT_TRUE(view->scene().values.has_value());
    EXPECT_GE(view->scene().values->low, 0.0);
    EXPECT_LE(view->scene().values->high, 100.0);
    // pland of each class, then shdi: the choice names them and draws the one picked.
    QComboBox* bands = view->bandChoice();
    ASSERT_EQ(bands->count(), 4);
    EXPECT_FALSE(bands->isHidden());
    EXPECT_EQ(bands->itemText(3).toStdString(), "band 4: shdi");
    bands->setCurrentIndex(3);
    emit bands->activated(3);
    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_EQ(view->scene().band, 4);
    EXPECT_LE(view->scene().values->high, std::log2(3.0) + 1e-6) << "shdi of three classes";
}

TEST_F(SurfaceActionTest, RefusesFaultsBeforeRunning)
{
    bool checked = false;
    whenModalShows<DialogSurface>([&](DialogSurface& dialog) {
        typeInto(child<QLineEdit>(dialog, "mapPath"), map);
        typeInto(child<QSpinBox>(dialog, "window"), "4");
        clickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.problem().startsWith("The window must be an odd number")) << dialog.problem().toStdString();

        typeInto(child<QSpinBox>(dialog, "window"), "5");
        child<QListWidget>(dialog, "metricList")->findItems("shdi", Qt::MatchExactly).first()->setCheckState(Qt::Unchecked);
        clickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(dialog.problem().toStdString(), "Tick at least one metric.");

        child<QListWidget>(dialog, "metricList")->findItems("shdi", Qt::MatchExactly).first()->setCheckState(Qt::Checked);
        typeInto(child<QLineEdit>(dialog, "outputPath"), map);
        clickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(dialog.problem().startsWith("The surface would replace the map")) << dialog.problem().toStdString();
        EXPECT_TRUE(dialog.isVisible());
        checked = true;
        clickButton(dialog, QDialogButtonBox::Cancel);
    });
    child<QAction>(window, "actionSurface")->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(filesIn(dir.path()), 1u) << "only the map";
}

}  // namespace
