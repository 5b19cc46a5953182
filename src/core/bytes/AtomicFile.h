#pragma once
#include <string>

namespace lumatrim {

// A file written so that its target is either the old file, byte for byte, or
// the complete new one: the bytes go to a temporary file in the target's
// folder, are flushed to disk and only then renamed over the target. Whatever
// goes wrong removes the temporary file and throws LumatrimError naming the
// target. A symbolic link is followed, so the file it points to is replaced.
// A target that is write-protected (IsWriteProtected) is refused with
// FailureKind::NoPermission before anything is written: the rename in a
// writable folder could replace it, but its owner said no.
class AtomicFile {
 public:
  explicit AtomicFile(const std::string& path);  // opens the temporary file
  ~AtomicFile();                                  // removes it unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Append(const std::string& bytes);
  void Append(const char* data, size_t size);
  // Flushes, closes and renames over the target.
  void Commit();

  const std::string& TargetPath() const { return target_; }

  // The whole job in one call.
  static void Write(const std::string& path, const std::string& bytes);

 private:
  [[noreturn]] void Fail(const std::string& what, int error);
  void Discard();

  std::string path_;    // as the caller named it, for messages
  std::string target_;  // the file that is replaced (links followed)
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

// Whether the existing file at path may not be replaced: its mode has no write
// bit at all (which root, for whom access() allows everything, must respect
// too), or this user may not write it. False for a file that is not there.
bool IsWriteProtected(const std::string& path);

}  // namespace lumatrim
