#pragma once
// Internal to the lossless transform: the result's coefficients, made from
// the source's as the encoder asks for them.
#include <array>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

#include <jpeglib.h>

#include "core/jpeg/MappedBlockArrays.h"

namespace lumatrim::jpeg {

// A lossless transform in the DCT domain: first the blocks' axes swap (a
// transpose), then the result is mirrored left to right and/or top to
// bottom. Every one of the eight turns and mirrors is such a product.
struct BlockMotion {
  bool transposes = false;
  bool mirrorsColumns = false;
  bool mirrorsRows = false;
};

// One component of the result: its size in blocks (the encoder's) and the
// source component its blocks come from. A mirrored side must be whole
// blocks: its last block becomes the first.
struct ComponentPlan {
  JDIMENSION widthInBlocks = 0;
  JDIMENSION heightInBlocks = 0;
  // The array the encoder is handed: padded to whole MCUs.
  JDIMENSION paddedWidth = 0;
  JDIMENSION paddedHeight = 0;
  const BlockArray* source = nullptr;
};

// The result's coefficient arrays for jpeg_write_coefficients. Nothing is
// stored twice for a single pass (a sequential result): requests for rows
// transform them a band at a time. An encoder that reads the picture many
// times (progressive scans) gets each array transformed once, in full.
class TransformedBlocks {
 public:
  // Throws LumatrimError when a component's blocks would come from outside
  // its source array.
  TransformedBlocks(BlockMotion motion, const std::vector<ComponentPlan>& components, bool readOnce);
  ~TransformedBlocks();
  TransformedBlocks(const TransformedBlocks&) = delete;
  TransformedBlocks& operator=(const TransformedBlocks&) = delete;

  // Points the compressor's array access here (through its client_data);
  // call before jpeg_write_coefficients, and keep this object until the
  // compressor is finished.
  void InstallOn(jpeg_compress_struct& info);
  jvirt_barray_ptr* Handles() { return handles_.data(); }

 private:
  struct Array;
  static JBLOCKARRAY Access(j_common_ptr cinfo, jvirt_barray_ptr handle, JDIMENSION startRow, JDIMENSION rowCount,
                            boolean writable);
  void Fill(const ComponentPlan& plan, JDIMENSION firstRow, JDIMENSION rowCount, JBLOCKROW* targets) const;

  BlockMotion motion_;
  void (*mover_)(const JCOEF* from, JCOEF* to);
  std::vector<Array> arrays_;
  std::vector<jvirt_barray_ptr> handles_;
};

}  // namespace lumatrim::jpeg
