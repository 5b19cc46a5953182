#include "core/jpeg/CodecCancel.h"

namespace lumatrim {
namespace {

thread_local const std::atomic<bool>* currentFlag = nullptr;

}  // namespace

CodecCancelScope::CodecCancelScope(const std::atomic<bool>* flag) : previous_(currentFlag) {
  if (flag) currentFlag = flag;
}

CodecCancelScope::~CodecCancelScope() { currentFlag = previous_; }

bool CodecCancelled() { return currentFlag && currentFlag->load(std::memory_order_relaxed); }

}  // namespace lumatrim
