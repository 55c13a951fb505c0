#include "gui/MainWindow.h"

#include "core/map/GdalSupport.h"
#include "core/map/RasterGrid.h"
#include "gui/CompareAction.h"
#include "gui/EngineMessages.h"
#include "gui/FieldTips.h"
#include "gui/FractalAction.h"
#include "gui/MapTab.h"
#include "gui/MapView.h"
#include "gui/MetricsPanel.h"
#include "gui/NeutralAction.h"
#include "gui/PictureSource.h"
#include "gui/RandomAction.h"
#include "gui/SampleAction.h"
#include "gui/SitesAction.h"
#include "gui/SurfaceAction.h"
#include "gui/Texts.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCollator>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

// Larger GIS rasters are left to orvalis-cli: reading them would hold several times their cells.
constexpr std::uint64_t MaxRasterCells = 25'000'000;
// How many classes the legend names; the rest are counted.
constexpr std::size_t MaxLegendEntries = 24;

// Names the viewer reads through GDAL; every other name is a text grid, as it always was.
bool isRasterName(const QString& path)
{
    static const QStringList endings{"tif", "tiff", "gtif", "asc", "img", "vrt", "nc", "grd", "bil", "rst", "sdat",
                                     "kea", "jp2", "gpkg"};
    return endings.contains(QFileInfo(path).suffix().toLower());
}

QString canonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// A listed file: its name shown, its full path kept and shown as the tooltip. Names sort in
// natural order, a2 before a10, as a file manager shows them.
class FileItem : public QListWidgetItem {
public:
    explicit FileItem(const QString& path) : QListWidgetItem(QFileInfo(path).fileName())
    {
        setData(Qt::UserRole, path);
        setToolTip(path);
    }

    bool operator<(const QListWidgetItem& other) const override
    {
        const int byName = naturalCompare(text(), other.text());
        return byName != 0 ? byName < 0 : MainWindow::pathOf(*this) < MainWindow::pathOf(other);
    }

private:
    // Runs of digits compare as numbers, the rest as the locale sorts text. The collator's own numeric
    // mode is not enough: in the C locale, and without ICU, it compares digit by digit.
    static int naturalCompare(const QString& a, const QString& b)
    {
        static const QCollator collator = [] {
            QCollator c;
            c.setNumericMode(true);
            return c;
        }();
        auto run = [](const QString& s, qsizetype& i) {
            const qsizetype from = i;
            const bool digits = s[i].isDigit();
            while (i < s.size() && s[i].isDigit() == digits)
                ++i;
            return QStringView(s).mid(from, i - from);
        };
        qsizetype i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            const QStringView x = run(a, i), y = run(b, j);
            int order = 0;
            if (x.front().isDigit() && y.front().isDigit()) {
                // Longer without leading zeros is larger; equal lengths compare digit by digit.
                const auto trimmed = [](QStringView v) {
                    while (v.size() > 1 && v.front() == u'0')
                        v = v.mid(1);
                    return v;
                };
                const QStringView p = trimmed(x), q = trimmed(y);
                order = p.size() != q.size() ? (p.size() < q.size() ? -1 : 1) : p.compare(q);
            } else {
                order = collator.compare(x, y);
            }
            if (order != 0)
                return order;
        }
        return (i < a.size()) - (j < b.size());
    }
};

