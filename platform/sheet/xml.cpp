#include "sheet/xml.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>

#include "crt/utf8.h"

namespace sheet::xml {
namespace {

using platform::appendUtf8;
using platform::decodeUtf8;

const char* localNameOf(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }
const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

// Silences libxml2's own printing of errors: parse errors are reported by the
// caller with the name of the file.
void quietErrors(void*, const char*, ...) {}

void initOnce() {
  static bool done = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, quietErrors);
    return true;
  }();
  (void)done;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of an escape "_xHHHH_" at text[i], or -1.
long escapeAt(std::string_view text, size_t i) {
  if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') return -1;
  long cp = 0;
  for (size_t k = 2; k < 6; ++k) {
    int h = hexValue(text[i + k]);
    if (h < 0) return -1;
    cp = cp * 16 + h;
  }
  return cp;
}

bool xmlCanHold(long cp) {
  if (cp == 0x9 || cp == 0xA || cp == 0xD) return true;
  return cp >= 0x20 && cp != 0xFFFE && cp != 0xFFFF;
}

}  // namespace

DocPtr parse(std::string_view bytes, std::string* error) {
  initOnce();
  if (bytes.size() > static_cast<size_t>(INT_MAX)) {
    if (error) *error = "part too large";
    return nullptr;
  }
  // Package parts may not declare a DTD; refusing one also keeps entity
  // expansion out of reach of a hostile file.
  if (bytes.find("<!DOCTYPE") != std::string_view::npos) {
    if (error) *error = "a document type declaration is not allowed";
    return nullptr;
  }
  xmlResetLastError();
  xmlDoc* doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc || !xmlDocGetRootElement(doc)) {
    if (error) {
      const xmlError* e = xmlGetLastError();
      if (e && e->message) {
        std::string message = e->message;
        while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
        *error = "line " + std::to_string(e->line) + ": " + message;
      } else {
        *error = "not XML";
      }
    }
    if (doc) xmlFreeDoc(doc);
    return nullptr;
  }
  return DocPtr(doc);
}

std::string serialize(xmlDoc* doc) {
  xmlChar* mem = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(doc, &mem, &size, "UTF-8");
  std::string out(reinterpret_cast<const char*>(mem), mem ? static_cast<size_t>(size) : 0);
  xmlFree(mem);
  return out;
}

bool isElement(const xmlNode* node) { return node && node->type == XML_ELEMENT_NODE; }

bool isElement(const xmlNode* node, std::string_view localName) {
  return isElement(node) && localName == localNameOf(node);
}

xmlNode* firstChild(xmlNode* parent, std::string_view localName) {
  if (!parent) return nullptr;
  for (xmlNode* n = parent->children; n; n = n->next)
    if (isElement(n) && (localName.empty() || localName == localNameOf(n))) return n;
  return nullptr;
}

xmlNode* nextSibling(xmlNode* node, std::string_view localName) {
  for (xmlNode* n = node ? node->next : nullptr; n; n = n->next)
    if (isElement(n) && (localName.empty() || localName == localNameOf(n))) return n;
  return nullptr;
}

std::optional<std::string> attr(const xmlNode* node, const char* name) {
  xmlChar* v = xmlGetNoNsProp(node, X(name));
  if (!v) return std::nullopt;
  std::string s(reinterpret_cast<const char*>(v));
  xmlFree(v);
  return s;
}

void setAttr(xmlNode* node, const char* name, std::string_view value) {
  std::string v(value);
  xmlSetProp(node, X(name), X(v.c_str()));
}

void removeAttr(xmlNode* node, const char* name) {
  if (xmlAttr* a = xmlHasNsProp(node, X(name), nullptr)) xmlRemoveProp(a);
}

std::optional<std::string> relAttr(const xmlNode* node, const char* localName) {
  for (xmlAttr* a = node->properties; a; a = a->next) {
    if (!a->ns || !a->ns->href || std::strcmp(reinterpret_cast<const char*>(a->name), localName) != 0)
      continue;
    if (!std::strstr(reinterpret_cast<const char*>(a->ns->href), "relationships")) continue;
    xmlChar* v = xmlNodeListGetString(node->doc, a->children, 1);
    std::string s = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return s;
  }
  return std::nullopt;
}

xmlNode* newElement(xmlNode* parent, const char* name) {
  xmlNode* n = xmlNewDocNode(parent->doc, parent->ns, X(name), nullptr);
  return n;
}

void insertAfterAny(xmlNode* parent, xmlNode* child, std::initializer_list<std::string_view> before) {
  xmlNode* after = nullptr;
  for (xmlNode* n = parent->children; n; n = n->next) {
    if (!isElement(n)) continue;
    for (std::string_view b : before)
      if (b == localNameOf(n)) after = n;
  }
  if (after) {
    xmlAddNextSibling(after, child);
  } else if (xmlNode* first = firstChild(parent)) {
    xmlAddPrevSibling(first, child);
  } else {
    xmlAddChild(parent, child);
  }
}

void insertBeforeFirst(xmlNode* parent, xmlNode* child, std::string_view localName) {
  if (xmlNode* n = firstChild(parent, localName))
    xmlAddPrevSibling(n, child);
  else
    xmlAddChild(parent, child);
}

void removeNode(xmlNode* node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

std::string textOf(const xmlNode* node) {
  xmlChar* v = xmlNodeGetContent(node);
  std::string s = v ? reinterpret_cast<const char*>(v) : "";
  xmlFree(v);
  return s;
}

std::string escapeCellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (escapeAt(text, i) >= 0) {  // a literal "_xHHHH_" keeps its underscore
      out += "_x005F_";
      ++i;
      continue;
    }
    long cp = decodeUtf8(text, i);
    if (cp < 0) cp = 0xFFFD;
    if (xmlCanHold(cp)) {
      appendUtf8(out, cp);
    } else {
      static const char digits[] = "0123456789ABCDEF";
      out += "_x";
      for (int shift = 12; shift >= 0; shift -= 4) out += digits[(cp >> shift) & 0xF];
      out += '_';
    }
  }
  return out;
}

std::string unescapeCellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    long cp = escapeAt(text, i);
    if (cp >= 0) {
      appendUtf8(out, cp);
      i += 7;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace sheet::xml
