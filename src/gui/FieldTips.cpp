#include "gui/FieldTips.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

namespace {

struct FieldTip {
    const char* form;  // the form's class, also the tip's translation context
    const char* field;
    const char* tip;
};

// clang-format off
constexpr FieldTip Tips[] = {
    {"setings", "preTextSmp", QT_TRANSLATE_NOOP("setings", "Starts the name of every window file a sampling run writes, and of its batch list (NAMEListFragStat.fbt)")},
    {"setings", "posTextSmp", QT_TRANSLATE_NOOP("setings", "Added after each file name in the FRAGSTATS batch list")},
    {"setings", "coverValue", QT_TRANSLATE_NOOP("setings", "The class value written for habitat cells in landscape files")},
    {"setings", "matrixValue", QT_TRANSLATE_NOOP("setings", "The class value written for matrix (non-habitat) cells in landscape files")},
    {"setings", "seedRnd", QT_TRANSLATE_NOOP("setings", "Seed of the random landscapes: the same seed and settings give the same files")},

    {"DialogSample", "Tam", QT_TRANSLATE_NOOP("DialogSample", "Side of each square window, in pixels (cells)")},
    {"DialogSample", "amo", QT_TRANSLATE_NOOP("DialogSample", "How many windows to cut at each cover level")},
    {"DialogSample", "distMin", QT_TRANSLATE_NOOP("DialogSample", "Smallest distance between the centres of two windows, in pixels")},
    {"DialogSample", "Ci", QT_TRANSLATE_NOOP("DialogSample", "Lowest habitat cover sought, in whole percent")},
    {"DialogSample", "Cf", QT_TRANSLATE_NOOP("DialogSample", "Highest habitat cover sought, in whole percent")},
    {"DialogSample", "Cp", QT_TRANSLATE_NOOP("DialogSample", "Percent between one cover level and the next")},
    {"DialogSample", "nArq", QT_TRANSLATE_NOOP("DialogSample", "Windows asked for: cover levels times replicates (computed)")},
    {"DialogSample", "image", QT_TRANSLATE_NOOP("DialogSample", "The image to sample (uncompressed 24- or 32-bit TGA, dark pixels are habitat) or a land-cover map")},
    {"DialogSample", "pushButtonImage", QT_TRANSLATE_NOOP("DialogSample", "Choose the image or the land-cover map")},
    {"DialogSample", "habitatClasses", QT_TRANSLATE_NOOP("DialogSample", "The map's classes that count as habitat: values and ranges, e.g. 41-43, 90")},
    {"DialogSample", "windowFormat", QT_TRANSLATE_NOOP("DialogSample", "The file format of the windows cut from a map")},
    {"DialogSample", "band", QT_TRANSLATE_NOOP("DialogSample", "The band of the map that holds the classes")},
    {"DialogSample", "mapClasses", QT_TRANSLATE_NOOP("DialogSample", "The map's classes with their cells: tick those that are habitat")},
    {"DialogSample", "path", QT_TRANSLATE_NOOP("DialogSample", "The folder the window files are written to")},
    {"DialogSample", "pushButton", QT_TRANSLATE_NOOP("DialogSample", "Choose the folder for the window files")},
    {"DialogSample", "workFolderButton", QT_TRANSLATE_NOOP("DialogSample", "Choose the working folder for sample.txt, its record and the batch list")},
    {"DialogSample", "metrics", QT_TRANSLATE_NOOP("DialogSample", "Also measure the landscape metrics of every window, into metrics.csv")},

    {"DialogRnd", "Ci", QT_TRANSLATE_NOOP("DialogRnd", "Lowest habitat cover, in whole percent")},
    {"DialogRnd", "Cf", QT_TRANSLATE_NOOP("DialogRnd", "Highest habitat cover, in whole percent")},
    {"DialogRnd", "Cp", QT_TRANSLATE_NOOP("DialogRnd", "Percent between one cover level and the next")},
    {"DialogRnd", "Tam", QT_TRANSLATE_NOOP("DialogRnd", "Side of each square landscape, in cells")},
    {"DialogRnd", "amo", QT_TRANSLATE_NOOP("DialogRnd", "How many landscapes at each cover level")},
    {"DialogRnd", "nArq", QT_TRANSLATE_NOOP("DialogRnd", "Landscapes to write: cover levels times replicates (computed)")},
    {"DialogRnd", "path", QT_TRANSLATE_NOOP("DialogRnd", "The folder the landscape files are written to")},
    {"DialogRnd", "pushButton", QT_TRANSLATE_NOOP("DialogRnd", "Choose the folder for the landscape files")},
    {"DialogRnd", "metrics", QT_TRANSLATE_NOOP("DialogRnd", "Also measure the landscape metrics of every landscape, into metrics.csv")},

    {"dialogFbm", "Hi", QT_TRANSLATE_NOOP("dialogFbm", "First Hurst exponent H (0 to 1): higher H gives smoother, more clumped habitat")},
    {"dialogFbm", "Hf", QT_TRANSLATE_NOOP("dialogFbm", "Last Hurst exponent H of the series")},
    {"dialogFbm", "Hp", QT_TRANSLATE_NOOP("dialogFbm", "Step between one H and the next")},
    {"dialogFbm", "Ci", QT_TRANSLATE_NOOP("dialogFbm", "Lowest habitat cover, in whole percent")},
    {"dialogFbm", "Cf", QT_TRANSLATE_NOOP("dialogFbm", "Highest habitat cover, in whole percent")},
    {"dialogFbm", "Cp", QT_TRANSLATE_NOOP("dialogFbm", "Percent between one cover level and the next")},
    {"dialogFbm", "Tam", QT_TRANSLATE_NOOP("dialogFbm", "Side of each square landscape, in cells")},
    {"dialogFbm", "amo", QT_TRANSLATE_NOOP("dialogFbm", "How many surfaces for each H; each is cut at every cover level")},
    {"dialogFbm", "nArq", QT_TRANSLATE_NOOP("dialogFbm", "Landscapes to write (computed)")},
    {"dialogFbm", "path", QT_TRANSLATE_NOOP("dialogFbm", "The folder the landscape files are written to")},
    {"dialogFbm", "pushButton", QT_TRANSLATE_NOOP("dialogFbm", "Choose the folder for the landscape files")},
    {"dialogFbm", "metrics", QT_TRANSLATE_NOOP("dialogFbm", "Also measure the landscape metrics of every landscape, into metrics.csv")},

    {"DialogCompare", "fromList", QT_TRANSLATE_NOOP("DialogCompare", "Compare the landscape files listed in the window")},
    {"DialogCompare", "fromLog", QT_TRANSLATE_NOOP("DialogCompare", "Compare the windows a sampling run logged in its sample.txt")},
    {"DialogCompare", "logPath", QT_TRANSLATE_NOOP("DialogCompare", "The sample.txt of a sampling run")},
    {"DialogCompare", "browseLog", QT_TRANSLATE_NOOP("DialogCompare", "Choose the sample.txt")},
    {"DialogCompare", "randomModel", QT_TRANSLATE_NOOP("DialogCompare", "Random landscapes: each cell habitat with the window's cover as probability")},
    {"DialogCompare", "fractalModel", QT_TRANSLATE_NOOP("DialogCompare", "Fractal (midpoint-displacement) landscapes at each H given")},
    {"DialogCompare", "replicates", QT_TRANSLATE_NOOP("DialogCompare", "Neutral landscapes drawn for each window and model")},
    {"DialogCompare", "seed", QT_TRANSLATE_NOOP("DialogCompare", "The same seed and settings give the same neutral landscapes")},
    {"DialogCompare", "neighbours", QT_TRANSLATE_NOOP("DialogCompare", "Whether cells touching at a corner belong to one patch (8) or not (4)")},
    {"DialogCompare", "cellSize", QT_TRANSLATE_NOOP("DialogCompare", "Side of a cell in metres, for areas and lengths")},
    {"DialogCompare", "allMetrics", QT_TRANSLATE_NOOP("DialogCompare", "Measure the usual class and landscape metrics")},
    {"DialogCompare", "chosenMetrics", QT_TRANSLATE_NOOP("DialogCompare", "Measure only the metrics ticked in the list")},
    {"DialogCompare", "metricList", QT_TRANSLATE_NOOP("DialogCompare", "Tick the metrics to compare")},
    {"DialogCompare", "outputFolder", QT_TRANSLATE_NOOP("DialogCompare", "The folder for the comparison's tables")},
    {"DialogCompare", "browseOutput", QT_TRANSLATE_NOOP("DialogCompare", "Choose the folder for the tables")},
    {"DialogCompare", "keepLandscapes", QT_TRANSLATE_NOOP("DialogCompare", "Also write every neutral landscape drawn, under landscapes/ in the output folder")},

    {"DialogNeutral", "model", QT_TRANSLATE_NOOP("DialogNeutral", "The neutral model that makes each landscape's surface, or a blend of models")},
    {"DialogNeutral", "rows", QT_TRANSLATE_NOOP("DialogNeutral", "Rows of cells of each landscape")},
    {"DialogNeutral", "cols", QT_TRANSLATE_NOOP("DialogNeutral", "Columns of cells of each landscape")},
    {"DialogNeutral", "coverChoice", QT_TRANSLATE_NOOP("DialogNeutral", "Habitat and matrix landscapes, habitat exactly at each cover level given")},
    {"DialogNeutral", "proportionsChoice", QT_TRANSLATE_NOOP("DialogNeutral", "Landscapes of classes 1..k, each class exactly its share of the cells")},
    {"DialogNeutral", "replicates", QT_TRANSLATE_NOOP("DialogNeutral", "How many landscapes at each cover level, or in all with class proportions")},
    {"DialogNeutral", "seed", QT_TRANSLATE_NOOP("DialogNeutral", "Seed of the landscapes: the same seed and settings give the same files")},
    {"DialogNeutral", "format", QT_TRANSLATE_NOOP("DialogNeutral", "The file format of the landscapes")},
    {"DialogNeutral", "cellSize", QT_TRANSLATE_NOOP("DialogNeutral", "Side of a cell in metres, written in the frame of .asc and .tif files")},
    {"DialogNeutral", "folder", QT_TRANSLATE_NOOP("DialogNeutral", "The folder the landscape files and their batch list are written to")},
    {"DialogNeutral", "browseFolder", QT_TRANSLATE_NOOP("DialogNeutral", "Choose the folder for the landscape files")},

    {"DialogSites", "mapPath", QT_TRANSLATE_NOOP("DialogSites", "The land-cover map to measure around the sites")},
    {"DialogSites", "browseMap", QT_TRANSLATE_NOOP("DialogSites", "Choose the land-cover map")},
    {"DialogSites", "sitesPath", QT_TRANSLATE_NOOP("DialogSites", "The sites: points in a CSV with x and y columns, a GeoPackage, shapefile or GeoJSON")},
    {"DialogSites", "browseSites", QT_TRANSLATE_NOOP("DialogSites", "Choose the file of the sites")},
    {"DialogSites", "sitesCrs", QT_TRANSLATE_NOOP("DialogSites", "The coordinate system of a CSV's x and y, e.g. EPSG:4326; empty: the map's")},
    {"DialogSites", "shape", QT_TRANSLATE_NOOP("DialogSites", "The shape of the buffer around each site")},
    {"DialogSites", "habitat", QT_TRANSLATE_NOOP("DialogSites", "The classes that count as habitat, e.g. 41-43; empty keeps the map's own classes")},
    {"DialogSites", "neighbours", QT_TRANSLATE_NOOP("DialogSites", "Whether cells touching at a corner belong to one patch (8) or not (4)")},
    {"DialogSites", "allMetrics", QT_TRANSLATE_NOOP("DialogSites", "Measure the usual class and landscape metrics")},
    {"DialogSites", "chosenMetrics", QT_TRANSLATE_NOOP("DialogSites", "Measure only the metrics ticked in the list")},
    {"DialogSites", "metricList", QT_TRANSLATE_NOOP("DialogSites", "Tick the metrics to measure")},
    {"DialogSites", "outputPath", QT_TRANSLATE_NOOP("DialogSites", "The CSV table to write, one row per site, radius and metric")},
    {"DialogSites", "browseOutput", QT_TRANSLATE_NOOP("DialogSites", "Choose where to save the table")},

    {"DialogSurface", "mapPath", QT_TRANSLATE_NOOP("DialogSurface", "The land-cover map to measure window by window")},
    {"DialogSurface", "browseMap", QT_TRANSLATE_NOOP("DialogSurface", "Choose the land-cover map")},
    {"DialogSurface", "window", QT_TRANSLATE_NOOP("DialogSurface", "Side of the moving window in cells; odd, so that it has a centre cell")},
    {"DialogSurface", "shape", QT_TRANSLATE_NOOP("DialogSurface", "The shape of the moving window")},
    {"DialogSurface", "step", QT_TRANSLATE_NOOP("DialogSurface", "Measure every Nth row and column: 1 measures every cell")},
    {"DialogSurface", "habitat", QT_TRANSLATE_NOOP("DialogSurface", "The classes that count as habitat, e.g. 41-43; empty keeps the map's own classes")},
    {"DialogSurface", "neighbours", QT_TRANSLATE_NOOP("DialogSurface", "Whether cells touching at a corner belong to one patch (8) or not (4)")},
    {"DialogSurface", "metricList", QT_TRANSLATE_NOOP("DialogSurface", "Tick the metrics: each becomes a band of the surface")},
    {"DialogSurface", "outputPath", QT_TRANSLATE_NOOP("DialogSurface", "The GeoTIFF to write")},
    {"DialogSurface", "browseOutput", QT_TRANSLATE_NOOP("DialogSurface", "Choose where to save the surface")},
};
// clang-format on

class TipsOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QDialog*>(watched))
                applyFieldTips(*dialog);
        return false;
    }
};

}  // namespace

void applyFieldTips(QWidget& form)
{
    const char* name = form.metaObject()->className();
    for (const FieldTip& t : Tips) {
        if (qstrcmp(t.form, name) != 0)
            continue;
        auto* field = form.findChild<QWidget*>(QLatin1String(t.field));
        if (field && field->toolTip().isEmpty())
            field->setToolTip(QCoreApplication::translate(t.form, t.tip));
    }
}

void installFieldTips(QWidget& owner)
{
    qApp->installEventFilter(new TipsOnShow(&owner));
}