// Scales the pictures of a document down to a width, so that a page reads without scrolling sideways.
void fitPictures(QTextDocument& document, int width)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QVariant data = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
            QImage picture = data.value<QImage>();
            if (picture.isNull())
                picture.loadFromData(data.toByteArray());
            if (picture.width() <= width)
                continue;
            format.setWidth(width);
            format.setHeight(double(picture.height()) * width / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    // The generators are reached from the Create menu, after Sample.
    ui->menuCreate->addAction(ui->actionRandom);
    ui->menuCreate->addAction(ui->actionFractal);
    addNeutralMenu(*this, *ui->menuCreate, [this] { return settings_.values(); },
                   [this](const ActionOutcome& outcome) { finish(outcome); });
    addCompareMenu(*this, [this] { return fileNames; }, [this](const QString& problem) { reportProblem(problem); });
    ui->frameView->setGrid(grid_);
    ui->frameView->setToolTip(texts::viewHint());
    // The tab bar names what the area shows now.
    ui->label_2->hide();
    // The view takes what the window gains; the list keeps its width.
    ui->mainSplitter->setStretchFactor(0, 0);
    ui->mainSplitter->setStretchFactor(1, 1);
    mapTab_ = new MapTab(this, ui->viewTabs, ui->fileListView, ui->menuOpen, ui->actionClearList,
                         [this](const QStringList& files) { openFiles(files); });
    connect(mapTab_, &MapTab::problem, this, &MainWindow::reportProblem);
    // A window on view turns north-up once the map it was cut from tells which way its rows run.
    connect(mapTab_->view(), &MapView::loaded, this, [this] {
        if (!shownFile_.isEmpty() && !isRasterName(shownFile_))
            ui->frameView->setRowsFromSouth(mapTab_->rowsFromSouth(shownFile_));
    });
    addSitesMenu(*this, *mapTab_, [this](const QString& problem) { reportProblem(problem); });
    addSurfaceMenu(*this, *mapTab_, [this](const QString& problem) { reportProblem(problem); });
    connect(mapTab_, &MapTab::status, this, [this](const QString& text) {
        if (statusBar()->currentMessage().isEmpty())
            statusBar()->showMessage(text, 5000);
    });
    metrics_ = new MetricsPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, metrics_);
    // A closed panel comes back from here: the tool bar's own menu is found by few.
    auto* viewMenu = new QMenu(texts::viewMenu(), this);
    viewMenu->setObjectName(QStringLiteral("menuView"));
    menuBar()->insertMenu(ui->menuCreate->menuAction(), viewMenu);
    // The panel comes beside the list and the map, not out of their room, wide enough for a few classes.
    resize(width() + MetricsPanel::PreferredWidth, height());
    resizeDocks({metrics_}, {MetricsPanel::PreferredWidth}, Qt::Horizontal);
    // Long texts below the grid are cut rather than widen the view at the list's cost.
    ui->gridStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->gridLegend->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->fileListView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->fileListView, &QWidget::customContextMenuRequested, this, &MainWindow::showListMenu);
    connect(ui->frameView, &GridView::drawingChanged, this, [this] {
        updateLegend();
        updateGridStatus();
    });
    connect(ui->frameView, &GridView::pointerCellChanged, this, &MainWindow::updateGridStatus);
    connect(ui->frameView, &GridView::drawingChanged, this, &MainWindow::updateExportAction);
    connect(ui->viewTabs, &QTabWidget::currentChanged, this, &MainWindow::updateExportAction);
    connect(ui->menuOpen, &QMenu::aboutToShow, this, &MainWindow::updateExportAction);
    if (auto* map = findChild<MapView*>(QStringLiteral("mapView")))
        connect(map, &MapView::loaded, this, &MainWindow::updateExportAction);
    auto* manual = new QAction(texts::manualAction(), this);
    manual->setObjectName(QStringLiteral("actionManual"));
    connect(manual, &QAction::triggered, this, &MainWindow::showManual);
    ui->menuHelp->insertAction(ui->actionAbout, manual);
    installFieldTips(*this);
    setUpFirstScreen();
    setUpPanels(*viewMenu);
    updateLegend();
    updateExportAction();
    loadSettings();
    QSettings stored;
    // A first start gets room enough to see a window's cells; later starts come back as they were left.
    if (!restoreGeometry(stored.value("window/geometry").toByteArray()))
        resize(std::max(width(), 1000 + MetricsPanel::PreferredWidth / 2), std::max(height(), 640));
    restoreState(stored.value("window/state").toByteArray());
    ui->mainSplitter->restoreState(stored.value("window/splitter").toByteArray());
}

