#include "ui/optimize/SizeEstimator.h"

#include <sys/stat.h>

#include "core/optimize/BatchSteps.h"

SizeEstimator::~SizeEstimator() { Stop(); }

void SizeEstimator::Stop() {
  if (cancel_) *cancel_ = true;
  if (worker_.joinable()) worker_.join();  // the codec stops part way, so this is short
}

void SizeEstimator::Start(std::vector<std::string> sources, std::vector<lumatrim::OptimizeSettings> runs) {
  Stop();
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  worker_ = std::thread([this, cancel = cancel_, sources = std::move(sources), runs = std::move(runs)] {
    std::uint64_t before = 0, after = 0;
    EstimateBatchBytes(sources, runs, *cancel, before, after);
    if (!*cancel) emit Estimated(before, after);
  });
}

void EstimateBatchBytes(const std::vector<std::string>& sources, const std::vector<lumatrim::OptimizeSettings>& runs,
                        const std::atomic<bool>& cancel, std::uint64_t& before, std::uint64_t& after) {
  before = after = 0;
  if (sources.empty()) return;
  for (const std::string& source : sources) {
    if (cancel) return;
    struct stat info {};
    if (::stat(source.c_str(), &info) == 0) before += static_cast<std::uint64_t>(info.st_size);
  }
  for (const lumatrim::OptimizeSettings& run : runs) {
    const lumatrim::PreparedPhoto first = lumatrim::PreparePhoto(sources.front(), std::string(), run, &cancel);
    if (!first.Photo || first.SourceBytes == 0) {
      after = 0;
      return;
    }
    const std::uint64_t firstAfter = first.CopySource ? first.SourceBytes : lumatrim::EncodedFileBytes(*first.Photo);
    after += static_cast<std::uint64_t>(static_cast<double>(before) * firstAfter / first.SourceBytes);
  }
}
