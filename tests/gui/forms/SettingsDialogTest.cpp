#include "gui/forms/setings.h"
#include "support/WidgetHelpers.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using namespace orvalis::test;

TEST(SettingsDialog, WindowAndButtons)
{
    setings d;
    EXPECT_EQ(d.objectName(), "setings");
    EXPECT_EQ(d.windowTitle(), "Settings");
    EXPECT_EQ(d.size(), QSize(498, 239));
    auto* box = d.findChild<QDialogButtonBox*>("buttonBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->orientation(), Qt::Horizontal);
    EXPECT_EQ(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

struct RowCase {
    const char* layout;
    const char* label;
    const char* labelText;
    const char* field;
    bool spacer;
};

TEST(SettingsDialog, RowsInOrderWithLabelsFieldsAndSpacers)
{
    const RowCase rows[] = {
        {"horizontalLayout", "label", "Sample name", "preTextSmp", false},
        {"horizontalLayout_2", "label_2", "Sample post-string", "posTextSmp", false},
        {"horizontalLayout_5", "label_5", "Cover value ", "coverValue", true},
        {"horizontalLayout_6", "label_6", "Matrix value", "matrixValue", true},
        {"horizontalLayout_7", "label_7", "Random seed", "seedRnd", true},
    };
    setings d;
    auto* top = qobject_cast<QVBoxLayout*>(d.layout());
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->objectName(), "verticalLayout");
    ASSERT_EQ(top->count(), 6);
    EXPECT_EQ(top->itemAt(5)->widget(), d.findChild<QDialogButtonBox*>("buttonBox"));
    for (int i = 0; i < 5; ++i) {
        const RowCase& r = rows[i];
        SCOPED_TRACE(r.layout);
        auto* row = qobject_cast<QHBoxLayout*>(top->itemAt(i)->layout());
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->objectName(), r.layout);
        ASSERT_EQ(row->count(), r.spacer ? 3 : 2);
        auto* label = qobject_cast<QLabel*>(row->itemAt(0)->widget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->objectName(), r.label);
        EXPECT_EQ(label->text(), r.labelText);
        EXPECT_EQ(row->itemAt(1)->widget()->objectName(), r.field);
        if (r.spacer) {
            QSpacerItem* spacer = row->itemAt(2)->spacerItem();
            ASSERT_NE(spacer, nullptr);
            EXPECT_EQ(spacer->sizeHint(), QSize(40, 20));
            EXPECT_EQ(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
            EXPECT_EQ(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
        }
    }
}

TEST(SettingsDialog, FieldsStartWithTheirInitialValuesAndRanges)
{
    struct SpinCase {
        const char* name;
        int minimum, maximum, value;
    };
    const SpinCase spins[] = {
        {"coverValue", -99999, 99999, 1}, {"matrixValue", -999999, 999999, 0}, {"seedRnd", -999999, 999999, 5}};
    setings d;
    for (const SpinCase& c : spins) {
        SCOPED_TRACE(c.name);
        auto* spin = d.findChild<QSpinBox*>(c.name);
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->minimum(), c.minimum);
        EXPECT_EQ(spin->maximum(), c.maximum);
        EXPECT_EQ(spin->value(), c.value);
    }
    EXPECT_EQ(d.findChild<QLineEdit*>("preTextSmp")->text(), "SMP_");
    EXPECT_EQ(d.findChild<QLineEdit*>("posTextSmp")->text(), "");
    EXPECT_EQ(d.sampleName(), "SMP_");
    EXPECT_EQ(d.postString(), "");
    EXPECT_EQ(d.cover(), 1);
    EXPECT_EQ(d.matrix(), 0);
    EXPECT_EQ(d.randomSeed(), 5);
}

TEST(SettingsDialog, AccessorsForwardAndSpinBoxesClamp)
{
    setings d;
    d.setSampleName(" \xc3\x81rea, 1 ");
    d.setPostString(", x, 999");
    EXPECT_EQ(d.sampleName(), QString::fromUtf8(" \xc3\x81rea, 1 "));
    EXPECT_EQ(d.postString(), ", x, 999");
    const struct {
        int in, cover, matrix;
    } values[] = {{7, 7, 7}, {123456, 99999, 123456}, {-1234567, -99999, -999999}, {99999, 99999, 99999}};
    for (const auto& v : values) {
        d.setCover(v.in);
        d.setMatrix(v.in);
        EXPECT_EQ(d.cover(), v.cover) << v.in;
        EXPECT_EQ(d.matrix(), v.matrix) << v.in;
    }
}

TEST(SettingsDialog, TypedValuesReachTheAccessorsAndButtonsCloseIt)
{
    setings d;
    whenModalShows<setings>([&d](setings& shown) {
        EXPECT_EQ(&shown, &d);
        typeInto(child<QLineEdit>(shown, "preTextSmp"), "Run_7");
        typeInto(child<QSpinBox>(shown, "seedRnd"), "-42");
        clickButton(shown, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_EQ(d.sampleName(), "Run_7");
    EXPECT_EQ(d.randomSeed(), -42);

    whenModalShows<setings>([](setings& shown) { clickButton(shown, QDialogButtonBox::Cancel); });
    EXPECT_EQ(d.exec(), QDialog::Rejected);
}

}  // namespace
