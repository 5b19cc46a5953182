#pragma once
#include <cstdio>  // jpeglib.h needs FILE
#include <span>

#include <jpeglib.h>

namespace lumatrim::encode {

// The progressive scan scripts tried for each photo (Y = component 0, Cb 1,
// Cr 2). The coded picture is the same under each; only the bytes differ,
// so the encoder keeps whichever comes out smallest. The first is the one
// that wins most often, the one a search's trials use.
std::span<const std::span<const jpeg_scan_info>> ProgressiveScripts();

}  // namespace lumatrim::encode
