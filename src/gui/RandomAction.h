#pragma once

#include "gui/ActionOutcome.h"
#include "gui/SettingsBridge.h"

class DialogRnd;
class QWidget;

// The Random command: asks for the series in the dialog and writes it into the
// chosen folder under a progress dialog over parent, drawing from seed.
ActionOutcome runRandomAction(QWidget* parent, DialogRnd& dialog, const WindowSettings& settings, int seed);
