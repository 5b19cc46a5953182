#pragma once

namespace lumatrim::resample {

// libjpeg-turbo can decode straight into M/8 of a photo's size (rounded up)
// by scaling its inverse DCT, which costs a fraction of a full decode. The
// filter then makes the exact size from that picture.
//
// The DCT's reduction is a coarse box-like filter in gamma, so it is kept
// well above the target: the result is the smallest M in {1, 2, 4, 8} (the
// scales libjpeg-turbo has SIMD code for) whose picture is at least
// kShrinkHeadroom times the target on both axes, and 8 (no scaling) when the
// photo is not that much larger, or when enlarging.
constexpr double kShrinkHeadroom = 2.0;

int ShrinkOnLoadEighths(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight,
                        double headroom = kShrinkHeadroom);

}  // namespace lumatrim::resample
