#include "core/encode/PhotoEncoder.h"

#include <algorithm>
#include <array>

#include "core/encode/QuantTables.h"
#include "core/encode/ScanScripts.h"
#include "core/jpeg/JpegCodec.h"

namespace lumatrim::encode {
namespace {

// The script that wins most often on photos, tried alone during searches.
constexpr size_t kUsualWinner = 0;

}  // namespace

ChromaSampling SamplingForQuality(double quality) {
  return quality >= kFullChromaQuality ? ChromaSampling::Full : ChromaSampling::Quarter;
}

PhotoEncoder::PhotoEncoder(const Bitmap& picture, std::string name, float lambda)
    : picture_(picture), name_(std::move(name)), quantiser_(lambda) {}

const DctPicture& PhotoEncoder::Transformed(ChromaSampling sampling) {
  std::optional<DctPicture>& slot = sampling == ChromaSampling::Full ? full_ : quarter_;
  if (!slot) slot = TransformPicture(picture_, sampling);
  return *slot;
}

std::string PhotoEncoder::Encode(double quality, ScanTrial trial) {
  return Encode(quality, SamplingForQuality(quality), trial);
}

std::string PhotoEncoder::Encode(double quality, ChromaSampling sampling, ScanTrial trial) {
  if (trial == ScanTrial::One) return Code(quality, sampling, kUsualWinner, kUsualWinner + 1);
  return Code(quality, sampling, 0, ProgressiveScripts().size());
}

std::string PhotoEncoder::EncodeWithScript(double quality, ChromaSampling sampling, size_t script) {
  return Code(quality, sampling, script, script + 1);
}

std::string PhotoEncoder::Code(double quality, ChromaSampling sampling, size_t first, size_t end) {
  const DctPicture& picture = Transformed(sampling);
  const QuantTables tables = TablesForQuality(quality);
  const std::array<QuantisedComponent, 3> values = quantiser_.Quantise(picture, tables);
  const int lumaSampling = sampling == ChromaSampling::Quarter ? 2 : 1;
  std::array<jpeg::CoefficientPlane, 3> planes;
  for (size_t c = 0; c < 3; ++c) {
    planes[c].HorizontalSampling = planes[c].VerticalSampling = c == 0 ? lumaSampling : 1;
    planes[c].WidthInBlocks = values[c].WidthInBlocks;
    planes[c].HeightInBlocks = values[c].HeightInBlocks;
    planes[c].QuantSteps = c == 0 ? tables.Luma.data() : tables.Chroma.data();
    planes[c].Values = values[c].Values.data();
  }
  const auto scripts = ProgressiveScripts();
  std::string smallest;
  for (size_t s = first; s < std::min(end, scripts.size()); ++s) {
    jpeg::Compressor compressor(name_);
    compressor.WriteCoefficients(picture.Width, picture.Height, planes, scripts[s]);
    std::string bytes = compressor.TakeBytes();
    if (smallest.empty() || bytes.size() < smallest.size()) smallest = std::move(bytes);
  }
  return smallest;
}

}  // namespace lumatrim::encode
