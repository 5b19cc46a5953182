#include "ui/preview/PreviewLoader.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QtConcurrent/QtConcurrentRun>

namespace {

// The decoding thread yields to the window's thread when both want the same
// core, so arrowing through photos never waits for a decode; on an idle core
// it runs at full speed all the same. (Linux gives each thread its own nice
// value.)
DecodedPreview DecodeBehindTheWindow(const PreviewRequest& request) {
  static thread_local bool lowered = false;
  if (!lowered) {
    lowered = true;
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 5);
  }
  return DecodePreview(request);
}

}  // namespace

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
  watcher_.setFuture(QtConcurrent::run(&pool_, DecodeBehindTheWindow, request));
}

void PreviewLoader::Finished() {
  running_ = false;
  const DecodedPreview result = watcher_.result();
  StartNext();
  if (result.Generation == latest_) emit Decoded(result);
}
