#include "app/MainWindow.h"

void MainWindow::loadSettings()
{
}

void MainWindow::on_actionParametros_triggered()
{
}

void MainWindow::writeBatchList(const QString&, const QString&)
{
}
