#pragma once
#include <sys/types.h>

#include <string>

#include "core/bytes/ByteSource.h"

namespace lumatrim {

// A file opened for reading; closed when the object goes, however a parse
// leaves. Small reads (markers, length fields) come from a little buffer; a
// large read goes straight from the file into its destination, so a scan
// reads only a few bytes past where it stops.
class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  size_t Read(char* dst, size_t n) override;

 private:
  size_t Take(char* dst, size_t n);
  ssize_t ReadFile(char* dst, size_t n);

  int fd_;
  char buffer_[2048];
  size_t begin_ = 0, end_ = 0;
};

}  // namespace lumatrim
