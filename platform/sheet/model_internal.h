#pragma once
// What the workbook and its worksheets share inside the model.

#include <libxml/tree.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sheet/cellref.h"
#include "sheet/workbook.h"
#include "sheet/xml.h"

namespace sheet {

// The shared-string table of a workbook (xl/sharedStrings.xml).
struct SharedStrings {
  xml::DocPtr doc;
  std::vector<std::string> texts;  // the text of every entry, by index
  std::unordered_map<std::string, int> plain;  // index of an entry that is plain text
  long addedRefs = 0;  // references added less references dropped, for the count
  bool dirty = false;

  bool load(std::string_view bytes, std::string* error);
  int add(std::string_view text);
  std::string save();
};

// Workbook-wide state the sheets update.
struct BookState {
  SharedStrings* strings = nullptr;  // null: the workbook has no table; texts go inline
  bool formulasDropped = false;      // a cell that held a formula was overwritten
};

// The text of a rich-text holder (<si>, <is>): its runs' texts in order,
// phonetic runs left out, escapes undone.
std::string richText(xmlNode* holder);

// The path as given, followed by the Linux path it resolves to when that
// differs ("D:\proj\x.xlsx (/home/u/.local/share/cadhost/drives/D/proj/x.xlsx)").
std::string describePath(std::string_view path);

struct WorksheetModel::Impl {
  std::string name;
  std::string part;
  BookState* book = nullptr;
  xml::DocPtr doc;
  xmlNode* root = nullptr;
  xmlNode* sheetData = nullptr;
  std::map<int, xmlNode*> rows;  // <row> by row number
  struct ColumnStyle {
    int min, max, style;
  };
  std::vector<ColumnStyle> columns;
  std::set<int> touchedRows;  // rows whose cells changed (their span hint is dropped)
  std::optional<CellRange> lastMerged;
  bool dirty = false;

  bool load(std::string_view bytes, std::string* error);
  // The sheet's XML with the cells as set; updates the used-range hint.
  std::string save();
  bool hasFormulas() const;

  xmlNode* findCell(CellRef ref) const;
  xmlNode* makeCell(CellRef ref);
  // Empties a cell for a new value: drops its value, formula and type.
  void clearCell(xmlNode* c);
  void dropSharedFormula(const std::string& group);
  void putValue(xmlNode* c, xmlNode* valueNode);
  int columnStyle(int col) const;
  xmlNode* mergeCellsNode(bool create);
};

}  // namespace sheet
