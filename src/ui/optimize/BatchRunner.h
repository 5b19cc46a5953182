#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <thread>

#include "core/optimize/BatchReport.h"
#include "core/optimize/OptimizeSettings.h"

// What the dialog hands to the batch.
struct BatchSettings {
  QStringList Sources;
  QString TargetFolder;
  int Compression = 20;  // quality = 100 - compression
  bool KeepSize = false;
  int ShortSide = 0;
  int LongSide = 0;
  bool RemoveGps = false;
  lumatrim::SizeRule Rule = lumatrim::SizeRule::BothSides;  // which typed sides fix the size
};

// Runs the photos of a batch; reports each photo done (written or failed)
// through progress (count so far), stops when cancel becomes true, and
// returns what became of every photo. Throws lumatrim::LumatrimError only for
// a batch that cannot start (bad settings, no target folder).
using BatchFunction = std::function<lumatrim::BatchReport(
    const BatchSettings& settings, const std::function<void(int done)>& progress, const std::atomic<bool>& cancel)>;

// The program's batch: the core engine (EngineBatch.cpp).
lumatrim::BatchReport RunEngineBatch(const BatchSettings& settings, const std::function<void(int done)>& progress,
                                    const std::atomic<bool>& cancel);

// Runs the batch engine on a thread of its own so the dialog keeps repainting.
// Progress and the end are emitted from that thread; connect them queued.
class BatchRunner : public QObject {
  Q_OBJECT

 public:
  explicit BatchRunner(BatchFunction batch = RunEngineBatch) : batch_(std::move(batch)) {}
  ~BatchRunner() override;  // cancels a batch still running and waits for it

  // Returns at once; one batch at a time.
  void Start(BatchSettings settings);
  bool Running() const { return running_; }
  // Asks the running batch to stop after the photo being written.
  void Cancel() { cancel_ = true; }
  // Cancels and waits until the batch thread has ended.
  void CancelAndWait();

 signals:
  void PhotoDone(int done);
  // started: false when the batch could not start (message says why).
  void Finished(bool started, const lumatrim::BatchReport& report, const QString& message);

 private:
  void Run(const BatchSettings& settings);

  BatchFunction batch_;
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> cancel_{false};
};
