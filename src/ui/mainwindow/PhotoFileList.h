#pragma once
#include <QIcon>
#include <QListWidget>
#include <QString>
#include <QStringList>

class ThumbnailLoader;

// The file list: the photos of one folder (JPEG and HEIF names in any letter
// case, see IsPhotoFileName), sorted by name, with file icons or, in the
// "Náhledy" view, small thumbnails. Each entry keeps its full path. Several
// photos may be selected (Ctrl, Shift, Ctrl+A). A mouse move with exactly the
// left button held (no other button, no modifier key) asks for a drag of the
// selected files.
class PhotoFileList : public QListWidget {
  Q_OBJECT

 public:
  explicit PhotoFileList(QWidget* parent);

  void ShowFolder(const QString& folder);
  // Lists the folder again: new photos appear, removed ones go, the selection
  // and the current entry stay where their photos still are. True when the
  // list changed.
  bool Refresh();
  QString Folder() const { return folder_; }
  QString PathAt(int row) const;
  // The photo the preview shows: the current entry when it is selected, else
  // the first selected one; empty text when none is.
  QString SelectedPath() const;
  // Every selected photo, in the list's order.
  QStringList SelectedPaths() const;
  void SelectPaths(const QStringList& paths);

  // "Náhledy": thumbnails in a grid instead of names in a column.
  void SetThumbnailView(bool on);
  bool ThumbnailView() const { return thumbnailView_; }
  // The thumbnail of path is stale (the photo was turned).
  void ForgetThumbnail(const QString& path);
  // Whether the entry's name does not show whole (its tool tip then says it).
  bool NameCut(const QListWidgetItem* entry) const;

 signals:
  void DragRequested();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;

 private:
  QStringList ListedNames(const QString& folder) const;
  void Fill(const QStringList& names);
  void RequestThumbnails();
  void ThumbnailArrived(const QString& path, const QImage& picture);

  QIcon fileIcon_;
  QString folder_;
  bool thumbnailView_ = false;
  ThumbnailLoader* thumbnails_ = nullptr;
};
