#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lumatrim {

// Bytes read by offset on demand: a TIFF or NEF file is walked directory by
// directory without holding the file (tens of megabytes of image strips) in
// memory.
class RandomAccessBytes {
 public:
  virtual ~RandomAccessBytes() = default;
  virtual int64_t Size() const = 0;
  // Up to count bytes from offset (0-based); shorter where the bytes end or a
  // read fails, empty outside them.
  std::string ReadAt(int64_t offset, int64_t count) const;

 protected:
  // Fills dst with up to n bytes from offset, which lies inside [0, Size());
  // returns how many.
  virtual size_t Fill(int64_t offset, char* dst, size_t n) const = 0;
};

// A file, kept open while the object lives.
class FileBytes : public RandomAccessBytes {
 public:
  // Null when the file cannot be opened.
  static std::shared_ptr<FileBytes> Open(const std::string& path);
  ~FileBytes() override;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  int64_t Size() const override { return size_; }

 protected:
  size_t Fill(int64_t offset, char* dst, size_t n) const override;

 private:
  FileBytes(int fd, int64_t size) : fd_(fd), size_(size) {}
  int fd_;
  int64_t size_;
};

// Bytes in memory (tests and fuzzing).
class MemoryBytes : public RandomAccessBytes {
 public:
  explicit MemoryBytes(std::string bytes) : bytes_(std::move(bytes)) {}
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

 protected:
  size_t Fill(int64_t offset, char* dst, size_t n) const override;

 private:
  std::string bytes_;
};

}  // namespace lumatrim
