// File → Open Map on a real-valued raster (a moving-window surface): its values on the viridis
// ramp, no-data and NaN left transparent; a classified map keeps its class colours.
#include "gui/MapView.h"
#include "support/MainWindowFixture.h"
#include "support/NamedCase.h"

#include <QAction>
#include <QImage>
#include <QSignalSpy>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace orvalis::test;

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A pixel expected at a map cell: its colour, or nothing painted over the window's background.
struct CellColour {
    int column, row;
    std::optional<QRgb> colour;
};

struct MapCase : NamedCase {
    GDALDataType type;
    std::optional<double> noData;
    std::function<float(int, int)> value;
    std::vector<CellColour> expected;
};

void writeValues(const std::string& path, const MapCase& c)
{
    GDALAllRegister();
    GDALDataset* ds = GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), 30, 20, 1, c.type, nullptr);
    ASSERT_NE(ds, nullptr);
    double gt[6] = {1249665.0, 30.0, 0.0, 1260015.0, 0.0, -30.0};
    ds->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(5070);
    ds->SetSpatialRef(&srs);
    if (c.noData)
        ds->GetRasterBand(1)->SetNoDataValue(*c.noData);
    std::vector<float> cells;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            cells.push_back(c.value(x, y));
    ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 30, 20, cells.data(), 30, 20, GDT_Float32, 0, 0), CE_None);
    GDALClose(ds);
}

// Columns 0-9 hold the lowest value, 10-19 the middle one, 20-29 the highest; row 0 no data and row 1 NaN.
float surface(int x, int y)
{
    if (y == 0)
        return -9999.0f;
    if (y == 1)
        return NaN;
    return x < 10 ? -0.25f : x < 20 ? 0.5f : 1.25f;
}

class MapValues : public MainWindowFixture, public ::testing::WithParamInterface<MapCase> {};

TEST_P(MapValues, OpenMapDrawsEachCellInTheColourOfItsValue)
{
    const MapCase& c = GetParam();
    window.resize(1100, 700);
    writeValues(dir.file("map.tif"), c);
    MapView* view = child<MapView>(window, "mapView");
    QSignalSpy loaded(view, &MapView::loaded);
    answerFileDialog({QString::fromStdString(dir.file("map.tif"))});
    child<QAction>(window, "actionOpenMap")->trigger();
    ASSERT_TRUE(loaded.wait(10000));
    ASSERT_TRUE(view->scene().error.isEmpty()) << view->scene().error.toStdString();
    QApplication::processEvents();

    const QImage shown = view->grab().toImage();
    const QRgb background = view->palette().window().color().rgb();
    for (const CellColour& e : c.expected) {
        const QPoint at = view->widgetPoint(QPointF(e.column + 0.5, e.row + 0.5)).toPoint();
        const QRgb got = shown.pixel(at);
        const QRgb want = e.colour.value_or(background);
        SCOPED_TRACE(testing::Message() << "column " << e.column << ", row " << e.row);
        EXPECT_NEAR(qRed(got), qRed(want), 2);
        EXPECT_NEAR(qGreen(got), qGreen(want), 2);
        EXPECT_NEAR(qBlue(got), qBlue(want), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MapTab, MapValues,
    ::testing::Values(
        // viridis at 0, 1/2 and 1
        MapCase{{"Float32Surface"},
                GDT_Float32,
                -9999.0,
                surface,
                {{5, 8, 0xFF440154}, {15, 8, 0xFF21918C}, {25, 8, 0xFFFDE725}, {15, 0, {}}, {25, 1, {}}}},
        MapCase{{"Float64WithoutNoData"},
                GDT_Float64,
                std::nullopt,
                [](int x, int y) { return y == 1 ? NaN : x < 15 ? 3.0f : 40.0f; },
                {{5, 5, 0xFF440154}, {25, 5, 0xFFFDE725}, {5, 1, {}}}},
        // NLCD's legend, as classified maps were drawn before
        MapCase{{"ByteClasses"},
                GDT_Byte,
                std::nullopt,
                [](int x, int) { return x < 15 ? 41.0f : 82.0f; },
                {{5, 5, 0xFF68AB5F}, {25, 5, 0xFFAB6C28}}}),
    CaseName());

}  // namespace
