#include <gtest/gtest.h>

#include "core/exif/ImgData.h"
#include "core/iptc/IPTCdata.h"
#include "core/iptc/IptcCodec.h"
#include "core/iptc/IptcTagTable.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using lumatrim::test::IptcDataset;
using lumatrim::test::PhotoshopIptcPayload;

namespace {

// An APP13 segment as the container keeps it: 2 length bytes, then the payload.
std::string Segment(const std::string& payload) {
  const size_t n = payload.size() + 2;
  return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + payload;
}

std::vector<std::string> Names(const TIPTCdata& store) {
  std::vector<std::string> names;
  for (int i = 0; i < store.Count(); ++i) names.push_back(store.GetItem(i).Name);
  return names;
}

}  // namespace

TEST(IptcTable, HoldsFortyNineRowsInDatasetOrder) {
  EXPECT_EQ(std::string(IptcTagTable[0].Def.Name), "SKIP");
  EXPECT_EQ(std::string(IptcTagTable[48].Def.Name), "Subfile");
  EXPECT_EQ(IptcTagTable[48].Def.Record, 8);
  for (int r = 1; r < 48; ++r) EXPECT_LT(IptcTagTable[r - 1].Def.Tag, IptcTagTable[r].Def.Tag) << r;
  const TTagEntry caption = IptcItemFromRow(TableIndexOfName("imagecaption"));
  EXPECT_EQ(caption.Desc, "Image caption");
  EXPECT_EQ(caption.Size, 2000);
  EXPECT_EQ(caption.Tag, 120);
  EXPECT_EQ(TableIndexOfName("NoSuchName"), -1);
}

TEST(IptcParse, ReadsItemsFromAnApp13Segment) {
  TIPTCdata store(nullptr);

  SCOPED_TRACE("plain items in file order, record version not kept");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 0, std::string("\0\2", 2)) +
                                                IptcDataset(2, 5, "Test") + IptcDataset(2, 90, "Praha") +
                                                IptcDataset(8, 10, "1"))));
  EXPECT_EQ(Names(store), (std::vector<std::string>{"ObjectName", "City", "Subfile"}));
  EXPECT_EQ(store.GetValue("objectname", "-"), "Test");
  EXPECT_EQ(store.GetItem(0).Desc, "Object name");
  EXPECT_EQ(store.GetItem(0).Size, 64);
  EXPECT_EQ(store.GetItem(2).Record, 8);

  SCOPED_TRACE("repeated keywords are merged, case-insensitively");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 25, "Paris") + IptcDataset(2, 25, "Rome") +
                                                IptcDataset(2, 25, "paris"))));
  EXPECT_EQ(store.Count(), 1);
  EXPECT_EQ(store.GetValue("Keywords", ""), "Paris,Rome");

  SCOPED_TRACE("a keyword with a blank becomes two keywords");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 25, "New York"))));
  EXPECT_EQ(store.GetValue("Keywords", ""), "New,York");

  SCOPED_TRACE("unknown datasets become Custom_ items; 2:0, 8:0 and 8:25 are dropped");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 200, "x") + IptcDataset(8, 0, "y") +
                                                IptcDataset(8, 25, "z") + IptcDataset(1, 90, "\x1B%G") +
                                                IptcDataset(2, 0, "v"))));
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(store.GetItem(0).Name, "Custom_200");
  EXPECT_EQ(store.GetItem(0).Desc, "Custom_200");
  EXPECT_EQ(store.GetItem(0).Size, 64);
  EXPECT_EQ(store.GetItem(0).Data, "x");
}

