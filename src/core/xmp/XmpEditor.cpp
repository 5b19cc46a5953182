#include "core/xmp/XmpEditor.h"

#include <pugixml.hpp>
#include <sstream>

#include "core/xmp/XmpNames.h"

namespace lumatrim {
namespace {

using namespace xmpnames;

// The tree keeps every whitespace text and every processing instruction and
// comment, and leaves line ends and attribute whitespace alone, so what is
// written back differs from the packet only where it was edited.
constexpr unsigned kEditParse = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_ws_pcdata | pugi::parse_pi |
                                pugi::parse_comments | pugi::parse_declaration | pugi::parse_doctype;
// Padding given to a packet that outgrew its own (what writers usually leave).
constexpr size_t kGrowthPadding = 2048;
constexpr size_t kPaddingLine = 100;

bool Matches(std::string_view qualified, const std::string& uri, const XmpName& name) {
  return LocalOf(qualified) == name.local && uri == name.namespaceUri;
}

std::vector<pugi::xml_node> Descriptions(pugi::xml_node rdf) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node child : rdf.children()) {
    if (IsRdf(child, "Description")) out.push_back(child);
  }
  return out;
}

bool IsWhitespace(pugi::xml_node node) {
  if (node.type() != pugi::node_pcdata) return false;
  for (const char* c = node.value(); *c; ++c) {
    if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n') return false;
  }
  return true;
}

// Removes an element with the indentation in front of it.
void RemoveElement(pugi::xml_node element) {
  pugi::xml_node parent = element.parent();
  if (IsWhitespace(element.previous_sibling())) parent.remove_child(element.previous_sibling());
  parent.remove_child(element);
}

void SetText(pugi::xml_node element, const std::string& value) {
  while (element.first_child()) element.remove_child(element.first_child());
  element.append_child(pugi::node_pcdata).set_value(value.c_str());
}