MainWindow::~MainWindow()
{
    // The list empties its model as the widgets go: the first screen must not hear of it.
    disconnect(ui->fileListView->model(), nullptr, this, nullptr);
    delete ui;
}

void MainWindow::reportProblem(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    problems_.append(text);
    // Not exec(): the message must not block a run or a script driving the window.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

void MainWindow::setSettings(const WindowSettings& values)
{
    settings_.setValues(values);
    ui->frameView->setMatrixValue(values.matrixValue);
    ui->frameView->setCoverValue(values.coverValue);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QSettings stored;
    stored.setValue("window/geometry", saveGeometry());
    stored.setValue("window/state", saveState());
    stored.setValue("window/splitter", ui->mainSplitter->saveState());
    QMainWindow::closeEvent(event);
}

QString MainWindow::lastFolder(const char* key) const
{
    const QSettings stored;
    return stored.value(key, stored.value("folders/open")).toString();
}

void MainWindow::rememberFolder(const char* key, const QString& file)
{
    QSettings().setValue(key, QFileInfo(file).absolutePath());
}

void MainWindow::loadSettings()
{
    const QString problem = settings_.load();
    ui->frameView->setMatrixValue(settings_.values().matrixValue);
    ui->frameView->setCoverValue(settings_.values().coverValue);
    // Once the loop runs, so that the message shows over the window, not before it.
    if (!problem.isEmpty())
        QTimer::singleShot(0, this, [this, problem] { reportProblem(problem); });
}

void MainWindow::on_actionParametros_triggered()
{
    settings_.fill(settingsDialog_);
    const int seed = settingsDialog_.randomSeed();
    if (settingsDialog_.exec() != QDialog::Accepted) {
        // Cancel leaves every field as it showed when the dialog opened, the seed of the next Random run too.
        settings_.fill(settingsDialog_);
        settingsDialog_.setRandomSeed(seed);
        return;
    }
    settings_.takeFrom(settingsDialog_);
    ui->frameView->setMatrixValue(settings_.values().matrixValue);
    ui->frameView->setCoverValue(settings_.values().coverValue);
    if (settings_.changedOnDisk() &&
        QMessageBox::question(this, windowTitle(), texts::configChangedOnDisk()) != QMessageBox::Yes) {
        reportProblem(texts::configKeptAsChanged());
        return;
    }
    const QString problem = settings_.save();
    if (!problem.isEmpty())
        reportProblem(problem);
}

void MainWindow::on_actionOpen_triggered()
{
    openFiles(QFileDialog::getOpenFileNames(this, texts::chooseFilesToOpen(), lastFolder("folders/open"),
                                            texts::openFilter()));
}

QString MainWindow::pathOf(const QListWidgetItem& item)
{
    const QVariant path = item.data(Qt::UserRole);
    return path.isValid() ? path.toString() : item.text();
}

void MainWindow::openFiles(const QStringList& chosen)
{
    fileNames = chosen;
    if (chosen.isEmpty())
        return;
    rememberFolder("folders/open", chosen.first());
    QListWidget* list = ui->fileListView;
    QSet<QString> listed;
    for (int row = 0; row < list->count(); ++row)
        listed.insert(canonicalPath(pathOf(*list->item(row))));
    std::vector<QListWidgetItem*> added;
    for (const QString& path : chosen) {
        if (listed.contains(canonicalPath(path)))
            continue;
        listed.insert(canonicalPath(path));
        added.push_back(new FileItem(path));
        list->addItem(added.back());
    }
    if (added.empty())
        return;
    list->sortItems(Qt::AscendingOrder);
    QListWidgetItem* first = *std::min_element(added.begin(), added.end(), [list](auto* a, auto* b) {
        return list->row(a) < list->row(b);
    });
    {
        // Drawn once below, whether or not the current row number changes.
        const QSignalBlocker quiet(list);
        list->setCurrentItem(first);
    }
    list->scrollToItem(first);
    showFile(pathOf(*first));
}

void MainWindow::on_fileListView_clicked(QModelIndex)
{
}

void MainWindow::on_fileListView_currentRowChanged(int row)
{
    if (row < 0)
        return;
    showFile(pathOf(*ui->fileListView->currentItem()));
}

void MainWindow::showFile(const QString& name)
{
    const std::string path = QFile::encodeName(name).toStdString();
    QString error;
    int rows = 0;
    std::optional<int> noData;
    std::optional<double> cellSize;
    QString frameNote;
    bool recorded = false;
    // A FIFO or a device would hold the window: refused before anything opens it.
    if (const std::string special = orvalis::specialFileRefusal(path); !special.empty()) {
        grid_.clear();
        error = engineMessage(special);
    } else if (isRasterName(name)) {
        orvalis::RasterGridInfo info;
        std::string why;
        if (orvalis::readRasterColumns(path, grid_, info, &why, MaxRasterCells)) {
            rows = grid_.empty() ? 0 : static_cast<int>(grid_.lineLength(0));
            noData = info.noData;
            cellSize = info.cellSize;
            frameNote = engineMessage(info.cellSizeNote);
        } else {
            error = engineMessage(why);
        }
    } else {
        const orvalis::LandscapeReadResult read = orvalis::readLandscapeFile(path, grid_);
        if (!read.ok)
            error = engineMessage(read.error);
        // A window of a sampling run: its cell side is the run's.
        cellSize = mapTab_->recordedCellSize(name);
        recorded = cellSize.has_value();
    }
    shownFile_ = name;
    ui->frameView->setNoDataValue(noData);
    ui->frameView->setGrid(grid_, rows);
    ui->frameView->setRowsFromSouth(!isRasterName(name) && mapTab_->rowsFromSouth(name));
    metrics_->setSource(QFileInfo(name).absolutePath(), frameNote, recorded);
    metrics_->showMetricsOf(grid_, cellSize, noData, isRasterName(name));
    // A file that gives no picture says why, without a box in the way of the next click.
    if (!error.isEmpty())
        statusBar()->showMessage(texts::gridNotRead(name, error));
    else if (grid_.empty())
        statusBar()->showMessage(texts::gridEmpty(name));
    else
        statusBar()->clearMessage();
    repaint();
}

void MainWindow::clearView()
{
    grid_.clear();
    shownFile_.clear();
    ui->frameView->setNoDataValue(std::nullopt);
    ui->frameView->setGrid(grid_);
    metrics_->showMetricsOf(grid_);
    statusBar()->clearMessage();
}

void MainWindow::on_actionClearList_triggered()
{
    ui->fileListView->clear();
    fileNames.clear();
    clearView();
}

void MainWindow::removeFromList(QListWidgetItem* item)
{
    const QString path = pathOf(*item);
    fileNames.removeAll(path);
    delete ui->fileListView->takeItem(ui->fileListView->row(item));
    if (ui->fileListView->count() == 0 || ui->fileListView->currentRow() < 0)
        clearView();
}

void MainWindow::showListMenu(const QPoint& at)
{
    QListWidgetItem* item = ui->fileListView->itemAt(at);
    if (!item)
        return;
    QMenu menu(this);
    QAction* reveal = menu.addAction(texts::revealInFolder());
    QAction* remove = menu.addAction(texts::removeFromList());
    QAction* chosen = menu.exec(ui->fileListView->viewport()->mapToGlobal(at));
    if (chosen == reveal)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(pathOf(*item)).absolutePath()));
    else if (chosen == remove)
        removeFromList(item);
}

