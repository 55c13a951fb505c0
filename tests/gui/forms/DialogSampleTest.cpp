#include "gui/forms/DialogSample.h"
#include "support/WidgetHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

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

}  // namespace
