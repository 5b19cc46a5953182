#include "ui/optimize/BatchRunner.h"

#include <exception>

BatchRunner::~BatchRunner() {
  if (worker_.joinable()) worker_.join();
}

void BatchRunner::Start(BatchSettings settings) {
  if (running_.exchange(true)) return;
  if (worker_.joinable()) worker_.join();  // the previous batch has ended; reclaim its thread
  worker_ = std::thread([this, settings = std::move(settings)] { Run(settings); });
}

void BatchRunner::Run(const BatchSettings& settings) {
  bool success = false;
  QString message;
  try {
    batch_(settings, [this](int done) { emit PhotoDone(done); });
    success = true;
  } catch (const std::exception& error) {
    message = QString::fromStdString(error.what());
  } catch (...) {
    message = QStringLiteral("Optimalizace selhala z neznámého důvodu.");
  }
  if (!success && message.isEmpty()) message = QStringLiteral("Optimalizace selhala.");
  running_ = false;
  emit Finished(success, message);
}
