// The workbook package: [Content_Types].xml gives each part its kind, the
// package relationships (_rels/.rels) lead to the workbook part, whose own
// relationships lead to its worksheets, its shared-string table, its styles
// and the rest. Worksheets are read when first asked for.

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "crt/ascii.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "sheet/model_internal.h"
#include "sheet/package.h"

namespace sheet {
namespace {

constexpr const char* kWorkbookType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr const char* kTemplateType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
constexpr const char* kMacroWorkbookType = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
constexpr const char* kMacroTemplateType = "application/vnd.ms-excel.template.macroEnabled.main+xml";

// Bound on a workbook file read into memory.
constexpr long kMaxFileSize = 1L << 30;

bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string folderOf(std::string_view part) {
  size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

std::string percentDecode(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    auto hex = [](char c) {
      return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The part a relationship of `source` points at: its target taken from the
// source's folder (or from the package root when it starts with '/').
std::string resolveTarget(std::string_view source, std::string_view target) {
  std::string t = percentDecode(target);
  std::string joined = t.starts_with('/') ? t.substr(1) : folderOf(source) + t;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    std::string seg = joined.substr(start, slash - start);
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!seg.empty() && seg != ".") {
      parts.push_back(seg);
    }
    start = slash + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

std::string relsPartOf(std::string_view part) {
  size_t slash = part.rfind('/');
  std::string folder = slash == std::string_view::npos ? "" : std::string(part.substr(0, slash + 1));
  std::string file(slash == std::string_view::npos ? part : part.substr(slash + 1));
  return folder + "_rels/" + file + ".rels";
}

struct Relationship {
  std::string id, type, target;  // target resolved to a part name
  xmlNode* node = nullptr;
};

std::vector<Relationship> relationshipsOf(xmlDoc* doc, std::string_view source) {
  std::vector<Relationship> out;
  for (xmlNode* n = xml::firstChild(xmlDocGetRootElement(doc), "Relationship"); n;
       n = xml::nextSibling(n, "Relationship")) {
    if (xml::attr(n, "TargetMode") == "External") continue;
    std::optional<std::string> id = xml::attr(n, "Id"), type = xml::attr(n, "Type"), target = xml::attr(n, "Target");
    if (id && type && target) out.push_back({*id, *type, resolveTarget(source, *target), n});
  }
  return out;
}

// Relationship types end in their kind's name in both the usual and the
// strict namespaces (".../relationships/worksheet").
bool isType(const Relationship& r, std::string_view kind) {
  std::string_view type = r.type;
  return type.size() > kind.size() && endsWith(type, kind) && type[type.size() - kind.size() - 1] == '/';
}

std::string errnoText(int e) { return std::strerror(e); }

}  // namespace

std::string describePath(std::string_view path) {
  std::string resolved = platform::resolvePath(path);
  std::string shown;
  shown.append(1, '"').append(path).append(1, '"');
  if (resolved != path) shown.append(" (").append(resolved).append(")");
  return shown;
}

// ---- the shared-string table ----

bool SharedStrings::load(std::string_view bytes, std::string* error) {
  doc = xml::parse(bytes, error);
  if (!doc) return false;
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (!xml::isElement(root, "sst")) {
    *error = "not a shared-string table";
    return false;
  }
  for (xmlNode* si = xml::firstChild(root, "si"); si; si = xml::nextSibling(si, "si")) {
    int index = static_cast<int>(texts.size());
    texts.push_back(richText(si));
    xmlNode* only = xml::firstChild(si);
    if (xml::isElement(only, "t") && !xml::nextSibling(only)) plain.emplace(texts.back(), index);
  }
  return true;
}

int SharedStrings::add(std::string_view text) {
  ++addedRefs;
  dirty = true;
  std::string escaped = xml::escapeCellText(text);
  std::string key = xml::unescapeCellText(escaped);  // the text as it reads back
  if (auto it = plain.find(key); it != plain.end()) return it->second;
  xmlNode* root = xmlDocGetRootElement(doc.get());
  xmlNode* si = xml::newElement(root, "si");
  xmlNode* t = xml::newElement(si, "t");
  xmlNodeAddContentLen(t, reinterpret_cast<const xmlChar*>(escaped.data()), static_cast<int>(escaped.size()));
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  if (!escaped.empty() && (blank(escaped.front()) || blank(escaped.back()))) xmlNodeSetSpacePreserve(t, 1);
  xmlAddChild(si, t);
  xml::insertBeforeFirst(root, si, "extLst");
  int index = static_cast<int>(texts.size());
  texts.push_back(key);
  plain.emplace(key, index);
  return index;
}

std::string SharedStrings::save() {
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (xml::attr(root, "uniqueCount")) xml::setAttr(root, "uniqueCount", std::to_string(texts.size()));
  if (std::optional<std::string> count = xml::attr(root, "count")) {
    long n = std::strtol(count->c_str(), nullptr, 10) + addedRefs;
    xml::setAttr(root, "count", std::to_string(n < 0 ? 0 : n));
    addedRefs = 0;
  }
  dirty = false;
  return xml::serialize(doc.get());
}

// ---- the workbook ----

struct WorkbookModel::Impl {
  std::string path;
  std::unique_ptr<Package> package;
  xml::DocPtr contentTypes;
  std::string workbookPart;
  xml::DocPtr workbook;
  std::string workbookRelsPart;
  xml::DocPtr workbookRels;
  std::vector<Relationship> relationships;
  SharedStrings strings;
  std::string stringsPart;
  BookState book;
  struct SheetEntry {
    std::string name;
    std::string part;  // empty for a sheet that is not a worksheet
    std::unique_ptr<WorksheetModel> model;
  };
  std::vector<SheetEntry> sheets;

  bool readXml(const std::string& part, xml::DocPtr* doc, std::string* error) {
    std::string bytes, why;
    if (!package->read(part, &bytes, &why)) {
      *error = why;
      return false;
    }
    *doc = xml::parse(bytes, &why);
    if (!*doc) *error = part + ": " + why;
    return *doc != nullptr;
  }
  bool load(std::string* error);
  xmlNode* workbookOverride(bool create);
  bool updateContentType(std::string_view savePath);
  void dropCalcChain();
  void requestRecalculation();
};

bool WorkbookModel::Impl::load(std::string* error) {
  xml::DocPtr rootRels;
  if (!readXml("[Content_Types].xml", &contentTypes, error) || !readXml("_rels/.rels", &rootRels, error))
    return false;
  for (const Relationship& r : relationshipsOf(rootRels.get(), ""))
    if (isType(r, "officeDocument")) workbookPart = r.target;
  if (workbookPart.empty()) {
    *error = "_rels/.rels: no workbook part";
    return false;
  }
  if (!readXml(workbookPart, &workbook, error)) return false;
  if (!xml::isElement(xmlDocGetRootElement(workbook.get()), "workbook")) {
    *error = workbookPart + ": not a workbook";
    return false;
  }
  workbookRelsPart = relsPartOf(workbookPart);
  if (!readXml(workbookRelsPart, &workbookRels, error)) return false;
  relationships = relationshipsOf(workbookRels.get(), workbookPart);

  for (const Relationship& r : relationships) {
    if (!isType(r, "sharedStrings")) continue;
    std::string bytes, why;
    if (!package->read(r.target, &bytes, &why) || !strings.load(bytes, &why)) {
      *error = r.target + ": " + why;
      return false;
    }
    stringsPart = r.target;
    book.strings = &strings;
  }

  xmlNode* list = xml::firstChild(xmlDocGetRootElement(workbook.get()), "sheets");
  for (xmlNode* s = xml::firstChild(list, "sheet"); s; s = xml::nextSibling(s, "sheet")) {
    std::optional<std::string> name = xml::attr(s, "name"), id = xml::relAttr(s, "id");
    if (!name || !id) {
      *error = workbookPart + ": a sheet without name or relationship";
      return false;
    }
    SheetEntry entry{*name, {}, nullptr};
    for (const Relationship& r : relationships)
      if (r.id == *id && isType(r, "worksheet")) entry.part = r.target;
    sheets.push_back(std::move(entry));
  }
  return true;
}

xmlNode* WorkbookModel::Impl::workbookOverride(bool create) {
  xmlNode* root = xmlDocGetRootElement(contentTypes.get());
  std::string wanted = platform::lowerAscii("/" + workbookPart);
  for (xmlNode* n = xml::firstChild(root, "Override"); n; n = xml::nextSibling(n, "Override"))
    if (platform::lowerAscii(xml::attr(n, "PartName").value_or("")) == wanted) return n;
  if (!create) return nullptr;
  xmlNode* n = xml::newElement(root, "Override");
  xml::setAttr(n, "PartName", "/" + workbookPart);
  xmlAddChild(root, n);
  return n;
}

// Gives the workbook part the kind the saved file's extension asks for: a
// template saved as an .xlsx must say it is an ordinary workbook, or the
// spreadsheet programs refuse the file. A kind we do not know is kept.
bool WorkbookModel::Impl::updateContentType(std::string_view savePath) {
  xmlNode* override = workbookOverride(false);
  std::string current = override ? xml::attr(override, "ContentType").value_or("") : "";
  bool macro = current == kMacroWorkbookType || current == kMacroTemplateType;
  if (override && current != kWorkbookType && current != kTemplateType && !macro) return false;
  size_t cut = savePath.find_last_of(".\\/");
  std::string ext = cut != std::string_view::npos && savePath[cut] == '.' ? platform::lowerAscii(savePath.substr(cut)) : "";
  bool asTemplate = ext == ".xltx" || ext == ".xltm" || ext == ".xlt";
  std::string wanted = asTemplate ? (macro ? kMacroTemplateType : kTemplateType)
                                  : (macro ? kMacroWorkbookType : kWorkbookType);
  if (wanted == current) return false;
  xml::setAttr(workbookOverride(true), "ContentType", wanted);
  return true;
}

// The calculation chain lists the cells that hold formulas; once a formula
// cell is overwritten it is stale, and the spreadsheet programs rebuild it
// when it is absent.
void WorkbookModel::Impl::dropCalcChain() {
  for (auto it = relationships.begin(); it != relationships.end(); ++it) {
    if (!isType(*it, "calcChain")) continue;
    package->remove(it->target);
    xml::removeNode(it->node);
    xmlNode* root = xmlDocGetRootElement(contentTypes.get());
    std::string wanted = platform::lowerAscii("/" + it->target);
    for (xmlNode* n = xml::firstChild(root, "Override"); n; n = xml::nextSibling(n, "Override")) {
      if (platform::lowerAscii(xml::attr(n, "PartName").value_or("")) == wanted) {
        xml::removeNode(n);
        break;
      }
    }
    relationships.erase(it);
    package->replace(workbookRelsPart, xml::serialize(workbookRels.get()));
    package->replace("[Content_Types].xml", xml::serialize(contentTypes.get()));
    return;
  }
}

// Formulas of a changed sheet show their last results until recalculated;
// the workbook asks for a full calculation when it is opened.
void WorkbookModel::Impl::requestRecalculation() {
  xmlNode* root = xmlDocGetRootElement(workbook.get());
  xmlNode* calc = xml::firstChild(root, "calcPr");
  if (calc && xml::attr(calc, "fullCalcOnLoad") == "1") return;
  if (!calc) {
    calc = xml::newElement(root, "calcPr");
    xml::insertAfterAny(root, calc,
                        {"fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews", "sheets",
                         "functionGroups", "externalReferences", "definedNames"});
  }
  xml::setAttr(calc, "fullCalcOnLoad", "1");
  package->replace(workbookPart, xml::serialize(workbook.get()));
}

WorkbookModel::WorkbookModel() : m(std::make_unique<Impl>()) {}
WorkbookModel::~WorkbookModel() = default;

std::unique_ptr<WorkbookModel> WorkbookModel::open(std::string_view path, std::string* error) {
  std::string shown = describePath(path);
  std::string pathText(path);
  FILE* f = platform::openFile(pathText.c_str(), "rb");
  if (!f) {
    *error = errno == ENOENT ? "找不到工作簿文件 " + shown : "无法打开工作簿文件 " + shown + ": " + errnoText(errno);
    return nullptr;
  }
  std::string bytes;
  char buf[65536];
  size_t n;
  bool tooLarge = false;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    bytes.append(buf, n);
    if (bytes.size() > static_cast<size_t>(kMaxFileSize)) {
      tooLarge = true;
      break;
    }
  }
  bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (readError || tooLarge) {
    *error = "无法读取工作簿文件 " + shown + (tooLarge ? ": 文件过大" : "");
    return nullptr;
  }
  static const char kOldBinary[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  if (bytes.compare(0, 8, kOldBinary, 8) == 0) {
    *error = "工作簿文件 " + shown + " 是旧的二进制格式 (Excel 97-2003)，不是 Office Open XML 工作簿";
    return nullptr;
  }

  std::unique_ptr<WorkbookModel> model(new WorkbookModel);
  model->m->path = pathText;
  std::string why;
  model->m->package = Package::open(std::move(bytes), &why);
  if (!model->m->package) {
    *error = "工作簿文件 " + shown + " 不是可读的 Office Open XML 工作簿 (" + why + ")";
    return nullptr;
  }
  if (!model->m->load(&why)) {
    *error = "工作簿文件 " + shown + " 已损坏: " + why;
    return nullptr;
  }
  return model;
}

const std::string& WorkbookModel::path() const { return m->path; }

std::vector<std::string> WorkbookModel::sheetNames() const {
  std::vector<std::string> names;
  for (const Impl::SheetEntry& s : m->sheets) names.push_back(s.name);
  return names;
}

WorksheetModel* WorkbookModel::sheet(std::string_view name, std::string* error) {
  Impl::SheetEntry* entry = nullptr;
  for (Impl::SheetEntry& s : m->sheets)
    if (s.name == name) entry = &s;
  if (!entry) {
    for (Impl::SheetEntry& s : m->sheets)
      if (!entry && platform::lowerAscii(s.name) == platform::lowerAscii(name)) entry = &s;
  }
  std::string shown = describePath(m->path);
  if (!entry || entry->part.empty()) {
    *error = "工作簿 " + shown + " 中没有工作表 \"" + std::string(name) + "\"";
    return nullptr;
  }
  if (!entry->model) {
    std::unique_ptr<WorksheetModel> model(new WorksheetModel);
    model->m->name = entry->name;
    model->m->part = entry->part;
    model->m->book = &m->book;
    std::string bytes, why;
    if (!m->package->read(entry->part, &bytes, &why) || !model->m->load(bytes, &why)) {
      *error = "工作簿 " + shown + " 的工作表 \"" + entry->name + "\" 已损坏: " + entry->part + ": " + why;
      return nullptr;
    }
    entry->model = std::move(model);
  }
  return entry->model.get();
}

bool WorkbookModel::saveAs(std::string_view path, std::string* error) {
  bool recalculate = false;
  for (Impl::SheetEntry& s : m->sheets) {
    if (!s.model || !s.model->m->dirty) continue;
    recalculate = recalculate || s.model->m->hasFormulas();
    m->package->replace(s.part, s.model->m->save());
  }
  if (m->strings.dirty) m->package->replace(m->stringsPart, m->strings.save());
  if (m->book.formulasDropped) {
    m->dropCalcChain();
    m->book.formulasDropped = false;
  }
  if (recalculate) m->requestRecalculation();
  if (m->updateContentType(path)) m->package->replace("[Content_Types].xml", xml::serialize(m->contentTypes.get()));

  std::string shown = describePath(path);
  std::string bytes, why;
  if (!m->package->write(&bytes, &why)) {
    *error = "无法保存工作簿 " + shown + ": " + why;
    return false;
  }
  std::string target = platform::resolvePath(path);
  // The workbook takes the file's place only once it is written whole.
  if (target.empty() || !platform::replaceFile(target.c_str(), bytes, true)) {
    *error = "无法保存工作簿 " + shown + ": " + (target.empty() ? std::string("no file name") : errnoText(errno));
    return false;
  }
  return true;
}

}  // namespace sheet
