// Where the main window opens its dialogs: "Pokračovat >" and "Podrobnosti".
#include <QFileInfo>
#include <QListWidget>

#include "ui/details/DetailsWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"

// "Pokračovat >": a new optimisation dialog each time, with the tray's photos;
// a finished batch empties the tray and disables "Pokračovat >".
void MainWindow::OpenOptimisationDialog() {
  auto* dialog = new OptimizeDialog(this);
  dialog->SetSources(TrayPaths());
  connect(dialog, &OptimizeDialog::BatchCompleted, this, &MainWindow::EmptyTrayAfterBatch);
  dialog->exec();
  dialog->deleteLater();
}

// "Podrobnosti": a new detail window on the selected photo, captioned with its
// file name; after it removed the EXIF block the selection is shown again.
void MainWindow::OpenDetailWindow() {
  const QString path = SelectedFile();
  if (path.isEmpty()) return;
  auto* window = new DetailsWindow(path, this);
  window->setWindowTitle(QFileInfo(path).fileName());
  connect(window, &DetailsWindow::ExifRemoved, this, &MainWindow::ShowSelectedPhoto);
  window->exec();
  window->deleteLater();
}
