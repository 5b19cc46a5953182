#include <gtest/gtest.h>

#include "core/bytes/ByteView.h"
#include "support/ByteOrders.h"

using namespace lumatrim;
using namespace lumatrim::test;

TEST(ByteView, readsNumbersInTheViewsByteOrderAndZerosOutsideIt) {
  InBothByteOrders([](Order order) {
    const std::string bytes = U16(0x1234, order) + U32(0x89ABCDEF, order);
    const ByteView view(bytes, CoreOrder(order));
    EXPECT_EQ(view.U16(0), 0x1234);
    EXPECT_EQ(view.U32(2), 0x89ABCDEFu);
    EXPECT_EQ(view.U8(6), 0);
    EXPECT_EQ(view.U32(INT64_MAX), 0u);
    EXPECT_EQ(view.U32(INT64_MIN), 0u);
    // A number cut off by the end reads its missing bytes as zeros.
    const uint16_t last = static_cast<uint8_t>(bytes[5]);
    EXPECT_EQ(view.U16(5), order == Order::Motorola ? last << 8 : last);
  });
}

TEST(ByteView, rangeChecksCannotBeFooledByHugeOffsets) {
  const ByteView view(std::string_view("\xAB\xCD", 2), ByteOrder::BigEndian);
  EXPECT_TRUE(view.Contains(0, 2));
  EXPECT_TRUE(view.Contains(2, 0));
  EXPECT_FALSE(view.Contains(1, 2));
  EXPECT_FALSE(view.Contains(-1, 1));
  EXPECT_FALSE(view.Contains(INT64_MAX, INT64_MAX));
  EXPECT_EQ(view.Clip(1, 10), "\xCD");
  EXPECT_EQ(view.Clip(2, 1), "");
  EXPECT_EQ(view.Sub(1, 1).U8(0), 0xCD);
}

TEST(ByteView, writesFitEntirelyOrNotAtAll) {
  std::string buffer(6, '\0');
  PutU32(buffer, 1, 0x01020304, ByteOrder::LittleEndian);
  EXPECT_EQ(buffer, std::string("\0\x04\x03\x02\x01\0", 6));
  PutU16(buffer, 4, 0x0A0B, ByteOrder::BigEndian);
  EXPECT_EQ(buffer, std::string("\0\x04\x03\x02\x0A\x0B", 6));
  PutU32(buffer, 3, 0xFFFFFFFF, ByteOrder::BigEndian);
  PutU16(buffer, -1, 0xFFFF, ByteOrder::BigEndian);
  EXPECT_EQ(buffer, std::string("\0\x04\x03\x02\x0A\x0B", 6));
}

TEST(Cursor, theFirstFailureSticksAndSaysWhere) {
  InBothByteOrders([](Order order) {
    const std::string bytes = U16(7, order);
    const ByteView view(bytes, CoreOrder(order));
    Cursor cursor(view);
    EXPECT_EQ(cursor.U16(), 7);
    EXPECT_TRUE(cursor.Ok());
    EXPECT_EQ(cursor.U32(), 0u);
    EXPECT_EQ(cursor.Error(), "unexpected end of data at offset 0x2 while reading [0x2, 0x6)");
    cursor.Seek(0);  // a failed cursor stays where it failed
    EXPECT_EQ(cursor.U16(), 0);
    EXPECT_EQ(cursor.Offset(), 2);

    Cursor beyond(view, 0x47);
    EXPECT_EQ(beyond.U8(), 0);
    EXPECT_EQ(beyond.Error(), "offset 0x47 is beyond the end of data at 0x2");
  });
}
