#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/optimize/BatchReport.h"
#include "core/optimize/OptimizeSettings.h"

// Runs the photos of a batch with the engine's own settings (the dialog fills
// the same ones the command line does); reports each photo done (written or
// failed) through progress (count so far), stops when cancel becomes true,
// and returns what became of every photo. Throws lumatrim::LumatrimError only
// for a batch that cannot start (bad settings, no target folder).
using BatchFunction = std::function<lumatrim::BatchReport(
    const std::vector<std::string>& sources, const lumatrim::OptimizeSettings& settings,
    const std::function<void(int done)>& progress, const std::atomic<bool>& cancel)>;

// The program's batch: the core engine (EngineBatch.cpp).
lumatrim::BatchReport RunEngineBatch(const std::vector<std::string>& sources,
                                     const lumatrim::OptimizeSettings& settings,
                                     const std::function<void(int done)>& progress, const std::atomic<bool>& cancel);

// Runs the batch engine on a thread of its own so the dialog keeps repainting.
// Progress and the end are emitted from that thread; connect them queued.
class BatchRunner : public QObject {
  Q_OBJECT

 public:
  explicit BatchRunner(BatchFunction batch = RunEngineBatch) : batch_(std::move(batch)) {}
  ~BatchRunner() override;  // cancels a batch still running and waits for it

  // Returns at once; one batch at a time.
  void Start(std::vector<std::string> sources, lumatrim::OptimizeSettings settings);
  // Several runs over the same photos (one per preset), one after another,
  // as one batch: progress counts on across them and the report holds every
  // run's photos in order (those of runs a stop kept from starting as not done).
  void Start(std::vector<std::string> sources, std::vector<lumatrim::OptimizeSettings> runs);
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
  void Run(const std::vector<std::string>& sources, const std::vector<lumatrim::OptimizeSettings>& runs);

  BatchFunction batch_;
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> cancel_{false};
};
