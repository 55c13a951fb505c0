#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class MapView;
struct MapSites;
class QAction;
class QListWidget;
class QMenu;
class QTabWidget;
class QWidget;

// The Map tab of the main window: File → Open Map and Open Sample Log, the run's map shown after
// a sampling, and a click on a window selecting its file in the list (which draws it in the
// Grid tab while the map stays in view).
class MapTab : public QObject {
    Q_OBJECT

public:
    // The File commands go into fileMenu before `before`; listFiles adds files to the list as File → Open does.
    MapTab(QWidget* window, QTabWidget* tabs, QListWidget* files, QMenu* fileMenu, QAction* before,
           std::function<void(const QStringList&)> listFiles);

    MapView* view() const { return view_; }

    // Shows a run's map with its windows and remembers which map the log belongs to.
    void showRun(const QString& mapPath, const QString& logPath);
    void openMap();
    // Shows a map without windows, such as a surface just written.
    void showMapFile(const QString& mapPath);
    // Draws sites over the map they were measured on, which is opened first when another is shown.
    void showSites(const MapSites& sites);
    // Shows a log's windows over the map remembered for it, or the map the user picks.
    void openSampleLog();
    void openSampleLog(const QString& logPath);

    // The map a sampling run of this window wrote logPath from; empty when none is known.
    static QString rememberedMap(const QString& logPath);
    // The map the run's record beside logPath names, relative names taken from the log's folder;
    // empty when there is no record or it names none.
    static QString recordedMap(const QString& logPath);
    // Whether a window file's lines run from the south (cut from a TGA stored bottom-up): known
    // for the windows on the map, and remembered for their folders.
    bool rowsFromSouth(const QString& windowPath) const;
    // The cell side the run's record gives for a window file on the map or of a folder a shown
    // log named.
    std::optional<double> recordedCellSize(const QString& windowPath) const;
    static void rememberMap(const QString& logPath, const QString& mapPath);

signals:
    void problem(const QString& text);
    void status(const QString& text);

private:
    void show(const QString& mapPath, const QString& logPath);
    // Tells the user, and true, when path is a FIFO, a device or the like, which would hold a reader.
    bool refused(const QString& path);
    void rememberWindowFolders();
    void selectWindowFile(const QString& path);

    QWidget* window_;
    QTabWidget* tabs_;
    QListWidget* files_;
    std::function<void(const QStringList&)> listFiles_;
    MapView* view_;
};
