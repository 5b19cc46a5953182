// Reading IPTC: comma text, APP13 segments (built, damaged, from the corpus
// against exiftool's reading) and the store's edits by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/bytes/TextEncoding.h"
#include "core/exif/ImgData.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IPTCdata.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;
using Names = std::vector<std::string>;

namespace {

// An APP13 segment as the container keeps it: 2 length bytes, then the payload.
std::string Segment(const std::string& payload) {
  const size_t n = payload.size() + 2;
  return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + payload;
}

Names NamesOf(const TIPTCdata& store) {
  Names names;
  for (int i = 0; i < store.Count(); ++i) names.push_back(store.GetItem(i).Name);
  return names;
}

// The plain string value of "key" in exiftool's JSON; nullopt when absent or
// holding an escape other than \" \\ \/ \n \r \t.
std::optional<std::string> JsonString(const std::string& json, const std::string& key) {
  size_t i = json.find("\"" + key + "\": \"");
  if (i == std::string::npos) return std::nullopt;
  std::string value;
  for (i += key.size() + 5; i < json.size() && json[i] != '"'; ++i) {
    if (json[i] != '\\') {
      value += json[i];
      continue;
    }
    const size_t at = std::string("\"\\/nrt").find(json[++i]);
    if (at == std::string::npos) return std::nullopt;
    value += "\"\\/\n\r\t"[at];
  }
  return value;
}

}  // namespace

TEST(CommaText, ReadsAndWritesItemLists) {
  const struct {
    const char* text;
    Names items;
    bool written;  // WriteCommaText(items) gives text back
  } rows[] = {
      {"Paris,Rome", {"Paris", "Rome"}, true},
      {"  New York ", {"New", "York"}, false},  // blanks separate items just as commas do
      {"a , b,\tc", {"a", "b", "c"}, false},
      {"\"New York\",\"a,b\",\"say \"\"hi\"\"\"", {"New York", "a,b", "say \"hi\""}, true},
      {"\"say \"\"hi\"\", then\"", {"say \"hi\", then"}, true},
      {"", {}, true},
      {"a,,b", {"a", "", "b"}, true},
      {"a,", {"a", ""}, true},
      {"a, ", {"a"}, false},
      {"\"\"", {""}, true},
      {"Karlův,most", {"Karlův", "most"}, true},  // bytes above 127 are ordinary characters
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ReadCommaText(row.text), row.items);
    if (row.written) {
      EXPECT_EQ(WriteCommaText(row.items), row.text);
    }
  }
}

TEST(CommaText, MergeAddsOnlyNewItemsIgnoringCase) {
  const char* const rows[][3] = {
      {"", "Paris", "Paris"},
      {"Paris", "Rome", "Paris,Rome"},
      {"Paris,Rome", "paris", "Paris,Rome"},
      {"Paris", "New York", "Paris,New,York"},
      {"Paris", "\" Lyon \"", "Paris,Lyon"},    // added items are trimmed
      {"\"New York\"", "x", "\"New York\",x"},  // existing quoted items stay quoted
      {"Paris", "", "Paris"},
  };
  for (const auto& [existing, added, merged] : rows) {
    SCOPED_TRACE(std::string(existing) + " + " + added);
    EXPECT_EQ(MergeCommaLists(existing, added), merged);
  }
}

TEST(IptcParse, ReadsItemsFromAnApp13Segment) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("plain items in file order with their table rows, record version not kept");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 0, std::string("\0\2", 2)) +
                                                IptcDataset(2, 5, "Test") + IptcDataset(2, 90, "Praha") +
                                                IptcDataset(8, 10, "1"))));
  EXPECT_EQ(NamesOf(store), (Names{"ObjectName", "City", "Subfile"}));
  EXPECT_EQ(store.GetValue("objectname", "-"), "Test");
  EXPECT_EQ(store.GetItem(0).Desc, "Object name");
  EXPECT_EQ(store.GetItem(0).Size, 64);
  EXPECT_EQ(store.GetItem(2).Record, 8);

  SCOPED_TRACE("repeated keywords are merged, case-insensitively; a blank splits a keyword");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 25, "Paris") + IptcDataset(2, 25, "Rome") +
                                                IptcDataset(2, 25, "paris") + IptcDataset(2, 25, "New York"))));
  EXPECT_EQ(NamesOf(store), Names{"Keywords"});
  EXPECT_EQ(store.GetValue("Keywords", ""), "Paris,Rome,New,York");

  SCOPED_TRACE("unknown datasets become Custom_ items; 1:90, 2:0, 8:0 and 8:25 are dropped");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 200, "x") + IptcDataset(8, 0, "y") +
                                                IptcDataset(8, 25, "z") + IptcDataset(1, 90, "\x1B%G") +
                                                IptcDataset(2, 0, "v"))));
  ASSERT_EQ(store.Count(), 1);
  const TTagEntry& custom = store.GetItem(0);
  EXPECT_EQ(std::make_tuple(custom.Name, custom.Desc, custom.Size, custom.Data),
            std::make_tuple(std::string("Custom_200"), std::string("Custom_200"), 64, std::string("x")));
}

