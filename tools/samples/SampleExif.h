#pragma once
#include <cstdint>
#include <string>

// Camera EXIF blocks for the sample photos, in the layouts real cameras write:
// IFD0, the EXIF sub-IFD with a maker note, GPS, and IFD1 with a thumbnail.
namespace samples {

enum class MakerLayout { None, Canon, NikonNew, Olympus, Fujifilm };

struct Camera {
  std::string make, model, software;
  MakerLayout maker = MakerLayout::None;
  bool bigEndian = false;
};

struct Shot {
  std::string dateTime;                // "YYYY:MM:DD HH:MM:SS"
  uint32_t exposureNum = 1, exposureDen = 125;
  uint32_t fNumberTimes10 = 56;
  uint16_t iso = 100;
  uint32_t focalTimes10 = 350;
  uint16_t focal35 = 0;                // 0: left for the program to derive
  uint16_t flash = 0;
  bool gps = false;
  double latitude = 0, longitude = 0;  // degrees, north and east positive
  double altitude = 0;                 // metres
};

// "Exif\0\0" followed by the TIFF block.
std::string BuildExifPayload(const Camera& camera, const Shot& shot, int width, int height,
                             const std::string& thumbnailJpeg);

}  // namespace samples
