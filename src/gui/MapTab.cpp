#include "gui/MapTab.h"

#include "gui/MapView.h"
#include "gui/Texts.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>

namespace {

// QSettings splits keys at '/': a path is kept as one key.
QString settingsKey(const QString& logPath)
{
    return QStringLiteral("mapOfSampleLog/") +
           QString::fromLatin1(QFileInfo(logPath).absoluteFilePath().toUtf8().toBase64(QByteArray::Base64UrlEncoding));
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
        if (!scene.error.isEmpty())
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
    if (!map.isEmpty())
        show(map, {});
}

void MapTab::showMapFile(const QString& mapPath)
{
    show(mapPath, {});
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
    QString map = rememberedMap(logPath);
    if (map.isEmpty() || !QFileInfo::exists(map)) {
        map = QFileDialog::getOpenFileName(window_, texts::chooseMapOfLog(QFileInfo(logPath).fileName()),
                                           QFileInfo(logPath).absolutePath(), texts::mapFilter());
        if (map.isEmpty())
            return;
        rememberMap(logPath, map);
    }
    show(map, logPath);
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
