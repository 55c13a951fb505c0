#include "gui/forms/dialogFbm.h"
#include "support/WidgetHelpers.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace orvalis::test;

namespace {

int total(dialogFbm& d)
{
    return child<QSpinBox>(d, "nArq")->value();
}

}  // namespace

TEST(dialogFbm, FreshDialogShowsTheFieldsWithTheirRangesAndDefaults)
{
    dialogFbm dialog;
    EXPECT_EQ(dialog.objectName(), "dialogFbm");
    EXPECT_EQ(dialog.windowTitle(), "Fractal settings");
    EXPECT_EQ(dialog.maximumHeight(), 300);
    struct RealField {
        const char* name;
        const char* label;
        const char* text;
        double minimum, maximum, value;
    } reals[] = {
        {"Hi", "label_7", "Initial H", 0.1, 1.0, 0.1},
        {"Hf", "label_9", "Final H", 0.01, 1.0, 0.9},
        {"Hp", "label_10", "Step change in H", 0.01, 1.0, 0.1},
    };
    for (const RealField& f : reals) {
        auto* box = child<QDoubleSpinBox>(dialog, f.name);
        EXPECT_EQ(child<QLabel>(dialog, f.label)->text(), f.text);
        EXPECT_EQ(box->decimals(), 2) << f.name;
        EXPECT_DOUBLE_EQ(box->minimum(), f.minimum) << f.name;
        EXPECT_DOUBLE_EQ(box->maximum(), f.maximum) << f.name;
        EXPECT_DOUBLE_EQ(box->singleStep(), 0.1) << f.name;
        EXPECT_DOUBLE_EQ(box->value(), f.value) << f.name;
    }
    expectSpinFields(dialog, {
        {"Ci", "label", "Cover mim", 0, 99, 1},
        {"Cf", "label_2", "Cover max", 1, 100, 100},
        {"Cp", "label_3", "Step change in cover", 1, 100, 1},
        {"Tam", "label_5", "Size", 2, 9999999, 100},
        {"amo", "label_4", "Number or replicates", 1, 999999, 1},
        {"nArq", "label_8", "TOTAL NUMBER OF FILES TO GENERATE:", 0, 999999999, 900},
    });
    EXPECT_FALSE(child<QSpinBox>(dialog, "nArq")->isEnabled());
    EXPECT_EQ(child<QLabel>(dialog, "label_6")->text(), "Folder");
    EXPECT_EQ(child<QPushButton>(dialog, "pushButton")->text(), "...");
    EXPECT_TRUE(dialog.folder().isEmpty());
}

TEST(dialogFbm, TotalFollowsTheFieldsAsTheUserTypes)
{
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        int total;
    } cases[] = {
        {"defaults count nine H values", {}, 900},
        {"half the covers", {{"Ci", "51"}}, 450},
        {"three replicates", {{"amo", "3"}}, 2700},
        {"cover step ten", {{"Cp", "10"}}, 9 * 10},
        {"H step 0.05", {{"Hp", "0.05"}}, 1700},
        {"single H value", {{"Hi", "0.5"}, {"Hf", "0.5"}}, 100},
        {"cover minimum above maximum", {{"Cf", "10"}, {"Ci", "50"}}, 0},
        {"size leaves the total alone", {{"Tam", "512"}}, 900},
        {"larger than an int shows the maximum", {{"Hp", "0.01"}, {"amo", "999999"}}, 999999999},
    };
    for (const Case& c : cases) {
        dialogFbm dialog;
        dialog.show();
        typeEntries(dialog, c.entries);
        EXPECT_EQ(total(dialog), c.total) << c.name;
    }
}

TEST(dialogFbm, AccessorsReturnTheTypedValuesAndCancellingTheChooserEmptiesTheFolder)
{
    dialogFbm dialog;
    dialog.show();
    typeEntries(dialog, {{"Hi", "0.3"},
        {"Hf", "0.7"},
        {"Hp", "0.2"},
        {"Cf", "80"},
        {"Ci", "20"},
        {"Cp", "5"},
        {"Tam", "64"},
        {"amo", "4"},
        {"path", "/tmp/out"}});
    EXPECT_DOUBLE_EQ(dialog.initialH(), 0.3);
    EXPECT_DOUBLE_EQ(dialog.finalH(), 0.7);
    EXPECT_DOUBLE_EQ(dialog.stepH(), 0.2);
    EXPECT_EQ(dialog.coverMin(), 20);
    EXPECT_EQ(dialog.coverMax(), 80);
    EXPECT_EQ(dialog.coverStep(), 5);
    EXPECT_EQ(dialog.gridSize(), 64);
    EXPECT_EQ(dialog.replicates(), 4);
    EXPECT_EQ(dialog.folder(), "/tmp/out");
    EXPECT_EQ(total(dialog), 13 * 4 * 3);

    whenModalShows<QFileDialog>([](QFileDialog& chooser) {
        EXPECT_EQ(chooser.windowTitle(), "Choose folder to generate files");
        chooser.reject();
    });
    QTest::mouseClick(child<QPushButton>(dialog, "pushButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.folder().isEmpty());
}
