#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <thread>

// What the dialog hands to the batch.
struct BatchSettings {
  QStringList Sources;
  QString TargetFolder;
  int Compression = 20;  // quality = 100 - compression
  bool KeepSize = false;
  int ShortSide = 0;
  int LongSide = 0;
};

// Runs the photos of a batch; reports each committed photo through progress
// (count so far) and throws lumatrim::LumatrimError on the first failure.
using BatchFunction =
    std::function<void(const BatchSettings& settings, const std::function<void(int done)>& progress)>;

// The program's batch: the core engine (EngineBatch.cpp).
void RunEngineBatch(const BatchSettings& settings, const std::function<void(int done)>& progress);

// Runs the batch engine on a thread of its own so the dialog keeps repainting.
// Progress and the end are emitted from that thread; connect them queued.
class BatchRunner : public QObject {
  Q_OBJECT

 public:
  explicit BatchRunner(BatchFunction batch = RunEngineBatch) : batch_(std::move(batch)) {}
  ~BatchRunner() override;  // waits for a batch still running

  // Returns at once; one batch at a time.
  void Start(BatchSettings settings);
  bool Running() const { return running_; }

 signals:
  void PhotoDone(int done);
  void Finished(bool success, const QString& message);

 private:
  void Run(const BatchSettings& settings);

  BatchFunction batch_;
  std::thread worker_;
  std::atomic<bool> running_{false};
};
