#include <gtest/gtest.h>

#include <map>

#include "core/xmp/Md5.h"
#include "core/xmp/XmpEditor.h"
#include "core/xmp/XmpSegments.h"

namespace lumatrim {
namespace {

// A packet as photo managers write it: wrapper, padding, two descriptions.
std::string Packet(const std::string& description, size_t padding = 200) {
  return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
         "  <rdf:Description rdf:about=\"\" xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\" tiff:Orientation=\"6\""
         " xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:e=\"http://ns.adobe.com/exif/1.0/\""
         " xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\">\n" +
         description + "\n  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n" + std::string(padding, ' ') +
         "\n<?xpacket end=\"w\"?>";
}

const std::string kGallery = Packet(
    "   <dc:subject><rdf:Bag><rdf:li>Brno</rdf:li><rdf:li>most</rdf:li></rdf:Bag></dc:subject>\n"
    "   <dc:title><rdf:Alt><rdf:li xml:lang=\"cs\">Most</rdf:li><rdf:li xml:lang=\"x-default\">Bridge</rdf:li></rdf:Alt></dc:title>\n"
    "   <e:GPSLatitude>50,5.0N</e:GPSLatitude>\n"
    "   <e:Flash rdf:parseType=\"Resource\"><e:Fired>True</e:Fired></e:Flash>\n"
    "   <Iptc4xmpExt:LocationShown><rdf:Bag><rdf:li rdf:parseType=\"Resource\"><Iptc4xmpExt:City>Brno</Iptc4xmpExt:City>"
    "<e:GPSLongitude>16,36.0E</e:GPSLongitude></rdf:li></rdf:Bag></Iptc4xmpExt:LocationShown>");

std::map<std::string, XmpProperty> ByName(const XmpPacket& packet) {
  std::map<std::string, XmpProperty> out;
  for (const XmpProperty& property : packet.properties) out[property.name] = property;
  return out;
}

TEST(XmpRead, PropertiesArraysAndStructuresAsAUserSeesThem) {
  const XmpPacket packet = ParseXmp(kGallery);
  ASSERT_FALSE(packet.damaged) << packet.problem;
  auto properties = ByName(packet);
  const struct {
    const char* name;
    const char* value;
    size_t items;
    XmpArrayKind kind;
  } rows[] = {
      {"tiff:Orientation", "6", 0, XmpArrayKind::None},             // an attribute of the description
      {"dc:subject", "Brno, most", 2, XmpArrayKind::Bag},
      {"dc:title", "Bridge", 2, XmpArrayKind::LangAlt},             // x-default, though not first
      {"e:GPSLatitude", "50,5.0N", 0, XmpArrayKind::None},          // the packet's own prefix
      {"e:Flash/e:Fired", "True", 0, XmpArrayKind::None},           // a structure, flattened
      {"Iptc4xmpExt:LocationShown[1]/Iptc4xmpExt:City", "Brno", 0, XmpArrayKind::None},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(properties.count(row.name));
    EXPECT_EQ(properties[row.name].value, row.value);
    EXPECT_EQ(properties[row.name].values.size(), row.items);
    EXPECT_EQ(properties[row.name].array, row.kind);
  }
  EXPECT_EQ(properties["e:GPSLatitude"].namespaceUri, kExifNamespace);
}

TEST(XmpRead, DamagedPacketIsReportedAndKeptByteForByte) {
  const std::string broken = kGallery.substr(0, kGallery.size() / 2);
  for (const std::string& bytes : {broken, std::string("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>")}) {
    const XmpPacket packet = ParseXmp(bytes);
    EXPECT_TRUE(packet.damaged);
    EXPECT_FALSE(packet.problem.empty());
    EXPECT_TRUE(packet.properties.empty());
    EXPECT_EQ(packet.bytes, bytes);
    XmpEditor editor(bytes);
    EXPECT_FALSE(editor.SetExisting({kTiffNamespace, "tiff", "Orientation"}, "1"));
    EXPECT_EQ(editor.Serialise(), bytes);
  }
}

TEST(XmpEdit, ChangesOnlyWhatIsAskedAndKeepsTheWrapper) {
  const XmpName orientation{kTiffNamespace, "tiff", "Orientation"};
  const XmpName city{kPhotoshopNamespace, "photoshop", "City"};
  const XmpName title{kDublinCoreNamespace, "dc", "title"};
  const XmpName subject{kDublinCoreNamespace, "dc", "subject"};
  const auto gps = [](std::string_view local) { return local.substr(0, 3) == "GPS"; };
  const struct {
    const char* what;
    std::function<bool(XmpEditor&)> edit;
    std::map<std::string, std::string> expected;  // name -> value; "" = gone
  } rows[] = {
      {"the same value again changes nothing", [&](XmpEditor& e) { return e.SetExisting(orientation, "6"); }, {}},
      {"an attribute", [&](XmpEditor& e) { return e.SetExisting(orientation, "1"); }, {{"tiff:Orientation", "1"}}},
      {"GPS at any depth", [&](XmpEditor& e) { return e.RemoveEverywhere(kExifNamespace, gps); },
       {{"e:GPSLatitude", ""}, {"Iptc4xmpExt:LocationShown[1]/e:GPSLongitude", ""}, {"e:Flash/e:Fired", "True"}}},
      {"a new property with its namespace", [&](XmpEditor& e) { return e.SetSimple(city, "Brno"); },
       {{"photoshop:City", "Brno"}}},
      {"x-default of a lang-alt", [&](XmpEditor& e) { return e.SetDefaultLanguage(title, "Most"); }, {{"dc:title", "Most"}}},
      {"a bag", [&](XmpEditor& e) { return e.SetArray(subject, XmpArrayKind::Bag, {"Brno"}); }, {{"dc:subject", "Brno"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    XmpEditor editor(kGallery);
    ASSERT_TRUE(editor.Usable());
    EXPECT_EQ(row.edit(editor), !row.expected.empty());
    const std::string written = editor.Serialise();
    if (row.expected.empty()) {
      EXPECT_EQ(written, kGallery);
      continue;
    }
    EXPECT_EQ(written.size(), kGallery.size()) << "the padding takes up the difference";
    EXPECT_EQ(written.substr(0, 60), kGallery.substr(0, 60));
    EXPECT_EQ(written.substr(written.size() - 19), "<?xpacket end=\"w\"?>");
    auto properties = ByName(ParseXmp(written));
    for (const auto& [name, value] : row.expected) {
      if (value.empty()) EXPECT_FALSE(properties.count(name)) << name;
      else EXPECT_EQ(properties[name].value, value) << name;
    }
    EXPECT_EQ(properties["dc:title"].values.size(), 2u) << "the other language stays";
  }
}

// A prefix bound to the namespace is reused only where it still names it
// (one no element may start with is the fuzz regression "-").
TEST(XmpEdit, NewPropertyReusesOnlyAPrefixThatNamesItsNamespaceThere) {
  const std::string rdf = R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" )"
                          R"(xmlns:ps="http://ns.adobe.com/photoshop/1.0/">)";
  for (const auto& [description, expected] : {std::pair{"<rdf:Description/>", "ps:City"},
                                              {R"(<rdf:Description xmlns:ps="urn:other"/>)", "photoshop:City"}}) {
    XmpEditor editor(rdf + description + "</rdf:RDF>");
    ASSERT_TRUE(editor.SetSimple({kPhotoshopNamespace, "photoshop", "City"}, "Brno"));
    EXPECT_EQ(ByName(ParseXmp(editor.Serialise()))[expected].value, "Brno") << description;
  }
}

TEST(XmpExtended, ChunksJoinInOffsetOrderOnlyWhenWholeAndMatchingTheirDigest) {
  const std::string extended = Packet("   <dc:description>" + std::string(150000, 'x') + "</dc:description>", 0);
  const std::string guid = Md5Hex(extended);
  ASSERT_EQ(guid.size(), 32u);
  const std::string standard = "xx" + StandardXmpPayload(Packet("<xmpNote:HasExtendedXMP xmlns:xmpNote=\"http://ns.adobe.com/xmp/note/\">" + guid + "</xmpNote:HasExtendedXMP>"));
  std::vector<std::string> chunks;
  for (const std::string& payload : ExtendedXmpPayloads(guid, extended)) chunks.push_back("xx" + payload);
  ASSERT_EQ(chunks.size(), 3u);
  std::string corrupt = chunks[1];
  corrupt.back() = 'y';
  const struct {
    const char* what;
    std::vector<std::string> given;
    bool joins;
  } rows[] = {
      {"in file order", {chunks[0], chunks[1], chunks[2]}, true},
      {"out of order, one repeated", {chunks[2], chunks[0], chunks[1], chunks[0]}, true},
      {"one missing", {chunks[0], chunks[2]}, false},
      {"a changed byte", {chunks[0], corrupt, chunks[2]}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const XmpBlock block = ReadXmpBlock(standard, {row.given.begin(), row.given.end()});
    EXPECT_EQ(block.problem.empty(), row.joins) << block.problem;
    EXPECT_EQ(block.extended.bytes, row.joins ? extended : "");
    EXPECT_EQ(block.Properties().size(), row.joins ? 4u : 2u) << "each packet also states tiff:Orientation";
  }
}

}  // namespace
}  // namespace lumatrim
