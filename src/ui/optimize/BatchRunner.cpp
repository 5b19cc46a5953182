#include "ui/optimize/BatchRunner.h"

#include <exception>

BatchRunner::~BatchRunner() { CancelAndWait(); }

void BatchRunner::CancelAndWait() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void BatchRunner::Start(std::vector<std::string> sources, lumatrim::OptimizeSettings settings) {
  Start(std::move(sources), std::vector<lumatrim::OptimizeSettings>{std::move(settings)});
}

void BatchRunner::Start(std::vector<std::string> sources, std::vector<lumatrim::OptimizeSettings> runs) {
  if (running_.exchange(true)) return;
  if (worker_.joinable()) worker_.join();  // the previous batch has ended; reclaim its thread
  cancel_ = false;
  worker_ = std::thread([this, sources = std::move(sources), runs = std::move(runs)] { Run(sources, runs); });
}

void BatchRunner::Run(const std::vector<std::string>& sources, const std::vector<lumatrim::OptimizeSettings>& runs) {
  bool started = false;
  lumatrim::BatchReport report;
  QString message;
  try {
    int before = 0;
    for (const lumatrim::OptimizeSettings& settings : runs) {
      if (report.Cancelled) {
        for (const std::string& source : sources) {
          lumatrim::BatchPhotoResult notDone;
          notDone.Source = source;
          report.Photos.push_back(notDone);
        }
        continue;
      }
      lumatrim::BatchReport part =
          batch_(sources, settings, [this, before](int done) { emit PhotoDone(before + done); }, cancel_);
      report.Photos.insert(report.Photos.end(), part.Photos.begin(), part.Photos.end());
      report.Cancelled = report.Cancelled || part.Cancelled;
      before += static_cast<int>(sources.size());
    }
    started = true;
  } catch (const std::exception& error) {
    message = QString::fromStdString(error.what());
  }
  running_ = false;
  emit Finished(started, report, message);
}
