// Choosing the layout, and the decoder's behaviour on whole photos: derived
// items' place in the tag list, damaged directories, two threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "MakerPhoto.h"
#include "core/exif/ImageInfo.h"
#include "core/exif/ImgData.h"
#include "core/makernotes/CanonTable.h"
#include "core/makernotes/MakerLayout.h"
#include "core/makernotes/NikonOldTable.h"
#include "core/makernotes/NikonTable.h"
#include "support/JpegBuilder.h"

namespace lumatrim::test {
namespace {

using namespace std::string_literals;

struct Facts {
  std::string make, model = "", exifVersion = "", note = "";
  int makerNotePos = 100;
  bool tiff = false;
};

std::optional<MakerLayout> Choose(const Facts& f) {
  TImageInfo info(nullptr);
  info.CameraMake = f.make;
  info.CameraModel = f.model;
  info.ExifVersion = f.exifVersion;
  info.MakerNoteRaw = f.note;
  info.MakerNotePos = f.makerNotePos;
  info.IsTiffFile = f.tiff;
  info.Base = f.tiff ? TImageInfo::kTiffBase : TImageInfo::kJpegBase;
  return ChooseMakerLayout(info, f.tiff);
}

TEST(MakerLayoutChoice, NikonConditions) {
  const std::string oldNote = "Nikon\0\x01\0"s;
  auto table = [&](Facts f) { return Choose(f)->Table.data(); };
  auto dir = [&](Facts f) { return Choose(f)->DirOffset; };

  for (const char* version : {"0220", "0221", "0211", "1"}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(dir({"NIKON CORPORATION", "NIKON D70", version, oldNote}), 18);
    EXPECT_EQ(Choose({"NIKON", "", version, ""})->Adjust, 9);
  }
  for (const char* version : {"0210", "0200", "021", "", "0"}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(table({"NIKON", "E950", version, oldNote}), NikonOldTable.data());
    EXPECT_EQ(dir({"NIKON", "E950", version, "\x05\0"s}), 0);
  }
  // Empty version: the model character decides, for TIFF/NEF files only.
  EXPECT_EQ(dir({"NIKON", "NIKON D100", "", oldNote, 100, true}), 18);
  EXPECT_EQ(dir({"NIKON", "D1X", "", oldNote, 100, true}), 18);         // no blank: first character
  EXPECT_EQ(dir({"NIKON", "NIKON  D70", "", oldNote, 100, true}), 8);   // the blank itself follows
  EXPECT_EQ(dir({"NIKON", "NIKON d100", "", oldNote, 100, true}), 8);   // a capital D only
  EXPECT_EQ(dir({"NIKON", "NIKON D100", "", oldNote, 100, false}), 8);  // a JPEG
  EXPECT_EQ(dir({"NIKON", "", "", "", 100, true}), 0);
  // "Nikon" at the first byte, in that case exactly.
  EXPECT_EQ(dir({"NIKON", "E950", "0210", "NIKON\0\x01\0"s}), 0);
  EXPECT_EQ(dir({"NIKON", "E950", "0210", "xNikon"}), 0);
  EXPECT_EQ(table({"NIKON", "E950", "0210", "xNikon"}), NikonTable.data());
}

TEST(MakerLayoutChoice, MakeKeyIsTheFirstFiveLettersInCapitals) {
  EXPECT_EQ(MakeKey("Nikon Corporation"), "NIKON");
  EXPECT_EQ(MakeKey("olympus"), "OLYMP");
  EXPECT_EQ(MakeKey("Can"), "CAN");
  EXPECT_TRUE(Choose({"nIkOn"}).has_value());
  EXPECT_EQ(Choose({"canon inc."})->Table.data(), CanonTable.data());
  EXPECT_FALSE(Choose({"KONICA MINOLTA"}).has_value());
  EXPECT_FALSE(Choose({""}).has_value());
  EXPECT_FALSE(Choose({"Samsung"}).has_value());
  EXPECT_TRUE(Choose({"FUJIFILM"})->LittleEndian);
  EXPECT_FALSE(Choose({"Canon"})->LittleEndian);
}

MakerPhoto CanonPhoto(Order order) {
  MakerPhoto photo;
  photo.order = order;
  photo.make = "Canon";
  photo.model = "Canon PowerShot S40";
  photo.exifVersion = "0220";
  photo.body = [order](uint32_t at) {
    Ifd d;
    d.Short(1, {0, 2, 0, 4}).Short(4, {0, 0, 0, 0, 0, 0, 0, 1}).Long(8, {1001234}).Short(15, {257});
    return d.Serialize(order, at);
  };
  return photo;
}

std::vector<std::string> Names(const ReadResult& r) {
  std::vector<std::string> names;
  for (const MakerEntry& e : r.maker) names.push_back(e.desc);
  return names;
}

TEST(MakerDecoder, CanonDerivedItemsStandBeforeTheirParent) {
  const ReadResult r = ReadPhotoBytes(CanonPhoto(Order::Motorola).Jpeg(), "canon.jpg");
  const std::vector<std::string> expected = {"Macro mode",    "Self Timer",      "ExposureInfo1", "White balance",
                                             "ExposureInfo2", "ImageNumber",     "Noise Reduction",
                                             "CustomFunctions"};
  EXPECT_EQ(Names(r), expected);
  EXPECT_EQ(r.Data("ExposureInfo1"), "0, 2, 0, 4");  // the parent keeps its numbers
  EXPECT_EQ(r.Data("White balance"), "Sunny");
}

TEST(MakerDecoder, OlympusQualityIsFoundByName) {
  MakerPhoto photo;
  photo.make = "OLYMPUS OPTICAL CO.,LTD";
  photo.exifVersion = "0210";
  photo.body = [](uint32_t at) {
    Ifd d;
    d.Short(513, {2}).Short(515, {1}).Short(9999, {1});
    return "OLYMP\0\x01\0"s + d.Serialize(Order::Intel, at + 8);
  };
  TempDir dir;
  TimgData data;
  ASSERT_TRUE(data.ReadPhoto(WriteFile(dir.File("olympus.jpg"), photo.Jpeg())));
  EXPECT_EQ(data.ExifInfo->TagValueByName("JpegQual"), "HQ");
  EXPECT_EQ(data.ExifInfo->TagValueByName("jpegqual"), "HQ");
  int makerEntries = 0;
  for (const TTagEntry& e : data.ExifInfo->TagList) makerEntries += e.Group == 1;
  EXPECT_EQ(makerEntries, 1);  // the Skip row and the unknown tag make none
}

TEST(MakerDecoder, DirectoryRunningPastTheNoteIsReadAsFarAsItGoes) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(order == Order::Intel ? "II" : "MM");
    {
      SCOPED_TRACE("a count far beyond the entries");
      MakerPhoto photo = CanonPhoto(order);
      photo.body = [order](uint32_t at) {
        Ifd d;
        d.Long(8, {1001234}).Short(1, {0, 2}).ForceCount(60000);
        return d.Serialize(order, at);
      };
      const ReadResult r = ReadPhotoBytes(photo.Jpeg(), "count.jpg");
      EXPECT_EQ(Names(r), (std::vector<std::string>{"ImageNumber", "Macro mode", "ExposureInfo1"}));
      EXPECT_EQ(r.exifImageWidth, "640");
    }
    {
      SCOPED_TRACE("the note ends inside the second entry");
      MakerPhoto photo = CanonPhoto(order);
      photo.body = [order](uint32_t at) {
        Ifd d;
        d.Long(8, {1001234}).Short(15, {257});
        return d.Serialize(order, at);
      };
      photo.declaredLength = 2 + 12 + 8;  // tag, type and count of entry 2, not its value
      const ReadResult r = ReadPhotoBytes(photo.Jpeg(), "cut.jpg");
      EXPECT_EQ(Names(r), std::vector<std::string>{"ImageNumber"});
    }
    {
      SCOPED_TRACE("a note too short for its count");
      for (int length : {0, 1}) {
        MakerPhoto photo = CanonPhoto(order);
        photo.declaredLength = length;
        const ReadResult r = ReadPhotoBytes(photo.Jpeg(), "tiny.jpg");
        EXPECT_TRUE(r.maker.empty());
        EXPECT_EQ(r.exifImageWidth, "640");
      }
    }
  }
}

