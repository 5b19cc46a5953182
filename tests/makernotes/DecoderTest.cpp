// The maker directory walk on its own: what stops it and what it never reads.
#include <gtest/gtest.h>

#include <climits>

#include "core/bytes/Error.h"
#include "core/makernotes/MakerNoteDecoder.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {
namespace {

std::string Fail(const std::string&, TagRenderContext&) { throw LumatrimError("bad value"); }

constexpr TagDefinition kMakerTable[] = {{0, 1, "First", "First", "", "", nullptr}, {0, 5, "Text", "Text", "", "", nullptr},
                                   {0, 6, "Broken", "Broken", "", "", Fail}};

MakerLayout TestLayout(int dirOffset, int64_t valueOrigin) { return {"TEST", kMakerTable, dirOffset, valueOrigin, false}; }

}  // namespace

// The walk itself is tested with the real maker tables; what they never do is throw.
TEST(WalkMakerDirectory, aRenderErrorStopsTheWalkWithAMessage) {
  const std::string exif = "exif";
  MakerNoteSource source;
  source.exif = ByteView(exif, ByteOrder::LittleEndian);
  const std::string block = Ifd().Short(1, {7}).Short(6, {1}).Short(1, {8}).Serialize(Order::Intel, 0);
  source.facts.note = block;
  const MakerNoteEntries walked = WalkMakerDirectory(source, TestLayout(0, 0));
  EXPECT_EQ(walked.failure.Text(), "Error Detected = bad value");
  EXPECT_EQ(walked.entries.size(), 1u);
  EXPECT_EQ(source.exif.Bytes(), "exif") << "the block is left as it was";
  // Hostile counts, offsets and origins read nothing outside.
  source.noteOffset = 0x7FFFFFFF - 1;
  Ifd hostile;
  hostile.WithOffset(5, ASCII, 0xFFFFFFFF, 0xFFFFFFFF).WithOffset(1, SHORT, 0x7FFFFFFF, 0x80000000);
  const std::string hostileBytes = hostile.Serialize(Order::Intel, 0);
  size_t count = walked.entries.size();
  source.facts.note = hostileBytes;
  count += WalkMakerDirectory(source, TestLayout(0, 6)).entries.size();
  source.facts.note = "";
  count += WalkMakerDirectory(source, TestLayout(1000, 1001)).entries.size();
  source.facts.note = "\xFF";
  count += WalkMakerDirectory(source, TestLayout(-1000, -999)).entries.size();
  EXPECT_EQ(count, 3u);
}

}  // namespace lumatrim::test
