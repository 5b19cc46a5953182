#pragma once
#include <optional>
#include <string>

#include "core/encode/DctPicture.h"
#include "core/encode/TrellisQuantiser.h"
#include "core/jpeg/Bitmap.h"

namespace lumatrim::encode {

// From this quality up the colour keeps full resolution (4:4:4). Measured
// with SSIMULACRA 2, 4:2:0 needs about a sixth fewer bytes for the same score
// all the way up to 90, so only a request for the utmost keeps full colour.
constexpr double kFullChromaQuality = 100;

ChromaSampling SamplingForQuality(double quality);

// Which progressive scan scripts an encode tries.
enum class ScanTrial {
  Smallest,  // every script, keeping the smallest stream (the final encode)
  One,       // only the usual winner (the trials of a search)
};

// Our JPEG encoder for one picture: float colour conversion and DCT (done
// once per chroma sampling, however many qualities are tried), trellis
// quantisation with the photo tables, then libjpeg-turbo's optimised Huffman
// coding of a progressive, baseline-compatible stream. The picture must
// outlive the encoder. Throws LumatrimError.
class PhotoEncoder {
 public:
  PhotoEncoder(const Bitmap& picture, std::string name, float lambda = TrellisQuantiser::kDefaultLambda);

  // The JPEG stream (SOI, JFIF, tables, scans, EOI) at a quality of 1..100.
  std::string Encode(double quality, ScanTrial trial = ScanTrial::Smallest);
  // The same with the sampling chosen by the caller (for measurements).
  std::string Encode(double quality, ChromaSampling sampling, ScanTrial trial);
  // The stream of one scan script (an index into ProgressiveScripts()).
  std::string EncodeWithScript(double quality, ChromaSampling sampling, size_t script);

 private:
  const DctPicture& Transformed(ChromaSampling sampling);
  // Codes the picture quantised at quality with each script of [first, end),
  // keeping the smallest stream.
  std::string Code(double quality, ChromaSampling sampling, size_t first, size_t end);

  const Bitmap& picture_;
  std::string name_;
  TrellisQuantiser quantiser_;
  std::optional<DctPicture> quarter_;
  std::optional<DctPicture> full_;
};

}  // namespace lumatrim::encode