TEST(MakerDecoder, HostileValueOffsetsStayInsideTheSegment) {
  // Offsets far past the block, and one that wraps below its start.
  MakerPhoto photo = CanonPhoto(Order::Intel);
  photo.body = [](uint32_t) {
    Ifd d;
    d.WithOffset(6, ASCII, 40, 0xFFFFFFF0).WithOffset(7, ASCII, 0xFFFFFFFF, 0x7FFFFFFF).Long(8, {5});
    return d.Serialize(Order::Intel, 0);
  };
  const ReadResult r = ReadPhotoBytes(photo.Jpeg(), "hostile.jpg");
  EXPECT_EQ(r.Data("ImageNumber"), "5");
  EXPECT_EQ(r.exifImageWidth, "640");
}

TEST(MakerDecoder, TwoPhotosDecodeOnTwoThreadsAtOnce) {
  MakerPhoto nikon;
  nikon.order = Order::Motorola;
  nikon.make = "NIKON CORPORATION";
  nikon.exifVersion = "0221";
  nikon.body = [](uint32_t) {
    Ifd d;
    d.Rational(132, {{180, 10}, {700, 10}, {35, 10}, {45, 10}}).Ascii(141, "MODE3");
    return "Nikon\0\x02\x10\0\0MM\0\x2A\0\0\0\x08"s + d.Serialize(Order::Motorola, 8);
  };
  MakerPhoto fuji;
  fuji.order = Order::Motorola;
  fuji.make = "FUJIFILM";
  fuji.body = [](uint32_t) {
    Ifd d;
    d.Short(4097, {4}).Short(4112, {2});
    return "FUJIFILM"s + U32(12, Order::Intel) + d.Serialize(Order::Intel, 12);
  };
  TempDir dir;
  const std::string paths[] = {WriteFile(dir.File("canon.jpg"), CanonPhoto(Order::Intel).Jpeg()),
                               WriteFile(dir.File("nikon.jpg"), nikon.Jpeg()),
                               WriteFile(dir.File("fuji.tif"), fuji.Tiff())};
  std::vector<ReadResult> alone;
  for (const std::string& path : paths) alone.push_back(ReadPhotoFile(path));
  ASSERT_EQ(alone[1].Data("Color Mode"), "Mode 3 (sRGB): higher saturation");
  ASSERT_EQ(alone[2].Data("Sharpness"), "Hard");

  std::vector<int> mismatches(3, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 40; ++i) {
        const ReadResult r = ReadPhotoFile(paths[t]);
        if (r.maker != alone[t].maker || r.exifImageWidth != "640") ++mismatches[t];
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(3, 0));
}

}  // namespace
}  // namespace lumatrim::test