TEST(IptcParse, SurvivesDamagedSegments) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("no Photoshop header: the search starts at position 13 all the same");
  store.ParseApp13(Segment(std::string(11, 'z') + IptcDataset(2, 5, "Bare")));
  EXPECT_EQ(store.GetValue("ObjectName", ""), "Bare");
  SCOPED_TRACE("a length past the end cuts the value and ends the walk");
  store.ParseApp13(Segment(std::string(11, 'z') + IptcDataset(2, 5, "Ok") + std::string("\x1C\x02\x5A\x10\x00Pra", 8)));
  EXPECT_EQ(store.GetValue("City", "-"), "Pra");
  SCOPED_TRACE("no dataset at all");
  store.ParseApp13(Segment("Photoshop 3.0"));
  EXPECT_FALSE(store.HasItems());
}

TEST(IptcStore, EditsItemsByName) {
  TIPTCdata store(nullptr);
  SCOPED_TRACE("SetValue adds or changes a table item; empty values and unknown names change nothing");
  EXPECT_EQ(store.SetValue("contact", "me"), 0);
  EXPECT_EQ(store.SetValue("Contact", ""), 0);
  EXPECT_EQ(store.GetValue("Contact", ""), "me");
  EXPECT_EQ(store.SetValue("NoSuchName", "x"), -1);
  EXPECT_EQ(store.AddByName("NoSuchName", "x"), -1);
  SCOPED_TRACE("AddByName merges repeatable datasets and sets the others");
  EXPECT_EQ(store.AddByName("Keywords", "Praha"), 1);
  EXPECT_EQ(store.AddByName("keywords", "Brno,praha"), 1);
  EXPECT_EQ(store.GetValue("Keywords", ""), "Praha,Brno");
  EXPECT_EQ(store.AddByName("City", "Praha"), 2);
  EXPECT_EQ(store.AddByName("City", "Brno"), 2);
  EXPECT_EQ(store.GetValue("City", ""), "Brno");
  SCOPED_TRACE("RemoveItem keeps the order of the rest");
  store.RemoveItem("Keywords");
  EXPECT_EQ(NamesOf(store), (Names{"Contact", "City"}));
}

TEST(IptcStore, ReadFromFileFillsTheOwnersNewStore) {
  TempDir dir;
  const std::string path = WriteFile(
      dir.File("a.jpg"), JpegBuilder().Soi().App13(PhotoshopIptcPayload(IptcDataset(2, 5, "Read back"))).Dqt().Sos().Bytes());
  TimgData owner;
  owner.StartEmptyIptc();
  // The read releases the attached store; the items must arrive in the new one.
  EXPECT_TRUE(owner.IptcInfo->ReadFromFile(path));
  ASSERT_NE(owner.IptcInfo, nullptr);
  EXPECT_EQ(owner.IptcInfo->GetValue("ObjectName", ""), "Read back");

  SCOPED_TRACE("a store not attached to its owner parses into itself");
  TIPTCdata loose(&owner);
  EXPECT_TRUE(loose.ReadFromFile(path));
  EXPECT_EQ(loose.GetValue("ObjectName", ""), "Read back");
  EXPECT_FALSE(loose.ReadFromFile(dir.File("missing.jpg")));
}

TEST(IptcCorpus, ItemsMatchTheExiftoolReference) {
  const std::string corpus = CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no photo corpus on this machine";
  // Our key name and exiftool's, for the free-text datasets it prints as stored.
  const std::pair<const char*, const char*> fields[] = {
      {"ObjectName", "ObjectName"},   {"City", "City"},           {"ByLine", "By-line"},
      {"ByLineTitle", "By-lineTitle"}, {"ImageCredit", "Credit"}, {"Source", "Source"},
      {"Copyright", "CopyrightNotice"}, {"ImageCaption", "Caption-Abstract"}, {"ImageHeadline", "Headline"},
      {"State", "Province-State"}, {"LocationName", "Country-PrimaryLocationName"}, {"Category", "Category"},
      {"ImageCaptionWriter", "Writer-Editor"}};
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus + "/photos")) {
    if (entry.path().extension() != ".jpg") continue;
    const std::string json = ReadFile(corpus + "/reference/" + entry.path().filename().string() + ".json");
    TimgData data;
    data.ReadPhoto(entry.path().string());
    if (json.find("\"IPTC:") == std::string::npos || !data.IptcInfo) continue;  // none, or past the 20th segment
    SCOPED_TRACE(entry.path().filename().string());
    data.IptcInfo->ReadFromOwner();
    for (const auto& [ours, theirs] : fields) {
      const std::optional<std::string> expected = JsonString(json, std::string("IPTC:") + theirs);
      if (!expected) continue;
      EXPECT_EQ(DisplayUtf8(data.IptcInfo->GetValue(ours, "(missing)")), *expected) << ours;
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}
