#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// What a Create command leaves for the window to show.
struct ActionOutcome {
    // True when the file list becomes `written`, also when nothing was written.
    bool replacesList = false;
    // The files the run wrote, in writing order, named as the engine wrote them.
    std::vector<std::string> written;
    // What the user must be told, in order.
    QStringList problems;
    // Files written against files asked, and the levels left short: for the status bar.
    QString summary;
    // A sampling run's image or map and its log (absolute), for the map view; empty for other runs.
    QString mapPath;
    QString logPath;
};
