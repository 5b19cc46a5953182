// Where the main window opens its dialogs: "Pokračovat >" and "Podrobnosti".
#include <QCloseEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>

#include "ui/details/DetailsWindow.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/optimize/OptimizeDialog.h"

// "Pokračovat >": a new optimisation dialog each time, with the tray's photos;
// a finished batch empties the tray and disables "Pokračovat >"; one that
// left photos unwritten leaves just those in the tray.
void MainWindow::OpenOptimisationDialog() {
  auto* dialog = new OptimizeDialog(this);
  dialog->SetSources(TrayPaths(), TraySubfolders());
  connect(dialog, &OptimizeDialog::BatchCompleted, this, &MainWindow::EmptyTrayAfterBatch);
  connect(dialog, &OptimizeDialog::TrayLeft, this, &MainWindow::KeepInTray);
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
  connect(window, &DetailsWindow::GpsRemoved, this, &MainWindow::ShowSelectedPhoto);
  connect(window, &DetailsWindow::CodePageChanged, this, &MainWindow::ShowSelectedPhoto);
  window->exec();
  window->deleteLater();
}

void MainWindow::KeepInTray(const QStringList& paths) {
  // Entries keep the folder they came with.
  const QStringList before = TrayPaths(), subfolders = TraySubfolders();
  EmptyTrayAfterBatch();
  for (const QString& path : paths) AddToTray(path, subfolders.value(before.indexOf(path)));
}