void MainWindow::updateLegend()
{
    const GridView& view = *ui->frameView;
    // Nothing drawn, nothing to explain.
    if (grid_.empty()) {
        ui->gridLegend->clear();
        return;
    }
    QStringList parts;
    std::size_t named = 0;
    for (const LegendEntry& e : view.legend()) {
        if (!e.noData && named == MaxLegendEntries)
            continue;
        QString what;
        if (e.noData) {
            what = texts::legendNoData(e.values.front());
        } else if (view.twoClass() && e.colour == QColor(Qt::white)) {
            what = texts::legendWhite(e.values.front());
        } else if (view.twoClass() && e.values.size() == 1 && e.values.front() == settings_.values().coverValue) {
            what = texts::legendCover(e.values.front());
        } else if (view.twoClass() && (e.values.empty() || e.values.size() > 4)) {
            what = texts::legendOthers();
        } else {
            QStringList values;
            for (int v : e.values)
                values << QString::number(v);
            what = values.join(QStringLiteral(", "));
        }
        if (!e.noData)
            ++named;
        // A white cell is drawn with its outline so that it shows on a light window.
        const QString swatch = e.noData ? QStringLiteral("&#9636;")
                               : e.colour == QColor(Qt::white)
                                   ? QStringLiteral("&#9633;")
                                   : QStringLiteral("<span style=\"color:%1\">&#9632;</span>").arg(e.colour.name());
        // An entry wraps as a whole, never between its value and its share.
        const QString text = (e.noData ? what : texts::legendShare(what, e.percent))
                                 .toHtmlEscaped()
                                 .replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
        parts << QStringLiteral("<span style=\"font-size:large\">%1</span>&nbsp;%2").arg(swatch, text);
    }
    const std::size_t classes = view.legend().size() - (!view.legend().empty() && view.legend().back().noData);
    if (!view.twoClass() && classes > MaxLegendEntries)
        parts << QStringLiteral("… +%1").arg(classes - MaxLegendEntries);
    ui->gridLegend->setText(parts.join(QStringLiteral("&nbsp;&nbsp;&nbsp; ")));
}

