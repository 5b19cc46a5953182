#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/iptc/IPTCdata.h"
#include "core/iptc/IptcCodec.h"

using namespace lumatrim;

namespace {

std::string B(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

const std::string kHead = std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0", 22);
const std::string kVersion = B({0x1C, 2, 0, 0, 2, 0, 2});
const std::string kTail = std::string("8BIM\x04\x0B\0\0\0\0\0\0", 12);

std::string Length(int l) { return B({0, 0, l >> 8, l & 0xFF}); }

}  // namespace

TEST(IptcBuild, LaysOutThePayloadByteForByte) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("an empty store: 46 bytes, L = 8, one pad byte");
  const std::string empty = store.BuildApp13();
  EXPECT_EQ(empty.size(), 46u);
  EXPECT_EQ(empty, kHead + Length(8) + kVersion + B({0}) + kTail);

  SCOPED_TRACE("ObjectName = Test: a 9-byte dataset, no pad, L = 16");
  store.SetValue("ObjectName", "Test");
  EXPECT_EQ(store.BuildApp13(), kHead + Length(16) + kVersion + B({0x1C, 2, 5, 0, 4}) + "Test" + kTail);

  SCOPED_TRACE("repeatable items become one dataset per part, custom items keep their numbers");
  TIPTCdata many(nullptr);
  many.AddByName("Keywords", "Paris,Rome");
  TTagEntry custom;
  custom.Record = 2;
  custom.Tag = 200;
  custom.Name = custom.Desc = "Custom_200";
  custom.Data = "cc";
  many.AppendItem(custom);
  many.AddByName("SuppCategory", "ab");
  const std::string data = B({0x1C, 2, 25, 0, 5}) + "Paris" + B({0x1C, 2, 25, 0, 4}) + "Rome" +
                           B({0x1C, 2, 200, 0, 2}) + "cc" + B({0x1C, 2, 20, 0, 2}) + "ab";
  ASSERT_EQ(data.size() % 2, 1u);
  EXPECT_EQ(many.BuildApp13(), kHead + Length(7 + int(data.size())) + kVersion + data + kTail);
}

TEST(IptcBuild, WritesRepeatedValuesPartByPart) {
  SCOPED_TRACE("blanks around commas are trimmed, a quoted keyword keeps its quotes");
  EXPECT_EQ(EncodeRepeated(2, 25, " New , York "), EncodeDataset(2, 25, "New") + EncodeDataset(2, 25, "York"));
  EXPECT_EQ(EncodeRepeated(2, 25, "\"New York\""), EncodeDataset(2, 25, "\"New York\""));
  EXPECT_EQ(EncodeRepeated(2, 25, "a,,b"), EncodeDataset(2, 25, "a") + EncodeDataset(2, 25, "") +
                                               EncodeDataset(2, 25, "b"));
  EXPECT_EQ(EncodeRepeated(2, 25, "  "), "");
  SCOPED_TRACE("Keywords read from New York are written back as two datasets");
  TIPTCdata store(nullptr);
  store.AddMultiple("Keywords", "New York");
  EXPECT_NE(store.BuildApp13().find(EncodeDataset(2, 25, "New") + EncodeDataset(2, 25, "York")), std::string::npos);
}

TEST(IptcBuild, MarksUtf8TextWithTheCodedCharacterSet) {
  TIPTCdata store(nullptr);
  store.SetValue("ObjectName", "Praha – Karlův most");
  const std::string payload = store.BuildApp13();
  const std::string charset = B({0x1C, 1, 90, 0, 3, 0x1B, 0x25, 0x47});
  EXPECT_EQ(payload.substr(26, 15), charset + kVersion) << "1:90 comes before the record version";
  EXPECT_NE(payload.find(EncodeDataset(2, 5, "Praha – Karlův most")), std::string::npos);
  const int l = static_cast<uint8_t>(payload[24]) * 256 + static_cast<uint8_t>(payload[25]);
  EXPECT_EQ(26 + l + 12, static_cast<int>(payload.size()));
  EXPECT_EQ(l % 2, 0);

  SCOPED_TRACE("a Latin-1 value from an older file is converted beside a UTF-8 one");
  store.SetValue("City", "Plze\xF2");  // not UTF-8: read as Latin-1
  EXPECT_NE(store.BuildApp13().find(EncodeDataset(2, 90, "Plzeò")), std::string::npos);
}

