#pragma once
// CTableStore: how a table editor reads its table into its grid and writes
// the grid back. It keeps the database path the editor was opened with, so
// that the editor always works on that scheme whatever is made current
// later, and the table's name; a connection and a recordset are open only
// during a load or a save.
//
// Load: "select * from <table> order by ID", the grid laid out with the field
// names as headers ("行号" in the corner, the ID field's place holding the
// row numbers "%d\n"), each value as text through the build's display hook,
// "NULL" and empty values as empty cells; a station table's hidden column
// removed with its values kept per row; every cell sized to its content; each
// column taking from the user no more characters than its field stores (a
// text field its size, cutting a longer text; a number field as many as a
// number may have (CellNumber.h), refusing a longer text whole; a memo any).
// The store keeps every value as read and the text shown for it, each grid
// row keyed by its record, and tells the grid which fields hold numbers.
//
// Save: in one transaction, "delete from <table>" and one appended record per
// grid row that holds text (or a loaded value shown empty), in grid order:
// grid column j goes to the field of the same index (one further from the
// hidden column on), an empty cell not written (its field keeps its
// default). A cell that still shows the text it was loaded with is written
// with the value it was loaded with, exactly (the display may have cut its
// decimals, or shown a code outside its list as empty); a cell the user
// emptied is not written; an edited cell takes its text, coded
// texts back to their codes, in a numeric field the number it reads as; the
// hidden column's value as it was loaded. A cell of a numeric field whose
// text is no number (CellNumber.h) stops the save before anything is
// written, and a value the database cannot take ends it, both with a message
// naming the row and the column: the table keeps its old rows. A row that
// cannot be added is, by the save's policy, either skipped and reported with
// its grid row number ("%d") while the rest is saved, or the end of the
// save. Whatever fails otherwise (the delete, the commit) leaves the table as
// it was, with a message naming the table. A save that writes the grid clears
// the grid's changes.

#include <functional>
#include <vector>

#include "ado/AdoWrapper.h"
#include "controls/TableGridCtrl.h"

// How a value read from a field is shown: (table, field name, value as text)
// → the cell's text. "NULL" and empty results show as empty cells.
using TableCellDisplay = std::function<CString(const CString& table, const CString& field, const CString& value)>;

// The display both builds share: the coded fields of TableCodes.h with their
// meaning, every other value as it stands.
CString CodedCellDisplay(EditorBuild build, const CString& table, const CString& field, const CString& value);

struct TableLoadOptions {
  EditorBuild build = ThisEditorBuild();
  // Null: CodedCellDisplay of the build.
  TableCellDisplay display;
};

struct TableSaveOptions {
  EditorBuild build = ThisEditorBuild();
  // A row that cannot be added: skipped and reported with its grid row
  // number, the rest saved (true); or nothing saved (false).
  bool skipFailedRows = true;
};

// What an editor with unsaved changes does when it would close.
enum class CloseAnswer {
  Save,     // 是: save, then close
  Discard,  // 否: close without saving
  Stay,     // 取消: stay open with the changes
};
// Asks "<table>已修改，是否保存？" with 是, 否 and, when `mayStay`, 取消
// (default 是).
CloseAnswer AskToSaveChanges(const CString& table, bool mayStay);
// Whether an editor of `table` over `grid` with a loaded table may close
// now, `save` writing its grid (true only when the table then holds every
// row of the grid). The edit in progress ends first; without changes the
// editor closes at once, with changes by the question.
// When the editor may stay (`mayStay`): an edit whose text is refused keeps
// the editor open on it; 是 closes only when `save` succeeds; 取消 stays.
// When it cannot (unload): a refused edit is dropped as Esc drops it, so that
// the other changes can be saved; when the save of 是 fails, the transcript
// says that the changes were not saved. The editor closes.
bool ConfirmEditorClose(CTableGridCtrl& grid, const CString& table, bool mayStay, const std::function<bool()>& save);

class CTableStore {
 public:
  CTableStore() = default;
  CTableStore(const CString& table, const CString& databasePath) : m_table(table), m_databasePath(databasePath) {}
  // A store holds its open connection and recordset: it is neither copied
  // nor moved.
  CTableStore(const CTableStore&) = delete;
  CTableStore& operator=(const CTableStore&) = delete;
  virtual ~CTableStore() = default;

