#pragma once
// The navigator's table editor (template 8001): one table of a scheme
// database in the station grid 8003. It loads the whole table ordered by ID
// with the coded columns shown with their meaning (a station table's
// 车站类型 column is not shown; its values are kept and written back), adds
// the number of rows of edit 235 (1 to 100000) at the focus row (8011),
// deletes the selected rows (8021), saves by emptying the table and appending
// every grid row that holds text, in one transaction (3), and closes (4, or
// the window's close). It works on the database it was opened with; the
// preview 230 shows the flag block of a station row. Enter and Esc never
// close it: they go to the grid or its cell editor.
//
// A cell of a numeric column takes only a number (its edit is refused
// otherwise); a cell not edited is saved with the value it was loaded with.
// An editor with unsaved changes (an edited cell, rows added or deleted since
// the load or the last save) never closes without asking
// "<table>已修改，是否保存？": 是 saves (a save that fails keeps it open), 否
// drops the changes, 取消 keeps it open.

#include "StationGridCtrl.h"
#include "controls/DwgThumbnail.h"
#include "controls/IconButton.h"
#include "controls/TableStore.h"
#include "controls/cdxCSizingDialog.h"
#include "resources/QuorraResources.h"

class CTableEditorDlg : public cdxCSizingDialog {
 public:
  enum { IDD = IDD_TABLE_EDITOR };
  CTableEditorDlg(const CString& table, const CString& databasePath, CWnd* parent = nullptr);
  ~CTableEditorDlg() override;

  const CString& TableName() const { return m_strTableName; }
  const CString& DatabasePath() const { return m_store.DatabasePath(); }
  CStationGridCtrl& Grid() { return m_grid; }
  CDwgThumbnail* Preview() { return m_preview.GetSafeHwnd() ? &m_preview : nullptr; }
  int RowsToAdd() const { return m_nRowsToAdd; }

  // Whether the editor has changes not saved.
  bool HasChanges() const { return m_grid.HasChanges(); }
  // Whether the editor may close now (ConfirmEditorClose): at once without
  // changes; with changes by the question (取消 offered when `mayStay`): 是
  // saves (false when the save fails or leaves rows unwritten), 否 drops
  // them, 取消 keeps the editor. An edit whose text is refused keeps it too;
  // at unload (`mayStay` false) that edit is dropped and the editor closes.
  bool ConfirmClose(bool mayStay);
  // Closes the editor as its close button does, asking first when it has
  // changes; whether it closed.
  bool CloseEditor();
  // Writes the grid to the table; TRUE when the table now holds it.
  BOOL SaveTable();
  // Destroys the window (and with it the editor) without the close's focus
  // change: at unload.
  void DestroyEditor();

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void PostNcDestroy() override;
  afx_msg void OnAddRows();
  afx_msg void OnDeleteRows();
  afx_msg void OnSave();
  afx_msg void OnCloseButton();

 private:
  // Loads the table into the grid.
  void LoadTable();
  // Puts the window at the top left of the drawing view.
  void PlaceOverDrawing();
  void SetUpButton(CIconButton& button, UINT icon, const char* caption);

  CDwgThumbnail m_preview;
  CStationGridCtrl m_grid;
  CString m_strWork1, m_strWork2;
  CString m_strTableName;
  CTableStore m_store;
  CIconButton m_btnSpare, m_btnDelete, m_btnAdd, m_btnSave, m_btnClose;
  int m_nRowsToAdd = 1;

  DECLARE_MESSAGE_MAP()
};
