#pragma once
// Cell addresses of a worksheet in the A1 style: a column of letters ("A" to
// "XFD", upper or lower case, "c" is "C") followed by a row number ("C5");
// '$' marks of absolute references are accepted and ignored ("$C$5"). Rows and
// columns count from 1.

#include <optional>
#include <string>
#include <string_view>

#include "platform_api.h"

namespace sheet {

constexpr int kMaxRows = 1048576;  // rows of a worksheet
constexpr int kMaxColumns = 16384;  // columns ("XFD")

struct CellRef {
  int row = 1;
  int col = 1;
  bool operator==(const CellRef&) const = default;
};

// A rectangle of cells, `first` its top-left and `last` its bottom-right cell.
struct CellRange {
  CellRef first;
  CellRef last;
  bool operator==(const CellRange&) const = default;

  bool contains(CellRef c) const {
    return c.row >= first.row && c.row <= last.row && c.col >= first.col && c.col <= last.col;
  }
  bool contains(const CellRange& r) const { return contains(r.first) && contains(r.last); }
  bool overlaps(const CellRange& r) const {
    return r.first.row <= last.row && r.last.row >= first.row && r.first.col <= last.col &&
           r.last.col >= first.col;
  }
  bool isSingleCell() const { return first == last; }
  long long cellCount() const {
    return static_cast<long long>(last.row - first.row + 1) * (last.col - first.col + 1);
  }
};

// "C5" → {5, 3}; nullopt for anything that is not one cell of a worksheet.
PLATFORM_API std::optional<CellRef> parseCellRef(std::string_view a1);
// "C5:Q5", or one cell "C5"; the corners may be given in any order, the range
// comes back with `first` top-left.
PLATFORM_API std::optional<CellRange> parseRange(std::string_view a1);
// The range spanned by two cells, corners in any order.
PLATFORM_API CellRange spanOf(CellRef a, CellRef b);
// Column letters: 1 → "A", 27 → "AA" ("" outside 1..kMaxColumns).
PLATFORM_API std::string columnName(int col);
// "C5"; a range "C5:Q5", or "C5" for a single cell.
PLATFORM_API std::string cellName(CellRef c);
PLATFORM_API std::string rangeName(const CellRange& r);

}  // namespace sheet
