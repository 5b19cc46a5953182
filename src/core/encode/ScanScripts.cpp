#include "core/encode/ScanScripts.h"

#include <array>

namespace lumatrim::encode {
namespace {

// Rows: components in the scan, their indices, first and last coefficient,
// successive approximation high and low bit.

// libjpeg's simple progression: DC and the low luma band first, refinements
// last; it wins on some detailed photos at high quality.
constexpr jpeg_scan_info kSimple[] = {
    {3, {0, 1, 2, 0}, 0, 0,  0, 1},
    {1, {0, 0, 0, 0}, 1, 5,  0, 2},
    {1, {2, 0, 0, 0}, 1, 63, 0, 1},
    {1, {1, 0, 0, 0}, 1, 63, 0, 1},
    {1, {0, 0, 0, 0}, 6, 63, 0, 2},
    {1, {0, 0, 0, 0}, 1, 63, 2, 1},
    {3, {0, 1, 2, 0}, 0, 0,  1, 0},
    {1, {2, 0, 0, 0}, 1, 63, 1, 0},
    {1, {1, 0, 0, 0}, 1, 63, 1, 0},
    {1, {0, 0, 0, 0}, 1, 63, 1, 0},
};

// No successive approximation (at low and middle qualities refinement bits
// buy little), the luma split after coefficient 2, where a photo's energy
// thins out: the most frequent winner.
constexpr jpeg_scan_info kSplitAtTwo[] = {
    {3, {0, 1, 2, 0}, 0, 0,  0, 0},
    {1, {0, 0, 0, 0}, 1, 2,  0, 0},
    {1, {1, 0, 0, 0}, 1, 63, 0, 0},
    {1, {2, 0, 0, 0}, 1, 63, 0, 0},
    {1, {0, 0, 0, 0}, 3, 63, 0, 0},
};

// Luma refined by one bit, chroma whole: between the simple script and the
// plain splits.
constexpr jpeg_scan_info kLumaRefined[] = {
    {3, {0, 1, 2, 0}, 0, 0,  0, 0},
    {1, {0, 0, 0, 0}, 1, 8,  0, 1},
    {1, {1, 0, 0, 0}, 1, 63, 0, 0},
    {1, {2, 0, 0, 0}, 1, 63, 0, 0},
    {1, {0, 0, 0, 0}, 9, 63, 0, 1},
    {1, {0, 0, 0, 0}, 1, 63, 1, 0},
};

// Each script tried costs one more pass of Huffman coding; a fourth (luma in
// three bands) saved under half a percent and rarely won, so it went.
constexpr std::array<std::span<const jpeg_scan_info>, 3> kScripts = {
    std::span<const jpeg_scan_info>(kSplitAtTwo),
    std::span<const jpeg_scan_info>(kLumaRefined),
    std::span<const jpeg_scan_info>(kSimple),
};

}  // namespace

std::span<const std::span<const jpeg_scan_info>> ProgressiveScripts() { return kScripts; }

}  // namespace lumatrim::encode
