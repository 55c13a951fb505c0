#pragma once

#include "gui/ActionOutcome.h"
#include "gui/SettingsBridge.h"

#include <functional>

class DialogNeutral;
class QMainWindow;
class QMenu;
class QWidget;

// Writes the series the dialog asks for as `orvalis-cli neutral` writes it (the same engine call,
// the class values and post-string of settings) on a thread of its own under a progress dialog
// over parent, with Cancel; the files written so far stay.
ActionOutcome writeNeutralSeries(QWidget* parent, const DialogNeutral& dialog, const WindowSettings& settings);

// Asks for the series in dialog, then writes it.
ActionOutcome runNeutralAction(QWidget* parent, DialogNeutral& dialog, const WindowSettings& settings);

// Adds Create → Neutral landscape… to create; settings gives the class values when it is chosen
// and finish takes what the run leaves for the window.
void addNeutralMenu(QMainWindow& window, QMenu& create, std::function<WindowSettings()> settings,
                    std::function<void(const ActionOutcome&)> finish);
