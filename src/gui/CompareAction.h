#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DialogCompare;
class QMainWindow;
class QWidget;

// What a comparison leaves for the window: its folder when it wrote tables, what to tell the user.
struct CompareOutcome {
    QString folder;       // empty when no table was written
    QStringList problems;
    QString summary;
};

// Asks for the options in dialog, then compares the windows (files, or the log's windows) with
// neutral landscapes on a thread of its own under a progress dialog over parent.
CompareOutcome runCompareAction(QWidget* parent, DialogCompare& dialog, const QStringList& files);

// Adds Analyse → Compare with neutral models... to window's menu bar. files gives the list's
// files when it is chosen; report tells the user of a problem. The results open in their own view.
void addCompareMenu(QMainWindow& window, std::function<QStringList()> files, std::function<void(const QString&)> report);
