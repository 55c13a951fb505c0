#include "gui/MapTab.h"

#include "core/map/GdalSupport.h"
#include "core/sampler/SampleRun.h"
#include "gui/EngineMessages.h"
#include "gui/MapView.h"
#include "gui/Texts.h"

#include <QDir>
#include <QFile>
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>

namespace {

// QSettings splits keys at '/': a path is kept as one key.
QString settingsKey(const QString& logPath, const char* group = "mapOfSampleLog/")
{
    return QLatin1String(group) +
           QString::fromLatin1(QFileInfo(logPath).absoluteFilePath().toUtf8().toBase64(QByteArray::Base64UrlEncoding));
}

QString folderKey(const QString& file, const char* group)
{
    return settingsKey(QFileInfo(file).absolutePath(), group);
}

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The log whose windows on the map include path; empty when the map shows no such window.
const MapWindowMark* windowOnMap(const MapScene& scene, const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const MapWindowMark& w : scene.windows)
        if (w.path == path || (!canonical.isEmpty() && QFileInfo(w.path).canonicalFilePath() == canonical))
            return &w;
    return nullptr;
}

QListWidgetItem* itemFor(QListWidget* files, const QString& path)
{
    // The log and the list may name one file differently (relative, through a link).
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (int k = 0; k < files->count(); ++k) {
        const QString listed = files->item(k)->data(Qt::UserRole).toString();
        if (!listed.isEmpty() && (listed == path || QFileInfo(listed).canonicalFilePath() == canonical))
            return files->item(k);
    }
    for (int k = 0; k < files->count(); ++k)
        if (files->item(k)->text() == path)
            return files->item(k);
    return nullptr;
}

}  // namespace

MapTab::MapTab(QWidget* window, QTabWidget* tabs, QListWidget* files, QMenu* fileMenu, QAction* before,
               std::function<void(const QStringList&)> listFiles)
    : QObject(window), window_(window), tabs_(tabs), files_(files), listFiles_(std::move(listFiles)), view_(new MapView)
{
    view_->setObjectName(QStringLiteral("mapView"));
    tabs_->addTab(view_, texts::mapTabTitle());
    auto* openMap = new QAction(texts::openMapAction(), this);
    openMap->setObjectName(QStringLiteral("actionOpenMap"));
    connect(openMap, &QAction::triggered, this, [this] { this->openMap(); });
    auto* openLog = new QAction(texts::openSampleLogAction(), this);
    openLog->setObjectName(QStringLiteral("actionOpenSampleLog"));
    connect(openLog, &QAction::triggered, this, [this] { openSampleLog(); });
    fileMenu->insertActions(before, {openMap, openLog});
    connect(view_, &MapView::windowClicked, this, &MapTab::selectWindowFile);
    // A window chosen in the list is marked on the map too.
    connect(files_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        const QList<MapWindowMark>& windows = view_->scene().windows;
        int found = -1;
        for (int k = 0; item && found < 0 && k < windows.size(); ++k)
            if (itemFor(files_, windows[k].path) == item)
                found = k;
        view_->setSelectedWindow(found);
    });
    connect(view_, &MapView::loaded, this, [this] {
        const MapScene& scene = view_->scene();
        rememberWindowFolders();
        if (scene.stopped)
            emit status(scene.error);
        else if (!scene.error.isEmpty())
            emit problem(scene.error);
        else if (!scene.problems.isEmpty())
            emit problem(texts::sampleLogProblems(scene.logPath, scene.problems));
    });
}

void MapTab::showRun(const QString& mapPath, const QString& logPath)
{
    rememberMap(logPath, mapPath);
    show(mapPath, logPath);
}

void MapTab::openMap()
{
    const QString map = QFileDialog::getOpenFileName(window_, texts::chooseMap(), {}, texts::mapFilter());
    if (!map.isEmpty() && !refused(map))
        show(map, {});
}

void MapTab::showMapFile(const QString& mapPath)
{
    if (!refused(mapPath))
        show(mapPath, {});
}

bool MapTab::refused(const QString& path)
{
    const std::string why = orvalis::specialFileRefusal(local(path));
    if (why.empty())
        return false;
    emit problem(texts::mapNotRead(path, engineMessage(why)));
    return true;
}

void MapTab::showSites(const MapSites& sites)
{
    const MapScene& shown = view_->scene();
    if (view_->loading() || !shown.error.isEmpty() || QFileInfo(shown.mapPath) != QFileInfo(sites.mapPath))
        view_->showMap(sites.mapPath);
    view_->setSites(sites);
    tabs_->setCurrentWidget(view_);
}

