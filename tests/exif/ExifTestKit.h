#pragma once
#include <memory>
#include <string>

#include "core/photo/PhotoReader.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {

// The metadata read from the given JPEG bytes.
inline std::unique_ptr<PhotoMetadata> ScanBytes(const std::string& jpeg, bool* found = nullptr, char separator = '.') {
  ReadOptions options;
  options.decimalSeparator = separator;
  MemorySource input(jpeg);
  auto data = std::make_unique<PhotoMetadata>(ReadJpegMetadata(input, options));
  if (found) *found = data->MetadataPresent();
  return data;
}

// A camera-like JPEG: SOI, APP1 Exif with the given IFD0, DQT, SOS.
inline std::string CameraJpeg(Order order, const Ifd& ifd0) {
  return JpegBuilder().Soi().App1Exif(TiffBuilder(order).Bytes(ifd0)).Dqt().Sos().Bytes();
}

inline std::unique_ptr<PhotoMetadata> ParseIfd0(Order order, const Ifd& ifd0, char separator = '.') {
  return ScanBytes(CameraJpeg(order, ifd0), nullptr, separator);
}

inline int CountTag(const ExifData& info, int tag) {
  int n = 0;
  for (const auto& e : info.TagList) n += e.Tag == tag;
  return n;
}

inline const char* OrderName(Order order) { return order == Order::Intel ? "Intel" : "Motorola"; }

}  // namespace lumatrim::test
