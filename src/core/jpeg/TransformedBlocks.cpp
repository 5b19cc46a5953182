#include "core/jpeg/TransformedBlocks.h"

#include <algorithm>
#include <string>
#include <utility>

#include <jerror.h>

#include "core/bytes/Error.h"
#include "core/jpeg/BlockMoves.h"

namespace lumatrim::jpeg {

// Rows of blocks made at a time. The encoder asks for one MCU row (at most
// four block rows); a turn reads the source down its columns, and a band
// this tall reads each source row a run of neighbouring blocks at a time
// instead of one block.
constexpr JDIMENSION kBandRows = 16;

struct TransformedBlocks::Array {
  ComponentPlan plan;
  PageMapping blocks;                // one band, or the whole array
  std::vector<JBLOCKROW> rowStarts;  // of the band, or of the whole array
  bool whole = false;
  JDIMENSION firstRow = 0;  // the band: the row it starts at
  JDIMENSION rowsMade = 0;  // rows ready: in the band, or the whole array's from the top
};

namespace {

// Where the result's block (column, row) comes from: (column, row) in the
// source component.
std::pair<JDIMENSION, JDIMENSION> SourceBlock(const BlockMotion& motion, const ComponentPlan& plan, JDIMENSION column,
                                              JDIMENSION row) {
  const JDIMENSION x = motion.mirrorsColumns ? plan.widthInBlocks - 1 - column : column;
  const JDIMENSION y = motion.mirrorsRows ? plan.heightInBlocks - 1 - row : row;
  return motion.transposes ? std::pair(y, x) : std::pair(x, y);
}

using BlockMover = void (*)(const JCOEF*, JCOEF*);

BlockMover MoverFor(const BlockMotion& motion) {
  static constexpr BlockMover kMovers[2][2][2] = {
      {{MoveBlock<false, false, false>, MoveBlock<false, false, true>},
       {MoveBlock<false, true, false>, MoveBlock<false, true, true>}},
      {{MoveBlock<true, false, false>, MoveBlock<true, false, true>},
       {MoveBlock<true, true, false>, MoveBlock<true, true, true>}},
  };
  return kMovers[motion.transposes][motion.mirrorsColumns][motion.mirrorsRows];
}

// The mapping is monotonic along each side, so two opposite corners bound it.
bool InsideSource(const BlockMotion& motion, const ComponentPlan& plan) {
  if (plan.widthInBlocks == 0 || plan.heightInBlocks == 0 || plan.source == nullptr) return false;
  const auto [x0, y0] = SourceBlock(motion, plan, 0, 0);
  const auto [x1, y1] = SourceBlock(motion, plan, plan.widthInBlocks - 1, plan.heightInBlocks - 1);
  return std::max(x0, x1) < plan.source->blocksPerRow && std::max(y0, y1) < plan.source->rows;
}

}  // namespace

TransformedBlocks::TransformedBlocks(BlockMotion motion, const std::vector<ComponentPlan>& components, bool readOnce)
    : motion_(motion), mover_(MoverFor(motion)) {
  arrays_.resize(components.size());
  for (size_t c = 0; c < components.size(); ++c) {
    const ComponentPlan& plan = components[c];
    if (!InsideSource(motion, plan) || plan.paddedWidth < plan.widthInBlocks ||
        plan.paddedHeight < plan.heightInBlocks) {
      throw LumatrimError(FailureKind::DamagedData,
                          "component " + std::to_string(c) + " does not fit the transform of its blocks");
    }
    Array& array = arrays_[c];
    array.plan = plan;
    array.whole = !readOnce;
    const JDIMENSION rows = array.whole ? plan.paddedHeight : std::min(kBandRows, plan.paddedHeight);
    const size_t rowBytes = size_t{plan.paddedWidth} * sizeof(JBLOCK);
    array.blocks = PageMapping(rowBytes * rows);
    if (array.blocks.Data() == nullptr) {
      throw LumatrimError(FailureKind::OutOfMemory, "no memory for the transformed blocks");
    }
    array.rowStarts.resize(rows);
    for (JDIMENSION row = 0; row < rows; ++row) {
      array.rowStarts[row] = reinterpret_cast<JBLOCKROW>(static_cast<char*>(array.blocks.Data()) + row * rowBytes);
    }
  }
  for (Array& array : arrays_) handles_.push_back(reinterpret_cast<jvirt_barray_ptr>(&array));
}

TransformedBlocks::~TransformedBlocks() = default;

void TransformedBlocks::InstallOn(jpeg_compress_struct& info) {
  info.client_data = this;
  info.mem->access_virt_barray = Access;
}

// Called from inside libjpeg: reports through ERREXIT, allocates nothing.
JBLOCKARRAY TransformedBlocks::Access(j_common_ptr cinfo, jvirt_barray_ptr handle, JDIMENSION startRow,
                                      JDIMENSION rowCount, boolean /*writable*/) {
  const auto& self = *static_cast<const TransformedBlocks*>(cinfo->client_data);
  Array& array = *reinterpret_cast<Array*>(handle);
  const JDIMENSION height = array.plan.paddedHeight;
  if (startRow > height || rowCount > height - startRow) ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
  if (array.whole) {
    if (startRow + rowCount > array.rowsMade) {
      const JDIMENSION end = std::min(height, std::max(startRow + rowCount, array.rowsMade + kBandRows));
      self.Fill(array.plan, array.rowsMade, end - array.rowsMade, array.rowStarts.data() + array.rowsMade);
      array.rowsMade = end;
    }
    return array.rowStarts.data() + startRow;
  }
  if (rowCount > array.rowStarts.size()) ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
  if (startRow < array.firstRow || startRow + rowCount > array.firstRow + array.rowsMade) {
    array.firstRow = startRow;
    array.rowsMade = std::min(static_cast<JDIMENSION>(array.rowStarts.size()), height - startRow);
    self.Fill(array.plan, startRow, array.rowsMade, array.rowStarts.data());
  }
  return array.rowStarts.data() + (startRow - array.firstRow);
}

// Rows firstRow.. of the result into targets (one per row), a column of the
// band at a time. Padding blocks stay as they are: the encoder codes its own
// dummy blocks there.
void TransformedBlocks::Fill(const ComponentPlan& plan, JDIMENSION firstRow, JDIMENSION rowCount,
                             JBLOCKROW* targets) const {
  const JDIMENSION end = std::min(firstRow + rowCount, plan.heightInBlocks);
  for (JDIMENSION column = 0; column < plan.widthInBlocks; ++column) {
    // The next column's source blocks are asked for while this one is moved.
    if (column + 1 < plan.widthInBlocks) {
      for (JDIMENSION row = firstRow; row < end; ++row) {
        const auto [x, y] = SourceBlock(motion_, plan, column + 1, row);
        const JCOEF* next = plan.source->rowStarts[y][x];
        __builtin_prefetch(next);
        __builtin_prefetch(next + DCTSIZE2 / 2);
      }
    }
    for (JDIMENSION row = firstRow; row < end; ++row) {
      const auto [x, y] = SourceBlock(motion_, plan, column, row);
      mover_(plan.source->rowStarts[y][x], targets[row - firstRow][column]);
    }
  }
}

}  // namespace lumatrim::jpeg
