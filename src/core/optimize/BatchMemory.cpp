#include "core/optimize/BatchMemory.h"

#include <mutex>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace lumatrim {

void KeepBatchBuffersForReuse() {
#if defined(__GLIBC__)
  static std::once_flag once;
  std::call_once(once, [] {
    // Up to glibc's ceiling for heap-served blocks; a larger photo is mapped
    // as before. Freed memory at the heap top is kept up to the trim limit.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  });
#endif
}

}  // namespace lumatrim
