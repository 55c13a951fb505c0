#include "core/map/HabitatClasses.h"
#include "gui/forms/DialogSample.h"
#include "support/TempDir.h"
#include "support/WidgetHelpers.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gdal_priv.h>
#include <gtest/gtest.h>

#include <map>

using namespace orvalis::test;

namespace {

TEST(DialogSample, FormAsUsersKnowIt)
{
    DialogSample d;
    EXPECT_EQ(d.windowTitle(), "Sampler settings");
    EXPECT_EQ(d.size(), QSize(642, 300));
    expectSpinFields(d, {
        {"Tam", "label_5", "Size", 2, 9999999, 100},
        {"amo", "label_4", "Number os replicates", 1, 999999, 1},
        {"distMin", "label_9", "Minimum distance between replicates", 0, 9999999, 10},
        {"Ci", "label", "Cover min", 0, 99, 1},
        {"Cf", "label_2", "Cover max", 1, 100, 100},
        {"Cp", "label_3", "Step change in cover", 1, 100, 1},
        {"nArq", "label_7", "TOTAL NUMBER OF FILES GENERATED", 0, 999999999, 100},
    });
    expectTotalField(d, "nArq");
    EXPECT_EQ(child<QLabel>(d, "label_8")->text(), "Figure File");
    EXPECT_EQ(child<QLabel>(d, "label_6")->text(), "Folder");
    EXPECT_EQ(child<QPushButton>(d, "pushButtonImage")->text(), "...");
    EXPECT_EQ(child<QPushButton>(d, "pushButton")->text(), "...");
    EXPECT_TRUE(child<QLineEdit>(d, "image")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(d, "path")->text().isEmpty());
    EXPECT_EQ(d.windowSize(), 100);
    EXPECT_EQ(d.replicates(), 1);
    EXPECT_EQ(d.minDistance(), 10);
    EXPECT_EQ(d.coverMin(), 1);
    EXPECT_EQ(d.coverMax(), 100);
    EXPECT_EQ(d.coverStep(), 1);
}

TEST(DialogSample, TotalDividesBeforeMultiplying)
{
    struct Case {
        const char* name;
        int ci, cf, cp, amo, total;
    } cases[] = {
        {"ten to fifty by ten, three replicates", 10, 50, 10, 3, 15},
        {"five to fifty by ten shows 15 where the run asks 16", 5, 50, 10, 3, 15},
        {"min above max shows zero", 99, 1, 1, 1, 0},
        {"whole range by one, 999999 replicates", 0, 100, 1, 999999, 101 * 999999},
        {"single level", 40, 40, 7, 2, 2},
    };
    for (const Case& c : cases) {
        DialogSample d;
        child<QSpinBox>(d, "Cp")->setValue(c.cp);
        child<QSpinBox>(d, "Ci")->setValue(c.ci);
        child<QSpinBox>(d, "Cf")->setValue(c.cf);
        child<QSpinBox>(d, "amo")->setValue(c.amo);
        EXPECT_EQ(child<QSpinBox>(d, "nArq")->value(), c.total) << c.name;
    }
}

TEST(DialogSample, SizeAndDistanceLeaveTheTotalAlone)
{
    DialogSample d;
    child<QSpinBox>(d, "amo")->setValue(2);
    child<QSpinBox>(d, "Tam")->setValue(333);
    child<QSpinBox>(d, "distMin")->setValue(77);
    EXPECT_EQ(child<QSpinBox>(d, "nArq")->value(), 200);
    EXPECT_EQ(d.windowSize(), 333);
    EXPECT_EQ(d.minDistance(), 77);
}

TEST(DialogSample, CancellingAChooserEmptiesItsField)
{
    DialogSample d;
    d.show();
    for (const auto& [button, field] : {std::pair{"pushButton", "path"}, std::pair{"pushButtonImage", "image"}}) {
        child<QLineEdit>(d, field)->setText("/somewhere/kept");
        cancelNextFileDialog();
        QTest::mouseClick(child<QPushButton>(d, button), Qt::LeftButton);
        EXPECT_TRUE(child<QLineEdit>(d, field)->text().isEmpty()) << field;
    }
}

using ClassCells = std::map<std::int64_t, std::uint64_t>;

// Every cell of a band read at once and counted, no-data left out: the slow, plain count.
ClassCells plainCounts(const std::string& path, int bandNumber)
{
    GDALAllRegister();
    const GDALDatasetUniquePtr map(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    EXPECT_TRUE(map) << path;
    if (!map)
        return {};
    GDALRasterBand* band = map->GetRasterBand(bandNumber);
    const int w = band->GetXSize(), h = band->GetYSize();
    std::vector<std::int64_t> cells(static_cast<std::size_t>(w) * h);
    EXPECT_EQ(band->RasterIO(GF_Read, 0, 0, w, h, cells.data(), w, h, GDT_Int64, 0, 0, nullptr), CE_None);
    int hasNoData = 0;
    const double noData = band->GetNoDataValue(&hasNoData);
    ClassCells counts;
    for (std::int64_t v : cells)
        if (!hasNoData || static_cast<double>(v) != noData)
            ++counts[v];
    return counts;
}

// The class list as the user reads it: class, cells, share, and the tick.
ClassCells listedCounts(DialogSample& d, std::vector<std::int64_t>* ticked = nullptr)
{
    ClassCells counts;
    auto* list = child<QTreeWidget>(d, "mapClasses");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        const std::int64_t value = QLocale().toLongLong(item->text(0));
        counts[value] = QLocale().toULongLong(item->text(1));
        if (ticked && item->checkState(0) == Qt::Checked)
            ticked->push_back(value);
    }
    return counts;
}

bool waitForClasses(DialogSample& d)
{
    return QTest::qWaitFor([&] { return child<QTreeWidget>(d, "mapClasses")->topLevelItemCount() > 0; }, 10000);
}

QString exampleFile(const char* name)
{
    return QString::fromStdString(sourceDir() + "/examples/" + name);
}

void chooseImage(DialogSample& d, const QString& file)
{
    // The chooser would wait on its "file not found" box.
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    answerFileDialog({file});
    QTest::mouseClick(child<QPushButton>(d, "pushButtonImage"), Qt::LeftButton);
}

TEST(DialogSample, AMapShowsItsFieldsAndClassesATgaHidesThem)
{
    DialogSample d;
    d.show();
    const QSize tgaSize = d.size();
    auto* mapFields = child<QGroupBox>(d, "mapFields");
    EXPECT_FALSE(mapFields->isVisible());

    chooseImage(d, exampleFile("augusta_nlcd.tif"));
    EXPECT_TRUE(mapFields->isVisible());
    ASSERT_TRUE(waitForClasses(d));
    EXPECT_EQ(listedCounts(d), plainCounts(exampleFile("augusta_nlcd.tif").toStdString(), 1));
    EXPECT_FALSE(child<QSpinBox>(d, "band")->isVisible()) << "one band needs no choice";
    EXPECT_TRUE(child<QLabel>(d, "mapStatus")->text().startsWith("678 x 440 cells"));
    EXPECT_TRUE(d.isMap());

    chooseImage(d, exampleFile("augusta_forest.tga"));
    EXPECT_FALSE(mapFields->isVisible());
    EXPECT_FALSE(d.isMap());
    EXPECT_EQ(d.size(), tgaSize);
}

// The field and the ticks tell the same classes, whichever the user touched last.
TEST(DialogSample, TypedClassesAndTickedClassesAgree)
{
    struct Case {
        const char* name;
        const char* typed;
        std::vector<std::pair<std::int64_t, bool>> ticks;  // then ticked (true) or unticked
        const char* field;
        std::vector<std::int64_t> ticked;
    } cases[] = {
        {"a typed list ticks the classes it names", "90, 41-43", {}, "90, 41-43", {41, 42, 43, 90}},
        {"half a list leaves the ticks of the last whole one", "41-43, 9", {}, "41-43, 9", {41, 42, 43}},
        {"ticks come in as ranges", "", {{43, true}, {41, true}, {42, true}, {90, true}}, "41-43, 90", {41, 42, 43, 90}},
        {"unticking splits a range", "41-43", {{42, false}}, "41, 43", {41, 43}},
        {"typed classes the map lacks stay", "7, 41", {{42, true}}, "7, 41-42", {41, 42}},
        {"clearing the field clears the ticks", "", {}, "", {}},
    };
    DialogSample d;
    d.show();
    chooseImage(d, exampleFile("augusta_nlcd.tif"));
    ASSERT_TRUE(waitForClasses(d));
    auto* list = child<QTreeWidget>(d, "mapClasses");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        typeInto(child<QLineEdit>(d, "habitatClasses"), "41-43");
        typeInto(child<QLineEdit>(d, "habitatClasses"), c.typed);
        for (const auto& [value, tick] : c.ticks)
            for (QTreeWidgetItem* item : list->findItems(QString::number(value), Qt::MatchExactly))
                item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
        EXPECT_EQ(d.habitatClasses(), c.field);
        std::vector<std::int64_t> ticked;
        listedCounts(d, &ticked);
        EXPECT_EQ(ticked, c.ticked);
    }
}

