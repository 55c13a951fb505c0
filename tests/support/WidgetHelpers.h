#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace orvalis::test {

// The named child widget; a missing one fails the test rather than crashing it later unseen.
template <typename T>
T* child(QObject& parent, const char* name)
{
    T* c = parent.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// Types over a field's text, as a user does: select all, then type (an empty text erases).
inline void typeInto(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// One field of a form and the text a user types into it.
struct Entry {
    const char* field;
    QString text;
};

inline void typeEntries(QObject& form, const std::vector<Entry>& entries)
{
    for (const Entry& e : entries)
        typeInto(child<QWidget>(form, e.field), e.text);
}

// Clicks one of the standard buttons of the dialog's "buttonBox".
inline void clickButton(QObject& dialog, QDialogButtonBox::StandardButton button)
{
    QTest::mouseClick(child<QDialogButtonBox>(dialog, "buttonBox")->button(button), Qt::LeftButton);
}

// Once the next modal dialog of type Dialog shows, hands it to act; the exec() that opens it
// returns when act has closed it.
template <typename Dialog>
void whenModalShows(std::function<void(Dialog&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

// Answers the next file dialog with the given files, or cancels it when there are none.
inline void answerFileDialog(const QStringList& files)
{
    whenModalShows<QFileDialog>([files](QFileDialog& dialog) {
        if (files.isEmpty()) {
            dialog.reject();
            return;
        }
        QStringList quoted;
        for (const QString& f : files)
            quoted << '"' + QFileInfo(f).fileName() + '"';
        dialog.setDirectory(QFileInfo(files.first()).absolutePath());
        // A chooser of one file takes quotes as part of the name.
        dialog.selectFile(files.size() == 1 ? QFileInfo(files.first()).fileName() : quoted.join(' '));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
}

inline void cancelNextFileDialog()
{
    answerFileDialog({});
}

// A whole-number field of a form as the user meets it: its label, its range, its first value.
struct SpinField {
    const char* name;
    const char* label;
    const char* labelText;
    int minimum, maximum, value;
};

// Every field steps by one, as the arrows and the keyboard move it.
inline void expectSpinFields(QObject& form, std::initializer_list<SpinField> fields)
{
    for (const SpinField& f : fields) {
        SCOPED_TRACE(f.name);
        auto* spin = child<QSpinBox>(form, f.name);
        if (!spin)
            continue;
        EXPECT_EQ(spin->minimum(), f.minimum);
        EXPECT_EQ(spin->maximum(), f.maximum);
        EXPECT_EQ(spin->value(), f.value);
        EXPECT_EQ(spin->singleStep(), 1);
        EXPECT_EQ(child<QLabel>(form, f.label)->text(), f.labelText);
    }
}

// The read-only total of files a form will write: no arrows, large italic figures.
inline void expectTotalField(QObject& form, const char* name)
{
    auto* total = child<QSpinBox>(form, name);
    ASSERT_NE(total, nullptr);
    EXPECT_FALSE(total->isEnabled());
    EXPECT_EQ(total->buttonSymbols(), QAbstractSpinBox::NoButtons);
    EXPECT_TRUE(total->font().italic());
    EXPECT_EQ(total->font().pointSize(), 20);
}

// The texts of a list widget's items, top to bottom.
inline QStringList itemTexts(const QListWidget& list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items << list.item(i)->text();
    return items;
}

}  // namespace orvalis::test
