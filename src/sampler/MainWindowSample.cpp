#include "app/MainWindow.h"

void MainWindow::on_actionSample_triggered()
{
}
