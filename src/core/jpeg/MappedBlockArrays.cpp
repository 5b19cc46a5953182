#include "core/jpeg/MappedBlockArrays.h"

#include <sys/mman.h>

#include <cstdlib>
#include <utility>

#include <jerror.h>

#include "core/bytes/AddressSanitizer.h"

namespace lumatrim::jpeg {

namespace {

// Under AddressSanitizer the pages come from calloc instead, so that a block
// read past an array's end is caught rather than landing in the rest of a
// mapping.
void* ZeroedPages(size_t bytes) {
  if (bytes == 0) return nullptr;
  if constexpr (kUnderAddressSanitizer) return std::calloc(1, bytes);
  void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data == MAP_FAILED) return nullptr;
  (void)madvise(data, bytes, MADV_HUGEPAGE);  // a hint; without it the pages work the same
  return data;
}

void ReleasePages(void* data, size_t bytes) {
  if (data == nullptr) return;
  if constexpr (kUnderAddressSanitizer) {
    std::free(data);
  } else {
    munmap(data, bytes);
  }
}

}  // namespace

PageMapping::PageMapping(size_t bytes) : data_(ZeroedPages(bytes)), bytes_(data_ != nullptr ? bytes : 0) {}

PageMapping::~PageMapping() { ReleasePages(data_, bytes_); }

PageMapping::PageMapping(PageMapping&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

PageMapping& PageMapping::operator=(PageMapping&& other) noexcept {
  if (this != &other) {
    ReleasePages(data_, bytes_);
    data_ = std::exchange(other.data_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
  }
  return *this;
}

void MappedBlockArrays::InstallOn(jpeg_decompress_struct& info) {
  info.client_data = this;
  libjpegRealize_ = info.mem->realize_virt_arrays;
  info.mem->request_virt_barray = Request;
  info.mem->realize_virt_arrays = Realize;
  info.mem->access_virt_barray = Access;
}

MappedBlockArrays& MappedBlockArrays::OwnerOf(j_common_ptr cinfo) {
  return *static_cast<MappedBlockArrays*>(cinfo->client_data);
}

// Fresh pages read as zero, so an array asked to start cleared already is.
jvirt_barray_ptr MappedBlockArrays::Request(j_common_ptr cinfo, int /*pool*/, boolean /*preZero*/,
                                            JDIMENSION blocksPerRow, JDIMENSION rows, JDIMENSION /*maxAccess*/) {
  MappedBlockArrays& self = OwnerOf(cinfo);
  if (self.mapping_.Data() != nullptr || self.arrayCount_ == self.arrays_.size()) ERREXIT(cinfo, JERR_VIRTUAL_BUG);
  BlockArray& array = self.arrays_[self.arrayCount_++];
  array.blocksPerRow = blocksPerRow;
  array.rows = rows;
  return reinterpret_cast<jvirt_barray_ptr>(&array);
}

void MappedBlockArrays::Realize(j_common_ptr cinfo) {
  MappedBlockArrays& self = OwnerOf(cinfo);
  self.libjpegRealize_(cinfo);  // the sample arrays, if libjpeg asked for any
  if (self.mapping_.Data() != nullptr || self.arrayCount_ == 0) return;
  // Row pointers first (they keep the blocks aligned), then each array's blocks.
  size_t total = 0;
  for (size_t i = 0; i < self.arrayCount_; ++i) {
    const BlockArray& array = self.arrays_[i];
    size_t blocks = 0, bytes = 0;
    if (__builtin_mul_overflow(size_t{array.blocksPerRow}, size_t{array.rows}, &blocks) ||
        __builtin_mul_overflow(blocks, sizeof(JBLOCK), &bytes) ||
        __builtin_add_overflow(total, bytes + array.rows * sizeof(JBLOCKROW), &total)) {
      ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    }
  }
  // Moving a mapping in cannot throw; nothing else here allocates.
  self.mapping_ = PageMapping(total);
  if (self.mapping_.Data() == nullptr) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 11);

  auto* next = static_cast<char*>(self.mapping_.Data());
  for (size_t i = 0; i < self.arrayCount_; ++i) {
    BlockArray& array = self.arrays_[i];
    array.rowStarts = reinterpret_cast<JBLOCKROW*>(next);
    next += array.rows * sizeof(JBLOCKROW);
  }
  for (size_t i = 0; i < self.arrayCount_; ++i) {
    BlockArray& array = self.arrays_[i];
    for (JDIMENSION row = 0; row < array.rows; ++row) {
      array.rowStarts[row] = reinterpret_cast<JBLOCKROW>(next);
      next += size_t{array.blocksPerRow} * sizeof(JBLOCK);
    }
  }
}

JBLOCKARRAY MappedBlockArrays::Access(j_common_ptr cinfo, jvirt_barray_ptr handle, JDIMENSION startRow,
                                      JDIMENSION rowCount, boolean /*writable*/) {
  const BlockArray& array = Of(handle);
  if (array.rowStarts == nullptr || startRow > array.rows || rowCount > array.rows - startRow) {
    ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
  }
  return array.rowStarts + startRow;
}

}  // namespace lumatrim::jpeg
