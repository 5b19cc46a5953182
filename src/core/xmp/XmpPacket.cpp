#include "core/xmp/XmpPacket.h"

#include <pugixml.hpp>

#include "core/xmp/XmpNames.h"

namespace lumatrim {
namespace {

using namespace xmpnames;

// Structures nested deeper than this are not read further (a hostile packet
// must not exhaust the stack).
constexpr int kMaxNesting = 24;

class PropertyReader {
 public:
  explicit PropertyReader(std::vector<XmpProperty>& out) : out_(out) {}

  // A top-level property element or attribute of an rdf:Description.
  void ReadTopElement(pugi::xml_node element) {
    uri_ = NamespaceOf(element);
    prefix_ = PrefixOf(element.name());
    ReadValueOf(element, element.name(), 0);
  }
  void ReadTopAttribute(pugi::xml_attribute attribute, pugi::xml_node owner) {
    uri_ = NamespaceOf(attribute, owner);
    prefix_ = PrefixOf(attribute.name());
    AddSimple(attribute.name(), attribute.value());
  }

 private:
  static bool HasFieldAttributes(pugi::xml_node element) {
    for (pugi::xml_attribute attribute : element.attributes()) {
      if (!IsMarkupAttribute(attribute, element)) return true;
    }
    return false;
  }
  static bool IsResourceType(pugi::xml_node element) {
    for (pugi::xml_attribute attribute : element.attributes()) {
      if (LocalOf(attribute.name()) == "parseType" && NamespaceOf(attribute, element) == kRdfNamespace) {
        return std::string_view(attribute.value()) == "Resource";
      }
    }
    return false;
  }
  static pugi::xml_attribute RdfAttribute(pugi::xml_node element, std::string_view local) {
    for (pugi::xml_attribute attribute : element.attributes()) {
      if (LocalOf(attribute.name()) == local && NamespaceOf(attribute, element) == kRdfNamespace) return attribute;
    }
    return {};
  }
  static bool IsSimple(pugi::xml_node element) {
    return !element.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; }) &&
           !IsResourceType(element) && !HasFieldAttributes(element);
  }
  static std::string SimpleText(pugi::xml_node element) {
    if (pugi::xml_attribute resource = RdfAttribute(element, "resource")) return resource.value();
    return TextOf(element);
  }

  void AddSimple(std::string name, std::string value) {
    XmpProperty property;
    property.namespaceUri = uri_;
    property.prefix = prefix_;
    property.name = std::move(name);
    property.value = std::move(value);
    out_.push_back(std::move(property));
  }

  void ReadFields(pugi::xml_node node, const std::string& path, int depth) {
    for (pugi::xml_attribute attribute : node.attributes()) {
      if (!IsMarkupAttribute(attribute, node)) AddSimple(path + "/" + attribute.name(), attribute.value());
    }
    for (pugi::xml_node child : node.children()) {
      if (child.type() == pugi::node_element) ReadValueOf(child, path + "/" + child.name(), depth + 1);
    }
  }

  void ReadValueOf(pugi::xml_node element, const std::string& path, int depth) {
    if (depth > kMaxNesting) return;
    const pugi::xml_node inner = element.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
    if (inner && (IsRdf(inner, "Bag") || IsRdf(inner, "Seq") || IsRdf(inner, "Alt"))) {
      ReadArray(inner, path, depth);
    } else if (inner && IsRdf(inner, "Description")) {
      ReadFields(inner, path, depth);
    } else if (inner || IsResourceType(element) || HasFieldAttributes(element)) {
      ReadFields(element, path, depth);
    } else {
      AddSimple(path, SimpleText(element));
    }
  }

  void ReadArray(pugi::xml_node container, const std::string& path, int depth) {
    XmpProperty property;
    property.namespaceUri = uri_;
    property.prefix = prefix_;
    property.name = path;
    const std::string_view kind = LocalOf(container.name());
    property.array = kind == "Bag" ? XmpArrayKind::Bag : kind == "Seq" ? XmpArrayKind::Seq : XmpArrayKind::Alt;
    int position = 0;
    bool anySimple = false, anyLanguage = false;
    for (pugi::xml_node item : container.children()) {
      if (!IsRdf(item, "li")) continue;
      ++position;
      if (!IsSimple(item)) {
        ReadValueOf(item, path + "[" + std::to_string(position) + "]", depth + 1);
        continue;
      }
      anySimple = true;
      const std::string language = item.attribute("xml:lang").value();
      anyLanguage = anyLanguage || !language.empty();
      property.values.push_back(SimpleText(item));
      property.languages.push_back(language);
    }
    if (!anySimple && position > 0) return;  // an array of structures: its fields are the properties
    if (property.array == XmpArrayKind::Alt && anyLanguage) {
      property.array = XmpArrayKind::LangAlt;
      for (size_t i = 0; i < property.values.size(); ++i) {
        if (property.languages[i] == "x-default" || property.value.empty()) property.value = property.values[i];
        if (property.languages[i] == "x-default") break;
      }
    } else {
      property.languages.clear();
      for (const std::string& value : property.values) property.value += (property.value.empty() ? "" : ", ") + value;
    }
    out_.push_back(std::move(property));
  }

  std::vector<XmpProperty>& out_;
  std::string uri_, prefix_;
};

}  // namespace

std::string XmpPacket::ExtendedGuid() const {
  for (const XmpProperty& property : properties) {
    if (property.namespaceUri == kXmpNoteNamespace && LocalOf(property.name) == "HasExtendedXMP") return property.value;
  }
  return {};
}

XmpPacket ParseXmp(std::string_view packet) {
  XmpPacket out;
  out.bytes = std::string(packet);
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(packet.data(), packet.size());
  if (!parsed) {
    out.damaged = true;
    out.problem = std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);
    return out;
  }
  const pugi::xml_node rdf = FindRdf(document);
  if (!rdf) {
    out.damaged = true;
    out.problem = "no rdf:RDF element";
    return out;
  }
  PropertyReader reader(out.properties);
  for (pugi::xml_node description : rdf.children()) {
    if (description.type() != pugi::node_element) continue;
    for (pugi::xml_attribute attribute : description.attributes()) {
      if (!IsMarkupAttribute(attribute, description)) reader.ReadTopAttribute(attribute, description);
    }
    for (pugi::xml_node property : description.children()) {
      if (property.type() == pugi::node_element) reader.ReadTopElement(property);
    }
  }
  return out;
}

}  // namespace lumatrim
