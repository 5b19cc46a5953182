#include "core/bytes/RandomAccessBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumatrim {

std::string RandomAccessBytes::ReadAt(int64_t offset, int64_t count) const {
  const int64_t size = Size();
  if (offset < 0 || count <= 0 || offset >= size) return {};
  std::string bytes(static_cast<size_t>(std::min(count, size - offset)), '\0');
  bytes.resize(Fill(offset, bytes.data(), bytes.size()));
  return bytes;
}

std::shared_ptr<FileBytes> FileBytes::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::shared_ptr<FileBytes>(new FileBytes(fd, static_cast<int64_t>(info.st_size)));
}

FileBytes::~FileBytes() { ::close(fd_); }

size_t FileBytes::Fill(int64_t offset, char* dst, size_t n) const {
  size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, dst + done, n - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file shrank, or the disk failed: the bytes end here
    done += static_cast<size_t>(got);
  }
  return done;
}

size_t MemoryBytes::Fill(int64_t offset, char* dst, size_t n) const {
  std::memcpy(dst, bytes_.data() + offset, n);
  return n;
}

}  // namespace lumatrim
