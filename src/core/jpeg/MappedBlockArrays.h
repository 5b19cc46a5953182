#pragma once
// Internal to the lossless transform: where a decompressor keeps the
// coefficients of a whole picture.
#include <array>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

namespace lumatrim::jpeg {

// Zeroed pages from the kernel, huge ones where it has them; null when
// there is not that much memory.
class PageMapping {
 public:
  PageMapping() = default;
  explicit PageMapping(size_t bytes);
  ~PageMapping();
  PageMapping(PageMapping&& other) noexcept;
  PageMapping& operator=(PageMapping&& other) noexcept;

  void* Data() const { return data_; }

 private:
  void* data_ = nullptr;
  size_t bytes_ = 0;
};

// One whole-picture coefficient array, rows of blocks. It is the object
// behind a jvirt_barray_ptr handed out by MappedBlockArrays.
struct BlockArray {
  JDIMENSION blocksPerRow = 0;
  JDIMENSION rows = 0;
  JBLOCKROW* rowStarts = nullptr;  // set when the arrays are realised
};

// Takes over a decompressor's whole-picture coefficient arrays (what
// jpeg_read_coefficients fills) and keeps them in one anonymous mapping.
// libjpeg's own arrays come from malloc and are cleared on first use; the
// kernel's pages are zero already, and a mapping this large is offered huge
// pages, which spares a 9 MP photo some 25 000 page faults (most of a turn's
// time on a virtual machine).
//
// Install it after jpeg_create_decompress and before the arrays are
// requested; it must outlive every use of the arrays, the encoder's included.
class MappedBlockArrays {
 public:
  MappedBlockArrays() = default;
  MappedBlockArrays(const MappedBlockArrays&) = delete;
  MappedBlockArrays& operator=(const MappedBlockArrays&) = delete;

  void InstallOn(jpeg_decompress_struct& info);

  // The array behind a handle this object gave out.
  static BlockArray& Of(jvirt_barray_ptr handle) { return *reinterpret_cast<BlockArray*>(handle); }

 private:
  static jvirt_barray_ptr Request(j_common_ptr cinfo, int pool, boolean preZero, JDIMENSION blocksPerRow,
                                  JDIMENSION rows, JDIMENSION maxAccess);
  static void Realize(j_common_ptr cinfo);
  static JBLOCKARRAY Access(j_common_ptr cinfo, jvirt_barray_ptr handle, JDIMENSION startRow, JDIMENSION rowCount,
                            boolean writable);
  static MappedBlockArrays& OwnerOf(j_common_ptr cinfo);

  // Filled from inside libjpeg, where nothing may throw: no allocation but the mapping.
  std::array<BlockArray, MAX_COMPONENTS> arrays_{};
  size_t arrayCount_ = 0;
  void (*libjpegRealize_)(j_common_ptr) = nullptr;
  PageMapping mapping_;
};

}  // namespace lumatrim::jpeg