void MainWindow::updateGridStatus()
{
    const GridView& view = *ui->frameView;
    if (grid_.empty()) {
        ui->gridStatus->clear();
        return;
    }
    QStringList parts{QFileInfo(shownFile_).fileName(), texts::gridSize(view.rows(), view.columns()),
                      texts::coverShare(settings_.values().coverValue, view.coverPercent())};
    if (const auto cell = view.pointerCell())
        parts << texts::cellUnderPointer(cell->row + 1, cell->column + 1, cell->value);
    ui->gridStatus->setText(parts.join(QStringLiteral("   ·   ")));
    ui->gridStatus->setToolTip(ui->gridStatus->text());
}

PictureSource* MainWindow::currentPicture() const
{
    QWidget* page = ui->viewTabs->currentWidget();
    if (!page)
        return nullptr;
    if (auto* source = dynamic_cast<PictureSource*>(page))
        return source;
    for (QWidget* w : page->findChildren<QWidget*>())
        if (auto* source = dynamic_cast<PictureSource*>(w))
            return source;
    return nullptr;
}

QString MainWindow::exportPicture(const QString& path, bool fullResolution)
{
    const PictureSource* source = currentPicture();
    const QSize size = source ? source->pictureSize(fullResolution) : QSize();
    if (size.isEmpty())
        return texts::nothingToExport();
    // Written under a temporary name and renamed when complete: no half picture under the final name.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return texts::pictureNotWritten(path);
    bool painted = false;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QFileInfo(shownFile_).fileName());
        QPainter painter;
        if (painter.begin(&svg)) {
            source->paintPicture(painter, fullResolution);
            painted = painter.end();
        }
    } else {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            source->paintPicture(painter, fullResolution);
        }
        painted = image.save(&file, "PNG");
    }
    if (!painted || !file.commit())
        return texts::pictureNotWritten(path);
    return {};
}