void MapTab::openSampleLog()
{
    const QString log = QFileDialog::getOpenFileName(window_, texts::chooseSampleLog(), {}, texts::sampleLogFilter());
    if (!log.isEmpty())
        openSampleLog(log);
}

void MapTab::openSampleLog(const QString& logPath)
{
    if (refused(logPath))
        return;
    // The run's record names its map; a map chosen by hand for a log without one is remembered.
    QString map = recordedMap(logPath);
    if (map.isEmpty() || !QFileInfo::exists(map))
        map = rememberedMap(logPath);
    if (map.isEmpty() || !QFileInfo::exists(map)) {
        map = QFileDialog::getOpenFileName(window_, texts::chooseMapOfLog(QFileInfo(logPath).fileName()),
                                           QFileInfo(logPath).absolutePath(), texts::mapFilter());
        if (map.isEmpty())
            return;
        rememberMap(logPath, map);
    }
    if (!refused(map))
        show(map, logPath);
}

QString MapTab::recordedMap(const QString& logPath)
{
    const QString record = QFile::decodeName(QByteArray::fromStdString(orvalis::sampleRunRecordBeside(local(logPath))));
    if (!orvalis::specialFileRefusal(local(record)).empty())
        return {};
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The record is small; a stray large file of that name is not read whole.
    for (int k = 0; k < 100 && !file.atEnd(); ++k) {
        QByteArray line = file.readLine(1 << 16).trimmed();
        if (!line.startsWith("image: "))
            continue;
        const QString image = QFile::decodeName(line.mid(7));
        // Relative names are the run's working folder's, where the log is.
        return image.isEmpty() ? QString() : QDir(QFileInfo(logPath).absolutePath()).absoluteFilePath(image);
    }
    return {};
}

bool MapTab::rowsFromSouth(const QString& windowPath) const
{
    const MapScene& scene = view_->scene();
    if (windowOnMap(scene, windowPath))
        return scene.overview.firstRowSouth;
    return QSettings().value(folderKey(windowPath, "rowsFromSouthInFolder/"), false).toBool();
}

std::optional<double> MapTab::recordedCellSize(const QString& windowPath) const
{
    const MapScene& scene = view_->scene();
    QString log = windowOnMap(scene, windowPath) ? scene.logPath : QString();
    if (log.isEmpty())
        log = QSettings().value(folderKey(windowPath, "sampleLogOfFolder/")).toString();
    if (log.isEmpty())
        return std::nullopt;
    return orvalis::recordedCellSize(local(log));
}

void MapTab::rememberWindowFolders()
{
    const MapScene& scene = view_->scene();
    if (!scene.error.isEmpty() || scene.logPath.isEmpty())
        return;
    QSettings stored;
    QString last;
    for (const MapWindowMark& w : scene.windows) {
        const QString folder = QFileInfo(w.path).absolutePath();
        if (folder == last)
            continue;
        last = folder;
        stored.setValue(folderKey(w.path, "rowsFromSouthInFolder/"), scene.overview.firstRowSouth);
        stored.setValue(folderKey(w.path, "sampleLogOfFolder/"), QFileInfo(scene.logPath).absoluteFilePath());
    }
}

QString MapTab::rememberedMap(const QString& logPath)
{
    return QSettings().value(settingsKey(logPath)).toString();
}

void MapTab::rememberMap(const QString& logPath, const QString& mapPath)
{
    QSettings().setValue(settingsKey(logPath), QFileInfo(mapPath).absoluteFilePath());
}

void MapTab::show(const QString& mapPath, const QString& logPath)
{
    view_->showMap(mapPath, logPath);
    tabs_->setCurrentWidget(view_);
}

void MapTab::selectWindowFile(const QString& path)
{
    QListWidgetItem* item = itemFor(files_, path);
    if (!item) {
        // The list shows other files: the run's windows join it, so that the click has a file to select.
        QStringList run;
        for (const MapWindowMark& w : view_->scene().windows)
            run << w.path;
        listFiles_(run);
        item = itemFor(files_, path);
    }
    if (!item)
        return;
    // Selecting draws the file in the Grid tab; the map stays in view with the window marked.
    files_->setCurrentItem(item);
    files_->scrollToItem(item);
    emit status(texts::mapWindowShown(QFileInfo(path).fileName()));
}
