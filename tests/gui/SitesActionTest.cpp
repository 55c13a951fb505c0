// Analyse → Metrics around sites: the dialog's checks, the table the engine gives written whole
// under its name (or nothing on Cancel), the results view and the sites on the Map tab.
#include "core/map/RasterWindows.h"
#include "core/sites/SiteMetrics.h"
#include "gui/MapTab.h"
#include "gui/MapView.h"
#include "gui/MetricsPanel.h"
#include "gui/SitesResultsView.h"
#include "gui/SitesTable.h"
#include "gui/forms/DialogSites.h"
#include "support/MainWindowFixture.h"
#include "support/TestMaps.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>

using namespace orvalis;
using namespace orvalis::test;

namespace {

// Classes 1..3 in stripes and blocks, so that every buffer holds several patches.
int stripes(int x, int y)
{
    return 1 + ((x / 7 + y / 5) % 3);
}

struct SitesActionTest : MainWindowFixture {
    QString map, sites;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window.resize(1100, 700);
        TestMap cover;
        cover.width = 120;
        cover.height = 100;
        cover.value = stripes;
        writeMap(dir.file("cover.tif"), cover);
        map = QString::fromStdString(dir.file("cover.tif"));
        // The map spans x 1249665..1253265 and y 1257015..1260015; "S 2, north" reaches past its
        // edge at 600 m and "far" lies outside it.
        writeFile(dir.file("plots.csv"), "site,x,y\n"
                                         "S1,1251465,1258515\n"
                                         "\"S 2, north\",1250500,1259500\n"
                                         "far,1240000,1250000\n"
                                         "S3,1252800,1257600\n");
        sites = QString::fromStdString(dir.file("plots.csv"));
    }

    SitesResultsView* results() { return window.findChild<SitesResultsView*>("sitesResults"); }

    // Fills the dialog as a user does; metrics empty keeps the standard set.
    static void fill(DialogSites& dialog, const QString& mapPath, const QString& sitesPath, const QString& radii,
                     const QStringList& metrics)
    {
        typeInto(child<QLineEdit>(dialog, "mapPath"), mapPath);
        typeInto(child<QLineEdit>(dialog, "sitesPath"), sitesPath);
        typeInto(child<QLineEdit>(dialog, "radii"), radii);
        if (!metrics.isEmpty()) {
            child<QRadioButton>(dialog, "chosenMetrics")->click();
            auto* list = child<QListWidget>(dialog, "metricList");
            for (const QString& m : metrics)
                list->findItems(m, Qt::MatchExactly).first()->setCheckState(Qt::Checked);
        }
    }

    // What measureSites gives for the same sites and options, with its header.
    std::string tableOfEngine(const std::vector<double>& radii, const std::vector<std::string>& metrics)
    {
        SiteMetricsParameters p;
        p.map = map.toStdString();
        p.radii = radii;
        p.metrics.selection = *MetricSelection::parse(metrics, {}, nullptr);
        RasterWindows raster;
        EXPECT_TRUE(raster.open(p.map, 1, {}, nullptr));
        std::vector<std::string> warnings;
        SiteListError error;
        EXPECT_TRUE(readSiteList(sites.toStdString(), {{}, {}, {}, {}, raster.wkt()}, p.sites, warnings, error));
        std::string table = sitesCsvHeader();
        RunControl control;
        EXPECT_TRUE(measureSites(p, [&](std::size_t, SiteResult&& r) { table += r.rows; }, control, nullptr));
        return table;
    }
};