TEST(DialogSample, OkRefusesABadClassListWithItsReason)
{
    DialogSample d;
    child<QLineEdit>(d, "image")->setText(exampleFile("augusta_nlcd.tif"));
    for (const char* typed : {"", "41-", "43-41", "forest", "41,,43"}) {
        SCOPED_TRACE(typed);
        d.show();
        typeInto(child<QLineEdit>(d, "habitatClasses"), typed);
        clickButton(d, QDialogButtonBox::Ok);
        std::string why;
        ASSERT_FALSE(orvalis::HabitatClasses().parse(typed, &why));
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(child<QLabel>(d, "habitatError")->isVisible());
        EXPECT_EQ(child<QLabel>(d, "habitatError")->text().toStdString(), why);
    }
    typeInto(child<QLineEdit>(d, "habitatClasses"), "41-43");
    EXPECT_FALSE(child<QLabel>(d, "habitatError")->isVisible());
    clickButton(d, QDialogButtonBox::Ok);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

// Writes a map of 5 x 4 cells whose band b holds the class (i * b) % 4 at cell i, plus offset.
std::string writeBands(const std::string& path, int bands, GDALDataType type, double offset = 0)
{
    GDALAllRegister();
    const GDALDatasetUniquePtr map(
        GetGDALDriverManager()->GetDriverByName("GTiff")->Create(path.c_str(), 5, 4, bands, type, nullptr));
    for (int b = 1; b <= bands; ++b) {
        std::vector<double> cells(20);
        for (int i = 0; i < 20; ++i)
            cells[i] = (i * b) % 4 + offset;
        EXPECT_EQ(map->GetRasterBand(b)->RasterIO(GF_Write, 0, 0, 5, 4, cells.data(), 5, 4, GDT_Float64, 0, 0, nullptr),
                  CE_None);
    }
    return path;
}

// A map that cannot be sampled says why as soon as it is chosen.
TEST(DialogSample, MapsThatCannotBeCountedSayWhy)
{
    TempDir dir;
    writeFile(dir.file("notes.tif"), "not a raster\n");
    struct Case {
        std::string file;
        const char* says;
    } cases[] = {
        {dir.file("notes.tif"), "cannot be opened as a map"},
        {dir.file("absent.tif"), "does not exist"},
        // Whole numbers in a real-valued band are classes; heights are not.
        {writeBands(dir.file("heights.tif"), 1, GDT_Float32, 0.25), "holds 0.25, not a class"},
        {dir.path().string(), "not a plain file"},
    };
    DialogSample d;
    d.show();
    auto* status = child<QLabel>(d, "mapStatus");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        typeInto(child<QLineEdit>(d, "image"), QString::fromStdString(c.file));
        ASSERT_TRUE(QTest::qWaitFor([&] { return status->text().contains(c.says); }, 10000))
            << status->text().toStdString();
        EXPECT_EQ(child<QTreeWidget>(d, "mapClasses")->topLevelItemCount(), 0);
    }
}

TEST(DialogSample, EachBandOfAMapIsCountedOnRequest)
{
    TempDir dir;
    const std::string path = writeBands(dir.file("bands.tif"), 3, GDT_Int16);
    DialogSample d;
    d.show();
    chooseImage(d, QString::fromStdString(path));
    ASSERT_TRUE(waitForClasses(d));
    auto* band = child<QSpinBox>(d, "band");
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(band->maximum(), 3);
    for (int b : {1, 2, 3}) {
        band->setValue(b);
        ASSERT_TRUE(QTest::qWaitFor([&] { return listedCounts(d) == plainCounts(path, b); }, 10000)) << b;
    }
}

}  // namespace
