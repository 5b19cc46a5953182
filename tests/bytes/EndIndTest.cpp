#include <gtest/gtest.h>

#include "core/bytes/EndInd.h"
#include "support/TiffBuilder.h"

using lumatrim::tEndInd;
using namespace lumatrim::test;

TEST(EndInd, readsBothByteOrdersAtOneBasedPositions) {
  tEndInd block;
  block.SetBuffer(std::string("\x12\x34\x56\x78", 4));
  EXPECT_EQ(block.GetWord(1), 0x3412);
  EXPECT_EQ(block.GetLong(1), 0x78563412u);
  block.BigEndian = true;
  EXPECT_EQ(block.GetWord(1), 0x1234);
  EXPECT_EQ(block.GetWord(3), 0x5678);
  EXPECT_EQ(block.GetLong(1), 0x12345678u);
}

TEST(EndInd, bytesOutsideTheBufferReadAsZero) {
  tEndInd block;
  block.BigEndian = true;
  block.SetBuffer(std::string("\xAB\xCD", 2));
  EXPECT_EQ(block.GetWord(2), 0xCD00);
  EXPECT_EQ(block.GetLong(0), 0x00ABCD00u);
  EXPECT_EQ(block.GetLong(-5), 0u);
  EXPECT_EQ(block.GetLong(INT64_MAX), 0u);
  EXPECT_FALSE(block.Contains(2, 2));
  EXPECT_TRUE(block.Contains(1, 2));
  EXPECT_FALSE(block.Contains(INT64_MAX, INT64_MAX));
  EXPECT_EQ(block.Copy(2, 10), "\xCD");
  EXPECT_EQ(block.Copy(3, 1), "");
}

// A block continued past its Buffer by a source: the same answers as a
// Buffer holding the whole block, wherever a read falls.
TEST(EndInd, aSourceContinuesTheBufferWithTheSameAnswers) {
  const std::string file = "HEADER" + std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9);
  for (bool bigEndian : {false, true})
    for (size_t kept : {0u, 1u, 4u, 9u}) {
      SCOPED_TRACE(std::to_string(kept) + (bigEndian ? " MM" : " II"));
      tEndInd whole, split;
      whole.BigEndian = split.BigEndian = bigEndian;
      whole.SetBuffer(file.substr(6));
      split.SetBuffer(file.substr(6, kept));
      split.Source = std::make_shared<lumatrim::MemoryBytes>(file);
      split.SourceOrigin = 6;
      EXPECT_EQ(split.BlockSize(), 9);
      for (int64_t pos : {INT64_MIN, int64_t{-4}, int64_t{-1}, int64_t{0}, int64_t{1}, int64_t{3}, int64_t{4},
                          int64_t{6}, int64_t{8}, int64_t{9}, int64_t{10}, INT64_MAX}) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(split.GetByte(pos), whole.GetByte(pos));
        EXPECT_EQ(split.GetWord(pos), whole.GetWord(pos));
        EXPECT_EQ(split.GetLong(pos), whole.GetLong(pos));
        EXPECT_EQ(split.Copy(pos, 5), whole.Copy(pos, 5));
        EXPECT_EQ(split.Copy(pos, INT64_MAX), whole.Copy(pos, INT64_MAX));
        EXPECT_EQ(split.Contains(pos, 2), whole.Contains(pos, 2));
      }
    }
}

TEST(EndInd, writesInTheBlockOrderAndNeverOutsideTheBuffer) {
  tEndInd block;
  std::string buffer(6, '\0');
  block.PutLong(buffer, 0x01020304, 2);
  EXPECT_EQ(buffer, std::string("\0\x04\x03\x02\x01\0", 6));
  block.BigEndian = true;
  block.PutLong(buffer, 0x0A0B0C0D, 3);
  EXPECT_EQ(buffer, std::string("\0\x04\x0A\x0B\x0C\x0D", 6));
  block.PutLong(buffer, 0xFFFFFFFF, 4);  // would end past the buffer: dropped
  block.PutWord(buffer, 0xFFFF, 0);
  EXPECT_EQ(buffer, std::string("\0\x04\x0A\x0B\x0C\x0D", 6));
}

TEST(TiffBuilder, placesOutOfLineValuesAndSubDirectoriesAfterTheDirectory) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    Ifd exif;
    exif.Rational(0x829A, {{1, 125}});
    Ifd ifd0;
    ifd0.Ascii(0x010F, "Canon").SubIfd(0x8769, exif);
    tEndInd tiff;
    tiff.BigEndian = order == Order::Motorola;
    tiff.SetBuffer(TiffBuilder(order).Bytes(ifd0));
    EXPECT_EQ(tiff.GetLong(5), 8u);
    EXPECT_EQ(tiff.GetWord(9), 2);                      // two entries in IFD0
    const uint32_t makeOffset = tiff.GetLong(9 + 2 + 8);
    EXPECT_EQ(tiff.Copy(makeOffset + 1, 6), std::string("Canon\0", 6));
    const uint32_t exifOffset = tiff.GetLong(9 + 2 + 12 + 8);
    EXPECT_EQ(tiff.GetWord(exifOffset + 1), 1);
    EXPECT_EQ(tiff.GetWord(exifOffset + 3), 0x829A);
    const uint32_t rational = tiff.GetLong(exifOffset + 1 + 10);
    EXPECT_EQ(tiff.GetLong(rational + 1), 1u);
    EXPECT_EQ(tiff.GetLong(rational + 5), 125u);
  }
}
