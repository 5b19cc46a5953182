#pragma once
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <optional>

#include "ui/preview/PreviewDecode.h"

// Runs preview decodes on one worker thread of its own, one at a time. While
// a decode runs, only the newest waiting request is kept: arrowing through a
// folder decodes the photo the user stops at, not every photo passed on the
// way. Results of superseded requests are dropped. Lives on the GUI thread.
class PreviewLoader : public QObject {
  Q_OBJECT

 public:
  explicit PreviewLoader(QObject* parent = nullptr);
  ~PreviewLoader() override;

  // Returns the request's generation; every older request is superseded.
  uint64_t Request(PreviewRequest request);
  // Forgets every request: nothing pending is reported any more.
  void Cancel();
  bool Busy() const { return running_ || pending_.has_value(); }
  uint64_t Latest() const { return latest_; }

 signals:
  // The decode of the newest request is done (on the GUI thread).
  void Decoded(const DecodedPreview& result);

 private:
  void StartNext();
  void Finished();

  QThreadPool pool_;
  QFutureWatcher<DecodedPreview> watcher_;
  std::optional<PreviewRequest> pending_;
  uint64_t latest_ = 0;
  bool running_ = false;
};
