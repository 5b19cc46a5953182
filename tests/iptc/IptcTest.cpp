// IPTC: comma text, reading APP13 segments (built, damaged, from the corpus
// against exiftool's reading), the store's edits, and the payload it builds.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/bytes/Error.h"
#include "core/bytes/TextEncoding.h"
#include "core/iptc/CommaText.h"
#include "core/iptc/IptcCodec.h"
#include "core/iptc/IptcRecord.h"
#include "core/photo/PhotoReader.h"
#include "core/photo/PhotoWriter.h"
#include "support/JpegBuilder.h"

using namespace lumatrim;
using namespace lumatrim::test;
using Names = std::vector<std::string>;

namespace {

std::string B(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

// An APP13 segment as the container keeps it: 2 length bytes, then the payload.
std::string Segment(const std::string& payload) {
  const int n = static_cast<int>(payload.size()) + 2;
  return B({n >> 8, n & 0xFF}) + payload;
}
std::string App13(const std::string& datasets) { return Segment(PhotoshopIptcPayload(datasets)); }

Names NamesOf(const IptcRecord& store) {
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

const std::string kVersion = IptcDataset(2, 0, std::string("\0\2", 2));

// The whole payload: header, resource 0x0404 of length l, the datasets, an empty 0x040B.
std::string Payload(int l, const std::string& datasets) {
  return std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0", 22) + B({0, 0, l >> 8, l & 0xFF}) + datasets +
         std::string("8BIM\x04\x0B\0\0\0\0\0\0", 12);
}

// The payload of a record: head (1:90 and 2:0) and the item datasets, padded
// when these are of even length.
std::string Framed(const std::string& head, const std::string& data) {
  const std::string pad = data.size() % 2 ? "" : B({0});
  return Payload(int(head.size() + data.size() + pad.size()), head + data + pad);
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
  IptcRecord store;
  SCOPED_TRACE("plain items in file order with their table rows, record version not kept");
  store.ParseApp13(App13(IptcDataset(2, 0, std::string("\0\2", 2)) + IptcDataset(2, 5, "Test") +
                         IptcDataset(2, 90, "Praha") + IptcDataset(8, 10, "1")));
  EXPECT_EQ(NamesOf(store), (Names{"ObjectName", "City", "Subfile"}));
  EXPECT_EQ(store.GetValue("objectname", "-"), "Test");
  EXPECT_EQ(std::make_tuple(store.GetItem(0).Desc, store.GetItem(0).Size, store.GetItem(2).Record),
            std::make_tuple(std::string("Object name"), 64, 8));

  SCOPED_TRACE("repeated keywords are one item with a value per dataset, each kept whole");
  store.ParseApp13(App13(IptcDataset(2, 25, "Paris") + IptcDataset(2, 25, "Rome") + IptcDataset(2, 25, "paris") +
                         IptcDataset(2, 5, "between") + IptcDataset(2, 25, "New York")));
  EXPECT_EQ(NamesOf(store), (Names{"Keywords", "ObjectName"}));
  EXPECT_EQ(store.DisplayValues(0), (Names{"Paris", "Rome", "paris", "New York"}));
  EXPECT_EQ(store.GetValue("Keywords", ""), "Paris,Rome,paris,\"New York\"");

  SCOPED_TRACE("unknown datasets become Custom_ items, 8:25 too; 1:90, 2:0 and 8:0 are not items");
  store.ParseApp13(App13(IptcDataset(2, 200, "x") + IptcDataset(8, 0, "y") + IptcDataset(8, 25, "z") +
                         IptcDataset(1, 90, "\x1B%G") + IptcDataset(2, 0, "v")));
  ASSERT_EQ(store.Count(), 2);
  const TagEntry& custom = store.GetItem(0);
  EXPECT_EQ(std::make_tuple(custom.Name, custom.Desc, custom.Size, custom.Data),
            std::make_tuple(std::string("Custom_200"), std::string("Custom_200"), 64, std::string("x")));
  EXPECT_EQ(store.GetItem(1).Name + "=" + store.GetItem(1).Data, "Custom_25=z");

  SCOPED_TRACE("only the IPTC resource is read: a later resource is no dataset");
  store.ParseApp13(Segment(PhotoshopIptcPayload(IptcDataset(2, 5, "In")) + "8BIM\x04\x0C\0\0" + B({0, 0, 0, 6}) +
                           IptcDataset(2, 90, "X").substr(0, 6)));
  EXPECT_EQ(NamesOf(store), Names{"ObjectName"});
  SCOPED_TRACE("a stray byte inside the IPTC resource hides nothing after it");
  store.ParseApp13(App13(IptcDataset(2, 5, "A") + "\x07" + IptcDataset(2, 90, "B")));
  EXPECT_EQ(NamesOf(store), (Names{"ObjectName", "City"}));

  SCOPED_TRACE("no Photoshop header: the search starts at position 13; a length past the end cuts the value");
  const std::string cutCity("\x1C\x02\x5A\x10\x00Pra", 8);  // claims 4096 bytes
  store.ParseApp13(Segment(std::string(11, 'z') + IptcDataset(2, 5, "Bare") + cutCity));
  EXPECT_EQ(NamesOf(store), (Names{"ObjectName", "City"}));
  EXPECT_EQ(store.GetValue("ObjectName", "") + "|" + store.GetValue("City", ""), "Bare|Pra");
  store.ParseApp13(Segment("Photoshop 3.0"));
  EXPECT_FALSE(store.HasItems());
}

TEST(IptcStore, EditsItemsByName) {
  IptcRecord store;
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

TEST(IptcStore, ReadingAPhotoFillsItsRecord) {
  TempDir dir;
  const std::string photo =
      JpegBuilder().Soi().App13(PhotoshopIptcPayload(IptcDataset(2, 5, "Read back"))).Dqt().Sos().Bytes();
  const std::string path = WriteFile(dir.File("a.jpg"), photo);
  // Whether the photo's record, as read at once, has items.
  const auto readItems = [](PhotoMetadata& photo, const std::string& file) {
    photo = ReadPhotoMetadata(file);
    return photo.iptc && photo.iptc->HasItems();
  };
  PhotoMetadata owner;
  StartEmptyIptc(owner);
  // The read replaces the started record; the items must arrive in the new one.
  EXPECT_TRUE(readItems(owner, path));
  ASSERT_NE(owner.iptc, nullptr);
  EXPECT_EQ(owner.iptc->GetValue("ObjectName", ""), "Read back");

  SCOPED_TRACE("a second read of the same file gives a record of its own");
  PhotoMetadata loose;
  EXPECT_TRUE(readItems(loose, path));
  EXPECT_EQ(loose.iptc->GetValue("ObjectName", ""), "Read back");
  EXPECT_FALSE(readItems(loose, dir.File("missing.jpg")));
}

TEST(IptcBuild, LaysOutThePayloadByteForByte) {
  IptcRecord store;
  SCOPED_TRACE("an empty store: 46 bytes, L = 8, one pad byte");
  EXPECT_EQ(store.BuildApp13(), Payload(8, kVersion + B({0})));
  EXPECT_EQ(store.BuildApp13().size(), 46u);
  SCOPED_TRACE("ObjectName = Test: a 9-byte dataset, no pad, L = 16");
  store.SetValue("ObjectName", "Test");
  EXPECT_EQ(store.BuildApp13(), Payload(16, kVersion + B({0x1C, 2, 5, 0, 4}) + "Test"));

  SCOPED_TRACE("repeatable items become one dataset per part, custom items keep their numbers");
  IptcRecord many;
  many.AddByName("Keywords", "Paris,Rome");
  TagEntry custom;
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

TEST(IptcBuild, WritesOneDatasetPerValueAndUntouchedValuesAsRead) {
  const auto k = [](const std::string& value) { return IptcDataset(2, 25, value); };
  const std::string keywords = k("ronald reagan") + k("Smith, John") + k("say \"hi\"") + k("\"quoted\"") + k("cvn 76");
  const std::string version4 = IptcDataset(2, 0, std::string("\0\4", 2)), city = IptcDataset(2, 90, "Plze\xF2");
  IptcRecord store(CodePage::Windows1250);
  store.ParseApp13(App13(version4 + keywords + city));
  SCOPED_TRACE("the window's comma text quotes what needs it; given back unchanged it changes nothing");
  const std::string shown = store.GetValue("Keywords", "");
  EXPECT_EQ(shown, "\"ronald reagan\",\"Smith, John\",\"say \"\"hi\"\"\",\"\"\"quoted\"\"\",\"cvn 76\"");
  const std::string asRead = store.BuildApp13();
  EXPECT_EQ(asRead, Framed(version4, keywords + city))
      << "the record version as read, the legacy bytes kept, no 1:90";
  store.SetItemValue(0, shown);
  store.SetValue("City", "Plzeň");  // the same text, as the window gives it back
  EXPECT_EQ(store.BuildApp13(), asRead);

  SCOPED_TRACE("an added keyword goes after the others, which keep their bytes");
  store.AddByName("Keywords", "Brno, \"Ronald Reagan\"");
  EXPECT_NE(store.BuildApp13().find(keywords + k("Brno") + city), std::string::npos);
  SCOPED_TRACE("comma text typed by the user: quotes keep blanks and commas inside one keyword");
  store.SetItemValue(0, "\"New York\" cvn,\"a, b\"");
  EXPECT_EQ(store.DisplayValues(0), (Names{"New York", "cvn", "a, b"}));
  EXPECT_NE(store.BuildApp13().find(k("New York") + k("cvn") + k("a, b")), std::string::npos);
}

TEST(IptcBuild, LegacyTextIsConvertedOnlyWhenTheRecordBecomesUtf8) {
  IptcRecord store(CodePage::Windows1250);
  store.ParseApp13(App13(IptcDataset(2, 90, "Plze\xF2") + IptcDataset(2, 5, "A")));
  EXPECT_EQ(store.GetValue("City", ""), "Plzeň");
  store.SetCodePage(CodePage::Latin1);
  EXPECT_EQ(store.GetValue("City", ""), "Plzeò") << "the page the user chose";
  store.SetCodePage(CodePage::Windows1250);

  SCOPED_TRACE("an ASCII edit needs no UTF-8: the City bytes stay");
  store.SetValue("ObjectName", "B");
  EXPECT_EQ(store.BuildApp13(), Framed(kVersion, IptcDataset(2, 90, "Plze\xF2") + IptcDataset(2, 5, "B")));
  SCOPED_TRACE("a Czech edit makes the record UTF-8 and the City is converted from the code page");
  store.SetValue("ObjectName", "Náměstí");
  EXPECT_EQ(store.BuildApp13(),
            Framed(IptcDataset(1, 90, "\x1B%G") + kVersion, IptcDataset(2, 90, "Plzeň") + IptcDataset(2, 5, "Náměstí")));

  SCOPED_TRACE("a record marked UTF-8 stays marked, its values as read");
  IptcRecord marked;
  const std::string head = IptcDataset(1, 90, "\x1B%G") + kVersion;
  marked.ParseApp13(App13(head + IptcDataset(2, 5, "x")));
  EXPECT_EQ(marked.BuildApp13(), Framed(head, IptcDataset(2, 5, "x")));
}

TEST(IptcBuild, MarksUtf8TextWithTheCodedCharacterSet) {
  IptcRecord store;
  store.SetValue("ObjectName", "Praha – Karlův most");
  const std::string data = IptcDataset(1, 90, "\x1B%G") + kVersion + IptcDataset(2, 5, "Praha – Karlův most");
  EXPECT_EQ(store.BuildApp13(), Payload(int(data.size()), data)) << "1:90 ESC % G before the record version";
}

TEST(IptcBuild, RefusesWhatTheLengthFieldsCannotHold) {
  // Past 15 bits a value becomes an extended dataset: 0x8004, then 4 length bytes.
  EXPECT_EQ(EncodeDataset(2, 120, std::string(32768, 'c')).substr(0, 9), B({0x1C, 2, 120, 0x80, 4, 0, 0, 0x80, 0}));
  IptcRecord store;
  // 65532 bytes is the most (L is even): 45 bytes of frame, 65487 of datasets (odd, so no pad byte).
  store.SetValue("ImageCaption", std::string(30000, 'a'));
  store.SetValue("SpecialInstru", std::string(30000, 'b'));
  store.SetValue("ImageHeadline", std::string(65487 - 15 - 60000, 'c'));
  EXPECT_EQ(store.BuildApp13().size(), 65532u);
  store.SetValue("ImageHeadline", std::string(65487 - 15 - 60000 + 2, 'c'));
  EXPECT_THROW(store.BuildApp13(), LumatrimError);
  store.RemoveItem("SpecialInstru");
  store.RemoveItem("ImageHeadline");
  store.SetValue("ImageCaption", std::string(65533, 'c'));
  EXPECT_THROW(store.BuildApp13(), LumatrimError);
}

// News-agency photos: the envelope record and a caption past 32767 bytes come
// back byte for byte from a save that did not touch them.
TEST(IptcBuild, KeepsTheEnvelopeAndExtendedDatasets) {
  const std::string longCaption = B({0x1C, 2, 120, 0x80, 4, 0, 0, 0x9C, 0x40}) + std::string(40000, 'p');
  const std::string head = IptcDataset(1, 0, std::string("\0\4", 2)) + IptcDataset(1, 20, std::string("\0\1", 2)) +
                           IptcDataset(1, 90, "\x1B%G") + IptcDataset(1, 100, "UNO") + kVersion;
  const std::string data = longCaption + IptcDataset(2, 5, "x");
  IptcRecord store;
  store.ParseApp13(Segment(Framed(head, data)));
  EXPECT_EQ(store.GetValue("ImageCaption", "").size(), 40000u);
  EXPECT_EQ(store.BuildApp13(), Framed(head, data));
  store.SetValue("ObjectName", "y");
  EXPECT_EQ(store.BuildApp13(), Framed(head, longCaption + IptcDataset(2, 5, "y"))) << "an edit elsewhere keeps them";
}

TEST(IptcBuild, SavingKeepsTheOtherPhotoshopResources) {
  const auto resource = [](int id, const std::string& name, const std::string& data) {
    const std::string pad(1, '\0');
    return "8BIM" + B({id >> 8, id & 0xFF, int(name.size())}) + name + (name.size() % 2 ? "" : pad) +
           B({0, 0, int(data.size() >> 8), int(data.size() & 0xFF)}) + data + (data.size() % 2 ? pad : "");
  };
  const auto segment = [](const std::string& resources) {
    return Segment(std::string("Photoshop 3.0", 14) + resources);
  };
  const std::string resolution = resource(0x03ED, "", std::string(16, '\x01')), named = resource(0x040C, "ab", "odd");
  IptcRecord store;
  store.SetValue("City", "Praha");
  const std::string fresh = store.BuildApp13();
  const struct {
    const char* what;
    std::string old, kept;
  } rows[] = {
      {"the IPTC data, its stale digest and the URL list are the store's own; the rest is carried over",
       segment(resolution + resource(0x0404, "", IptcDataset(2, 5, "x")) + resource(0x0425, "", std::string(16, 'd')) +
               named + resource(0x040B, "", "")),
       resolution + named},
      {"no Photoshop block", B({0, 10}) + "Adobe_CM", ""},
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
    PhotoMetadata data = ReadPhotoMetadata(entry.path().string());
    if (json.find("\"IPTC:") == std::string::npos || !data.iptc) continue;  // none, or past the 20th segment
    SCOPED_TRACE(entry.path().filename().string());
    data.iptc->SetCodePage(CodePage::Latin1);  // what exiftool assumes for a record without 1:90
    for (const auto& [ours, theirs] : fields) {
      const std::optional<std::string> expected = JsonString(json, std::string("IPTC:") + theirs);
      if (!expected) continue;
      EXPECT_EQ(data.iptc->GetValue(ours, "(missing)"), *expected) << ours;
      ++compared;
    }
  }
  EXPECT_GE(compared, 40);
}
