#pragma once
#include <QObject>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/optimize/OptimizeSettings.h"

// The size a batch will leave behind, guessed before it runs: the first
// photo is encoded (off the window's thread) with each run's settings, and
// what it shrank to is taken for every photo of the batch.
class SizeEstimator : public QObject {
  Q_OBJECT

 public:
  SizeEstimator() = default;
  ~SizeEstimator() override;  // stops a guess still running and waits for it

  // Returns at once; a guess still running is dropped for this one.
  void Start(std::vector<std::string> sources, std::vector<lumatrim::OptimizeSettings> runs);

 signals:
  // before: the photos' size now; after: the guess, 0 when the first photo
  // could not be encoded. Emitted from the worker: connect queued.
  void Estimated(quint64 before, quint64 after);

 private:
  void Stop();

  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> cancel_;
};

// The guess itself, on the calling thread (what the worker runs).
void EstimateBatchBytes(const std::vector<std::string>& sources, const std::vector<lumatrim::OptimizeSettings>& runs,
                        const std::atomic<bool>& cancel, std::uint64_t& before, std::uint64_t& after);