std::string Padding(size_t size) {
  std::string padding(size, ' ');
  for (size_t i = kPaddingLine - 1; i < size; i += kPaddingLine) padding[i] = '\n';
  if (size > 0) padding.back() = '\n';
  return padding;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// An XML name without a colon, as a prefix must be; bytes past ASCII are
// taken as the letters of UTF-8 names.
bool IsElementPrefix(std::string_view prefix) {
  if (prefix.empty()) return false;
  const auto starts = [](char c) { return IsAsciiLetter(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80; };
  if (!starts(prefix.front())) return false;
  for (const char c : prefix) {
    if (!starts(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
  }
  return true;
}

std::string RdfPrefix(pugi::xml_node description) { return std::string(PrefixOf(description.name())); }

}  // namespace

XmpEditor::XmpEditor(std::string_view packet) : original_(packet), document_(std::make_unique<pugi::xml_document>()) {
  usable_ = document_->load_buffer(original_.data(), original_.size(), kEditParse) && FindRdf(*document_);
}

XmpEditor::~XmpEditor() = default;

bool XmpEditor::SetExisting(const XmpName& name, const std::string& value) {
  if (!usable_) return false;
  bool changed = false;
  for (pugi::xml_node description : Descriptions(FindRdf(*document_))) {
    for (pugi::xml_attribute attribute : description.attributes()) {
      if (!IsMarkupAttribute(attribute, description) && Matches(attribute.name(), NamespaceOf(attribute, description), name) &&
          value != attribute.value()) {
        attribute.set_value(value.c_str());
        changed = true;
      }
    }
    for (pugi::xml_node element : description.children()) {
      if (element.type() != pugi::node_element || !Matches(element.name(), NamespaceOf(element), name)) continue;
      const bool simple = !element.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
      if (simple && TextOf(element) != value) {
        SetText(element, value);
        changed = true;
      }
    }
  }
  changed_ = changed_ || changed;
  return changed;
}

bool XmpEditor::RemoveTop(const XmpName& name) {
  if (!usable_) return false;
  bool changed = false;
  for (pugi::xml_node description : Descriptions(FindRdf(*document_))) {
    for (pugi::xml_attribute attribute = description.first_attribute(); attribute;) {
      const pugi::xml_attribute next = attribute.next_attribute();
      if (!IsMarkupAttribute(attribute, description) && Matches(attribute.name(), NamespaceOf(attribute, description), name)) {
        description.remove_attribute(attribute);
        changed = true;
      }
      attribute = next;
    }
    for (pugi::xml_node element = description.first_child(); element;) {
      const pugi::xml_node next = element.next_sibling();
      if (element.type() == pugi::node_element && Matches(element.name(), NamespaceOf(element), name)) {
        RemoveElement(element);
        changed = true;
      }
      element = next;
    }
  }
  changed_ = changed_ || changed;
  return changed;
}

bool XmpEditor::RemoveEverywhere(const char* namespaceUri, const std::function<bool(std::string_view)>& test) {
  if (!usable_) return false;
  bool changed = false;
  std::vector<pugi::xml_node> pending{FindRdf(*document_)};
  while (!pending.empty()) {
    pugi::xml_node node = pending.back();
    pending.pop_back();
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;) {
      const pugi::xml_attribute next = attribute.next_attribute();
      if (!IsMarkupAttribute(attribute, node) && test(LocalOf(attribute.name())) &&
          NamespaceOf(attribute, node) == namespaceUri) {
        node.remove_attribute(attribute);
        changed = true;
      }
      attribute = next;
    }
    for (pugi::xml_node child = node.first_child(); child;) {
      const pugi::xml_node next = child.next_sibling();
      if (child.type() == pugi::node_element) {
        if (test(LocalOf(child.name())) && NamespaceOf(child) == namespaceUri) {
          RemoveElement(child);
          changed = true;
        } else {
          pending.push_back(child);
        }
      }
      child = next;
    }
  }
  changed_ = changed_ || changed;
  return changed;
}

namespace {

// The element of a top-level property, or null; an attribute form is
// turned into nothing (the caller writes the element anew).
pugi::xml_node TopElement(pugi::xml_node rdf, const XmpName& name, bool& removedAttribute) {
  for (pugi::xml_node description : Descriptions(rdf)) {
    for (pugi::xml_attribute attribute = description.first_attribute(); attribute;) {
      const pugi::xml_attribute next = attribute.next_attribute();
      if (!IsMarkupAttribute(attribute, description) && Matches(attribute.name(), NamespaceOf(attribute, description), name)) {
        description.remove_attribute(attribute);
        removedAttribute = true;
      }
      attribute = next;
    }
    for (pugi::xml_node element : description.children()) {
      if (element.type() == pugi::node_element && Matches(element.name(), NamespaceOf(element), name)) return element;
    }
  }
  return {};
}

// A new, empty top-level property element in the first description (made
// when there is none), its namespace declared there unless already bound.
pugi::xml_node AddTopElement(pugi::xml_node rdf, const XmpName& name) {
  std::vector<pugi::xml_node> descriptions = Descriptions(rdf);
  pugi::xml_node description;
  if (descriptions.empty()) {
    const std::string rdfPrefix(PrefixOf(rdf.name()));
    description = rdf.append_child((rdfPrefix.empty() ? "" : rdfPrefix + ":").append("Description").c_str());
    description.append_attribute((rdfPrefix.empty() ? "" : rdfPrefix + ":").append("about").c_str()) = "";
  } else {
    description = descriptions.front();
  }
  std::string prefix;
  for (pugi::xml_node scope = description; scope && prefix.empty(); scope = scope.parent()) {
    for (pugi::xml_attribute attribute : scope.attributes()) {
      const std::string_view attributeName = attribute.name();
      if (attributeName.substr(0, 6) != "xmlns:" || std::string_view(attribute.value()) != name.namespaceUri) continue;
      // A prefix rebound nearer the description, or one no element name may
      // start with ("xmlns:-" reads as an attribute), would write a property
      // in the wrong namespace or a packet that no longer parses.
      const std::string_view candidate = attributeName.substr(6);
      if (IsElementPrefix(candidate) && NamespaceAt(description, candidate) == name.namespaceUri) {
        prefix = candidate;
        break;
      }
    }
  }
  if (prefix.empty()) {
    prefix = name.prefix;
    for (int n = 1; !NamespaceAt(description, prefix).empty(); ++n) prefix = name.prefix + std::to_string(n);
    description.append_attribute(("xmlns:" + prefix).c_str()) = name.namespaceUri;
  }
  // Indented like the description's last property, when it has one.
  pugi::xml_node last = description.last_child();
  while (last && last.type() != pugi::node_element) last = last.previous_sibling();
  pugi::xml_node element;
  if (last) {
    element = description.insert_child_after(pugi::node_element, last);
    if (IsWhitespace(last.previous_sibling())) {
      description.insert_child_before(pugi::node_pcdata, element).set_value(last.previous_sibling().value());
    }
  } else {
    element = description.append_child(pugi::node_element);
  }
  element.set_name((prefix + ":" + name.local).c_str());
  return element;
}

}  // namespace

bool XmpEditor::SetSimple(const XmpName& name, const std::string& value) {
  if (!usable_) return false;
  if (SetExisting(name, value)) return true;
  const pugi::xml_node rdf = FindRdf(*document_);
  for (pugi::xml_node description : Descriptions(rdf)) {
    for (pugi::xml_attribute attribute : description.attributes()) {
      if (!IsMarkupAttribute(attribute, description) && Matches(attribute.name(), NamespaceOf(attribute, description), name)) return false;
    }
    for (pugi::xml_node element : description.children()) {
      if (element.type() == pugi::node_element && Matches(element.name(), NamespaceOf(element), name)) return false;
    }
  }
  SetText(AddTopElement(rdf, name), value);
  changed_ = true;
  return true;
}

bool XmpEditor::SetArray(const XmpName& name, XmpArrayKind kind, const std::vector<std::string>& items) {
  if (!usable_) return false;
  bool removed = false;
  const pugi::xml_node rdf = FindRdf(*document_);
  pugi::xml_node element = TopElement(rdf, name, removed);
  const std::string containerLocal = kind == XmpArrayKind::Seq ? "Seq" : kind == XmpArrayKind::Bag ? "Bag" : "Alt";
  if (element) {
    const pugi::xml_node container = element.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
    if (container && IsRdf(container, containerLocal)) {
      std::vector<std::string> have;
      for (pugi::xml_node item : container.children()) {
        if (IsRdf(item, "li")) have.push_back(TextOf(item));
      }
      if (have == items && !removed) return false;
    }
  } else {
    element = AddTopElement(rdf, name);
  }
  while (element.first_child()) element.remove_child(element.first_child());
  const std::string rdfPrefix = RdfPrefix(rdf);
  const std::string qualify = rdfPrefix.empty() ? "" : rdfPrefix + ":";
  pugi::xml_node container = element.append_child((qualify + containerLocal).c_str());
  for (const std::string& item : items) SetText(container.append_child((qualify + "li").c_str()), item);
  changed_ = true;
  return true;
}

bool XmpEditor::SetDefaultLanguage(const XmpName& name, const std::string& value) {
  if (!usable_) return false;
  bool removed = false;
  const pugi::xml_node rdf = FindRdf(*document_);
  pugi::xml_node element = TopElement(rdf, name, removed);
  const std::string rdfPrefix = RdfPrefix(rdf);
  const std::string qualify = rdfPrefix.empty() ? "" : rdfPrefix + ":";
  if (!element) element = AddTopElement(rdf, name);
  pugi::xml_node container = element.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
  if (!container || !IsRdf(container, "Alt")) {
    while (element.first_child()) element.remove_child(element.first_child());
    container = element.append_child((qualify + "Alt").c_str());
  }
  for (pugi::xml_node item : container.children()) {
    if (!IsRdf(item, "li") || std::string_view(item.attribute("xml:lang").value()) != "x-default") continue;
    if (TextOf(item) == value && !removed) return false;
    SetText(item, value);
    changed_ = true;
    return true;
  }
  pugi::xml_node item = container.prepend_child((qualify + "li").c_str());
  item.append_attribute("xml:lang") = "x-default";
  SetText(item, value);
  changed_ = true;
  return true;
}

std::string XmpEditor::Serialise() const {
  if (!changed_) return original_;
  // The top-level element holding the rdf:RDF edited (pugixml reads a packet
  // with more than one top-level element too).
  pugi::xml_node root = FindRdf(*document_);
  while (root.parent() && root.parent().type() != pugi::node_document) root = root.parent();
  std::ostringstream body;
  root.print(body, "", pugi::format_raw, pugi::encoding_utf8);
  // The packet's own text before its root element (the <?xpacket begin?>)
  // and from its <?xpacket end?> on is kept; the padding takes up what the
  // edit saved, or grows again when the packet outgrew it.
  const ptrdiff_t nameAt = root.offset_debug();
  const bool located = nameAt >= 1 && static_cast<size_t>(nameAt) < original_.size() &&
                       original_.compare(static_cast<size_t>(nameAt), std::string_view(root.name()).size(), root.name()) == 0 &&
                       original_[static_cast<size_t>(nameAt) - 1] == '<';
  if (!located) return body.str();
  const size_t rootStart = static_cast<size_t>(nameAt) - 1;
  const std::string text = body.str();
  const std::string closing = "</" + std::string(root.name()) + ">";
  size_t tailStart = original_.rfind("<?xpacket end");
  const size_t rootEnd = original_.rfind(closing, tailStart);
  if (tailStart == std::string::npos || rootEnd == std::string::npos || rootEnd < rootStart) tailStart = original_.size();
  size_t paddingStart = tailStart;
  while (paddingStart > rootStart && std::string_view(" \t\r\n").find(original_[paddingStart - 1]) != std::string_view::npos) {
    --paddingStart;
  }
  std::string written;
  const std::string head = original_.substr(0, rootStart), tail = original_.substr(tailStart);
  if (tail.empty() || rootEnd == std::string::npos || paddingStart != rootEnd + closing.size()) {
    written = head + text + original_.substr(paddingStart);
  } else {
    const size_t oldPadding = tailStart - paddingStart;
    const size_t rest = head.size() + text.size() + tail.size();
    size_t padding = oldPadding;
    if (oldPadding > 0) padding = original_.size() > rest ? original_.size() - rest : kGrowthPadding;
    written = head + text + Padding(padding) + tail;
  }
  // Bytes around the root that only a lenient read accepted (a zero byte
  // ends pugixml's read) must not spoil the edited packet: then it goes
  // out without them.
  pugi::xml_document check;
  return check.load_buffer(written.data(), written.size(), kEditParse) && FindRdf(check) ? written : text;
}

}  // namespace lumatrim
