#include <gtest/gtest.h>

#include "core/bytes/Error.h"
#include "core/iptc/IPTCdata.h"
#include "core/iptc/IptcCodec.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using lumatrim::test::IptcDataset;

namespace {

std::string B(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

const std::string kVersion = IptcDataset(2, 0, std::string("\0\2", 2));

// The whole payload: header, resource 0x0404 of length l, the datasets, an empty 0x040B.
std::string Payload(int l, const std::string& datasets) {
  return std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0", 22) + B({0, 0, l >> 8, l & 0xFF}) + datasets +
         std::string("8BIM\x04\x0B\0\0\0\0\0\0", 12);
}

}  // namespace

TEST(IptcBuild, LaysOutThePayloadByteForByte) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("an empty store: 46 bytes, L = 8, one pad byte");
  EXPECT_EQ(store.BuildApp13(), Payload(8, kVersion + B({0})));
  EXPECT_EQ(store.BuildApp13().size(), 46u);
  SCOPED_TRACE("ObjectName = Test: a 9-byte dataset, no pad, L = 16");
  store.SetValue("ObjectName", "Test");
  EXPECT_EQ(store.BuildApp13(), Payload(16, kVersion + B({0x1C, 2, 5, 0, 4}) + "Test"));

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
  const std::string data = IptcDataset(2, 25, "Paris") + IptcDataset(2, 25, "Rome") + IptcDataset(2, 200, "cc") +
                           IptcDataset(2, 20, "ab");  // odd: no pad
  EXPECT_EQ(many.BuildApp13(), Payload(7 + int(data.size()), kVersion + data));
}

TEST(IptcBuild, WritesRepeatedValuesPartByPart) {
  const auto k = [](const char* value) { return IptcDataset(2, 25, value); };
  EXPECT_EQ(EncodeRepeated(2, 25, " New , York "), k("New") + k("York")) << "blanks around commas are trimmed";
  EXPECT_EQ(EncodeRepeated(2, 25, "\"New York\""), k("\"New York\"")) << "a quoted keyword keeps its quotes";
  EXPECT_EQ(EncodeRepeated(2, 25, "a,,b"), k("a") + k("") + k("b"));
  EXPECT_EQ(EncodeRepeated(2, 25, "  "), "");
  TIPTCdata store(nullptr);
  store.AddMultiple("Keywords", "New York");
  EXPECT_NE(store.BuildApp13().find(k("New") + k("York")), std::string::npos) << "read as two, written as two";
}

TEST(IptcBuild, MarksUtf8TextWithTheCodedCharacterSet) {
  TIPTCdata store(nullptr);
  store.SetValue("ObjectName", "Praha – Karlův most");
  const std::string data = IptcDataset(1, 90, "\x1B%G") + kVersion + IptcDataset(2, 5, "Praha – Karlův most");
  EXPECT_EQ(store.BuildApp13(), Payload(int(data.size()), data)) << "1:90 ESC % G before the record version";

  SCOPED_TRACE("a Latin-1 value from an older file is converted beside a UTF-8 one");
  store.SetValue("City", "Plze\xF2");  // not UTF-8: read as Latin-1
  EXPECT_NE(store.BuildApp13().find(IptcDataset(2, 90, "Plzeò")), std::string::npos);
}

TEST(IptcBuild, RefusesWhatTheLengthFieldsCannotHold) {
  EXPECT_THROW(EncodeDataset(2, 120, std::string(32768, 'c')), LumatrimError);
  TIPTCdata store(nullptr);
  // 65532 bytes is the most (L is even): 45 bytes of frame, 65487 of datasets (odd, so no pad byte).
  store.SetValue("ImageCaption", std::string(30000, 'a'));
  store.SetValue("SpecialInstru", std::string(30000, 'b'));
  store.SetValue("ImageHeadline", std::string(65487 - 15 - 60000, 'c'));
  EXPECT_EQ(store.BuildApp13().size(), 65532u);
  store.SetValue("ImageHeadline", std::string(65487 - 15 - 60000 + 2, 'c'));
  EXPECT_THROW(store.BuildApp13(), LumatrimError);
  store.RemoveItem("SpecialInstru");
  store.RemoveItem("ImageHeadline");
  store.SetValue("ImageCaption", std::string(32768, 'c'));
  EXPECT_THROW(store.BuildApp13(), LumatrimError);
}

TEST(IptcBuild, SavingKeepsTheOtherPhotoshopResources) {
  const auto resource = [](int id, const std::string& name, const std::string& data) {
    const std::string pad(1, '\0');
    return "8BIM" + B({id >> 8, id & 0xFF, int(name.size())}) + name + (name.size() % 2 ? "" : pad) +
           B({0, 0, int(data.size() >> 8), int(data.size() & 0xFF)}) + data + (data.size() % 2 ? pad : "");
  };
  const auto segment = [](const std::string& resources) {  // as kept: length field, then the payload
    const size_t n = 16 + resources.size();
    return B({int(n >> 8), int(n & 0xFF)}) + std::string("Photoshop 3.0", 14) + resources;
  };
  const std::string resolution = resource(0x03ED, "", std::string(16, '\x01')), named = resource(0x040C, "ab", "odd");
  const std::string iptc = resource(0x0404, "", IptcDataset(2, 5, "x"));
  TIPTCdata store(nullptr);
  store.SetValue("City", "Praha");
  const std::string fresh = store.BuildApp13();
  const struct {
    const char* what;
    std::string old, kept;
  } rows[] = {
      {"the IPTC data, its stale digest and the URL list are the store's own; the rest is carried over",
       segment(resolution + iptc + resource(0x0425, "", std::string(16, 'd')) + named + resource(0x040B, "", "")),
       resolution + named},
      {"nothing else to keep", segment(iptc), ""},
      {"no Photoshop block", B({0, 10}) + "Adobe_CM", ""},
      {"no old segment", "", ""},
      {"a damaged resource list ends the walk", segment(resolution + std::string("8BIM\x03\xED\0\0\0\0\xFF\xFF", 12)),
       resolution},
      {"old resources that do not fit beside the new data are dropped",
       segment(resource(0x0409, "", std::string(65480, 't'))), ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(KeepOtherResources(fresh, row.old), fresh + row.kept);
  }
}
