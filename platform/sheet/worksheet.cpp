// The cells of a worksheet part: <sheetData> holds <row r="N"> elements in
// row order, each holding <c r="A1" s="style" t="type"> cells in column order;
// a cell's value is its <v> (a number, a shared-string index, a boolean, an
// error) or its inline <is> text. Merged areas are <mergeCell ref="C5:Q5">
// under <mergeCells>.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "sheet/model_internal.h"

namespace sheet {
namespace {

// Elements a worksheet may hold before <mergeCells>, in their schema order.
const std::initializer_list<std::string_view> kBeforeMergeCells = {
    "sheetPr",         "dimension",       "sheetViews", "sheetFormatPr", "cols",
    "sheetData",       "sheetCalcPr",     "sheetProtection", "protectedRanges", "scenarios",
    "autoFilter",      "sortState",       "dataConsolidate", "customSheetViews"};

std::optional<long> parseLong(std::string_view s) {
  long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

bool validCell(CellRef c) { return c.row >= 1 && c.row <= kMaxRows && c.col >= 1 && c.col <= kMaxColumns; }

int columnOf(const xmlNode* c) {
  std::optional<std::string> r = xml::attr(c, "r");
  std::optional<CellRef> ref = r ? parseCellRef(*r) : std::nullopt;
  return ref ? ref->col : 0;
}

// A style index attribute ("s" of cells and rows, "style" of columns).
int styleAttr(const xmlNode* node, const char* name = "s") {
  std::optional<std::string> s = xml::attr(node, name);
  std::optional<long> v = s ? parseLong(*s) : std::nullopt;
  return v && *v > 0 && *v < (1L << 30) ? static_cast<int>(*v) : 0;
}

int rowStyle(const xmlNode* row) {
  std::optional<std::string> custom = xml::attr(row, "customFormat");
  if (!custom || (*custom != "1" && *custom != "true")) return 0;
  return styleAttr(row);
}

void addText(xmlNode* node, std::string_view text) {
  xmlNodeAddContentLen(node, reinterpret_cast<const xmlChar*>(text.data()), static_cast<int>(text.size()));
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A <t> element holding `text`, marked to keep its blanks when it starts or
// ends with one.
xmlNode* textElement(xmlNode* parent, std::string_view text) {
  xmlNode* t = xml::newElement(parent, "t");
  std::string escaped = xml::escapeCellText(text);
  addText(t, escaped);
  if (!escaped.empty() && (isBlank(escaped.front()) || isBlank(escaped.back()))) xmlNodeSetSpacePreserve(t, 1);
  return t;
}

std::string numberText(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

}  // namespace

std::string richText(xmlNode* holder) {
  std::string text;
  for (xmlNode* n = xml::firstChild(holder); n; n = xml::nextSibling(n)) {
    if (xml::isElement(n, "t")) {
      text += xml::textOf(n);
    } else if (xml::isElement(n, "r")) {
      for (xmlNode* t = xml::firstChild(n, "t"); t; t = xml::nextSibling(t, "t")) text += xml::textOf(t);
    }
  }
  return xml::unescapeCellText(text);
}

// ---- loading and saving the part ----

bool WorksheetModel::Impl::load(std::string_view bytes, std::string* error) {
  doc = xml::parse(bytes, error);
  if (!doc) return false;
  root = xmlDocGetRootElement(doc.get());
  if (!xml::isElement(root, "worksheet")) {
    *error = "not a worksheet";
    return false;
  }
  if (xmlNode* cols = xml::firstChild(root, "cols")) {
    for (xmlNode* col = xml::firstChild(cols, "col"); col; col = xml::nextSibling(col, "col")) {
      std::optional<std::string> lo = xml::attr(col, "min"), hi = xml::attr(col, "max");
      std::optional<long> min = lo ? parseLong(*lo) : std::nullopt, max = hi ? parseLong(*hi) : std::nullopt;
      if (min && max && *min >= 1 && *min <= *max && *max <= kMaxColumns)
        columns.push_back({static_cast<int>(*min), static_cast<int>(*max), styleAttr(col, "style")});
    }
  }
  sheetData = xml::firstChild(root, "sheetData");
  if (!sheetData) {
    sheetData = xml::newElement(root, "sheetData");
    xml::insertAfterAny(root, sheetData, {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols"});
  }
  // Rows and cells may leave out their number, which then follows the one
  // before; it is written out here so that inserting a row or cell keeps the
  // others where they are.
  long previousRow = 0;
  for (xmlNode* row = xml::firstChild(sheetData, "row"); row; row = xml::nextSibling(row, "row")) {
    long number = previousRow + 1;
    if (std::optional<std::string> r = xml::attr(row, "r")) {
      std::optional<long> v = parseLong(*r);
      if (!v) {
        *error = "row number \"" + *r + "\"";
        return false;
      }
      number = *v;
    } else if (number <= kMaxRows) {
      xml::setAttr(row, "r", std::to_string(number));
    }
    if (number <= previousRow || number > kMaxRows) {
      *error = "row " + std::to_string(number) + " out of order or out of the sheet";
      return false;
    }
    previousRow = number;
    rows[static_cast<int>(number)] = row;
    int previousCol = 0;
    for (xmlNode* c = xml::firstChild(row, "c"); c; c = xml::nextSibling(c, "c")) {
      int col = previousCol + 1;
      if (std::optional<std::string> r = xml::attr(c, "r")) {
        std::optional<CellRef> ref = parseCellRef(*r);
        if (!ref || ref->row != number) {
          *error = "cell \"" + *r + "\" in row " + std::to_string(number);
          return false;
        }
        col = ref->col;
      } else if (col <= kMaxColumns) {
        xml::setAttr(c, "r", cellName({static_cast<int>(number), col}));
      }
      if (col <= previousCol || col > kMaxColumns) {
        *error = "cells out of order in row " + std::to_string(number);
        return false;
      }
      previousCol = col;
    }
  }
  return true;
}

std::string WorksheetModel::Impl::save() {
  // The used-range hint covers every cell.
  int minRow = 0, maxRow = 0, minCol = 0, maxCol = 0;
  for (const auto& [number, row] : rows) {
    for (xmlNode* c = xml::firstChild(row, "c"); c; c = xml::nextSibling(c, "c")) {
      int col = columnOf(c);
      if (minRow == 0) minRow = number;
      maxRow = number;
      if (minCol == 0 || col < minCol) minCol = col;
      if (col > maxCol) maxCol = col;
    }
  }
  std::string used = minRow ? rangeName(CellRange{{minRow, minCol}, {maxRow, maxCol}}) : "A1";
  xmlNode* dimension = xml::firstChild(root, "dimension");
  if (!dimension) {
    dimension = xml::newElement(root, "dimension");
    xml::insertAfterAny(root, dimension, {"sheetPr"});
  }
  xml::setAttr(dimension, "ref", used);
  // A changed row's span hint may no longer hold; it is optional.
  for (int number : touchedRows)
    if (auto it = rows.find(number); it != rows.end()) xml::removeAttr(it->second, "spans");
  touchedRows.clear();
  dirty = false;
  return xml::serialize(doc.get());
}

bool WorksheetModel::Impl::hasFormulas() const {
  for (const auto& [number, row] : rows)
    for (xmlNode* c = xml::firstChild(row, "c"); c; c = xml::nextSibling(c, "c"))
      if (xml::firstChild(c, "f")) return true;
  return false;
}

// ---- cells ----

int WorksheetModel::Impl::columnStyle(int col) const {
  for (const ColumnStyle& cs : columns)
    if (col >= cs.min && col <= cs.max) return cs.style;
  return 0;
}

xmlNode* WorksheetModel::Impl::findCell(CellRef ref) const {
  auto it = rows.find(ref.row);
  if (it == rows.end()) return nullptr;
  for (xmlNode* c = xml::firstChild(it->second, "c"); c; c = xml::nextSibling(c, "c")) {
    int col = columnOf(c);
    if (col == ref.col) return c;
    if (col > ref.col) break;
  }
  return nullptr;
}

xmlNode* WorksheetModel::Impl::makeCell(CellRef ref) {
  xmlNode* row;
  auto it = rows.lower_bound(ref.row);
  if (it != rows.end() && it->first == ref.row) {
    row = it->second;
  } else {
    row = xml::newElement(sheetData, "row");
    xml::setAttr(row, "r", std::to_string(ref.row));
    if (it != rows.end())
      xmlAddPrevSibling(it->second, row);
    else
      xmlAddChild(sheetData, row);
    rows[ref.row] = row;
  }
  touchedRows.insert(ref.row);

  xmlNode* before = nullptr;
  for (xmlNode* n = xml::firstChild(row); n; n = xml::nextSibling(n)) {
    if (!xml::isElement(n, "c")) {  // the row's extension list comes after its cells
      before = n;
      break;
    }
    int col = columnOf(n);
    if (col == ref.col) return n;
    if (col > ref.col) {
      before = n;
      break;
    }
  }
  xmlNode* c = xml::newElement(row, "c");
  xml::setAttr(c, "r", cellName(ref));
  int style = rowStyle(row);
  if (style == 0) style = columnStyle(ref.col);
  if (style > 0) xml::setAttr(c, "s", std::to_string(style));
  if (before)
    xmlAddPrevSibling(before, c);
  else
    xmlAddChild(row, c);
  return c;
}

void WorksheetModel::Impl::dropSharedFormula(const std::string& group) {
  // The cells that shared the formula of a cell that was overwritten keep
  // their last values; the formula text lived in that cell only.
  for (const auto& [number, row] : rows) {
    for (xmlNode* c = xml::firstChild(row, "c"); c; c = xml::nextSibling(c, "c")) {
      xmlNode* f = xml::firstChild(c, "f");
      if (f && xml::attr(f, "t") == "shared" && xml::attr(f, "si") == group) {
        xml::removeNode(f);
        touchedRows.insert(number);
      }
    }
  }
}

void WorksheetModel::Impl::clearCell(xmlNode* c) {
  if (xml::attr(c, "t") == "s" && book->strings) {
    --book->strings->addedRefs;
    book->strings->dirty = true;
  }
  std::optional<std::string> sharedGroup;
  for (xmlNode* n = xml::firstChild(c); n;) {
    xmlNode* next = xml::nextSibling(n);
    if (xml::isElement(n, "f")) {
      book->formulasDropped = true;
      if (xml::attr(n, "t") == "shared" && xml::attr(n, "ref")) sharedGroup = xml::attr(n, "si");
      xml::removeNode(n);
    } else if (xml::isElement(n, "v") || xml::isElement(n, "is")) {
      xml::removeNode(n);
    }
    n = next;
  }
  for (const char* a : {"t", "cm", "vm", "ph"}) xml::removeAttr(c, a);
  if (sharedGroup) dropSharedFormula(*sharedGroup);
  dirty = true;
}

void WorksheetModel::Impl::putValue(xmlNode* c, xmlNode* valueNode) { xml::insertBeforeFirst(c, valueNode, "extLst"); }

WorksheetModel::WorksheetModel() : m(std::make_unique<Impl>()) {}
WorksheetModel::~WorksheetModel() = default;

const std::string& WorksheetModel::name() const { return m->name; }

bool WorksheetModel::setText(CellRef ref, std::string_view text) {
  if (!validCell(ref)) return false;
  xmlNode* c = m->makeCell(ref);
  m->clearCell(c);
  if (text.empty()) return true;
  if (SharedStrings* strings = m->book->strings) {
    xml::setAttr(c, "t", "s");
    xmlNode* v = xml::newElement(c, "v");
    addText(v, std::to_string(strings->add(text)));
    m->putValue(c, v);
  } else {
    xml::setAttr(c, "t", "inlineStr");
    xmlNode* is = xml::newElement(c, "is");
    xmlAddChild(is, textElement(is, text));
    m->putValue(c, is);
  }
  return true;
}

bool WorksheetModel::setInteger(CellRef ref, std::int32_t value) {
  if (!validCell(ref)) return false;
  xmlNode* c = m->makeCell(ref);
  m->clearCell(c);
  xmlNode* v = xml::newElement(c, "v");
  addText(v, std::to_string(value));
  m->putValue(c, v);
  return true;
}

bool WorksheetModel::setNumber(CellRef ref, double value) {
  if (!validCell(ref)) return false;
  xmlNode* c = m->makeCell(ref);
  m->clearCell(c);
  xmlNode* v = xml::newElement(c, "v");
  if (std::isfinite(value)) {
    addText(v, numberText(value));
  } else {
    xml::setAttr(c, "t", "e");
    addText(v, "#NUM!");
  }
  m->putValue(c, v);
  return true;
}

CellValue WorksheetModel::value(CellRef ref) const {
  xmlNode* c = m->findCell(ref);
  if (!c) return {};
  std::string type = xml::attr(c, "t").value_or("n");
  if (type == "inlineStr") {
    xmlNode* is = xml::firstChild(c, "is");
    return is ? CellValue::ofText(richText(is)) : CellValue{};
  }
  xmlNode* v = xml::firstChild(c, "v");
  if (!v) return {};
  std::string text = xml::textOf(v);
  if (type == "s") {
    std::optional<long> index = parseLong(text);
    const SharedStrings* strings = m->book->strings;
    if (!index || !strings || *index < 0 || static_cast<size_t>(*index) >= strings->texts.size()) return {};
    return CellValue::ofText(strings->texts[static_cast<size_t>(*index)]);
  }
  if (type == "str") return CellValue::ofText(xml::unescapeCellText(text));
  if (type == "d") return CellValue::ofText(text);
  if (type == "e") return CellValue::ofError(text);
  if (type == "b") return CellValue{CellValue::Kind::Boolean, {}, text == "1" || text == "true" ? 1.0 : 0.0};
  double number = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && isBlank(*begin)) ++begin;
  while (end > begin && isBlank(end[-1])) --end;
  auto [stop, ec] = std::from_chars(begin, end, number);
  if (ec != std::errc() || stop != end) return {};
  return CellValue::ofNumber(number);
}

int WorksheetModel::styleOf(CellRef ref) const {
  if (xmlNode* c = m->findCell(ref); c && xml::attr(c, "s")) return styleAttr(c);
  if (auto it = m->rows.find(ref.row); it != m->rows.end())
    if (int s = rowStyle(it->second)) return s;
  return m->columnStyle(ref.col);
}

// ---- merged areas ----

xmlNode* WorksheetModel::Impl::mergeCellsNode(bool create) {
  xmlNode* node = xml::firstChild(root, "mergeCells");
  if (!node && create) {
    node = xml::newElement(root, "mergeCells");
    xml::insertAfterAny(root, node, kBeforeMergeCells);
  }
  return node;
}

bool WorksheetModel::merge(const CellRange& in) {
  if (!validCell(in.first) || !validCell(in.last)) return false;
  CellRange range = spanOf(in.first, in.last);

  struct Merged {
    xmlNode* node;
    CellRange range;
  };
  std::vector<Merged> merged;
  if (xmlNode* list = m->mergeCellsNode(false)) {
    for (xmlNode* n = xml::firstChild(list, "mergeCell"); n; n = xml::nextSibling(n, "mergeCell")) {
      std::optional<std::string> ref = xml::attr(n, "ref");
      if (std::optional<CellRange> r = ref ? parseRange(*ref) : std::nullopt) merged.push_back({n, *r});
    }
  }
  // Grow over the merged areas the range cuts into; then those inside it go.
  for (bool grown = true; grown;) {
    grown = false;
    for (const Merged& e : merged) {
      if (range.overlaps(e.range) && !range.contains(e.range)) {
        range = spanOf({std::min(range.first.row, e.range.first.row), std::min(range.first.col, e.range.first.col)},
                       {std::max(range.last.row, e.range.last.row), std::max(range.last.col, e.range.last.col)});
        grown = true;
      }
    }
  }
  for (const Merged& e : merged)
    if (range.contains(e.range)) xml::removeNode(e.node);

  if (!range.isSingleCell()) {
    xmlNode* list = m->mergeCellsNode(true);
    xmlNode* n = xml::newElement(list, "mergeCell");
    xml::setAttr(n, "ref", rangeName(range));
    xmlAddChild(list, n);
  }
  if (xmlNode* list = m->mergeCellsNode(false)) {
    int count = 0;
    for (xmlNode* n = xml::firstChild(list, "mergeCell"); n; n = xml::nextSibling(n, "mergeCell")) ++count;
    if (count == 0)
      xml::removeNode(list);  // an empty list is not allowed
    else
      xml::setAttr(list, "count", std::to_string(count));
  }

  // Only the top-left cell of a merged area shows a value.
  for (auto it = m->rows.lower_bound(range.first.row); it != m->rows.end() && it->first <= range.last.row; ++it) {
    for (xmlNode* c = xml::firstChild(it->second, "c"); c; c = xml::nextSibling(c, "c")) {
      CellRef ref{it->first, columnOf(c)};
      if (range.contains(ref) && !(ref == range.first) &&
          (xml::firstChild(c, "v") || xml::firstChild(c, "is") || xml::firstChild(c, "f"))) {
        m->clearCell(c);
        m->touchedRows.insert(it->first);
      }
    }
  }
  m->lastMerged = range;
  m->dirty = true;
  return true;
}

std::vector<CellRange> WorksheetModel::mergedRanges() const {
  std::vector<CellRange> out;
  if (xmlNode* list = m->mergeCellsNode(false)) {
    for (xmlNode* n = xml::firstChild(list, "mergeCell"); n; n = xml::nextSibling(n, "mergeCell")) {
      std::optional<std::string> ref = xml::attr(n, "ref");
      if (std::optional<CellRange> r = ref ? parseRange(*ref) : std::nullopt) out.push_back(*r);
    }
  }
  return out;
}

std::optional<CellRange> WorksheetModel::lastMerged() const { return m->lastMerged; }

}  // namespace sheet
