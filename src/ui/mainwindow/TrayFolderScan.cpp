#include "ui/mainwindow/TrayFolderScan.h"

#include <QMetaObject>

#include "core/optimize/PhotoFolderScan.h"

TrayFolderScan::~TrayFolderScan() {
  *cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void TrayFolderScan::Add(const QStringList& folders, bool recursive) {
  waiting_ << folders;
  recursive_ = recursive;
  if (idle_) StartNext();
}

void TrayFolderScan::StartNext() {
  if (worker_.joinable()) worker_.join();  // the last folder's thread has ended
  if (waiting_.isEmpty()) {
    idle_ = true;
    emit Finished();
    return;
  }
  idle_ = false;
  const std::string folder = waiting_.takeFirst().toStdString();
  worker_ = std::thread([this, folder, recursive = recursive_, cancel = cancel_] {
    const std::vector<lumatrim::FoundPhoto> photos = lumatrim::FindPhotosInFolder(
        folder, recursive, [this](size_t found) { emit Counted(static_cast<int>(found)); }, cancel.get());
    if (*cancel) return;
    QStringList paths, subfolders;
    for (const lumatrim::FoundPhoto& photo : photos) {
      paths << QString::fromStdString(photo.Path);
      subfolders << QString::fromStdString(photo.Subfolder);
    }
    emit Found(paths, subfolders);
    QMetaObject::invokeMethod(this, &TrayFolderScan::StartNext, Qt::QueuedConnection);
  });
}
