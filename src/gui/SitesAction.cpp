#include "gui/SitesAction.h"

#include "core/io/SafeFile.h"
#include "core/map/RasterWindows.h"
#include "gui/EngineMessages.h"
#include "gui/MapTab.h"
#include "gui/RunProgressDialog.h"
#include "gui/SitesResultsView.h"
#include "gui/Texts.h"
#include "gui/forms/DialogSites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromLocal(const std::string& text)
{
    return engineMessage(text);
}

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

std::vector<double> parseRadii(const QString& text, QString* why)
{
    std::vector<double> radii;
    for (const QString& part : text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double r = part.toDouble(&ok);
        if (!ok || !std::isfinite(r)) {
            *why = texts::radiusNotNumber(part);
            return {};
        }
        if (!(r > 0)) {
            *why = texts::radiusNotPositive(part);
            return {};
        }
        radii.push_back(r);
    }
    if (radii.empty())
        *why = texts::radiiNone();
    return radii;
}

QString prepareSites(const DialogSites& dialog, SitesRequest& r)
{
    r = SitesRequest{};
    r.map = dialog.mapPath();
    r.sites = dialog.sitesPath();
    r.table = dialog.tablePath();
    if (r.map.isEmpty())
        return texts::sitesNoMap();
    if (!QFileInfo::exists(r.map))
        return texts::sitesNoFile(r.map);
    if (r.sites.isEmpty())
        return texts::sitesNoSites();
    if (!QFileInfo::exists(r.sites))
        return texts::sitesNoFile(r.sites);

    orvalis::SiteMetricsParameters& p = r.params;
    QString why;
    p.radii = parseRadii(dialog.radiiText(), &why);
    if (p.radii.empty())
        return texts::sitesBadRadii(why);
    p.shape = dialog.square() ? orvalis::BufferShape::Square : orvalis::BufferShape::Circle;
    std::string error;
    if (!dialog.habitat().isEmpty() && !p.habitat.parse(dialog.habitat().toStdString(), &error))
        return texts::sitesBadHabitat(fromLocal(error));
    if (!dialog.standardMetrics() && dialog.tickedMetrics().empty())
        return texts::sitesNoMetricTicked();
    const auto selection =
        orvalis::MetricSelection::parse(dialog.standardMetrics() ? std::vector<std::string>{} : dialog.tickedMetrics(), {}, &error);
    if (!selection)
        return texts::sitesBadMetrics(fromLocal(error));
    p.metrics.selection = *selection;
    p.metrics.neighbours = dialog.neighbours();

    // The default table's name could be the sites file's own.
    if (r.table.isEmpty())
        return texts::sitesNoTable();
    const QFileInfo table(r.table);
    for (const QString& input : {r.sites, r.map})
        if (table == QFileInfo(input))
            return texts::sitesTableReplaces(input);
    if (table.isDir())
        return texts::sitesTableReplaces(r.table);
    if (!table.absoluteDir().exists())
        return texts::sitesTableFolderMissing(table.absolutePath());

    p.map = local(r.map);
    orvalis::RasterWindows map;
    if (!map.open(p.map, p.band, p.habitat, &error))
        return texts::sitesMapUnread(r.map, fromLocal(error));
    if (!map.hasFrame() || !orvalis::unrotated(map.frame()))
        return texts::sitesMapNotNorthUp(r.map);
    r.frame = map.frame();
    if (!map.cellSize())
        r.notes << texts::sitesCellSizeNote(fromLocal(map.cellSizeNote()));
    const orvalis::SiteListOptions options{{}, {}, {}, dialog.sitesCrs().toStdString(), map.wkt()};
    std::vector<std::string> warnings;
    orvalis::SiteListError listError;
    if (!orvalis::readSiteList(local(r.sites), options, p.sites, warnings, listError))
        return texts::sitesUnread(r.sites, fromLocal(listError.message));
    if (p.sites.empty())
        return texts::sitesNone(r.sites);
    for (const std::string& w : warnings)
        r.notes << texts::sitesFileNote(fromLocal(w));
    return {};
}