TEST_F(SitesActionTest, WritesTheEngineTableShowsItAndDrawsTheSitesOnTheMeasuredMap)
{
    QString suggested;
    whenModalShows<DialogSites>([&](DialogSites& dialog) {
        fill(dialog, map, sites, "150, 600", {"pland", "np", "ed"});
        suggested = child<QLineEdit>(dialog, "outputPath")->text();
        clickButton(dialog, QDialogButtonBox::Ok);
    });
    QSignalSpy loaded(window.mapTab().view(), &MapView::loaded);
    child<QAction>(window, "actionSites")->trigger();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    const std::string table = dir.file("plots_metrics.csv");
    EXPECT_EQ(suggested.toStdString(), table) << "NAME_metrics.csv beside the sites";
    const std::string written = readFile(table);
    EXPECT_EQ(written, tableOfEngine({150, 600}, {"pland", "np", "ed"}));
    EXPECT_NE(written.find("\"S 2, north\",600,landscape,,,coverage,"), std::string::npos) << written;
    EXPECT_EQ(filesIn(dir.path()), 3u) << "no hidden file left beside the table";
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Sites: 3 of 4 measured at 2 radii"))
        << window.statusBar()->currentMessage().toStdString();

    SitesResultsView* view = results();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    SitesTable* model = view->table();
    ASSERT_EQ(model->rowCount(), static_cast<int>(std::count(written.begin(), written.end(), '\n')) - 1);
    const QStringList notes = itemTexts(*view->notes());
    EXPECT_EQ(notes.filter("site far not measured: it lies outside the map").size(), 1) << notes.join("\n").toStdString();
    EXPECT_EQ(notes.filter("site S 2, north: the 600 buffer reaches past the map's edge").size(), 1)
        << notes.join("\n").toStdString();

    // Sorting by value puts numbers in numeric order; the tooltip keeps every digit.
    view->view()->sortByColumn(SitesTable::Value, Qt::DescendingOrder);
    const SiteRow& top = model->rowAt(0);
    for (int r = 1; r < model->rowCount(); ++r) {
        if (model->rowAt(r).value) {
            ASSERT_LE(*model->rowAt(r).value, *top.value) << r;
        }
    }
    const QModelIndex topValue = model->index(0, SitesTable::Value);
    EXPECT_EQ(model->data(topValue).toString(), MetricsPanel::roundedText(*top.value));
    EXPECT_EQ(model->data(topValue, Qt::ToolTipRole).toString().toDouble(), *top.value);

    // Export writes the table as the run did, whatever the order shown.
    QString error;
    const QString copy = QString::fromStdString(dir.file("copy.csv"));
    ASSERT_TRUE(view->exportTable(copy, &error)) << error.toStdString();
    EXPECT_EQ(readFile(copy.toStdString()), written);

    // The map measured is opened in the Map tab with the three sites that have coordinates on it.
    MapView* mapView = window.mapTab().view();
    if (mapView->loading()) {
        ASSERT_TRUE(loaded.wait(10000));
    }
    EXPECT_EQ(child<QTabWidget>(window, "viewTabs")->currentWidget(), mapView);
    EXPECT_EQ(QFileInfo(mapView->scene().mapPath), QFileInfo(map));
    ASSERT_EQ(mapView->sites().sites.size(), 4);
    EXPECT_EQ(mapView->sites().radius, 600);
    // S1 lies at column 60, row 50: hovering there finds it.
    const QPointF s1 = mapView->widgetPoint({60, 50});
    EXPECT_EQ(mapView->siteAt(s1 + QPointF(2, -2)), 0);
    EXPECT_EQ(mapView->sites().sites[0].id, "S1");
    EXPECT_EQ(mapView->siteAt(mapView->widgetPoint({5, 95})), -1);
    const QRectF buffer = mapView->sites().bufferCells(mapView->sites().sites[0]);
    EXPECT_DOUBLE_EQ(buffer.width(), 40.0) << "600 m either side in 30 m cells";
    EXPECT_EQ(buffer.center(), QPointF(60, 50));
}

TEST_F(SitesActionTest, CancelLeavesNoTable)
{
    // Enough sites, each with a wide buffer, that only Cancel ends the run within the test.
    std::string many = "id,x,y\n";
    for (int k = 0; k < 4000; ++k)
        many += std::to_string(k) + "," + std::to_string(1249700 + (k * 37) % 3500) + "," +
                std::to_string(1257050 + (k * 53) % 2900) + "\n";
    writeFile(sites.toStdString(), many);
    whenModalShows<DialogSites>([&](DialogSites& dialog) {
        fill(dialog, map, sites, "900, 1500", {});
        clickButton(dialog, QDialogButtonBox::Ok);
    });
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible() && progress->value() > 0)
                progress->cancel();
    });
    cancel.start(20);
    child<QAction>(window, "actionSites")->trigger();
    cancel.stop();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    EXPECT_EQ(window.statusBar()->currentMessage().toStdString(), "Sites cancelled: no table was written.");
    EXPECT_FALSE(std::filesystem::exists(dir.file("plots_metrics.csv")));
    EXPECT_EQ(filesIn(dir.path()), 2u) << "only the map and the sites";
    EXPECT_EQ(results(), nullptr);
    EXPECT_TRUE(window.mapTab().view()->sites().sites.isEmpty());
}

struct Refusal {
    const char* name;
    QString map, sites, radii, habitat, table;
    const char* says;
};

// Each fault is named in the dialog, which stays open; nothing is written.
TEST_F(SitesActionTest, RefusesFaultsBeforeRunning)
{
    const QString csv = QString::fromStdString(dir.file("sites_metrics.csv"));
    const QString readme = QString::fromStdString(sourceDir() + "/README.md");
    const std::vector<Refusal> cases = {
        {"no map", "", sites, "250", "", csv, "Choose the land-cover map"},
        {"radius 0", map, sites, "250, 0", "", csv, "Radii: a radius must be above 0, not 0."},
        {"radius not a number", map, sites, "250 m", "", csv, "Radii: the radius 'm' is not a number."},
        {"no radius", map, sites, " , ", "", csv, "Radii: give at least one radius"},
        {"habitat", map, sites, "250", "41-", csv, "Habitat classes: "},
        {"table is the sites file", map, sites, "250", "", sites, "The table would replace "},
        {"table in no folder", map, sites, "250", "", QString::fromStdString(dir.file("none/t.csv")), "The table's folder "},
        {"map not a raster", readme, sites, "250", "", csv, "The map "},
    };
    bool checked = false;
    whenModalShows<DialogSites>([&](DialogSites& dialog) {
        for (const Refusal& c : cases) {
            SCOPED_TRACE(c.name);
            fill(dialog, c.map, c.sites, c.radii, {});
            typeInto(child<QLineEdit>(dialog, "habitat"), c.habitat);
            typeInto(child<QLineEdit>(dialog, "outputPath"), c.table);
            clickButton(dialog, QDialogButtonBox::Ok);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_TRUE(dialog.problem().startsWith(c.says)) << dialog.problem().toStdString();
        }
        checked = true;
        clickButton(dialog, QDialogButtonBox::Cancel);
    });
    child<QAction>(window, "actionSites")->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(filesIn(dir.path()), 2u);
    EXPECT_EQ(results(), nullptr);
}

}  // namespace
