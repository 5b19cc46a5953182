// What keeps the window in step with the world outside it: the shown folder
// watched on disk, photos handed over by a second start of the program, the
// "Náhledy" view and a photo that cannot be shown.
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PhotoFileList.h"
#include "ui/preview/PhotoPreview.h"
#include "ui/prompts/FailureText.h"

void MainWindow::WatchFolder(const QString& path) {
  const QStringList watched = folderWatcher_->directories();
  if (!watched.isEmpty()) folderWatcher_->removePaths(watched);
  if (QFileInfo(path).isDir()) folderWatcher_->addPath(path);
}

void MainWindow::FolderChangedOnDisk() { folderRefreshTimer_->start(); }

void MainWindow::RefreshFolder() {
  const QString shownPhoto = SelectedFile();
  {
    const QSignalBlocker quiet(fileList_);
    if (!fileList_->Refresh()) return;
  }
  // A folder that was removed and made again is watched anew.
  WatchFolder(shownFolder_);
  UpdateMoveAllCaption();
  // The photo on show went away: its preview and summary go with it.
  if (!shownPhoto.isEmpty() && SelectedFile() != shownPhoto) {
    if (SelectedFile().isEmpty())
      ResetSelectionDisplay();
    else
      ShowSelectedPhoto();
  }
}

void MainWindow::ReceivePhotos(const QStringList& paths) {
  OpenPhotos(paths);
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void MainWindow::ThumbnailViewToggled(bool on) {
  fileList_->SetThumbnailView(on);
  QSettings().setValue(QLatin1String(kThumbnailViewKey), on);
}

QString MainWindow::PreviewProblem() const {
  return previewProblemLabel_->isHidden() ? QString() : previewProblemLabel_->text();
}

void MainWindow::ShowPreviewProblem(const QString& text) {
  // The photo shown before goes: what stands there now is about this file.
  preview_->ClearPicture();
  preview_->hide();
  previewProblemLabel_->setGeometry(previewPanel_->rect());
  previewProblemLabel_->setText(text);
  previewProblemLabel_->show();
  ClearSummaryValues();
  exifTags_.clear();
  detailsButton_->setEnabled(false);
  rotateLeftButton_->setEnabled(false);
  rotateRightButton_->setEnabled(false);
  dimensionsLabel_->setText(QStringLiteral("0"));
  scaleLabel_->setText(QStringLiteral("0%"));
}

void MainWindow::PreviewFailed(lumatrim::FailureKind kind, const QString& detail) {
  ShowPreviewProblem(QStringLiteral("Fotografii nelze zobrazit.\n") + failuretext::Sentence(kind));
  previewProblemLabel_->setToolTip(detail);
}
