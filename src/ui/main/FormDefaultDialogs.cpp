// Where the main window opens its dialogs: "Pokračovat >" and "Podrobnosti".
#include <QFileInfo>
#include <QListWidget>

#include "ui/fexif/FormExif.h"
#include "ui/main/FormDefault.h"
#include "ui/optimal/FormOpti.h"

// "Pokračovat >": a new optimisation dialog each time, with the tray's photos;
// a finished batch empties the tray and disables "Pokračovat >".
void TFormDefault::OpenOptimisationDialog() {
  auto* dialog = new TFormOpti(this);
  for (const QString& path : TrayPaths()) dialog->ListZdroj->addItem(path);
  connect(dialog, &TFormOpti::BatchCompleted, this, &TFormDefault::EmptyTrayAfterBatch);
  dialog->exec();
  dialog->deleteLater();
}

// "Podrobnosti": a new detail window on the selected photo, captioned with its
// file name; after it removed the EXIF block the selection is shown again.
void TFormDefault::OpenDetailWindow() {
  const QString path = SelectedFile();
  if (path.isEmpty()) return;
  auto* window = new TFormExif(path, this);
  window->setWindowTitle(QFileInfo(path).fileName());
  connect(window, &TFormExif::ExifRemoved, this, &TFormDefault::ListFileClick);
  window->exec();
  window->deleteLater();
}
