#include "app/MainWindow.h"

void MainWindow::on_actionRandom_triggered()
{
}
