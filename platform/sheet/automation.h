#pragma once
// The spreadsheet application as the modules drive it through automation:
// an application object, its workbook collection, a workbook made from a
// template, its worksheet collection, a worksheet and a range of cells. Each
// is a handle, cheap to copy, that a module may keep in a global for the
// length of a run and release at its end; handles share what they point at.
//
// Typical run (the roadbed quantity sheet):
//
//   sheet::Application app;
//   app.Start();
//   sheet::Workbooks books = app.GetWorkbooks();
//   sheet::Workbook book = books.Add("D:\\suite\\lib\\路基数量表.xlt");
//   sheet::Worksheets sheets = book.GetWorksheets();
//   sheet::Worksheet ws = sheets.GetItem("路基数量表");
//   ws.GetCell(3, 1).SetValue("DK0+000");       // text
//   ws.GetCell(3, 5).SetValue(1234);            // 32-bit integer
//   ws.GetCell(3, 3).SetValue(12.5);            // double
//   sheet::Range r = ws.GetRange("c4", "Q4");
//   r.Merge();
//   app.HandToUser("D:\\proj\\data\\路基数量表.方案一.xlsx");   // or app.Quit()
//
// Nothing is shown on a screen: leaving the application to the user
// (`HandToUser`) saves the workbook as an .xlsx where the caller says and
// tells on the transcript where it is; `Quit` closes it without saving.
// The roadbed quantity sheet goes beside the scheme's other result files, as
// "<project>\data\路基数量表.<scheme>.xlsx": named after its template, with the
// scheme in the name so that the schemes of one project keep their own sheet.
//
// A call that cannot be done (a template that is missing or not a workbook, a
// sheet that is not there, a save that fails) puts one message naming the
// file on the transcript and gives back an empty handle or false; calls on an
// empty or released handle do nothing. Nothing throws.

#include <memory>
#include <string>

#include "platform_api.h"
#include "sheet/cellref.h"
#include "sheet/workbook.h"

namespace sheet {

namespace detail {
struct App;
struct Book;
}  // namespace detail

class PLATFORM_API Range {
 public:
  Range() = default;
  bool IsValid() const;
  // Sets every cell of the range: a text (null or "" empties the cells), a
  // 32-bit integer, or a double.
  bool SetValue(const char* text);
  bool SetValue(int value);
  bool SetValue(double value);
  // The value of the range's top-left cell.
  CellValue GetValue() const;
  // Merges the range's cells (see WorksheetModel::merge).
  bool Merge();
  // "C5:Q5", or "C5" for one cell; "" for an empty handle.
  std::string GetAddress() const;
  void Release();

 private:
  friend class Worksheet;
  WorksheetModel* sheet() const;
  std::shared_ptr<detail::Book> m_book;
  WorksheetModel* m_sheet = nullptr;
  CellRange m_range{};
};

class PLATFORM_API Worksheet {
 public:
  Worksheet() = default;
  bool IsValid() const;
  std::string GetName() const;
  // A range by address: "C5", "C5:Q5", or two corners ("c5", "Q5").
  Range GetRange(const char* address) const;
  Range GetRange(const char* from, const char* to) const;
  // One cell by row and column, both from 1.
  Range GetCell(int row, int col) const;
  // The range the last merge on this sheet produced (empty handle when none).
  Range GetLastMerged() const;
  void Release();

 private:
  friend class Worksheets;
  WorksheetModel* sheet() const;
  Range rangeOf(const CellRange& r) const;
  std::shared_ptr<detail::Book> m_book;
  WorksheetModel* m_sheet = nullptr;
};

class PLATFORM_API Worksheets {
 public:
  Worksheets() = default;
  bool IsValid() const;
  int GetCount() const;
  // The worksheet of that name; an empty handle and a message when the
  // workbook has none.
  Worksheet GetItem(const char* name) const;
  void Release();

 private:
  friend class Workbook;
  std::shared_ptr<detail::Book> m_book;
};

class PLATFORM_API Workbook {
 public:
  Workbook() = default;
  bool IsValid() const;
  // The template's file name without folder and extension ("路基数量表").
  std::string GetName() const;
  Worksheets GetWorksheets() const;
  // Saves the workbook at `path` (an .xlsx unless the extension says a
  // template); false and a message naming the file when it cannot be saved,
  // an existing file then staying as it was.
  bool SaveAs(const char* path);
  // Closes the workbook without saving; every handle into it goes empty.
  void Close();
  void Release();

 private:
  friend class Workbooks;
  friend class Application;
  std::shared_ptr<detail::Book> m_book;
};

class PLATFORM_API Workbooks {
 public:
  Workbooks() = default;
  bool IsValid() const;
  int GetCount() const;
  // A new workbook made from the template at `templatePath` (Windows or
  // Linux form); the template itself is only read. An empty handle and a
  // message naming the file when it cannot be read.
  Workbook Add(const char* templatePath);
  void Release();

 private:
  friend class Application;
  std::shared_ptr<detail::App> m_app;
};

class PLATFORM_API Application {
 public:
  Application() = default;
  // Starts the application (with no workbook open); true when it runs.
  // Starting one that runs changes nothing.
  bool Start();
  bool IsValid() const;
  Workbooks GetWorkbooks() const;
  // Leaves the application to the user: the active workbook (the one added
  // last and still open) is saved at `path` and the transcript says where;
  // then the run with it is over and every handle goes empty. False, with a
  // message, when there is no workbook or the save fails.
  bool HandToUser(const char* path);
  // Closes every workbook without saving and ends the application.
  void Quit();
  void Release();

 private:
  std::shared_ptr<detail::App> m_app;
};

}  // namespace sheet
