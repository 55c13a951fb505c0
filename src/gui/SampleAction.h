#pragma once

#include "gui/ActionOutcome.h"
#include "gui/SettingsBridge.h"

class DialogSample;
class QWidget;

// The Sample command: asks for the run in the dialog and samples windows of the image on a
// thread of its own under one progress dialog over parent; the run writes the log and the batch
// list into the dialog's working folder, after asking whether to keep a copy of an earlier log there.
ActionOutcome runSampleAction(QWidget* parent, DialogSample& dialog, const WindowSettings& settings);
