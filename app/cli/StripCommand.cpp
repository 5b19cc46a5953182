// lumatrim-cli strip exif|iptc|gps FILE...: removes the EXIF or the IPTC block,
// or only the GPS position (from EXIF and XMP), of JPEG photos in place, as the detail window
// does; the coded image is kept.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/Commands.h"
#include "core/bytes/Error.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "core/photo/PhotoEdits.h"

namespace cli {

int RunStrip(int argc, char** argv) {
  const bool exif = argc >= 1 && std::strcmp(argv[0], "exif") == 0;
  const bool iptc = argc >= 1 && std::strcmp(argv[0], "iptc") == 0;
  const bool gps = argc >= 1 && std::strcmp(argv[0], "gps") == 0;
  if ((!exif && !iptc && !gps) || argc < 2) {
    std::fputs("usage: lumatrim-cli strip exif|iptc|gps FILE...\n", stderr);
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    if (!std::filesystem::is_regular_file(path)) {
      std::fprintf(stderr, "lumatrim-cli: %s: no such file\n", path.c_str());
      status = 1;
      continue;
    }
    lumatrim::PhotoMetadata data = lumatrim::ReadPhotoMetadata(path);
    if (data.exif && data.exif->IsTiffFile) {
      std::fprintf(stderr, "lumatrim-cli: %s: only JPEG photos can be rewritten\n", path.c_str());
      status = 1;
      continue;
    }
    const char* what = exif ? "EXIF" : iptc ? "IPTC" : "GPS";
    // GPS is dropped from the container here (EXIF and XMP); nothing to drop means no GPS.
    const lumatrim::GpsRemoved gpsRemoved = gps ? lumatrim::RemoveGps(data) : lumatrim::GpsRemoved{};
    const bool present = exif ? data.ExifPresent() : iptc ? data.IptcPresent() : gpsRemoved.Any();
    if (!present) {
      std::printf("%s: no %s block\n", path.c_str(), what);
      continue;
    }
    try {
      if (exif) lumatrim::DropExif(data);
      if (iptc) lumatrim::DropIptc(data);
      lumatrim::RewritePhoto(data, data.filePath.empty() ? path : data.filePath);
      // Where the position was, when XMP held one too.
      const char* where = !gpsRemoved.xmp ? "" : gpsRemoved.exif ? " (EXIF and XMP)" : " (XMP)";
      std::printf("%s: %s removed%s\n", path.c_str(), what, where);
    } catch (const lumatrim::LumatrimError& error) {
      std::fprintf(stderr, "lumatrim-cli: %s\n", error.what());
      status = 1;
    }
  }
  return status;
}

}  // namespace cli