  void SetTable(const CString& table) { m_table = table; }
  const CString& Table() const { return m_table; }
  // "<project>\data\<scheme>.mdb" the editor works on.
  void SetDatabasePath(const CString& path) { m_databasePath = path; }
  const CString& DatabasePath() const { return m_databasePath; }

  // Connects to the database and opens "select * from <table> order by ID".
  // Messages: "连接数据库失败!" when the connection cannot be opened,
  // "数据库没有打开或已经关闭!" when it is not usable, "connectDBS Failed!"
  // (command-line alert) when the select fails. TRUE when the recordset is open.
  BOOL OpenTable();
  // Closes the recordset and the connection.
  void CloseTable();

  // Loads the table into `grid` (which gets the table's name). FALSE, with
  // the grid left as it was, when the table cannot be opened. A walk of the
  // records that ends before the count the table gave keeps the rows read,
  // with a message, and leaves the store unloaded.
  BOOL Load(CTableGridCtrl& grid, const TableLoadOptions& options = {});
  // Whether the last load read the whole table (a save is refused otherwise).
  bool Loaded() const { return m_loaded; }
  // Writes `grid` to the table (see above). TRUE when the table now holds the
  // grid's rows (less the rows reported as failed).
  BOOL Save(CTableGridCtrl& grid, const TableSaveOptions& options = {});
  // The grid rows the last save could not add (in grid order).
  const std::vector<int>& FailedRows() const { return m_failedRows; }
  // Whether field `field` of the loaded table holds numbers.
  bool IsNumericField(long field) const;

  CAdoConnection m_connection;
  CAdoRecordSet m_recordset;
  CString m_sql;

 protected:
  // The open recordset's record count (0 when it cannot be counted).
  virtual long RecordCount() { return m_recordset.GetRecordCount(); }

 private:
  // A cell of the grid, for the messages.
  struct GridCell {
    int row = -1, col = -1;
  };
  // The value cell (row, col) writes into field `field`: false when it
  // writes nothing (an empty cell, a value loaded empty), with `refused`
  // set when its text is no number and the field holds numbers.
  bool CellValue(const CTableGridCtrl& grid, const TableSaveOptions& options, int row, int col, long field,
                 _variant_t& value, bool& refused) const;
  // Whether grid row `row` is written: it shows text, or it is a loaded row
  // with a value shown empty that the save keeps.
  bool RowIsWritten(const CTableGridCtrl& grid, const TableSaveOptions& options, int row) const;
  // The first cell of a row to be written whose text its field cannot take;
  // row -1 when there is none.
  GridCell FirstRefusedCell(const CTableGridCtrl& grid, const TableSaveOptions& options) const;
  // "第 <r> 行“<column>”列的“<text>”" of a cell.
  static CString CellName(const CTableGridCtrl& grid, const GridCell& cell);
  // One attempt of the save inside a transaction: the delete and the rows
  // not in `skip`. Rows that failed are added to `failed`. FALSE when the
  // transaction could not be begun, the delete failed, or a value could not
  // be put (that cell goes to `refused`; the transaction is left open for
  // the caller to roll back).
  BOOL WriteRows(CTableGridCtrl& grid, const TableSaveOptions& options, const std::vector<int>& skip,
                 std::vector<int>& failed, GridCell& refused);
  // The save, once the grid is known to hold only values its fields take.
  BOOL WriteGrid(CTableGridCtrl& grid, const TableSaveOptions& options);
  void ReportSaveFailure(const CString& reason);
  // After a save that wrote the whole grid: each edited cell of a loaded row
  // is taken as loaded with what was written for it.
  void RememberSavedCells(CTableGridCtrl& grid, const TableSaveOptions& options);

  CString m_table;
  CString m_databasePath;
  std::vector<int> m_failedRows;
  bool m_loaded = false;
  // The last load: per field whether it holds numbers; per record (by row
  // key - 1) every field's value as read and the text shown for it.
  std::vector<bool> m_numericFields;
  std::vector<std::vector<_variant_t>> m_loadedValues;
  std::vector<std::vector<CString>> m_loadedTexts;
};

// A table editor's key pre-translation: Enter and Esc are sent to the window
// that has them (the grid or its in-place editor) and never close the
// dialog. TRUE when the message was taken.
BOOL DispatchEditorDialogKey(MSG* msg);
