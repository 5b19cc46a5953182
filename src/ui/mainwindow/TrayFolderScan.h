#pragma once
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

// Finds the photos of folders added to the tray off the window's thread, so
// a card with thousands of photos does not freeze the window. Folders given
// while a scan runs wait for it.
class TrayFolderScan : public QObject {
  Q_OBJECT

 public:
  TrayFolderScan() = default;
  ~TrayFolderScan() override;  // stops a scan still running and waits for it

  void Add(const QStringList& folders, bool recursive);
  bool Busy() const { return worker_.joinable() && !idle_; }

 signals:
  // Photos found so far in the folder being scanned (now and then).
  void Counted(int found);
  // One folder's photos, sorted, each with its folder relative to the one added.
  void Found(const QStringList& paths, const QStringList& subfolders);
  // Every folder given has been scanned.
  void Finished();

 private:
  void StartNext();

  QStringList waiting_;
  bool recursive_ = true;
  bool idle_ = true;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
};
