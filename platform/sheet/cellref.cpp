#include "sheet/cellref.h"

#include <algorithm>

namespace sheet {

std::optional<CellRef> parseCellRef(std::string_view a1) {
  size_t i = 0;
  if (i < a1.size() && a1[i] == '$') ++i;
  long col = 0;
  size_t letters = 0;
  for (; i < a1.size(); ++i, ++letters) {
    char c = a1[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    if (letters == 3) return std::nullopt;  // more letters than "XFD" has
    col = col * 26 + (c - 'A' + 1);
  }
  if (letters == 0 || col > kMaxColumns) return std::nullopt;
  if (i < a1.size() && a1[i] == '$') ++i;
  if (i >= a1.size() || a1[i] == '0') return std::nullopt;  // no row, or a leading zero
  long row = 0;
  for (; i < a1.size(); ++i) {
    char c = a1[i];
    if (c < '0' || c > '9') return std::nullopt;
    row = row * 10 + (c - '0');
    if (row > kMaxRows) return std::nullopt;
  }
  return CellRef{static_cast<int>(row), static_cast<int>(col)};
}

CellRange spanOf(CellRef a, CellRef b) {
  return CellRange{{std::min(a.row, b.row), std::min(a.col, b.col)},
                   {std::max(a.row, b.row), std::max(a.col, b.col)}};
}

std::optional<CellRange> parseRange(std::string_view a1) {
  size_t colon = a1.find(':');
  std::optional<CellRef> a = parseCellRef(a1.substr(0, colon));
  if (!a) return std::nullopt;
  if (colon == std::string_view::npos) return CellRange{*a, *a};
  std::optional<CellRef> b = parseCellRef(a1.substr(colon + 1));
  if (!b) return std::nullopt;
  return spanOf(*a, *b);
}

std::string columnName(int col) {
  if (col < 1 || col > kMaxColumns) return {};
  std::string name;
  while (col > 0) {
    int digit = (col - 1) % 26;
    name.insert(name.begin(), static_cast<char>('A' + digit));
    col = (col - 1) / 26;
  }
  return name;
}

std::string cellName(CellRef c) { return columnName(c.col) + std::to_string(c.row); }

std::string rangeName(const CellRange& r) {
  if (r.isSingleCell()) return cellName(r.first);
  return cellName(r.first) + ":" + cellName(r.last);
}

}  // namespace sheet
