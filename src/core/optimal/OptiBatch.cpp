#include "core/optimal/OptiBatch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "core/bytes/Error.h"
#include "core/optimal/BatchMemory.h"
#include "core/optimal/OptiPhoto.h"

namespace lumatrim {
namespace {

// A path with links resolved, so that an output reaching a source through a
// symbolic link or "a/../b" is still recognised as that source.
std::string Normalized(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
  if (ec) p = std::filesystem::absolute(path, ec).lexically_normal();
  return p.string();
}

std::string FailureMessage(size_t index, size_t total, const std::string& source, const std::string& cause) {
  std::string message = "Optimisation stopped at photo " + std::to_string(index + 1) + " of " +
                        std::to_string(total) + ": ";
  if (cause.find(source) == std::string::npos) message += "\"" + source + "\": ";
  return message + cause;
}

struct Slot {
  std::unique_ptr<OptiPhoto> photo;
  std::string error;
  FailureKind kind = FailureKind::Other;  // of error, so the windows can name it
  bool ready = false;
};

// The workers and what they share; stopping and joining happen in the
// destructor, so every way out of the batch (failure, cancel, a throwing
// progress callback) leaves no thread behind.
class Pool {
 public:
  Pool(const std::vector<std::string>& sources, const std::vector<std::string>& outputs, const OptiSettings& settings,
       size_t jobs)
      : sources_(sources), outputs_(outputs), settings_(settings), jobs_(jobs), slots_(sources.size()) {
    for (const std::string& s : sources) sourceSet_.insert(Normalized(s));
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
  bool WaitFor(size_t i, const std::atomic<bool>* cancel) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (cancel && cancel->load()) return false;
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
        if (stop_ || next_ >= slots_.size()) return;
        i = next_++;
      }
      Slot result;
      try {
        if (sourceSet_.count(Normalized(outputs_[i]))) {
          throw LumatrimError("the output \"" + outputs_[i] + "\" is one of the photos being optimised; it is not overwritten.");
        }
        result.photo = PrepareOptiPhoto(sources_[i], outputs_[i], settings_);
      } catch (const std::bad_alloc&) {
        result.error = "not enough memory to process \"" + sources_[i] + "\"";
      } catch (const LumatrimError& e) {
        result.error = *e.what() ? e.what() : "unknown error";
        result.kind = e.Kind();
      } catch (const std::exception& e) {
        result.error = *e.what() ? e.what() : "unknown error";
      }
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
  const OptiSettings& settings_;
  const size_t jobs_;
  std::set<std::string> sourceSet_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  size_t next_ = 0;
  size_t committed_ = 0;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

int RunOptiBatch(const std::vector<std::string>& sources, const OptiSettings& settings, const OptiProgress& progress,
                 const std::atomic<bool>* cancel) {
  ValidateOptiSettings(settings);
  if (sources.empty()) return 0;
  KeepBatchBuffersForReuse();
  std::vector<std::string> outputs;
  outputs.reserve(sources.size());
  for (const std::string& s : sources) outputs.push_back(OutputPathFor(settings.TargetFolder, s));

  size_t jobs = settings.Jobs > 0 ? static_cast<size_t>(settings.Jobs) : std::thread::hardware_concurrency();
  jobs = std::clamp<size_t>(jobs, 1, std::min<size_t>(sources.size(), 64));

  Pool pool(sources, outputs, settings, jobs);
  const int total = static_cast<int>(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!pool.WaitFor(i, cancel)) return static_cast<int>(i);
    Slot slot = pool.Take(i);
    if (!slot.error.empty())
      throw LumatrimError(slot.kind, FailureMessage(i, sources.size(), sources[i], slot.error));
    try {
      WriteOptiPhoto(*slot.photo);
    } catch (const LumatrimError& e) {
      throw LumatrimError(e.Kind(), FailureMessage(i, sources.size(), sources[i], e.what()));
    } catch (const std::exception& e) {
      throw LumatrimError(FailureMessage(i, sources.size(), sources[i], e.what()));
    }
    slot.photo.reset();
    pool.Committed(i + 1);
    if (progress) progress(static_cast<int>(i + 1), total, outputs[i]);
  }
  return total;
}

}  // namespace lumatrim
