// The decoder on damaged notes, hostile offsets, and two threads at once.
#include <gtest/gtest.h>

#include <thread>

#include "MakerPhoto.h"

namespace lumatrim::test {
namespace {

// A Canon note in the block's order whose directory `dir` fills.
MakerPhoto CanonPhoto(Order order, const Ifd& dir, int declaredLength = -1) {
  return {order, "Canon", "Canon PowerShot S40", "0220", [order, dir](uint32_t at) { return dir.Serialize(order, at); },
          declaredLength};
}

TEST(MakerDecoder, aDirectoryRunningPastTheNoteIsReadAsFarAsItGoes) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    const Ifd twoEntries = Ifd().Long(8, {1001234}).Short(15, {257});
    const struct { const char* name; MakerPhoto photo; std::vector<std::string> expected; } cases[] = {
        {"a count far beyond the entries",
         CanonPhoto(order, Ifd().Long(8, {1001234}).Short(1, {0, 2}).ForceCount(60000)),
         {"ImageNumber=1001234", "Macro mode=Normal", "ExposureInfo1=0, 2"}},
        {"the note ends inside the second entry", CanonPhoto(order, twoEntries, 2 + 12 + 8), {"ImageNumber=1001234"}},
        {"a note of 1 byte", CanonPhoto(order, twoEntries, 1), {}},
        {"a note of 0 bytes", CanonPhoto(order, twoEntries, 0), {}},
    };
    for (const auto& c : cases) {
      const ReadResult r = ReadPhotoBytes(c.photo.Jpeg(), "canon.jpg");
      EXPECT_EQ(r.maker, c.expected) << c.name;
      EXPECT_EQ(r.exifImageWidth, "640") << c.name;
    }
  }
}

TEST(MakerDecoder, hostileValueOffsetsStayInsideTheSegment) {
  // Offsets far past the block, and one that wraps below its start.
  Ifd dir;
  dir.WithOffset(6, ASCII, 40, 0xFFFFFFF0).WithOffset(7, ASCII, 0xFFFFFFFF, 0x7FFFFFFF).Long(8, {5});
  const ReadResult r = ReadPhotoBytes(CanonPhoto(Order::Intel, dir).Jpeg(), "hostile.jpg");
  EXPECT_EQ(r.Data("ImageNumber"), "5");
  EXPECT_EQ(r.exifImageWidth, "640");
}

TEST(MakerDecoder, twoPhotosDecodeOnTwoThreadsAtOnce) {
  using namespace std::string_literals;
  MakerPhoto nikon{Order::Motorola, "NIKON CORPORATION", "", "0221", [](uint32_t) {
    Ifd d;
    d.Rational(132, {{180, 10}, {700, 10}, {35, 10}, {45, 10}}).Ascii(141, "MODE3");
    return "Nikon\0\x02\x10\0\0MM\0\x2A\0\0\0\x08"s + d.Serialize(Order::Motorola, 8);
  }};
  MakerPhoto fuji{Order::Motorola, "FUJIFILM", "", "", [](uint32_t) {
    return "FUJIFILM"s + U32(12, Order::Intel) + Ifd().Short(4097, {4}).Short(4112, {2}).Serialize(Order::Intel, 12);
  }};
  TempDir dir;
  const std::string paths[] = {
      WriteFile(dir.File("canon.jpg"), CanonPhoto(Order::Intel, Ifd().Short(1, {0, 2, 0, 4}).Short(15, {257})).Jpeg()),
      WriteFile(dir.File("nikon.jpg"), nikon.Jpeg()), WriteFile(dir.File("fuji.tif"), fuji.Tiff())};
  std::vector<ReadResult> alone;
  for (const std::string& path : paths) alone.push_back(ReadPhotoFile(path));
  ASSERT_EQ(alone[0].Data("Macro mode"), "Normal");
  ASSERT_EQ(alone[1].Data("Color Mode"), "Mode 3 (sRGB): higher saturation");
  ASSERT_EQ(alone[2].Data("Sharpness"), "Hard");
  std::vector<int> mismatches(3, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 40; ++i) {
        const ReadResult r = ReadPhotoFile(paths[t]);
        mismatches[t] += r.maker != alone[t].maker || r.exifImageWidth != "640";
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(3, 0));
}

}  // namespace
}  // namespace lumatrim::test
