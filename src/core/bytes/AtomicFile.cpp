#include "core/bytes/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "core/bytes/Error.h"

namespace lumatrim {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A short name nobody else is likely to pick; O_EXCL settles any clash. It
// never grows with the target's name, so a photo whose name is near the file
// system's limit can still be written.
std::string TempName(const std::string& target, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::string folder = FolderOf(target);
  return (folder == "/" ? "" : folder) + "/.lumatrim-" + std::to_string(getpid()) + "-" +
         std::to_string(counter++) + "-" + std::to_string((now >> 4) % 1000000 + attempt) + ".tmp";
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path) : path_(path), target_(path) {
  if (path.empty()) throw LumatrimError(FailureKind::FileMissing, "Cannot write a file without a name.");
  // Replace what a link points to, not the link itself.
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto resolved = std::filesystem::canonical(path, ec);
    if (!ec) target_ = resolved.string();
  }
  struct stat old {};
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) throw LumatrimError("Cannot write file \"" + path_ + "\": it is not a regular file.");
  if (exists && IsWriteProtected(target_)) {
    throw LumatrimError(FailureKind::NoPermission, "Cannot write file \"" + path_ + "\": it is read-only.");
  }

  for (unsigned attempt = 0; fd_ < 0; ++attempt) {
    temp_ = TempName(target_, attempt);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno != EEXIST || attempt > 100)) {
      const int error = errno;
      temp_.clear();
      Fail("cannot create a file in its folder", error);
    }
  }
  // The new file keeps the old one's permissions (and owner, where we may set
  // it); a new one gets the umask's.
  if (exists) {
    (void)::fchown(fd_, old.st_uid, old.st_gid);
    (void)::fchmod(fd_, old.st_mode & 07777);
  }
}

AtomicFile::~AtomicFile() {
  if (!committed_) Discard();
}

void AtomicFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

void AtomicFile::Fail(const std::string& what, int error) {
  Discard();
  committed_ = true;  // nothing left to clean up
  throw LumatrimError(FailureKindOfErrno(error, FailureKind::WriteFailed),
                      "Cannot write file \"" + path_ + "\": " + what + " (" + std::strerror(error) + ").");
}

void AtomicFile::Append(const std::string& bytes) { Append(bytes.data(), bytes.size()); }

void AtomicFile::Append(const char* data, size_t size) {
  if (fd_ < 0) throw LumatrimError("Cannot write file \"" + path_ + "\": it is already closed.");
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail("writing failed", errno);
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) throw LumatrimError("Cannot write file \"" + path_ + "\": it is already closed.");
  if (::fsync(fd_) != 0) Fail("flushing to disk failed", errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail("closing failed", errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail("cannot replace the file", errno);
  temp_.clear();
  committed_ = true;
  // Make the rename itself durable; a failure here loses nothing already written.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
}

bool IsWriteProtected(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

void AtomicFile::Write(const std::string& path, const std::string& bytes) {
  AtomicFile file(path);
  file.Append(bytes);
  file.Commit();
}

}  // namespace lumatrim
