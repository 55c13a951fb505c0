#pragma once

#include "core/surface/SurfaceRun.h"

#include <QString>
#include <QStringList>

#include <functional>

class DialogSurface;
class MapTab;
class QMainWindow;
class QWidget;
struct MapScene;

// Fills p from the dialog's fields, the map opened to check it can be read; the problem that
// stops the run, for the dialog to show, or empty.
QString prepareSurface(const DialogSurface& dialog, orvalis::SurfaceParameters& p);

// What a surface run leaves for the window.
struct SurfaceOutcome {
    QString surface;  // the GeoTIFF written; empty when none was
    QStringList problems;
    QString summary;
};

// Asks for the options in dialog, a land-cover map the Map tab shows suggested, then computes the
// surface on a thread of its own under a progress dialog over parent. A cancelled or failed run
// leaves no file under the surface's name.
SurfaceOutcome runSurfaceAction(QWidget* parent, DialogSurface& dialog, const MapScene& shown);

// Adds Analyse → Moving-window surface... to window's menu bar; the surface written opens in
// mapTab on the value ramp. report tells the user of a problem.
void addSurfaceMenu(QMainWindow& window, MapTab& mapTab, std::function<void(const QString&)> report);