SitesOutcome measureSitesWithProgress(QWidget* parent, const SitesRequest& r)
{
    SitesOutcome out;
    const std::string table = local(r.table);
    std::string temporary;
    std::FILE* file = orvalis::createBeside(table, temporary);
    if (!file) {
        out.problems << texts::sitesNotWritten(r.table, systemError());
        return out;
    }
    const std::string header = orvalis::sitesCsvHeader();
    bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    int writeError = 0;
    std::size_t measured = 0;
    QStringList notes = r.notes;
    SiteRows rows;
    bool ok = false, cancelled = false;
    std::string why;
    runWithProgress(parent, static_cast<long long>(r.params.sites.size()), [&](orvalis::RunControl& control) {
        // Called on this worker, in the sites' order.
        const auto take = [&](std::size_t i, orvalis::SiteResult&& s) {
            const QString id = fromUtf8(r.params.sites[i].id);
            for (const std::string& w : s.warnings)
                notes << texts::siteNote(id, fromLocal(w));
            if (!s.error.empty()) {
                notes << texts::siteFailed(id, fromLocal(s.error));
                return;
            }
            if (written && std::fwrite(s.rows.data(), 1, s.rows.size(), file) != s.rows.size()) {
                written = false;
                writeError = errno;
            }
            rows.add(s.rows);
            ++measured;
        };
        ok = orvalis::measureSites(r.params, take, control, &why);
        cancelled = control.isCanceled();
    });
    if (written && (std::fflush(file) != 0 || ::fsync(fileno(file)) != 0)) {
        written = false;
        writeError = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (cancelled || !ok || !written) {
        std::remove(temporary.c_str());
        if (cancelled)
            out.summary = texts::sitesCancelled();
        else if (!ok)
            out.problems << texts::sitesFailed(r.map, fromLocal(why));
        else
            out.problems << texts::sitesNotWritten(r.table, QString::fromLocal8Bit(std::strerror(writeError)));
        return out;
    }
    if (!orvalis::replaceWith(temporary, table)) {
        out.problems << texts::sitesNotWritten(r.table, systemError());
        std::remove(temporary.c_str());
        return out;
    }
    out.table = r.table;
    out.rows = std::move(rows);
    out.notes = notes;
    out.summary = texts::sitesSummary(measured, r.params.sites.size(), static_cast<int>(r.params.radii.size()), r.table);
    out.sites.mapPath = r.map;
    out.sites.frame = r.frame;
    out.sites.radius = *std::max_element(r.params.radii.begin(), r.params.radii.end());
    out.sites.square = r.params.shape == orvalis::BufferShape::Square;
    for (const orvalis::Site& s : r.params.sites)
        if (s.problem.empty())
            out.sites.sites.append({fromUtf8(s.id), s.x, s.y});
    return out;
}

SitesOutcome runSitesAction(QWidget* parent, DialogSites& dialog, const MapScene& shown)
{
    if (shown.error.isEmpty() && !shown.overview.tga && !shown.overview.real)
        dialog.suggestMap(shown.mapPath);
    SitesRequest request;
    dialog.setCheck([&] { return prepareSites(dialog, request); });
    const int answer = dialog.exec();
    dialog.setCheck({});
    if (answer != QDialog::Accepted)
        return {};
    return measureSitesWithProgress(parent, request);
}

void addSitesMenu(QMainWindow& window, MapTab& mapTab, std::function<void(const QString&)> report)
{
    QMenu* menu = window.findChild<QMenu*>(QStringLiteral("menuAnalyse"));
    if (!menu) {
        menu = window.menuBar()->addMenu(texts::analyseMenu());
        menu->setObjectName(QStringLiteral("menuAnalyse"));
    }
    QAction* action = menu->addAction(texts::sitesAction());
    action->setObjectName(QStringLiteral("actionSites"));
    auto* dialog = new DialogSites(&window);
    QObject::connect(action, &QAction::triggered, &window, [&window, &mapTab, dialog, report] {
        SitesOutcome outcome = runSitesAction(&window, *dialog, mapTab.view()->scene());
        if (!outcome.summary.isEmpty())
            window.statusBar()->showMessage(outcome.summary);
        for (const QString& problem : outcome.problems)
            report(problem);
        if (outcome.table.isEmpty())
            return;
        mapTab.showSites(outcome.sites);
        auto* view = new SitesResultsView(outcome.table, std::move(outcome.rows), outcome.notes, &window);
        view->setObjectName(QStringLiteral("sitesResults"));
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->show();
    });
}
