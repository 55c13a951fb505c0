#pragma once

#include "gui/ActionOutcome.h"
#include "gui/SettingsBridge.h"

#include <QString>
#include <QStringList>

class DialogSample;
class QWidget;

// The Sample command: asks for the run in the dialog, samples windows of the image
// under two progress dialogs over parent, and writes the FRAGSTATS batch list.
ActionOutcome runSampleAction(QWidget* parent, DialogSample& dialog, const WindowSettings& settings);

// FRAGSTATS batch list: prefix + "ListFragStat.fbt", one line per file name followed
// by the post-string. Empty when written, else the text to tell the user.
QString writeBatchList(const QStringList& fileNames, const QString& prefix, const QString& postString);
