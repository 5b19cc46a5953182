#include "faults/FaultHooks.h"

#include <dlfcn.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace lumatrim::test::faults {
namespace {

std::atomic<bool> writeArmed{false};
std::atomic<size_t> writeBudget{0};
std::atomic<bool> flushArmed{false};
std::atomic<int> renameError{0};
std::atomic<int> hits{0};

template <typename Function>
Function Next(const char* name) {
  // The next definition after ours: the C library's (or a sanitizer's wrapper of it).
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

void FailWritesAfter(size_t bytes) {
  writeBudget = bytes;
  writeArmed = true;
}
void FailFlush() { flushArmed = true; }
void FailRename(int error) { renameError = error; }
void Disarm() {
  writeArmed = false;
  flushArmed = false;
  renameError = 0;
  hits = 0;
}
int FaultsHit() { return hits; }

}  // namespace lumatrim::test::faults

using namespace lumatrim::test::faults;

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  static const auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
  if (fd > 2 && writeArmed) {
    ++hits;
    const size_t budget = writeBudget;
    if (budget == 0) {
      errno = ENOSPC;
      return -1;
    }
    if (size > budget) size = budget;
    const ssize_t written = real(fd, data, size);
    if (written > 0) writeBudget = budget - static_cast<size_t>(written);
    return written;
  }
  return real(fd, data, size);
}

// Streams of the C++ library write large blocks with writev.
extern "C" ssize_t writev(int fd, const struct iovec* parts, int count) {
  static const auto real = Next<ssize_t (*)(int, const struct iovec*, int)>("writev");
  if (fd > 2 && writeArmed) {
    size_t total = 0;
    for (int i = 0; i < count; ++i) total += parts[i].iov_len;
    if (total > writeBudget && count > 0) {
      // Write what the budget allows through write(), which then fails.
      return write(fd, parts[0].iov_base, parts[0].iov_len);
    }
    ++hits;
    const ssize_t written = real(fd, parts, count);
    if (written > 0) writeBudget = writeBudget - static_cast<size_t>(written);
    return written;
  }
  return real(fd, parts, count);
}

extern "C" int fsync(int fd) {
  static const auto real = Next<int (*)(int)>("fsync");
  if (flushArmed) {
    ++hits;
    errno = EIO;
    return -1;
  }
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
  static const auto real = Next<int (*)(const char*, const char*)>("rename");
  if (const int error = renameError) {
    ++hits;
    errno = error;
    return -1;
  }
  return real(from, to);
}
