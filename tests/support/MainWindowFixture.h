#pragma once

#include "gui/MainWindow.h"
#include "support/TempDir.h"
#include "support/WidgetHelpers.h"

#include <QListWidget>
#include <QStringList>
#include <gtest/gtest.h>

namespace orvalis::test {

// A main window shown in a fresh working folder: no config.txt there, so it starts with the defaults.
struct MainWindowFixture : ::testing::Test {
    TempDir dir;
    WorkingDir cwd{dir.path()};
    MainWindow window;
    QListWidget* list = nullptr;

    void SetUp() override
    {
        window.show();
        list = child<QListWidget>(window, "fileListView");
    }
    // The files the list holds, top to bottom, by their full paths (the items show their names).
    QStringList listed() const
    {
        QStringList paths;
        for (int i = 0; i < list->count(); ++i)
            paths << MainWindow::pathOf(*list->item(i));
        return paths;
    }
};

}  // namespace orvalis::test
