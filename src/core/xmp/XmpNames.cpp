#include "core/xmp/XmpNames.h"

#include "core/xmp/XmpPacket.h"

namespace lumatrim::xmpnames {
namespace {

// Nesting deeper than this is not XMP; the search gives up there.
constexpr int kMaxSearchDepth = 64;

pugi::xml_node FindRdfBelow(pugi::xml_node node, int depth) {
  if (depth > kMaxSearchDepth) return {};
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (IsRdf(child, "RDF")) return child;
    if (pugi::xml_node found = FindRdfBelow(child, depth + 1)) return found;
  }
  return {};
}

}  // namespace

std::string_view PrefixOf(std::string_view qualified) {
  const size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
}

std::string_view LocalOf(std::string_view qualified) {
  const size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string NamespaceAt(pugi::xml_node node, std::string_view prefix) {
  if (prefix == "xml") return kXmlNamespace;
  const std::string attribute = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
  for (; node; node = node.parent()) {
    if (node.type() != pugi::node_element) continue;
    if (pugi::xml_attribute bound = node.attribute(attribute.c_str())) return bound.value();
  }
  return {};
}

std::string NamespaceOf(pugi::xml_node element) { return NamespaceAt(element, PrefixOf(element.name())); }

std::string NamespaceOf(pugi::xml_attribute attribute, pugi::xml_node owner) {
  const std::string_view prefix = PrefixOf(attribute.name());
  // Unprefixed attributes belong to no namespace.
  return prefix.empty() ? std::string() : NamespaceAt(owner, prefix);
}

bool IsRdf(pugi::xml_node element, std::string_view local) {
  return element.type() == pugi::node_element && LocalOf(element.name()) == local &&
         NamespaceOf(element) == kRdfNamespace;
}

bool IsMarkupAttribute(pugi::xml_attribute attribute, pugi::xml_node owner) {
  const std::string_view name = attribute.name();
  if (name == "xmlns" || name.substr(0, 6) == "xmlns:") return true;
  const std::string uri = NamespaceOf(attribute, owner);
  return uri == kRdfNamespace || uri == kXmlNamespace;
}

pugi::xml_node FindRdf(const pugi::xml_document& document) { return FindRdfBelow(document, 0); }

std::string TextOf(pugi::xml_node element) {
  std::string text;
  for (pugi::xml_node child : element.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  }
  return text;
}

}  // namespace lumatrim::xmpnames
