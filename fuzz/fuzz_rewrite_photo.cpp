// RewritePhoto and WriteJpegWithMetadata of hostile photos into a scratch
// folder. A write either gives a loadable JPEG of the same picture size or
// fails with a message, leaving the earlier output byte for byte and no
// temporary file behind.
#include <filesystem>

#include "FuzzCommon.h"
#include "core/photo/PhotoEdits.h"
#include "Targets.h"

namespace {

const std::string kEarlier = "earlier output";

// A small real picture, coded once, for WriteJpegWithMetadata.
const lumatrim::JpegImage& SmallImage() {
  static const lumatrim::JpegImage image = [] {
    lumatrim::JpegImage made;
    lumatrim::Bitmap bitmap(24, 16);
    for (size_t i = 0; i < bitmap.Bytes.size(); ++i) bitmap.Bytes[i] = static_cast<uint8_t>(i * 7);
    made.Assign(std::move(bitmap));
    made.Compress(80, true);
    return made;
  }();
  return image;
}

// A folder of its own, so other targets' files (in one regression run) do not count.
const std::string& Folder() {
  static const std::string dir = [] {
    const std::string path = lumatrim::fuzz::ScratchDir() + "/rewrite";
    std::filesystem::create_directories(path);
    return path;
  }();
  return dir;
}

void CheckFolder(const std::string& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name != "in.jpg" && name != "out.jpg") lumatrim::fuzz::Violated("a temporary file was left behind");
  }
}

// The output after a write: complete and loadable, or untouched.
void CheckOutput(const std::string& out, bool written, int width, int height) {
  using namespace lumatrim;
  const std::string bytes = fuzz::ReadWhole(out);
  if (!written) {
    if (bytes != kEarlier) fuzz::Violated("a failed write changed the earlier output");
    return;
  }
  JpegImage reread;
  try {
    reread.LoadFromFile(out);
  } catch (const LumatrimError&) {
    fuzz::Violated("a written photo does not load");
  }
  if (reread.Width() != width || reread.Height() != height) fuzz::Violated("a written photo changed its size");
  (void)ReadPhotoMetadata(out);
}

}  // namespace

int lumatrim::fuzz::RunRewritePhoto(const uint8_t* data, size_t size) {
  using namespace lumatrim;
  const std::string out = Folder() + "/out.jpg";
  const std::string in = fuzz::WriteScratch("rewrite/in.jpg", data, size);
  const JpegImage& small = SmallImage();

  PhotoMetadata photo = ReadPhotoMetadata(in);

  // The photo rewritten with its own segments (what saving edited IPTC does).
  fuzz::WriteScratch("rewrite/out.jpg", reinterpret_cast<const uint8_t*>(kEarlier.data()), kEarlier.size());
  int width = 0, height = 0;
  bool written = false;
  try {
    JpegImage source;
    source.LoadFromFile(in);
    width = source.Width();
    height = source.Height();
    RewritePhoto(photo, out);
    written = true;
  } catch (const LumatrimError&) {
  }
  CheckFolder(Folder());
  CheckOutput(out, written, width, height);

  // Its segments around a new picture with the size fields updated, as the
  // batch does; then with a fresh IPTC block instead of the old one; then
  // without its GPS directory, which must then be gone for good.
  for (int round = 0; round < 3; ++round) {
    fuzz::WriteScratch("rewrite/out.jpg", reinterpret_cast<const uint8_t*>(kEarlier.data()), kEarlier.size());
    written = false;
    try {
      if (round == 1) {
        IptcRecord& record = IptcForEditing(photo);
        record.SetValue("Keywords", "fuzz, \"two words\"");
        SetIptcSegment(photo, record.BuildApp13());
      }
      if (round == 2) {
        const size_t before = photo.Segment(photo.exifSegment) ? photo.Segment(photo.exifSegment)->content.size() : 0;
        (void)DropGps(photo);
        const size_t after = photo.Segment(photo.exifSegment) ? photo.Segment(photo.exifSegment)->content.size() : 0;
        if (after != before) fuzz::Violated("removing GPS changed the EXIF block's size");
        if (HasGps(photo)) fuzz::Violated("a GPS directory survived its removal");
      }
      SetPictureSize(photo, small.Height(), small.Width());
      WriteJpegWithMetadata(photo, small, out);
      written = true;
    } catch (const LumatrimError&) {
    }
    CheckFolder(Folder());
    CheckOutput(out, written, small.Width(), small.Height());
  }
  return 0;
}

#ifndef LUMATRIM_FUZZ_NO_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumatrim::fuzz::RunRewritePhoto(data, size);
}
#endif
