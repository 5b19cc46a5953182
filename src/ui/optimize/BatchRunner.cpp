#include "ui/optimize/BatchRunner.h"

#include <exception>

BatchRunner::~BatchRunner() { CancelAndWait(); }

void BatchRunner::CancelAndWait() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void BatchRunner::Start(std::vector<std::string> sources, lumatrim::OptimizeSettings settings) {
  if (running_.exchange(true)) return;
  if (worker_.joinable()) worker_.join();  // the previous batch has ended; reclaim its thread
  cancel_ = false;
  worker_ = std::thread(
      [this, sources = std::move(sources), settings = std::move(settings)] { Run(sources, settings); });
}

void BatchRunner::Run(const std::vector<std::string>& sources, const lumatrim::OptimizeSettings& settings) {
  bool started = false;
  lumatrim::BatchReport report;
  QString message;
  try {
    report = batch_(sources, settings, [this](int done) { emit PhotoDone(done); }, cancel_);
    started = true;
  } catch (const std::exception& error) {
    message = QString::fromStdString(error.what());
  }
  running_ = false;
  emit Finished(started, report, message);
}