TEST(IptcParse, SurvivesDamagedSegments) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("no Photoshop header: the search starts at position 13 all the same");
  store.ParseApp13(Segment(std::string(11, 'z') + IptcDataset(2, 5, "Bare")));
  EXPECT_EQ(store.GetValue("ObjectName", ""), "Bare");

  SCOPED_TRACE("a length past the end cuts the value and ends the walk");
  const std::string cut = Segment(std::string(11, 'z') + IptcDataset(2, 5, "Ok") + std::string("\x1C\x02\x5A\x10\x00Pra", 8));
  store.ParseApp13(cut);
  EXPECT_EQ(store.GetValue("City", "-"), "Pra");

  SCOPED_TRACE("no dataset at all, or nothing but a few bytes");
  store.ParseApp13(Segment("Photoshop 3.0"));
  EXPECT_FALSE(store.HasItems());
  for (size_t n = 0; n < 8; ++n) {
    store.ParseApp13(std::string(n, '\x1C'));
    EXPECT_FALSE(store.HasItems());
  }

  SCOPED_TRACE("every prefix of a real block parses without harm");
  const std::string full = Segment(PhotoshopIptcPayload(IptcDataset(2, 25, "a") + IptcDataset(2, 120, "caption")));
  for (size_t n = 0; n <= full.size(); ++n) store.ParseApp13(full.substr(0, n));
}

TEST(IptcStore, EditsItemsByName) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("SetValue adds a table item, then changes it; empty values change nothing");
  EXPECT_EQ(store.SetValue("Contact", ""), 0);
  EXPECT_EQ(store.GetValue("Contact", "-"), "");
  EXPECT_EQ(store.SetValue("contact", "me"), 0);
  EXPECT_EQ(store.SetValue("Contact", ""), 0);
  EXPECT_EQ(store.GetValue("Contact", ""), "me");
  EXPECT_EQ(store.SetValue("NoSuchName", "x"), -1);
  EXPECT_EQ(store.AddByName("NoSuchName", "x"), -1);
  EXPECT_EQ(store.Count(), 1);

  SCOPED_TRACE("AddByName merges repeatable datasets and sets the others");
  EXPECT_EQ(store.AddByName("Keywords", "Praha"), 1);
  EXPECT_EQ(store.AddByName("keywords", "Brno,praha"), 1);
  EXPECT_EQ(store.GetValue("Keywords", ""), "Praha,Brno");
  EXPECT_EQ(store.AddByName("City", "Praha"), 2);
  EXPECT_EQ(store.AddByName("City", "Brno"), 2);
  EXPECT_EQ(store.GetValue("City", ""), "Brno");

  SCOPED_TRACE("RemoveItem keeps the order of the rest");
  store.RemoveItem("Keywords");
  store.RemoveItem("Keywords");
  EXPECT_EQ(Names(store), (std::vector<std::string>{"Contact", "City"}));

  SCOPED_TRACE("capacity grows by 25 slots; Clear empties them");
  for (int r = 1; r < kIptcTagCount; ++r) store.SetValue(IptcTagTable[r].Def.Name, "v");
  EXPECT_EQ(store.Count(), kIptcTagCount - 1);
  EXPECT_EQ(store.Capacity(), 50);
  store.Clear();
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(store.GetValue("City", "-"), "-");
}

TEST(IptcStore, ReadFromFileFillsTheOwnersNewStore) {
  lumatrim::test::TempDir dir;
  const std::string path = lumatrim::test::WriteFile(
      dir.File("a.jpg"), lumatrim::test::JpegBuilder()
                             .Soi()
                             .App13(PhotoshopIptcPayload(IptcDataset(2, 5, "Read back")))
                             .Dqt()
                             .Sos()
                             .Bytes());
  TimgData owner;
  owner.StartEmptyIptc();
  TIPTCdata* attached = owner.IptcInfo.get();
  // The read releases `attached`; the items must arrive in the new store.
  EXPECT_TRUE(attached->ReadFromFile(path));
  ASSERT_NE(owner.IptcInfo, nullptr);
  EXPECT_EQ(owner.IptcInfo->GetValue("ObjectName", ""), "Read back");

  SCOPED_TRACE("a store not attached to its owner parses into itself");
  TIPTCdata loose(&owner);
  EXPECT_TRUE(loose.ReadFromFile(path));
  EXPECT_EQ(loose.GetValue("ObjectName", ""), "Read back");
  EXPECT_FALSE(loose.ReadFromFile(dir.File("missing.jpg")));
}
