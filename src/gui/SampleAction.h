#pragma once

#include "gui/ActionOutcome.h"
#include "gui/SettingsBridge.h"

class DialogSample;
class QWidget;

// The Sample command: asks for the run in the dialog and samples windows of the image
// under two progress dialogs over parent; the run writes the log and the batch list.
ActionOutcome runSampleAction(QWidget* parent, DialogSample& dialog, const WindowSettings& settings);
