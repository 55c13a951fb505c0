#pragma once

#include "gui/ActionOutcome.h"
#include "gui/SettingsBridge.h"

class dialogFbm;
class QWidget;

// The Fractal command: asks for the series in the dialog, refuses settings the
// engine cannot run, and writes the series under a progress dialog over parent.
ActionOutcome runFractalAction(QWidget* parent, dialogFbm& dialog, const WindowSettings& settings);
