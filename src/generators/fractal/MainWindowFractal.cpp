#include "app/MainWindow.h"

void MainWindow::on_actionFractal_triggered()
{
}
