#pragma once
// Fault injection for file writes. The test program defines write, fsync and
// rename itself; they pass through to the C library until a test arms them,
// then fail the way a full disk, a failing device or a refused rename does.
#include <cstddef>

namespace lumatrim::test::faults {

// write() to any file but the standard streams accepts `bytes` more bytes,
// then fails with ENOSPC (a short write first, as a filling disk does).
void FailWritesAfter(size_t bytes);
// fsync() fails with EIO.
void FailFlush();
// rename() fails with the given errno.
void FailRename(int error);
// Everything passes through again.
void Disarm();

// How often the armed hooks were reached since the last Disarm.
int FaultsHit();

// Disarms when it goes, whatever the test does in between.
class Armed {
 public:
  Armed() = default;
  ~Armed() { Disarm(); }
  Armed(const Armed&) = delete;
  Armed& operator=(const Armed&) = delete;
};

}  // namespace lumatrim::test::faults