void MainWindow::on_actionExportPicture_triggered()
{
    // Said before a file name is asked for, should the command be reached with nothing on view.
    updateExportAction();
    if (!ui->actionExportPicture->isEnabled()) {
        reportProblem(texts::nothingToExport());
        return;
    }
    const QStringList filters = texts::exportFilters();
    QString filter = filters.first();
    QString path = QFileDialog::getSaveFileName(this, texts::exportPictureTitle(), lastFolder("folders/pictures"),
                                                filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return;
    const qsizetype kind = std::max<qsizetype>(0, filters.indexOf(filter));
    const QString suffix = kind >= 2 ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    rememberFolder("folders/pictures", path);
    const QString problem = exportPicture(path, kind % 2 == 1);
    if (problem.isEmpty())
        statusBar()->showMessage(texts::pictureWritten(path));
    else
        reportProblem(problem);
}

void MainWindow::on_actionQuit_triggered()
{
    close();
}

void MainWindow::on_actionAbout_triggered()
{
    QMessageBox::about(this, texts::aboutTitle(), texts::aboutText(QStringLiteral(ORVALIS_VERSION)));
}

QString MainWindow::examplePath(const QString& file)
{
    for (const QString& folder : {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/orvalis/examples"),
                                  QStringLiteral(ORVALIS_SOURCE_DIR "/examples")}) {
        const QFileInfo info(folder + QLatin1Char('/') + file);
        if (info.isFile())
            return info.canonicalFilePath();
    }
    return {};
}

QString MainWindow::manualPath()
{
    for (const QString& path : {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/orvalis/README.md"),
                                QStringLiteral(ORVALIS_SOURCE_DIR "/README.md")}) {
        const QFileInfo info(path);
        if (info.isFile())
            return info.canonicalFilePath();
    }
    return {};
}

void MainWindow::showManual()
{
    if (manual_) {
        manual_->raise();
        manual_->activateWindow();
        return;
    }
    manual_ = new QDialog(this);
    manual_->setObjectName(QStringLiteral("manual"));
    manual_->setAttribute(Qt::WA_DeleteOnClose);
    manual_->setWindowTitle(texts::manualTitle());
    auto* layout = new QVBoxLayout(manual_);
    auto* text = new QTextBrowser(manual_);
    text->setObjectName(QStringLiteral("manualText"));
    text->setOpenExternalLinks(true);
    const QString path = manualPath();
    if (path.isEmpty())
        text->setHtml(texts::manualMissing());
    else
        text->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    fitPictures(*text->document(), 800);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, manual_);
    connect(buttons, &QDialogButtonBox::rejected, manual_, &QDialog::close);
    layout->addWidget(buttons);
    manual_->resize(860, 720);
    manual_->show();
}

void MainWindow::setUpFirstScreen()
{
    firstScreen_ = new QWidget(ui->frameView);
    firstScreen_->setObjectName(QStringLiteral("firstScreen"));
    auto* layout = new QVBoxLayout(firstScreen_);
    layout->addStretch(2);
    auto* hint = new QLabel(texts::firstScreenHint(), firstScreen_);
    hint->setObjectName(QStringLiteral("firstScreenHint"));
    QFont large = hint->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setBold(true);
    hint->setFont(large);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* detail = new QLabel(texts::firstScreenDetail(), firstScreen_);
    detail->setAlignment(Qt::AlignCenter);
    detail->setWordWrap(true);
    layout->addWidget(detail);
    auto addExample = [&](const QString& file, const QString& text, const QString& tip, const char* name) {
        const QString path = examplePath(file);
        if (path.isEmpty())
            return;
        auto* button = new QPushButton(text, firstScreen_);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(tip + QStringLiteral("\n") + QDir::toNativeSeparators(path));
        connect(button, &QPushButton::clicked, this, [this, path] { mapTab_->showMapFile(path); });
        layout->addWidget(button, 0, Qt::AlignHCenter);
    };
    addExample(QStringLiteral("augusta_forest.tga"), texts::exampleImage(QStringLiteral("augusta_forest.tga")),
               texts::exampleImageTip(), "exampleImage");
    addExample(QStringLiteral("augusta_nlcd.tif"), texts::exampleMap(QStringLiteral("augusta_nlcd.tif")),
               texts::exampleMapTip(), "exampleMap");
    layout->addStretch(3);
    ui->frameView->layout()->addWidget(firstScreen_);
    connect(ui->frameView, &GridView::drawingChanged, this, &MainWindow::updateFirstScreen);
    connect(ui->fileListView->model(), &QAbstractItemModel::rowsInserted, this, &MainWindow::updateFirstScreen);
    connect(ui->fileListView->model(), &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateFirstScreen);
    connect(ui->fileListView->model(), &QAbstractItemModel::modelReset, this, &MainWindow::updateFirstScreen);
    updateFirstScreen();
}

