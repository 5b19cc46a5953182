#pragma once
// Camera-like test photos for the batch tests.
#include <string>

#include "../jpeg/JpegTestKit.h"
#include "core/jpeg/JpegImage.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {

// The coded picture of a libjpeg stream without its SOI and JFIF APP0.
inline std::string CodedPicture(int w, int h, unsigned seed = 3) {
  return EncodeRgb(MakePhoto(w, h, seed), {.quality = 92}).substr(2 + 18);
}

inline std::string CameraExif(int w, int h) {
  Ifd exif;
  exif.Ascii(0x9003, "2024:05:01 10:20:30").Long(0xA002, {uint32_t(w)}).Long(0xA003, {uint32_t(h)});
  Ifd ifd1;
  ifd1.Short(0x0103, {6}).Thumbnail(EncodeRgb(MakePhoto(32, 24, 9), {.quality = 70}));
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS 5D").SubIfd(0x8769, exif).Next(ifd1);
  return TiffBuilder(Order::Intel).Bytes(ifd0);
}

// SOI, APP1 Exif (with a thumbnail), APP13 IPTC, COM, then the coded picture.
inline std::string CameraPhoto(int w, int h, unsigned seed = 3) {
  const std::string iptc = IptcDataset(2, 0, std::string("\0\2", 2)) + IptcDataset(2, 5, "Karluv most") +
                           IptcDataset(2, 25, "Praha") + IptcDataset(2, 25, "most");
  return JpegBuilder().Soi().App1Exif(CameraExif(w, h)).App13(PhotoshopIptcPayload(iptc)).Com("Dovolena 2024").Bytes() +
         CodedPicture(w, h, seed);
}

inline std::pair<int, int> SizeOf(const std::string& path) {
  JpegImage image;
  image.LoadFromFile(path);
  return {image.Width(), image.Height()};
}

}  // namespace lumatrim::test
