#pragma once
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace lumatrim::xmpnames {

// Qualified XML names as XMP packets write them ("dc:title"), and the
// namespaces their prefixes stand for where they are used.

std::string_view PrefixOf(std::string_view qualified);
std::string_view LocalOf(std::string_view qualified);
// The URI bound to prefix at node (xmlns:prefix, or xmlns for ""), looking
// outwards; empty when unbound. "xml" is bound by XML itself.
std::string NamespaceAt(pugi::xml_node node, std::string_view prefix);
// The namespace of an element, or of an attribute of owner.
std::string NamespaceOf(pugi::xml_node element);
std::string NamespaceOf(pugi::xml_attribute attribute, pugi::xml_node owner);
bool IsRdf(pugi::xml_node element, std::string_view local);
// Attributes that are markup rather than properties: xmlns*, rdf:*, xml:*.
bool IsMarkupAttribute(pugi::xml_attribute attribute, pugi::xml_node owner);
// The rdf:RDF element of a parsed packet, or null.
pugi::xml_node FindRdf(const pugi::xml_document& document);
// The text of an element (its character data, entities resolved).
std::string TextOf(pugi::xml_node element);

}  // namespace lumatrim::xmpnames
