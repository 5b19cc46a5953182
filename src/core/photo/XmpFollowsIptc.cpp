#include "core/photo/XmpFollowsIptc.h"

#include <string>
#include <vector>

#include "core/photo/PhotoXmp.h"

namespace lumatrim {
namespace {

// The IPTC items with an XMP counterpart, as the Metadata Working Group
// maps them, and how the XMP side holds its value.
struct IptcXmpPair {
  const char* iptcName;
  XmpName xmp;
  XmpArrayKind form;
};

constexpr IptcXmpPair kIptcXmpPairs[] = {
    {"ObjectName",    {kDublinCoreNamespace, "dc",        "title"},       XmpArrayKind::LangAlt},
    {"Keywords",      {kDublinCoreNamespace, "dc",        "subject"},     XmpArrayKind::Bag},
    {"ByLine",        {kDublinCoreNamespace, "dc",        "creator"},     XmpArrayKind::Seq},
    {"City",          {kPhotoshopNamespace,  "photoshop", "City"},        XmpArrayKind::None},
    {"State",         {kPhotoshopNamespace,  "photoshop", "State"},       XmpArrayKind::None},
    {"LocationName",  {kPhotoshopNamespace,  "photoshop", "Country"},     XmpArrayKind::None},
    {"ImageHeadline", {kPhotoshopNamespace,  "photoshop", "Headline"},    XmpArrayKind::None},
    {"ImageCredit",   {kPhotoshopNamespace,  "photoshop", "Credit"},      XmpArrayKind::None},
    {"Source",        {kPhotoshopNamespace,  "photoshop", "Source"},      XmpArrayKind::None},
    {"Copyright",     {kDublinCoreNamespace, "dc",        "rights"},      XmpArrayKind::LangAlt},
    {"ImageCaption",  {kDublinCoreNamespace, "dc",        "description"}, XmpArrayKind::LangAlt},
};

}  // namespace

bool XmpFollowsIptc(PhotoMetadata& photo, const IptcRecord& record) {
  if (!photo.XmpPresent()) return false;
  // The extended packet holds what did not fit the standard one: a property
  // found there is set there, any other in the standard packet (added when
  // missing).
  const XmpBlock block = ReadPhotoXmp(photo);
  const auto inExtended = [&block](const XmpName& name) {
    for (const XmpProperty& property : block.extended.properties) {
      if (property.namespaceUri == name.namespaceUri && property.name == property.prefix + ":" + name.local) return true;
    }
    return false;
  };
  return EditXmp(photo, [&](XmpEditor& packet, XmpPacketRole role) {
    for (const IptcXmpPair& pair : kIptcXmpPairs) {
      const int i = record.IndexOfName(pair.iptcName);
      if (i < 0 || !record.ItemEdited(i)) continue;
      if (inExtended(pair.xmp) != (role == XmpPacketRole::Extended)) continue;
      const std::vector<std::string> values = record.DisplayValues(i);
      const std::string value = values.empty() ? std::string() : values.front();
      switch (pair.form) {
        case XmpArrayKind::None: packet.SetSimple(pair.xmp, value); break;
        case XmpArrayKind::LangAlt: packet.SetDefaultLanguage(pair.xmp, value); break;
        default: packet.SetArray(pair.xmp, pair.form, values); break;
      }
    }
  });
}

}  // namespace lumatrim
