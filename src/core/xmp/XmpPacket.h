#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lumatrim {

// How a property holds its values.
enum class XmpArrayKind {
  None,     // a simple value (or a field of a structure)
  Bag,      // rdf:Bag: unordered items
  Seq,      // rdf:Seq: ordered items
  Alt,      // rdf:Alt: alternatives
  LangAlt,  // rdf:Alt whose items carry xml:lang
};

// One property of a packet. Structures are flattened: each field is a
// property of its own whose name is the path to it, e.g.
// "exif:Flash/exif:Fired" or "mwg-rs:Regions/mwg-rs:RegionList[1]/mwg-rs:Name".
struct XmpProperty {
  std::string namespaceUri;  // of the top-level property
  std::string prefix;        // as the packet declares it
  std::string name;          // the path, prefixes as written
  std::string value;         // the text; an array's items joined with ", "; a lang-alt's x-default
  std::vector<std::string> values;     // an array's items, in order; empty for simple values
  std::vector<std::string> languages;  // a lang-alt's xml:lang per item
  XmpArrayKind array = XmpArrayKind::None;
};

// One XMP packet as read: its bytes exactly as they stood, and its
// properties. A packet that is not well-formed XML, or holds no rdf:RDF, is
// damaged: it has no properties, and problem says why.
struct XmpPacket {
  std::string bytes;
  std::vector<XmpProperty> properties;
  bool damaged = false;
  std::string problem;

  bool Empty() const { return bytes.empty(); }
  // The GUID of the extended packet (xmpNote:HasExtendedXMP), or empty.
  std::string ExtendedGuid() const;
};

// Parses a packet (with or without its <?xpacket?> wrapper). Never throws.
XmpPacket ParseXmp(std::string_view packet);

// Namespaces the program edits or names.
inline constexpr char kRdfNamespace[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
inline constexpr char kXmlNamespace[] = "http://www.w3.org/XML/1998/namespace";
inline constexpr char kXmpBasicNamespace[] = "http://ns.adobe.com/xap/1.0/";
inline constexpr char kXmpNoteNamespace[] = "http://ns.adobe.com/xmp/note/";
inline constexpr char kTiffNamespace[] = "http://ns.adobe.com/tiff/1.0/";
inline constexpr char kExifNamespace[] = "http://ns.adobe.com/exif/1.0/";
inline constexpr char kDublinCoreNamespace[] = "http://purl.org/dc/elements/1.1/";
inline constexpr char kPhotoshopNamespace[] = "http://ns.adobe.com/photoshop/1.0/";

}  // namespace lumatrim
