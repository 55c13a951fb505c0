#pragma once

// Every text the window program shows or prints, in one place; the forms' own
// texts stay in their .ui files. The helpers below translate in the context lupdate gives
// their calls (scripts/update-translations.sh reads them as tr()): texts::detail.

#include "core/run/RunResult.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace texts {

namespace detail {
inline constexpr char context[] = "texts::detail";
inline QString window(const char* text, const char* disambiguation = nullptr, int n = -1)
{
    return QCoreApplication::translate(context, text, disambiguation, n);
}
}  // namespace detail

// Progress dialogs of a run.
inline QString calculating()
{
    return detail::window("Calculando...");
}
inline QString searchTime()
{
    return detail::window("Tempo de busca total...");
}
inline QString cancel()
{
    return detail::window("Cancel");
}

// File choosers.
inline QString chooseFilesToOpen()
{
    return detail::window("Choose file(s) do open");
}
inline QString chooseRandomFolder()
{
    return QCoreApplication::translate("DialogRnd", "Choose folder to generate files");
}
inline QString chooseFractalFolder()
{
    return QCoreApplication::translate("dialogFbm", "Choose folder to generate files");
}
inline QString chooseSampleFolder()
{
    return QCoreApplication::translate("DialogSample", "Escolha pasta onde serão alocados os arquivos");
}
inline QString chooseWorkFolder()
{
    return QCoreApplication::translate("DialogSample", "Choose the working folder for sample.txt and the batch list");
}
inline QString chooseSampleImage()
{
    return QCoreApplication::translate("DialogSample", "Choose the image file (TGA)");
}
// A TGA image, or a land-cover map in any of the raster formats GIS users meet most.
inline QString sampleImageFilter()
{
    const char* maps = "*.tif *.tiff *.gtif *.img *.nc *.vrt *.jp2 *.asc *.grd *.bil *.bsq *.bip *.rst *.sdat "
                       "*.adf *.hdf *.h5 *.kea *.gpkg";
    return QCoreApplication::translate("DialogSample", "Images and land-cover maps (*.tga %1);;TGA images (*.tga);;"
                                                       "Land-cover maps (%1);;All files (*)")
        .arg(QLatin1String(maps));
}

// The land-cover map of the Sample dialog.
inline QString mapCounting(int percent)
{
    return QCoreApplication::translate("DialogSample", "Counting the map's classes... %1 %").arg(percent);
}
inline QString mapSummary(qint64 width, qint64 height, int classes, qulonglong noData)
{
    const QString cells = QCoreApplication::translate("DialogSample", "%1 x %2 cells").arg(width).arg(height);
    const QString kinds = classes == 1 ? QCoreApplication::translate("DialogSample", "1 class")
                                       : QCoreApplication::translate("DialogSample", "%1 classes").arg(classes);
    return QCoreApplication::translate("DialogSample", "%1, %2, %3 no-data cells")
        .arg(cells, kinds, QLocale().toString(noData));
}
inline QString mapMoreValues(int listed, qulonglong otherCells)
{
    return QCoreApplication::translate("DialogSample",
                                       "; more distinct values than %1: the first met are listed, %2 cells hold others")
        .arg(listed)
        .arg(QLocale().toString(otherCells));
}
inline QString mapNotUsable(const QString& why)
{
    return QCoreApplication::translate("DialogSample", "This map cannot be sampled: %1").arg(why);
}
inline QString mapShare(double percent)
{
    return QCoreApplication::translate("DialogSample", "%1 %").arg(QLocale().toString(percent, 'f', 1));
}

