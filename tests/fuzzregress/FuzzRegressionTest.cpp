// Every input kept in fuzz/regressions/<target>/ once crashed that target (or
// broke one of its checks); each is replayed through the target's own body,
// which aborts on any violation, under this build's sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "Targets.h"
#include "core/exif/ExifData.h"
#include "core/jpeg/JpegImage.h"
#include "core/makernotes/MakerNoteDecoder.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "support/JpegBuilder.h"
#include "support/TiffBuilder.h"

namespace {

using Target = int (*)(const uint8_t*, size_t);

std::vector<std::string> KeptInputs(const std::string& target) {
  std::vector<std::string> files;
  const std::filesystem::path dir = std::filesystem::path(LUMATRIM_FUZZ_REGRESSIONS) / target;
  if (!std::filesystem::is_directory(dir)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const std::string& target, Target run) {
  for (const std::string& file : KeptInputs(target)) {
    SCOPED_TRACE(file);
    const std::string bytes = lumatrim::test::ReadFile(file);
    EXPECT_EQ(run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

}  // namespace

TEST(FuzzRegressions, ReaderInputs) {
  Replay("fuzz_read_jpeg", lumatrim::fuzz::RunReadJpeg);
  Replay("fuzz_read_tiff", lumatrim::fuzz::RunReadTiff);
  Replay("fuzz_makernote", lumatrim::fuzz::RunMakerNote);
}

TEST(FuzzRegressions, IptcInputs) {
  Replay("fuzz_iptc_app13", lumatrim::fuzz::RunIptcApp13);
  Replay("fuzz_comma_lists", lumatrim::fuzz::RunCommaLists);
}

TEST(FuzzRegressions, PictureAndWriterInputs) {
  Replay("fuzz_jpeg_decode", lumatrim::fuzz::RunJpegDecode);
  Replay("fuzz_rewrite_photo", lumatrim::fuzz::RunRewritePhoto);
  Replay("fuzz_exif_upright", lumatrim::fuzz::RunExifUpright);
  Replay("fuzz_heif_metadata", lumatrim::fuzz::RunHeifMetadata);
  Replay("fuzz_xmp", lumatrim::fuzz::RunXmp);
}

// Found by fuzz_read_tiff: a MakerNote whose value offset puts the note at the
// int limit made the layout arithmetic of the TIFF-header makes overflow.
TEST(FuzzRegressions, MakerNoteAtTheIntLimitIsWalkedWithoutOverflow) {
  using namespace lumatrim;
  using lumatrim::test::Order;
  for (const char* make : {"Canon", "OLYMPUS OPTICAL CO.,LTD", "CASIO", "Minolta Co., Ltd."}) {
    for (bool tiff : {true, false}) {
      SCOPED_TRACE(std::string(make) + (tiff ? " in a TIFF file" : " in a JPEG file"));
      MakerNoteSource source;
      const int64_t tiffOrigin = tiff ? ExifData::kTiffFileOrigin : ExifData::kJpegTiffOrigin;
      source.noteOffset = INT_MAX - 1;
      // A directory of one ImageType entry whose 32 bytes lie at offset 100.
      std::string note(8, '\0');
      note += lumatrim::test::U16(1, Order::Intel) + lumatrim::test::U16(6, Order::Intel) +
              lumatrim::test::U16(2, Order::Intel) + lumatrim::test::U32(32, Order::Intel) +
              lumatrim::test::U32(100, Order::Intel) + std::string(200, 'x');
      source.facts = {make, "", "", note, source.noteOffset - tiffOrigin, tiff};
      const std::string exif(64, '\0');
      source.exif = ByteView(exif, ByteOrder::LittleEndian);
      const MakerNoteEntries maker = DecodeMakerNote(source);
      EXPECT_TRUE(maker.supported);
      for (const TagEntry& entry : maker.entries) {
        EXPECT_EQ(entry.Raw.find('x'), std::string::npos) << "a value was read from a made-up place";
      }
    }
  }
}

// Found by fuzz_rewrite_photo: stray bytes after the EXIF segment (libjpeg
// skips them) whose second byte equals the COM marker made the writer cut away
// the frame header behind them, so the rewritten photo no longer loaded.
TEST(FuzzRegressions, StrayBytesAfterExifDoNotCutTheImage) {
  using namespace lumatrim;
  using namespace lumatrim::test;
  Bitmap picture(24, 16);
  for (size_t i = 0; i < picture.Bytes.size(); ++i) picture.Bytes[i] = static_cast<uint8_t>(i * 5);
  JpegImage coded;
  coded.Assign(std::move(picture));
  coded.Compress(80, false);
  Ifd ifd0;
  ifd0.Ascii(0x010F, "Canon");
  // 4F FE and a length reaching past the frame header: not a marker, but a
  // COM probe reading only the second byte sees one.
  const std::string body = coded.Data().substr(2);
  const size_t reach = body.find("\xFF\xC0") + 19 + 2;
  const std::string stray{'\x4F', '\xFE', static_cast<char>(reach >> 8), static_cast<char>(reach & 0xFF)};
  const std::string photo =
      JpegBuilder().Soi().App1Exif(TiffBuilder(Order::Intel).Bytes(ifd0)).Bytes() + stray + body;
  TempDir dir;
  const std::string path = WriteFile(dir.File("p.jpg"), photo);
  JpegImage source;
  source.LoadFromFile(path);
  ASSERT_EQ(source.Width(), 24) << "libjpeg skips the stray bytes";

  PhotoMetadata data = ReadPhotoMetadata(path);
  ASSERT_TRUE(data.MetadataPresent());
  RewritePhoto(data, dir.File("out.jpg"));
  JpegImage rewritten;
  ASSERT_NO_THROW(rewritten.LoadFromFile(dir.File("out.jpg")));
  EXPECT_EQ(rewritten.Width(), 24);
  EXPECT_EQ(rewritten.Height(), 16);
}
