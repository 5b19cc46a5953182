#include <gtest/gtest.h>

#include "core/exif/IfdEntry.h"
#include "core/exif/TiffType.h"
#include "support/ByteOrders.h"

using namespace lumatrim;
using namespace lumatrim::test;

TEST(IfdReader, readsEntriesAndLocatesInlineAndOutOfLineValues) {
  InBothByteOrders([](Order order) {
    Ifd ifd0;
    ifd0.Short(0x0112, {6}).Ascii(0x010F, "NIKON CORPORATION").Long(0x8769, {0});
    const std::string tiff = TiffBuilder(order).Bytes(ifd0);
    const ByteView view(tiff, CoreOrder(order));
    const IfdReader directory(view, 8);
    ASSERT_EQ(directory.CountField(), 3);

    const IfdEntry orientation = directory.Entry(0, 0);
    EXPECT_EQ(orientation.tag, 0x0112);
    EXPECT_TRUE(IsType(orientation.type, TiffType::Short));
    EXPECT_TRUE(orientation.ValueInline());
    EXPECT_EQ(view.U16(orientation.valueOffset), 6);

    const IfdEntry make = directory.Entry(1, 0);
    EXPECT_EQ(make.byteCount, 18u);
    EXPECT_EQ(view.Clip(make.valueOffset, 17), "NIKON CORPORATION");
    // The same entry seen from a view that starts 6 bytes before the TIFF header.
    const std::string app1 = std::string("Exif\0\0", 6) + tiff;
    const IfdEntry shifted = IfdReader(ByteView(app1, CoreOrder(order)), 14).Entry(1, 6);
    EXPECT_EQ(shifted.valueOffset, make.valueOffset + 6);
    EXPECT_EQ(directory.NextDirectory(3), 0u);
  });
}

TEST(IfdReader, hostileCountsAndTypesStayInsideTheirArithmetic) {
  InBothByteOrders([](Order order) {
    Ifd ifd0;
    ifd0.WithOffset(0x010F, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFF0).ForceCount(0xFFFF);
    const std::string tiff = TiffBuilder(order).Bytes(ifd0);
    const IfdReader directory(ByteView(tiff, CoreOrder(order)), 8);
    EXPECT_EQ(directory.CountField(), 0xFFFF);
    EXPECT_EQ(directory.EntriesInView(), 1);  // what the bytes really hold
    const IfdEntry unknownType = directory.Entry(0, 0);
    EXPECT_EQ(unknownType.byteCount, 0u);
    const IfdEntry pastTheEnd = directory.Entry(5000, 0);
    EXPECT_EQ(pastTheEnd.tag, 0);
    EXPECT_EQ(pastTheEnd.byteCount, 0u);
    EXPECT_EQ(TiffTypeSize(static_cast<uint16_t>(TiffType::Double)), 8);
  });
}