// Sampling.
// Printed on standard output as it is, before the message in the window.
inline constexpr char imageNotLoadedLine[] = "Não foi possivel carregar a imagem";
inline QString sampleNoFolder()
{
    return detail::window("Sampling: no folder was chosen for the window files, nothing was written.");
}
inline QString noImageChosen()
{
    return detail::window("no image file was chosen");
}
inline QString imageMissing()
{
    return detail::window("the file does not exist");
}
inline QString imageNotPlainFile()
{
    return detail::window("it is not a plain file (a pipe or a device would block the window)");
}
inline QString imageUnreadable()
{
    return detail::window("it is not a readable uncompressed 24- or 32-bit TGA image");
}
inline QString imageNotLoaded(const QString& path, const QString& why)
{
    return detail::window("Não foi possivel carregar a imagem \"%1\": %2.").arg(path, why);
}
inline QString mapNotLoaded(const QString& why)
{
    return detail::window("Sampling: %1%2").arg(why, why.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."));
}
inline QString sampleWarnings(const QStringList& warnings)
{
    return detail::window("Sampling went on, but: %1.").arg(warnings.join(QStringLiteral("; ")));
}
inline QString sampleStopped(int written, const QString& why)
{
    return detail::window("Sampling stopped after %n window(s): %1.", nullptr, written).arg(why);
}
// The one progress dialog of a sampling run, after the map's read (readingMap): the search with the windows it wrote.
inline QString sampleSearching(qint64 written, qint64 target, int triesLeftPercent)
{
    return calculating() + QLatin1Char('\n') +
           detail::window("%1 of %2 windows written").arg(QLocale().toString(written), QLocale().toString(target)) +
           QLatin1Char('\n') + detail::window("%1 %2 % left").arg(searchTime()).arg(triesLeftPercent);
}
// The log an earlier run left in the working folder.
inline QString earlierLogTitle()
{
    return detail::window("Log of an earlier run");
}
inline QString earlierLogFound(const QString& log, qint64 windows, const QString& written)
{
    return detail::window("%1 already holds the log of an earlier run: %n window(s), written %2.", nullptr, int(windows))
        .arg(log, written);
}
inline QString earlierLogQuestion(const QString& copy)
{
    return detail::window("This run replaces it. Keep a copy of it as %1?").arg(copy);
}
inline QString keepCopy()
{
    return detail::window("Keep a copy");
}
inline QString replaceLog()
{
    return detail::window("Replace");
}
inline QString earlierLogNotKept(const QString& why)
{
    return detail::window("Sampling: the earlier log could not be kept (%1); nothing was written.").arg(why);
}
inline QString earlierLogKept(const QStringList& copies)
{
    return detail::window("The earlier run's log was kept as %1.").arg(copies.join(QStringLiteral(", ")));
}

// Random landscapes.
inline QString randomNoFolder()
{
    return detail::window("Random landscapes: no folder was chosen, nothing was written.");
}
inline QString randomFailed(const QString& why)
{
    return detail::window("Random landscapes: %1").arg(why);
}

// Fractal landscapes.
inline QString fractalNoFolder()
{
    return detail::window("Fractal landscapes: no folder was chosen, nothing was written.");
}
inline QString fractalFolderMissing(const QString& folder)
{
    return detail::window("Fractal landscapes: the folder %1 does not exist, nothing was written.").arg(folder);
}
inline QString fractalRefused(const QString& why)
{
    return detail::window("Fractal landscapes: %1; nothing was written.").arg(why);
}
inline QString fractalFailed(const QString& why)
{
    return detail::window("Fractal landscapes: %1").arg(why);
}

// The summary every run ends with, in the status bar, after the run's name, one of these.
[[maybe_unused]] inline constexpr const char* runNames[] = {QT_TRANSLATE_NOOP("texts::detail", "Sample"),
                                                           QT_TRANSLATE_NOOP("texts::detail", "Random landscapes"),
                                                           QT_TRANSLATE_NOOP("texts::detail", "Fractal landscapes"),
                                                           QT_TRANSLATE_NOOP("texts::detail", "Neutral landscapes")};
// What orvalis::runSummary says, in the window's language: "12 of 20 windows written; short: 10 % (0 of 2)".
enum class RunFiles { Windows, Landscapes };
inline QString filesWritten(const orvalis::RunResult& result, RunFiles files, std::size_t listed = 12)
{
    const QString written = QString::number(result.files.size()), asked = QString::number(result.asked);
    QString text = files == RunFiles::Windows ? detail::window("%1 of %2 windows written").arg(written, asked)
                                              : detail::window("%1 of %2 landscapes written").arg(written, asked);
    if (result.shortLevels.empty())
        return text;
    QStringList levels;
    for (std::size_t i = 0; i < result.shortLevels.size() && i < listed; ++i) {
        const orvalis::LevelShortfall& s = result.shortLevels[i];
        levels << detail::window("%1 (%2 of %3)").arg(QString::fromStdString(s.level)).arg(s.written).arg(s.asked);
    }
    text += detail::window("; short: %1").arg(levels.join(QStringLiteral(", ")));
    if (result.shortLevels.size() > listed)
        text += detail::window(" and %1 more").arg(result.shortLevels.size() - listed);
    return text;
}
inline QString runSummary(const char* run, const QString& summary)
{
    return detail::window("%1: %2.").arg(detail::window(run), summary);
}
inline QString runSummary(const char* run, const orvalis::RunResult& result, RunFiles files)
{
    return runSummary(run, filesWritten(result, files));
}
inline QString nothingWritten(const QString& summary)
{
    return detail::window("Nothing was written. %1").arg(summary);
}

// The viewer's status bar.
inline QString gridNotRead(const QString& file, const QString& why)
{
    return detail::window("%1 is not drawn: %2").arg(file, why);
}
inline QString gridEmpty(const QString& file)
{
    return detail::window("%1 is not drawn: it holds no grid lines").arg(file);
}

// The grid view's legend and status line.
inline QString legendWhite(int matrixValue)
{
    return detail::window("%1 (matrix)").arg(matrixValue);
}
inline QString legendCover(int coverValue)
{
    return detail::window("%1 (cover)").arg(coverValue);
}
inline QString legendOthers()
{
    return detail::window("other values");
}
inline QString legendNoData(int value)
{
    return detail::window("no data (%1)").arg(value);
}
inline QString legendShare(const QString& what, double percent)
{
    return detail::window("%1: %2 %").arg(what, QLocale().toString(percent, 'f', 1));
}
inline QString gridSize(int rows, int columns)
{
    return detail::window("%1 rows × %2 columns").arg(rows).arg(columns);
}
inline QString coverShare(int coverValue, double percent)
{
    return detail::window("cover (%1): %2 %").arg(coverValue).arg(QLocale().toString(percent, 'f', 1));
}
inline QString cellUnderPointer(int row, int column, int value)
{
    return detail::window("row %1, column %2: %3").arg(row).arg(column).arg(value);
}
inline QString viewHint()
{
    return detail::window("Wheel or + and - to zoom, drag to pan, 0 to fit");
}

// The file list and its menu.
inline QString openFilter()
{
    return detail::window("Landscape files (*.txt *.asc *.tif);;Images and GIS rasters (*.tga *.tif *.tiff *.img *.asc "
                          "*.vrt *.nc *.gpkg);;All files (*)");
}
inline QString revealInFolder()
{
    return detail::window("Reveal in folder");
}
inline QString removeFromList()
{
    return detail::window("Remove from list");
}

// File → Export Picture.
inline QString exportPictureTitle()
{
    return detail::window("Export picture");
}
// The filters in this order: as shown and full resolution, PNG then SVG.
inline QStringList exportFilters()
{
    return {detail::window("PNG picture as shown (*.png)"), detail::window("PNG picture, one pixel a cell (*.png)"),
            detail::window("SVG picture as shown (*.svg)"), detail::window("SVG picture, one pixel a cell (*.svg)")};
}
inline QString nothingToExport()
{
    return detail::window("There is no picture to export: select a file first.");
}
inline QString pictureNotWritten(const QString& path)
{
    return detail::window("The picture could not be written to %1.").arg(path);
}
inline QString pictureWritten(const QString& path)
{
    return detail::window("Picture written to %1.").arg(path);
}

// Help → About.
inline QString aboutTitle()
{
    return detail::window("About Orvalis");
}
inline QString aboutText(const QString& version)
{
    return detail::window(
               "<p><b>Orvalis %1</b></p>"
               "<p>A desktop tool for landscape ecologists: samples habitat windows from landscape images and "
               "land-cover maps, draws neutral landscapes and measures them.</p>"
               "<p>Licence: GPL-3.0-or-later.</p>"
               "<p>Example data: the <tt>examples/</tt> folder of the source tree (a TGA forest image and an NLCD "
               "land-cover map).<br>Manual: <tt>man orvalis</tt> and <tt>man orvalis-cli</tt> when installed, and "
               "<tt>README.md</tt> in the source tree.</p>")
        .arg(version);
}

// Help → Manual.
inline QString manualAction()
{
    return detail::window("Manual");
}
inline QString manualTitle()
{
    return detail::window("Orvalis manual");
}
inline QString manualMissing()
{
    return detail::window("The manual (README.md) is not installed here: see <tt>man orvalis</tt> and "
                          "<tt>man orvalis-cli</tt>, or README.md in the source tree.");
}

// What a first start shows in place of a grid.
inline QString firstScreenHint()
{
    return detail::window("Open a map or a sample log, or Create \u2192 Sample");
}
inline QString firstScreenDetail()
{
    return detail::window("File \u2192 Open lists landscape files (text grids, ASCII grids, GeoTIFF) and draws the "
                          "one selected. Or look at an example first:");
}
inline QString exampleImage(const QString& file)
{
    return detail::window("Example image: %1").arg(file);
}
inline QString exampleImageTip()
{
    return detail::window("A forest image to sample (TGA: dark pixels are habitat), shown in the Map tab");
}
inline QString exampleMap(const QString& file)
{
    return detail::window("Example land-cover map: %1").arg(file);
}
inline QString exampleMapTip()
{
    return detail::window("A land-cover map (GeoTIFF, NLCD classes), shown in the Map tab");
}
inline QString toolBarTitle()
{
    return detail::window("Tool bar");
}

// The metrics panel.
inline QString metricsTitle()
{
    return detail::window("Metrics");
}
inline QString viewMenu()
{
    return detail::window("View");
}
inline QString metricsPanelAction()
{
    return detail::window("Metrics panel");
}
inline QString metricsLevel()
{
    return detail::window("Level");
}
// In the order of orvalis::MetricLevel.
inline QStringList metricsLevels()
{
    return {detail::window("patch"), detail::window("class"), detail::window("landscape")};
}
inline QString metricsNeighbours()
{
    return detail::window("Neighbour rule");
}
inline QString metricsEightNeighbours()
{
    return detail::window("8 cells: patches join at sides and corners");
}
inline QString metricsFourNeighbours()
{
    return detail::window("4 cells: patches join at sides only");
}
inline QString metricsCellSize()
{
    return detail::window("Cell side");
}
inline QString metricsMetres()
{
    return detail::window(" m");
}
inline QString metricsSideOfFrame()
{
    return detail::window("from the file's frame");
}
inline QString metricsSideNotFrame(double frameSide)
{
    return detail::window("the file's frame gives %1 m").arg(QString::number(frameSide, 'g', 12));
}
inline QString metricsSideNoFrame()
{
    return detail::window("the file gives none");
}
inline QString metricsName()
{
    return detail::window("Metric");
}
inline QString metricsUnit()
{
    return detail::window("Unit");
}
inline QString metricsValue()
{
    return detail::window("Value");
}
inline QString metricsPatch()
{
    return detail::window("Patch");
}
inline QString metricsClass()
{
    return detail::window("Class");
}
inline QString metricsClassColumn(int cls)
{
    return detail::window("class %1").arg(cls);
}
inline QString metricsCode()
{
    return detail::window("Code");
}
inline QString metricsAbout(const QString& name, const QString& code, const QString& definition)
{
    return detail::window("<p><b>%1</b> (%2)</p><p>%3</p>").arg(name.toHtmlEscaped(), code, definition.toHtmlEscaped());
}
inline QString metricsUndefined()
{
    return detail::window("NA: not defined for this grid");
}
inline QString metricsNote()
{
    return detail::window("Areas in hectares, lengths in metres, values to 4 significant digits: a value's tooltip "
                          "and Ctrl+C give every digit.");
}
inline QString metricsPatchesCut(int shown, qulonglong patches)
{
    return detail::window("The first %1 of %2 patches are listed; orvalis-cli metrics --level patch lists them all.")
        .arg(QLocale().toString(shown), QLocale().toString(patches));
}
inline QString metricsMeasuring()
{
    return detail::window("Measuring\u2026");
}
inline QString metricsCopy()
{
    return detail::window("Copy");
}
// The column names of copied rows, for a spreadsheet or R.
inline QString metricsCopyMetric()
{
    return QStringLiteral("metric");
}
inline QString metricsCopyName()
{
    return QStringLiteral("name");
}
inline QString metricsCopyUnit()
{
    return QStringLiteral("unit");
}
inline QString metricsCopyValue()
{
    return QStringLiteral("value");
}
inline QString metricsCopyPatch()
{
    return QStringLiteral("id");
}
inline QString metricsCopyClass()
{
    return QStringLiteral("class");
}
inline QString metricsTooLarge(qulonglong cells)
{
    return detail::window("%1 cells: too many to measure here; orvalis-cli metrics measures the file.").arg(cells);
}
inline QString metricsNotRectangular()
{
    return detail::window("the grid is not rectangular: its rows differ in length");
}
inline QString metricsNotMeasured(const QString& why)
{
    return detail::window("Not measured: %1").arg(why);
}

// Settings in config.txt.
inline QString sampleNameEmpty()
{
    return detail::window("sample name empty");
}
inline QString postStringEmpty()
{
    return detail::window("sample post-string empty");
}
inline QString coverValueUsed(int value)
{
    return detail::window("cover value %1").arg(value);
}
inline QString matrixValueUsed(int value)
{
    return detail::window("matrix value %1").arg(value);
}
inline QString configIncomplete(const QString& why, const QStringList& defaulted)
{
    return detail::window("config.txt could not be read completely (%1); using %2.")
        .arg(why, defaulted.join(QStringLiteral(", ")));
}
inline QString configChangedOnDisk()
{
    return detail::window("config.txt has changed on disk since Orvalis read it. Replace it with these settings?");
}
inline QString configKeptAsChanged()
{
    return detail::window("The settings apply until the program ends; config.txt was left as it was changed on disk.");
}
inline QString configNotSaved(const QString& why)
{
    return detail::window("The settings apply until the program ends, but they could not be saved in config.txt: %1.")
        .arg(why);
}

// The map view and its tab.
inline QString mapTabTitle()
{
    return detail::window("Map");
}
inline QString openMapAction()
{
    return detail::window("Open Map\u2026");
}
inline QString openSampleLogAction()
{
    return detail::window("Open Sample Log\u2026");
}
inline QString chooseMap()
{
    return detail::window("Choose the map");
}
inline QString chooseMapOfLog(const QString& log)
{
    return detail::window("Choose the map %1 was sampled from").arg(log);
}
inline QString mapFilter()
{
    return detail::window("Maps (*.tga *.TGA *.tif *.tiff *.TIF *.img *.asc *.nc *.vrt);;All files (*)");
}
inline QString chooseSampleLog()
{
    return detail::window("Choose a sample log");
}
inline QString sampleLogFilter()
{
    return detail::window("Sample logs (sample*.txt *.txt);;All files (*)");
}
inline QString readingMap()
{
    return detail::window("Reading the map\u2026");
}
inline QString noMapYet()
{
    return detail::window("No map: File \u2192 Open Map, File \u2192 Open Sample Log, or a sampling run.");
}
inline QString mapNotRead(const QString& map, const QString& why)
{
    return detail::window("The map %1 could not be read: %2").arg(map, why);
}
inline QString windowSideUnknown(const QString& why)
{
    return detail::window("No window file of the log could be read to learn the windows' side (%1): "
                          "only their centres are marked.")
        .arg(why);
}
inline QString sampleLogProblems(const QString& log, const QStringList& problems)
{
    return detail::window("Some of %1 was not shown:\n%2").arg(log, problems.mid(0, 10).join(QLatin1Char('\n')));
}
inline QString mapLegendTitle()
{
    return detail::window("Window cover");
}
inline QString mapWindowTip(const QString& file, double cover, int x, int y, std::optional<double> mapX,
                            std::optional<double> mapY)
{
    QString tip = detail::window("%1\ncover %2%\ncentre column %3, row %4")
                      .arg(file, QLocale().toString(cover * 100, 'g', 4))
                      .arg(x)
                      .arg(y);
    if (mapX && mapY)
        tip += detail::window("\nmap x %1, y %2").arg(QString::number(*mapX, 'g', 12), QString::number(*mapY, 'g', 12));
    return tip;
}
inline QString mapValueLegendTitle(const QString& file, const QString& band)
{
    if (band.isEmpty())
        return detail::window("Values of %1").arg(file);
    return detail::window("%1 of %2").arg(band, file);
}
inline QString mapBandName(int band, const QString& description)
{
    if (description.isEmpty())
        return detail::window("band %1").arg(band);
    return detail::window("band %1: %2").arg(band).arg(description);
}
inline QString mapBandChoice()
{
    return detail::window("The band of the map drawn");
}
inline QString mapValue(double value)
{
    return QLocale().toString(value, 'g', 4);
}
inline QString mapSiteTip(const QString& id, double x, double y, double radius)
{
    return detail::window("site %1\nmap x %2, y %3\nlargest buffer %4 map units")
        .arg(id, QString::number(x, 'g', 12), QString::number(y, 'g', 12), QString::number(radius, 'g', 12));
}
inline QString mapSitesLegend(int sites, double radius)
{
    const QString r = QString::number(radius, 'g', 12);
    if (sites == 1)
        return detail::window("1 site, buffer of %1 map units").arg(r);
    return detail::window("%1 sites, largest buffer %2 map units").arg(sites).arg(r);
}
inline QString mapWindowShown(const QString& file)
{
    return detail::window("%1: drawn in the Grid tab").arg(file);
}

// Analyse: real windows compared with neutral landscapes.
namespace detail {
inline QString compare(const char* text)
{
    return QCoreApplication::translate(context, text);
}
}  // namespace detail
inline QString analyseMenu()
{
    return detail::compare("Analyse");
}
inline QString compareAction()
{
    return detail::compare("Compare with neutral models...");
}
inline QString compareFromList(int files)
{
    return QCoreApplication::translate("DialogCompare", "The files in the list (%1)").arg(files);
}
inline QString chooseCompareFolder()
{
    return QCoreApplication::translate("DialogCompare", "Choose the folder for the comparison's tables");
}
inline QString compareNoWindows()
{
    return detail::compare("There are no windows to compare: open landscape files or choose a sampling log.");
}
inline QString compareNoFolder()
{
    return detail::compare("No output folder was given for the comparison.");
}
inline QString compareFolderNotMade(const QString& folder)
{
    return detail::compare("The folder %1 could not be created.").arg(folder);
}
inline QString compareRefused(const QString& why)
{
    return detail::compare("The comparison was not run: %1").arg(why);
}
inline QString compareFailed(const QString& why)
{
    return detail::compare("The comparison ended with a problem: %1").arg(why);
}
inline QString compareSummary(qlonglong replicates, bool cancelled)
{
    return cancelled ? detail::compare("Comparison cancelled: the tables hold the windows finished before.")
                     : detail::compare("Comparison: %1 neutral replicates measured.").arg(replicates);
}
inline QString compareResultsTitle()
{
    return detail::compare("Comparison with neutral models");
}
inline QString compareTablesIn(const QString& folder)
{
    return detail::compare("Tables saved in %1 (compare.csv, neutral-metrics.csv, windows.csv)").arg(folder);
}
inline QString compareTablesUnread(const QString& why)
{
    return detail::compare("The comparison's tables could not be read: %1").arg(why);
}
inline QString compareChartLabel()
{
    return detail::compare("Chart:");
}
inline QString compareLandscapeLevel(const QString& metric)
{
    return detail::compare("%1, landscape level").arg(metric);
}
inline QString compareClassLevel(const QString& metric, int cls)
{
    return detail::compare("%1, class %2").arg(metric).arg(cls);
}
inline QString compareHabitatLevel(const QString& metric, int cls)
{
    return detail::compare("%1, habitat (class %2)").arg(metric).arg(cls);
}
inline QString compareMatrixLevel(const QString& metric, int cls)
{
    return detail::compare("%1, matrix (class %2)").arg(metric).arg(cls);
}
inline QString compareConstant(const QString& list)
{
    return detail::compare("Not charted, the same in every window and replicate: %1").arg(list);
}
inline QString compareWindowTip(const QString& file, double cover, double value)
{
    return detail::compare("%1\ncover %2 %, value %3").arg(file).arg(cover, 0, 'g', 4).arg(value, 0, 'g', 6);
}
inline QString compareCellSize(const QString& size)
{
    return detail::compare("Cell size used: %1").arg(size);
}
inline QString compareCellSizeAssumed(const QString& size)
{
    return detail::compare("Cell size used: %1 m, as given above: the windows give none of their own").arg(size);
}
inline QString compareCellSizes(const QString& low, const QString& high)
{
    return detail::compare("Cell size used: from %1 to %2 m, each window its own").arg(low, high);
}
inline QString compareWrites(const QString& size)
{
    return detail::compare("It will write about %1.").arg(size);
}
inline QString compareLargeRun(const QString& size, const QString& folder)
{
    return detail::compare("This comparison will write about %1 into %2. Go on?").arg(size, folder);
}
inline QString comparePercolation()
{
    return detail::compare("Percolation of random landscapes");
}
inline QString compareExport()
{
    return detail::compare("&Export...");
}
inline QString compareExportTitle()
{
    return detail::compare("Export the chart");
}
inline QString compareExportFilter()
{
    return detail::compare("PNG picture (*.png);;SVG drawing (*.svg)");
}
inline QString compareExported(const QString& file)
{
    return detail::compare("Chart saved as %1").arg(file);
}

// Analyse: metrics in buffers around field sites.
namespace detail {
inline QString sites(const char* text)
{
    return QCoreApplication::translate(context, text);
}
}  // namespace detail
inline QString sitesAction()
{
    return detail::sites("Metrics around sites...");
}
inline QString chooseLandCoverMap()
{
    return detail::sites("Choose the land-cover map");
}
inline QString landCoverMapFilter()
{
    return detail::sites("Land-cover maps (*.tif *.tiff *.gtif *.img *.vrt *.asc *.nc *.kea *.jp2 *.gpkg *.rst *.sdat);;"
                         "All files (*)");
}
inline QString chooseSitesFile()
{
    return detail::sites("Choose the sites");
}
inline QString sitesFileFilter()
{
    return detail::sites("Sites (*.csv *.gpkg *.shp *.geojson *.json);;CSV tables (*.csv);;All files (*)");
}
inline QString chooseSitesTable()
{
    return detail::sites("Save the sites' table as");
}
inline QString csvFilter()
{
    return detail::sites("CSV tables (*.csv);;All files (*)");
}
inline QString radiusNotNumber(const QString& text)
{
    return detail::sites("the radius '%1' is not a number").arg(text);
}
inline QString radiusNotPositive(const QString& text)
{
    return detail::sites("a radius must be above 0, not %1").arg(text);
}
inline QString radiiNone()
{
    return detail::sites("give at least one radius, e.g. 250, 500, 1000");
}
inline QString sitesNoMap()
{
    return detail::sites("Choose the land-cover map to measure.");
}
inline QString sitesNoFile(const QString& path)
{
    return detail::sites("%1 does not exist.").arg(path);
}
inline QString sitesNoSites()
{
    return detail::sites("Choose the file of the sites.");
}
inline QString sitesBadRadii(const QString& why)
{
    return detail::sites("Radii: %1.").arg(why);
}
inline QString sitesBadHabitat(const QString& why)
{
    return detail::sites("Habitat classes: %1").arg(why);
}
inline QString sitesNoMetricTicked()
{
    return detail::sites("Tick at least one metric, or take the standard set.");
}
inline QString sitesBadMetrics(const QString& why)
{
    return detail::sites("Metrics: %1").arg(why);
}
inline QString sitesNoTable()
{
    return detail::sites("Name the table to write.");
}
inline QString sitesTableReplaces(const QString& path)
{
    return detail::sites("The table would replace %1: name another file.").arg(path);
}
inline QString sitesTableFolderMissing(const QString& folder)
{
    return detail::sites("The table's folder %1 does not exist.").arg(folder);
}
inline QString sitesMapUnread(const QString& map, const QString& why)
{
    return detail::sites("The map %1 cannot be measured: %2").arg(map, why);
}
inline QString sitesMapNotNorthUp(const QString& map)
{
    return detail::sites("The map %1 has no frame or a rotated one: buffers in map units need a north-up map.").arg(map);
}
inline QString sitesUnread(const QString& file, const QString& why)
{
    return detail::sites("The sites in %1 cannot be read: %2").arg(file, why);
}
inline QString sitesNone(const QString& file)
{
    return detail::sites("%1 holds no sites.").arg(file);
}
inline QString sitesCellSizeNote(const QString& why)
{
    return detail::sites("the map gives no cell size (%1): cells are measured as 1 m and radii are in its units").arg(why);
}
inline QString sitesFileNote(const QString& note)
{
    return detail::sites("sites file: %1").arg(note);
}
inline QString siteNote(const QString& site, const QString& note)
{
    return detail::sites("site %1: %2").arg(site, note);
}
inline QString siteFailed(const QString& site, const QString& why)
{
    return detail::sites("site %1 not measured: %2").arg(site, why);
}
inline QString sitesSummary(qulonglong measured, qulonglong sites, int radii, const QString& table)
{
    if (radii == 1)
        return detail::sites("Sites: %1 of %2 measured at 1 radius; table %3.").arg(measured).arg(sites).arg(table);
    return detail::sites("Sites: %1 of %2 measured at %3 radii; table %4.").arg(measured).arg(sites).arg(radii).arg(table);
}
inline QString sitesCancelled()
{
    return detail::sites("Sites cancelled: no table was written.");
}
inline QString sitesFailed(const QString& map, const QString& why)
{
    return detail::sites("The sites were not measured: %1: %2").arg(map, why);
}
inline QString sitesNotWritten(const QString& table, const QString& why)
{
    return detail::sites("The sites' table %1 could not be written: %2").arg(table, why);
}
inline QString sitesResultsTitle()
{
    return detail::sites("Metrics around sites");
}
inline QString sitesTableIn(const QString& table)
{
    return detail::sites("Table saved as %1").arg(table);
}
// In the table's order: site, radius, level, class, metric, value.
inline QStringList sitesColumns()
{
    return {detail::sites("Site"),  detail::sites("Radius"), detail::sites("Level"),
            detail::sites("Class"), detail::sites("Metric"), detail::sites("Value")};
}
inline QString sitesNotesTitle()
{
    return detail::sites("Warnings, and sites not measured:");
}
inline QString sitesExport()
{
    return detail::sites("&Export...");
}
inline QString sitesExported(const QString& file)
{
    return detail::sites("Table saved as %1").arg(file);
}
inline QString sitesExportFailed(const QString& file, const QString& why)
{
    return detail::sites("%1 could not be written: %2").arg(file, why);
}

// Analyse: a moving-window surface of a map.
namespace detail {
inline QString surface(const char* text)
{
    return QCoreApplication::translate(context, text);
}
}  // namespace detail
inline QString surfaceAction()
{
    return detail::surface("Moving-window surface...");
}
inline QString chooseSurfaceFile()
{
    return detail::surface("Save the surface as");
}
inline QString surfaceFilter()
{
    return detail::surface("GeoTIFF (*.tif *.tiff);;All files (*)");
}
inline QString surfaceNoMap()
{
    return detail::surface("Choose the land-cover map.");
}
inline QString surfaceNoFile(const QString& path)
{
    return detail::surface("%1 does not exist.").arg(path);
}
inline QString surfaceEvenWindow(int window)
{
    return detail::surface("The window must be an odd number of cells, so that it has a centre cell: not %1.").arg(window);
}
inline QString surfaceNoMetricTicked()
{
    return detail::surface("Tick at least one metric.");
}
inline QString surfaceBadMetrics(const QString& why)
{
    return detail::surface("Metrics: %1").arg(why);
}
inline QString surfaceBadHabitat(const QString& why)
{
    return detail::surface("Habitat classes: %1").arg(why);
}
inline QString surfaceNoOutput()
{
    return detail::surface("Name the GeoTIFF to write.");
}
inline QString surfaceReplacesMap(const QString& map)
{
    return detail::surface("The surface would replace the map %1: name another file.").arg(map);
}
inline QString surfaceIsFolder(const QString& path)
{
    return detail::surface("%1 is a folder: name a file.").arg(path);
}
inline QString surfaceFolderMissing(const QString& folder)
{
    return detail::surface("The surface's folder %1 does not exist.").arg(folder);
}
inline QString surfaceMapUnread(const QString& map, const QString& why)
{
    return detail::surface("The map %1 cannot be read: %2").arg(map, why);
}
inline QString surfaceRefused(const QString& why)
{
    return detail::surface("The surface was not made: %1").arg(why);
}
inline QString surfaceFailed(const QString& why)
{
    return detail::surface("The surface could not be made: %1; nothing was written.").arg(why);
}
inline QString surfaceCancelled()
{
    return detail::surface("Surface cancelled: nothing was written.");
}
inline QString surfaceWritten(const QString& file)
{
    return detail::surface("Surface written to %1.").arg(file);
}

}  // namespace texts
