#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

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
        dialog.selectFile(quoted.join(' '));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
}

inline void cancelNextFileDialog()
{
    answerFileDialog({});
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
