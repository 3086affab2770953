#pragma once
// Small helpers over libxml2 for the XML parts of a workbook package.
// Elements are matched by their local name, so a part written with a prefix
// ("x:row") or with the strict namespaces reads as one written the usual way;
// new elements take the namespace of the element they are put into.

#include <libxml/tree.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sheet::xml {

struct DocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// Parses an XML part. No network, and no document type declaration (a
// package part may not have one).
// On failure returns null and puts the parser's complaint in *error.
DocPtr parse(std::string_view bytes, std::string* error);
// The document as UTF-8 bytes, with its XML declaration, nothing re-indented.
std::string serialize(xmlDoc* doc);

bool isElement(const xmlNode* node, std::string_view localName);
bool isElement(const xmlNode* node);
// The first child element (named `localName`, or any when it is empty) and the
// next sibling element with that name.
xmlNode* firstChild(xmlNode* parent, std::string_view localName = {});
xmlNode* nextSibling(xmlNode* node, std::string_view localName = {});

// An attribute without a namespace.
std::optional<std::string> attr(const xmlNode* node, const char* name);
void setAttr(xmlNode* node, const char* name, std::string_view value);
void removeAttr(xmlNode* node, const char* name);
// A relationship id attribute ("r:id" and the like): the attribute named
// `localName` in a relationships namespace.
std::optional<std::string> relAttr(const xmlNode* node, const char* localName);

// A new element named `name` in the namespace of `parent` (not linked yet).
xmlNode* newElement(xmlNode* parent, const char* name);
// Puts `child` under `parent` after the last child element whose name is one
// of `before` (the elements that come before it in the part's schema), or
// first when there is none.
void insertAfterAny(xmlNode* parent, xmlNode* child, std::initializer_list<std::string_view> before);
// Puts `child` under `parent` before its first child element named `localName`,
// or last when there is none.
void insertBeforeFirst(xmlNode* parent, xmlNode* child, std::string_view localName);
// Unlinks and frees a node.
void removeNode(xmlNode* node);
// The text content of a node and its descendants.
std::string textOf(const xmlNode* node);

// Cell texts go into the XML escaped as the spreadsheet format does: a
// character that XML cannot hold (a control character other than tab, line
// feed and carriage return) is written "_xHHHH_", and an underscore that would
// start such an escape is itself written "_x005F_". Bytes that are not UTF-8
// become U+FFFD.
std::string escapeCellText(std::string_view text);
std::string unescapeCellText(std::string_view text);

}  // namespace sheet::xml
