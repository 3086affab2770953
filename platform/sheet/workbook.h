#pragma once
// The workbook object model: an Office Open XML workbook (.xlsx, .xltx, or a
// template of ours named .xlt) read into memory, its worksheets' cells set and
// read, cells merged, and the whole saved again as a package.
//
// Only what is changed is rewritten: a worksheet whose cells were set, the
// shared-string table when texts were added to it, and the package's content
// types when the file is saved under another kind (a template saved as an
// .xlsx becomes an ordinary workbook). Every other part (styles, other sheets,
// defined names, themes, pictures, ...) is copied byte for byte. In a sheet
// that is rewritten, everything but the cells set and the merged ranges stays
// as it was: column widths and styles, row heights, views, page setup.
//
// A cell keeps its style when its value is set; a cell that did not exist
// takes its row's style, else its column's, as it would when typed in, so the
// data rows of a template show the number formats and borders of its columns.
//
// Failures never throw: they return false or null with a message that names
// the file.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform_api.h"
#include "sheet/cellref.h"

namespace sheet {

struct PLATFORM_API CellValue {
  enum class Kind { Empty, Text, Number, Boolean, Error };
  Kind kind = Kind::Empty;
  std::string text;   // Text; Error: the error value ("#NUM!")
  double number = 0;  // Number; Boolean: 0 or 1

  static CellValue ofText(std::string t) { return {Kind::Text, std::move(t), 0}; }
  static CellValue ofNumber(double n) { return {Kind::Number, {}, n}; }
  static CellValue ofError(std::string e) { return {Kind::Error, std::move(e), 0}; }
  bool operator==(const CellValue&) const = default;
};

class WorksheetModel;

class PLATFORM_API WorkbookModel {
 public:
  // Reads the workbook at `path` (Windows or Linux form). On failure returns
  // null and puts a message naming the file in *error: a missing file, a file
  // that is not a zip package (or is the old binary format), a damaged
  // package, a package without a workbook.
  static std::unique_ptr<WorkbookModel> open(std::string_view path, std::string* error);
  ~WorkbookModel();
  WorkbookModel(const WorkbookModel&) = delete;
  WorkbookModel& operator=(const WorkbookModel&) = delete;

  // The path the workbook was read from, as given.
  const std::string& path() const;
  // The worksheet names in the workbook's order (chart sheets included).
  std::vector<std::string> sheetNames() const;
  // The worksheet named `name` (the exact name, else the name without regard
  // to ASCII case), read on first use. Null, with a message, when there is no
  // such worksheet or it cannot be read.
  WorksheetModel* sheet(std::string_view name, std::string* error);

  // Saves the workbook at `path`. The kind follows the extension: ".xltx",
  // ".xltm" and ".xlt" keep it a template, any other makes it an ordinary
  // workbook. The file is written in full beside its final place and then
  // takes that place, so a failed save leaves an existing file as it was.
  bool saveAs(std::string_view path, std::string* error);

 private:
  WorkbookModel();
  struct Impl;
  std::unique_ptr<Impl> m;
};

class PLATFORM_API WorksheetModel {
 public:
  ~WorksheetModel();
  WorksheetModel(const WorksheetModel&) = delete;
  WorksheetModel& operator=(const WorksheetModel&) = delete;

  const std::string& name() const;

  // Set a cell's value; false only for a cell outside the sheet. A text goes
  // into the workbook's shared-string table (inline in the cell when the
  // workbook has none); an empty text empties the cell (its style stays). A
  // number that is not finite is stored as the error value "#NUM!", as no
  // number cell can hold it. A formula the cell held is dropped.
  bool setText(CellRef cell, std::string_view text);
  bool setInteger(CellRef cell, std::int32_t value);
  bool setNumber(CellRef cell, double value);

  CellValue value(CellRef cell) const;
  // The style index that shows the cell: its own, else its row's, else its
  // column's; 0 when none.
  int styleOf(CellRef cell) const;

  // Merges a range. A merged area that the range cuts into is taken into it
  // (the range grows until it cuts none), merged areas inside it are replaced
  // by it, and every cell but the top-left one loses its value (not its
  // style). A single cell merges nothing but still counts as the last merge.
  bool merge(const CellRange& range);
  std::vector<CellRange> mergedRanges() const;
  // The range the last merge of this sheet produced.
  std::optional<CellRange> lastMerged() const;

 private:
  friend class WorkbookModel;
  WorksheetModel();
  struct Impl;
  std::unique_ptr<Impl> m;
};

}  // namespace sheet
