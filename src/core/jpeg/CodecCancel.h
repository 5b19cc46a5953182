#pragma once
#include <atomic>

namespace lumatrim {

// While a scope lives on a thread, the JPEG codec's work on that thread
// (decoding, encoding, including the passes of a progressive encode) stops
// with a LumatrimError soon after *flag becomes true: libjpeg's progress hook
// looks at it once per row of blocks. A stopped batch so ends within a
// fraction of a second even on a 50 MP photo. Scopes nest; null flags are
// ignored.
class CodecCancelScope {
 public:
  explicit CodecCancelScope(const std::atomic<bool>* flag);
  ~CodecCancelScope();
  CodecCancelScope(const CodecCancelScope&) = delete;
  CodecCancelScope& operator=(const CodecCancelScope&) = delete;

 private:
  const std::atomic<bool>* previous_;
};

// True when the innermost scope of this thread has been cancelled.
bool CodecCancelled();

}  // namespace lumatrim
