#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/xmp/XmpPacket.h"

namespace pugi {
class xml_document;
}

namespace lumatrim {

// Names one property: its namespace, the prefix to declare when the packet
// does not know the namespace yet, and its local name.
struct XmpName {
  const char* namespaceUri;
  const char* prefix;
  const char* local;
};

// Edits of one packet, made on its XML tree (pugixml). Properties are found
// by namespace URI, whatever prefix the packet gives them, written either as
// elements or as attributes of rdf:Description. Each edit returns true when
// it changed something; Serialise() gives the packet back byte for byte when
// nothing changed, else the tree written out inside the packet's own
// <?xpacket?> wrapper with its padding, so others can still edit in place.
class XmpEditor {
 public:
  explicit XmpEditor(std::string_view packet);
  ~XmpEditor();
  XmpEditor(const XmpEditor&) = delete;
  XmpEditor& operator=(const XmpEditor&) = delete;

  // False for a damaged packet: every edit then changes nothing.
  bool Usable() const { return usable_; }
  bool Changed() const { return changed_; }

  // Sets a top-level simple property, only where the packet has it.
  bool SetExisting(const XmpName& name, const std::string& value);
  // Sets a top-level simple property, adding it when missing.
  bool SetSimple(const XmpName& name, const std::string& value);
  // Makes a top-level property an array (Bag or Seq) of these items.
  bool SetArray(const XmpName& name, XmpArrayKind kind, const std::vector<std::string>& items);
  // Sets the x-default item of a lang-alt property; other languages stay.
  bool SetDefaultLanguage(const XmpName& name, const std::string& value);
  bool RemoveTop(const XmpName& name);
  // Removes every property and structure field, at any depth, of the
  // namespace whose local name passes the test.
  bool RemoveEverywhere(const char* namespaceUri, const std::function<bool(std::string_view local)>& test);

  std::string Serialise() const;

 private:
  std::string original_;
  std::unique_ptr<pugi::xml_document> document_;
  bool usable_ = false;
  bool changed_ = false;
};

}  // namespace lumatrim
