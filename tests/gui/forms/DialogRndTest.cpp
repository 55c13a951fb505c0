#include "gui/forms/DialogRnd.h"
#include "support/TempDir.h"
#include "support/WidgetHelpers.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvalis::test;

TEST(DialogRnd, FreshDialogShowsTheFieldsWithTheirRangesAndDefaults)
{
    DialogRnd dialog;
    EXPECT_EQ(dialog.objectName(), "DialogRnd");
    EXPECT_EQ(dialog.windowTitle(), "Random landscapes settings");
    expectSpinFields(dialog, {
        {"Ci", "label", "Cover mim", 0, 99, 1},
        {"Cf", "label_2", "Cover max", 1, 100, 100},
        {"Cp", "label_3", "Step change in cover", 1, 100, 1},
        {"Tam", "label_5", "Size", 2, 9999999, 100},
        {"amo", "label_4", "Number of replicates", 1, 999999, 1},
        {"nArq", "label_7", "TOTAL NUMBER OF FILES TO GENERATE", 0, 999999999, 100},
    });
    expectTotalField(dialog, "nArq");
    EXPECT_EQ(child<QLabel>(dialog, "label_6")->text(), "Folder");
    EXPECT_TRUE(child<QLineEdit>(dialog, "path")->text().isEmpty());
    EXPECT_EQ(child<QPushButton>(dialog, "pushButton")->text(), "...");
    EXPECT_EQ(dialog.coverMin(), 1);
    EXPECT_EQ(dialog.coverMax(), 100);
    EXPECT_EQ(dialog.coverStep(), 1);
    EXPECT_EQ(dialog.gridSize(), 100);
    EXPECT_EQ(dialog.replicates(), 1);
}

TEST(DialogRnd, TotalFollowsEveryTypedChange)
{
    struct Case {
        const char* name;
        QString ci, cf, cp, amo;
        int total;
    };
    const Case cases[] = {
        {"eleven levels of five", "0", "100", "10", "5", 55},
        {"levels 10, 20, 30 twice", "10", "35", "10", "2", 6},
        {"cover max below min", "50", "10", "1", "1", 0},
        {"one level", "99", "99", "7", "999999", 999999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogRnd dialog;
        dialog.show();
        typeInto(child<QSpinBox>(dialog, "Ci"), c.ci);
        typeInto(child<QSpinBox>(dialog, "Cf"), c.cf);
        typeInto(child<QSpinBox>(dialog, "Cp"), c.cp);
        typeInto(child<QSpinBox>(dialog, "amo"), c.amo);
        auto* total = child<QSpinBox>(dialog, "nArq");
        EXPECT_EQ(total->value(), c.total);
        typeInto(child<QSpinBox>(dialog, "Tam"), "4096");
        EXPECT_EQ(dialog.gridSize(), 4096);
        EXPECT_EQ(total->value(), c.total) << "the size is not part of the total";
    }
}

TEST(DialogRnd, FolderChooserFillsOrEmptiesTheField)
{
    TempDir dir;
    DialogRnd dialog;
    dialog.show();
    auto* path = child<QLineEdit>(dialog, "path");
    auto* button = child<QPushButton>(dialog, "pushButton");

    const QString chosen = QString::fromStdString(dir.path().string());
    whenModalShows<QFileDialog>([chosen](QFileDialog& chooser) {
        EXPECT_EQ(chooser.windowTitle(), "Choose folder to generate files");
        chooser.setDirectory(chosen);
        QMetaObject::invokeMethod(&chooser, "accept");
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(path->text(), chosen);
    EXPECT_EQ(dialog.folder(), chosen);

    cancelNextFileDialog();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(path->text().isEmpty());
}
