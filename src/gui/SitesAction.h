#pragma once

#include "core/sites/SiteMetrics.h"
#include "gui/MapView.h"
#include "gui/SiteRows.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class DialogSites;
class MapTab;
class QMainWindow;
class QWidget;

// Radii as typed: "250, 500, 1000", each a number above 0; empty with *why set otherwise.
std::vector<double> parseRadii(const QString& text, QString* why);

// A measurement the dialog describes, checked and ready to run: the map opened, the sites read.
struct SitesRequest {
    orvalis::SiteMetricsParameters params;
    QString map;
    QString sites;
    QString table;
    QStringList notes;  // what the map and the sites file told, for the results
    orvalis::GeoTransform frame{};
};

// Fills request from the dialog's fields, opening the map and reading the sites; the problem
// that stops the run, for the dialog to show, or empty.
QString prepareSites(const DialogSites& dialog, SitesRequest& request);

// What a measurement leaves for the window.
struct SitesOutcome {
    QString table;  // empty when no table was written
    SiteRows rows;
    QStringList notes;  // warnings, and the sites that were not measured
    QStringList problems;
    QString summary;
    MapSites sites;
};

// Measures the request's sites on a thread of its own under a progress dialog over parent, the
// table growing under a hidden name beside its own and renamed when whole: a cancelled or failed
// run leaves no table.
SitesOutcome measureSitesWithProgress(QWidget* parent, const SitesRequest& request);

// Asks for the options in dialog, the map shown (a land-cover map, not a TGA or a surface of
// values) suggested, then measures.
SitesOutcome runSitesAction(QWidget* parent, DialogSites& dialog, const MapScene& shown);

// Adds Analyse → Metrics around sites... to window's menu bar. The table opens in its own view
// and the sites are drawn in mapTab over the map measured; report tells the user of a problem.
void addSitesMenu(QMainWindow& window, MapTab& mapTab, std::function<void(const QString&)> report);
