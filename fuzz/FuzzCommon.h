#pragma once
// Helpers shared by the fuzz targets: a private scratch folder for the entry
// points that take a path, and one walk over everything the reader offers.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/bytes/Error.h"
#include "core/iptc/IptcRecord.h"
#include "core/jpeg/JpegImage.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"

namespace lumatrim::fuzz {

// A folder of this process, removed at exit; /dev/shm keeps the file traffic
// in memory. Folders left by processes that died (a crash skips the removal)
// are cleared by the next run.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    namespace fs = std::filesystem;
    const fs::path parent = fs::path(fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") / "lumatrim-fuzz";
    std::error_code ignored;
    fs::create_directories(parent, ignored);
    for (const auto& entry : fs::directory_iterator(parent, ignored)) {
      const std::string name = entry.path().filename().string();
      const pid_t owner = static_cast<pid_t>(std::atol(name.c_str()));
      if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH) fs::remove_all(entry.path(), ignored);
    }
    const fs::path mine = parent / std::to_string(::getpid());
    fs::remove_all(mine, ignored);
    if (!fs::create_directory(mine, ignored)) std::abort();
    static std::string removeAtExit;
    removeAtExit = mine.string();
    std::atexit([] {
      std::error_code ignoredAtExit;
      std::filesystem::remove_all(removeAtExit, ignoredAtExit);
    });
    return mine.string();
  }();
  return dir;
}

inline std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchDir() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) std::abort();
  return path;
}

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] inline void Violated(const char* what) {
  std::fprintf(stderr, "fuzz invariant violated: %s\n", what);
  std::abort();
}

// A decode of a picture small enough to stay quick; larger ones are decoded
// reduced, as the preview does.
inline void DecodeBounded(const JpegImage& image) {
  const int64_t pixels = int64_t{image.Width()} * image.Height();
  const int scale = pixels <= (1 << 20) ? 1 : pixels <= (1 << 24) ? 4 : 8;
  if (pixels / (int64_t{scale} * scale) > (1 << 20)) return;
  const Bitmap picture = image.Decode(scale);
  if (picture.Width != (image.Width() + scale - 1) / scale ||
      picture.Height != (image.Height() + scale - 1) / scale) {
    Violated("decoded size differs from the header");
  }
}

// Everything a window asks of a read photo: both enumerations, lookups, the
// thumbnail (cut and decoded) and the IPTC items. The reader must not throw.
inline void ExerciseMetadata(PhotoMetadata& data) {
  if (ExifData* info = data.exif.get()) {
    TagEntry entry;
    for (TagGroup group : {TagGroup::Standard, TagGroup::Maker}) {
      info->ResetTagCursor();
      while (info->NextTag(group, entry)) {
      }
    }
    info->ParseThumbnailDirectory();
    for (TagGroup group : {TagGroup::Standard, TagGroup::Maker}) {
      info->ResetThumbTagCursor();
      while (info->NextThumbTag(group, entry)) {
      }
    }
    for (const char* name : {"DateTimeOriginal", "ExposureTime", "FNumber", "FocalLength", "Orientation",
                             "ExifImageWidth", "GPSLatitude", "Make"}) {
      (void)info->TagValueByName(name);
      (void)info->GetTagNumber(name);
      (void)info->GetTagInt(name);
    }
  }
  if (data.xmp) (void)data.xmp->Properties();  // a JPEG's or HEIF's segments, a TIFF's tag 700
  const std::string thumb = data.CutThumbnail();
  if (!thumb.empty() && (thumb.size() < 4 || thumb.compare(0, 2, "\xFF\xD8") != 0 ||
                         thumb.compare(thumb.size() - 2, 2, "\xFF\xD9") != 0)) {
    Violated("a cut thumbnail is not SOI ... EOI");
  }
  try {
    if (auto image = DecodeThumbnail(data)) DecodeBounded(*image);
  } catch (const LumatrimError&) {
    // A damaged thumbnail is refused with a message; that is the expected outcome.
  }
  if (data.IptcPresent() && data.iptc) {
    (void)data.iptc->ItemsInUse();
    try {
      (void)data.iptc->BuildApp13();
    } catch (const LumatrimError&) {
    }
  }
}

// Reads the bytes as a photo file of the given name, checks the outcome is
// told, and exercises what the reader offers.
inline bool ReadAsFile(const std::string& name, const uint8_t* data, size_t size) {
  PhotoMetadata photo = ReadPhotoMetadata(WriteScratch(name, data, size));
  const bool found = photo.MetadataPresent();
  if (found && photo.outcome.Text().empty()) Violated("a read without outcome text");
  ExerciseMetadata(photo);
  return found;
}

}  // namespace lumatrim::fuzz
