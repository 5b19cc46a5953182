#include "core/bytes/FileSource.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>

namespace lumatrim {

FileSource::FileSource(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

FileSource::~FileSource() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileSource::Read(char* dst, size_t n) {
  size_t done = Take(dst, n);
  while (done < n) {
    if (n - done >= sizeof buffer_) {
      const ssize_t got = ReadFile(dst + done, n - done);
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    } else {
      const ssize_t got = ReadFile(buffer_, sizeof buffer_);
      if (got <= 0) break;
      begin_ = 0;
      end_ = static_cast<size_t>(got);
      done += Take(dst + done, n - done);
    }
  }
  return done;
}

size_t FileSource::Take(char* dst, size_t n) {
  if (begin_ >= end_ || end_ > sizeof buffer_) return 0;
  const size_t count = std::min(n, end_ - begin_);
  std::memcpy(dst, buffer_ + begin_, count);
  begin_ += count;
  return count;
}

ssize_t FileSource::ReadFile(char* dst, size_t n) {
  ssize_t got;
  do got = ::read(fd_, dst, n);
  while (got < 0 && errno == EINTR);
  return got;
}

}  // namespace lumatrim
