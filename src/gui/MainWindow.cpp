#include "gui/MainWindow.h"

#include "gui/GridImage.h"
#include "ui_MainWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>

#include <cstdio>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    // The generators are reached from the Create menu, after Sample.
    ui->menuCreate->addAction(ui->actionRandom);
    ui->menuCreate->addAction(ui->actionFractal);
    loadSettings();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::loadGrid(const QString& fileName)
{
    orvalis::readLandscapeFile(QFile::encodeName(fileName).toStdString(), grid);
    gridImage_ = buildGridImage(grid, matrixValue);
    gridImageMatrix_ = matrixValue;
    scaledImage_ = QImage();
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

QRect MainWindow::viewRect() const
{
    return QRect(ui->frameView->mapTo(this, QPoint(0, 0)), ui->frameView->size());
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = viewRect();
    painter.setBrush(QBrush(QColor(0, 255, 0, 120)));
    painter.drawRect(QRectF(r));
    if (grid.empty())
        return;
    if (gridImageMatrix_ != matrixValue || gridImage_.isNull()) {
        gridImage_ = buildGridImage(grid, matrixValue);
        gridImageMatrix_ = matrixValue;
        scaledImage_ = QImage();
    }
    // Nearest-neighbour scaling gives every cell whole pixels: no gaps, no overlaps.
    if (scaledImage_.size() != r.size())
        scaledImage_ = gridImage_.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.drawImage(r.topLeft(), scaledImage_);
}

void MainWindow::on_actionOpen_triggered()
{
    fileNames.clear();
    fileNames = QFileDialog::getOpenFileNames(this, tr("Choose file(s) do open"));
    ui->fileListView->insertItems(ui->fileListView->count(), fileNames);
}

void MainWindow::on_fileListView_clicked(QModelIndex)
{
}

void MainWindow::on_fileListView_currentRowChanged(int row)
{
    if (row < 0)
        return;
    loadGrid(ui->fileListView->currentItem()->text());
    repaint();
}

void MainWindow::showWrittenFiles(const std::vector<std::string>& written)
{
    fileNames.clear();
    for (const std::string& name : written)
        fileNames.append(QFile::decodeName(QByteArray::fromStdString(name)));
    ui->fileListView->clear();
    ui->fileListView->insertItems(0, fileNames);
    ui->fileListView->sortItems(Qt::AscendingOrder);
}
