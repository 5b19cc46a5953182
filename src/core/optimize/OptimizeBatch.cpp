#include "core/optimize/OptimizeBatch.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "core/bytes/Error.h"
#include "core/optimize/BatchMemory.h"
#include "core/optimize/BatchSteps.h"
#include "core/optimize/OutputNames.h"

namespace lumatrim {
namespace {

struct Slot {
  PreparedPhoto prepared;
  bool ready = false;
};

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

// The workers and what they share; stopping and joining happen in the
// destructor, so every way out of the batch (cancel, a throwing progress
// callback) leaves no thread behind.
class Pool {
 public:
  Pool(const std::vector<std::string>& sources, const std::vector<std::string>& outputs,
       const std::vector<bool>& skipped, const OptimizeSettings& settings, size_t jobs,
       const std::atomic<bool>* cancel)
      : sources_(sources), outputs_(outputs), skipped_(skipped), settings_(settings), jobs_(jobs), cancel_(cancel),
        slots_(sources.size()) {
    for (size_t t = 0; t < jobs; ++t) threads_.emplace_back([this] { Work(); });
  }

  ~Pool() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  // Waits for photo i; false when cancelled first.
  bool WaitFor(size_t i) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (Cancelled(cancel_)) return false;
      if (slots_[i].ready) return true;
      changed_.wait_for(lock, std::chrono::milliseconds(50));
    }
  }

  Slot Take(size_t i) {
    std::lock_guard lock(mutex_);
    return std::move(slots_[i]);
  }

  void Committed(size_t count) {
    {
      std::lock_guard lock(mutex_);
      committed_ = count;
    }
    changed_.notify_all();
  }

 private:
  void Work() {
    for (;;) {
      size_t i;
      {
        std::unique_lock lock(mutex_);
        // Run at most 2 x jobs_ photos ahead of the last one written: enough
        // that a slow photo does not idle the other workers, few enough that
        // finished photos (coded bytes only) waiting for their turn stay cheap.
        changed_.wait(lock, [&] { return stop_ || next_ >= slots_.size() || next_ < committed_ + 2 * jobs_; });
        if (stop_ || next_ >= slots_.size() || Cancelled(cancel_)) return;
        i = next_++;
      }
      Slot result;
      if (!skipped_[i]) result.prepared = PreparePhoto(sources_[i], outputs_[i], settings_, cancel_);
      result.ready = true;
      {
        std::lock_guard lock(mutex_);
        slots_[i] = std::move(result);
      }
      changed_.notify_all();
    }
  }

  const std::vector<std::string>& sources_;
  const std::vector<std::string>& outputs_;
  const std::vector<bool>& skipped_;
  const OptimizeSettings& settings_;
  const size_t jobs_;
  const std::atomic<bool>* cancel_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  size_t next_ = 0;
  size_t committed_ = 0;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

void CheckTargetFolder(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    throw LumatrimError("The target folder \"" + folder + "\" does not exist.");
  }
}

}  // namespace

BatchReport RunOptimizeBatch(const std::vector<std::string>& sources, const OptimizeSettings& settings,
                             const BatchProgress& progress, const std::atomic<bool>* cancel) {
  ValidateOptimizeSettings(settings);
  BatchReport report;
  if (sources.empty()) return report;
  CheckTargetFolder(settings.TargetFolder);
  KeepBatchBuffersForReuse();

  const std::vector<PlannedOutput> plan = PlanOutputs(sources, settings, FileNameLimit(settings.TargetFolder));
  std::vector<std::string> outputs;
  std::vector<bool> skipped;
  outputs.reserve(sources.size());
  report.Photos.resize(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    outputs.push_back(plan[i].Path);
    skipped.push_back(plan[i].Skip);
    BatchPhotoResult& photo = report.Photos[i];
    photo.Source = sources[i];
    photo.Output = plan[i].Path;
    photo.Numbered = plan[i].Numbered;
    photo.Shortened = plan[i].Shortened;
  }

  size_t jobs = settings.Jobs > 0 ? static_cast<size_t>(settings.Jobs) : std::thread::hardware_concurrency();
  jobs = std::clamp<size_t>(jobs, 1, std::min<size_t>(sources.size(), 64));

  Pool pool(sources, outputs, skipped, settings, jobs, cancel);
  const int total = static_cast<int>(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!pool.WaitFor(i)) {
      report.Cancelled = true;
      break;
    }
    Slot slot = pool.Take(i);
    BatchPhotoResult& photo = report.Photos[i];
    photo.SourceBytes = slot.prepared.SourceBytes;
    if (skipped[i]) {
      photo.Outcome = PhotoOutcome::Skipped;
    } else if (slot.prepared.Photo) {
      try {
        MakeOutputFolder(photo.Output);
        WritePreparedPhoto(*slot.prepared.Photo, slot.prepared.CopySource);
        photo.Outcome = PhotoOutcome::Written;
        photo.Copied = slot.prepared.CopySource;
        struct stat written {};
        if (::stat(photo.Output.c_str(), &written) == 0) photo.OutputBytes = static_cast<std::uint64_t>(written.st_size);
        photo.XmpGpsRemoved = slot.prepared.XmpGpsRemoved;
      } catch (const std::bad_alloc&) {
        photo.Failure = FailureKind::OutOfMemory;
        photo.Detail = "not enough memory to write \"" + photo.Output + "\"";
      } catch (const LumatrimError& e) {
        // An earlier output made read-only is its owner's; the others go on.
        photo.Failure = e.Kind() == FailureKind::NoPermission ? FailureKind::NoPermission : FailureKind::WriteFailed;
        photo.Detail = e.what();
      } catch (const std::exception& e) {
        photo.Failure = FailureKind::WriteFailed;
        photo.Detail = e.what();
      }
    } else {
      photo.Failure = slot.prepared.Failure;
      photo.Detail = slot.prepared.Detail;
    }
    if (photo.Outcome == PhotoOutcome::NotDone) photo.Outcome = PhotoOutcome::Failed;
    slot.prepared.Photo.reset();
    pool.Committed(i + 1);
    if (progress) progress(static_cast<int>(i + 1), total, photo);
  }
  return report;
}

}  // namespace lumatrim
