#include "ui/preview/PreviewLoader.h"

#include <QtConcurrent/QtConcurrentRun>

PreviewLoader::PreviewLoader(QObject* parent) : QObject(parent) {
  pool_.setMaxThreadCount(1);
  connect(&watcher_, &QFutureWatcher<DecodedPreview>::finished, this, &PreviewLoader::Finished);
}

PreviewLoader::~PreviewLoader() {
  pending_.reset();
  watcher_.waitForFinished();
}

uint64_t PreviewLoader::Request(PreviewRequest request) {
  request.Generation = ++latest_;
  pending_ = std::move(request);
  if (!running_) StartNext();
  return latest_;
}

void PreviewLoader::Cancel() {
  pending_.reset();
  ++latest_;  // a decode still running reports to nobody
}

void PreviewLoader::StartNext() {
  if (!pending_) return;
  running_ = true;
  PreviewRequest request = std::move(*pending_);
  pending_.reset();
  watcher_.setFuture(QtConcurrent::run(&pool_, DecodePreview, request));
}

void PreviewLoader::Finished() {
  running_ = false;
  const DecodedPreview result = watcher_.result();
  StartNext();
  if (result.Generation == latest_) emit Decoded(result);
}