void MainWindow::updateFirstScreen()
{
    firstScreen_->setVisible(grid_.empty() && ui->fileListView->count() == 0);
}

void MainWindow::setUpPanels(QMenu& viewMenu)
{
    QAction* showMetrics = metrics_->toggleViewAction();
    showMetrics->setObjectName(QStringLiteral("actionMetricsPanel"));
    showMetrics->setText(texts::metricsPanelAction());
    viewMenu.addAction(showMetrics);
    // The tool bar holds the commands a first session needs.
    QToolBar* tools = ui->mainToolBar;
    tools->setWindowTitle(texts::toolBarTitle());
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(ui->actionOpen);
    for (const char* name : {"actionOpenMap", "actionOpenSampleLog"})
        if (auto* action = findChild<QAction*>(QLatin1String(name)))
            tools->addAction(action);
    tools->addSeparator();
    tools->addAction(ui->actionSample);
    QAction* showTools = tools->toggleViewAction();
    showTools->setObjectName(QStringLiteral("actionToolBar"));
    viewMenu.addAction(showTools);
    // Every other panel that can be closed comes back from here too.
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        if (dock != metrics_ && dock->parentWidget() == this)
            viewMenu.addAction(dock->toggleViewAction());
    for (QToolBar* bar : findChildren<QToolBar*>())
        if (bar != tools && bar->parentWidget() == this)
            viewMenu.addAction(bar->toggleViewAction());
}

void MainWindow::updateExportAction()
{
    const PictureSource* source = currentPicture();
    ui->actionExportPicture->setEnabled(source && !source->pictureSize(false).isEmpty());
}

void MainWindow::on_actionSample_triggered()
{
    finish(runSampleAction(this, sampleDialog_, settings_.values()));
}

void MainWindow::on_actionRandom_triggered()
{
    finish(runRandomAction(this, rndDialog_, settings_.values(), settingsDialog_.randomSeed()));
}

void MainWindow::on_actionFractal_triggered()
{
    finish(runFractalAction(this, fbmDialog_, settings_.values()));
}

void MainWindow::finish(const ActionOutcome& outcome)
{
    // The next Open starts where the run wrote.
    if (!outcome.written.empty())
        rememberFolder("folders/open", QFile::decodeName(QByteArray::fromStdString(outcome.written.front())));
    if (outcome.replacesList)
        showWrittenFiles(outcome.written);
    // A file on view that the run wrote again is read again: the grid and its metrics are the new ones.
    if (!shownFile_.isEmpty()) {
        const QString shown = canonicalPath(shownFile_);
        for (const std::string& name : outcome.written)
            if (canonicalPath(QFile::decodeName(QByteArray::fromStdString(name))) == shown) {
                showFile(shownFile_);
                break;
            }
    }
    if (!outcome.summary.isEmpty())
        statusBar()->showMessage(outcome.summary);
    if (!outcome.logPath.isEmpty())
        mapTab_->showRun(outcome.mapPath, outcome.logPath);
    for (const QString& problem : outcome.problems)
        reportProblem(problem);
}

void MainWindow::showWrittenFiles(const std::vector<std::string>& written)
{
    fileNames.clear();
    for (const std::string& name : written)
        fileNames.append(QFile::decodeName(QByteArray::fromStdString(name)));
    ui->fileListView->clear();
    for (const QString& name : fileNames)
        ui->fileListView->addItem(new FileItem(name));
    ui->fileListView->sortItems(Qt::AscendingOrder);
}