TEST(IptcBuild, RefusesWhatTheLengthFieldsCannotHold) {
  TIPTCdata store(nullptr);
  store.SetValue("ImageCaption", std::string(32768, 'c'));
  EXPECT_THROW(store.BuildApp13(), LumatrimError);
  EXPECT_THROW(EncodeDataset(2, 120, std::string(32768, 'c')), LumatrimError);
  EXPECT_NO_THROW(EncodeDataset(2, 120, std::string(32767, 'c')));

  SCOPED_TRACE("the largest block that fits is built");
  TIPTCdata fits(nullptr);
  // The payload is always even (L is), so 65532 bytes is the most: 45 bytes of
  // frame and 65487 of datasets, odd, so that no pad byte is added.
  fits.SetValue("ImageCaption", std::string(30000, 'a'));
  fits.SetValue("SpecialInstru", std::string(30000, 'b'));
  fits.SetValue("ImageHeadline", std::string(65487 - 15 - 60000, 'c'));
  EXPECT_EQ(fits.BuildApp13().size(), 65532u);
  fits.SetValue("ImageHeadline", std::string(65487 - 15 - 60000 + 2, 'c'));
  EXPECT_THROW(fits.BuildApp13(), LumatrimError);
}

TEST(IptcBuild, SavingKeepsTheOtherPhotoshopResources) {
  const auto resource = [](int id, const std::string& name, const std::string& data) {
    std::string out = "8BIM" + B({id >> 8, id & 0xFF, static_cast<int>(name.size())}) + name;
    if (out.size() % 2) out += '\0';
    out += B({0, 0, static_cast<int>(data.size() >> 8), static_cast<int>(data.size() & 0xFF)}) + data;
    if (data.size() % 2) out += '\0';
    return out;
  };
  const std::string resolution = resource(0x03ED, "", std::string(16, '\x01'));
  const std::string named = resource(0x040C, "ab", "odd");
  const std::string old = std::string("Photoshop 3.0", 14) + resolution + resource(0x0404, "", "\x1C\x02\x05\0\x01x") +
                          resource(0x0425, "", std::string(16, 'd')) + named + resource(0x040B, "", "");
  const auto segment = [](const std::string& payload) {
    return B({static_cast<int>((payload.size() + 2) >> 8), static_cast<int>((payload.size() + 2) & 0xFF)}) + payload;
  };
  TIPTCdata store(nullptr);
  store.SetValue("City", "Praha");
  const std::string fresh = store.BuildApp13();

  SCOPED_TRACE("the IPTC data, its stale digest and the URL list are the store's own; the rest is carried over");
  EXPECT_EQ(KeepOtherResources(fresh, segment(old)), fresh + resolution + named);

  SCOPED_TRACE("nothing else to keep, no Photoshop block, a damaged resource list");
  EXPECT_EQ(KeepOtherResources(fresh, segment(std::string("Photoshop 3.0", 14) + resource(0x0404, "", "x"))), fresh);
  EXPECT_EQ(KeepOtherResources(fresh, segment("Adobe_CM")), fresh);
  EXPECT_EQ(KeepOtherResources(fresh, ""), fresh);
  const std::string cut = segment(std::string("Photoshop 3.0", 14) + resolution + "8BIM\x03\xED\0\0\0\0\xFF\xFF" + "x");
  EXPECT_EQ(KeepOtherResources(fresh, cut), fresh + resolution);

  SCOPED_TRACE("when the old resources do not fit beside the new data, only the new data is written");
  const std::string huge = segment(std::string("Photoshop 3.0", 14) + resource(0x0409, "", std::string(65480, 't')));
  EXPECT_EQ(KeepOtherResources(fresh, huge), fresh);
}
