#pragma once
// CTableEditorDlg: the plan module's modeless editor of one table of the
// scheme database (template 2251), opened from the project tree. The grid
// shows the table by the plan's display rules (PlanCellText.h); the
// eighteen structure tables can be edited, saved and redrawn, the curve and
// chainage-break tables only viewed (添加, 删除, 保存 and 刷新图形 disabled).
//
//   添加 (2011)             adds the number of rows in edit 255 at the focus row
//   删除 (2021)             deletes the selected rows
//   保存 (3)                writes the grid back: the table's rows deleted and
//                           appended again in grid order, in one transaction (a
//                           failure keeps the old rows, with a message); before,
//                           the base line's bench marks and traverse are
//                           worked out (SaveCompletion.h)
//   不存入数据库退出 (4)    closes the editor, dropping any changes
//   刷新图形 (232)          saves, then sends the table's IN* command to the
//                           command line; it runs after this handler returns.
//                           The redraw reads the plan's current database, so
//                           it is refused (after the save) when that is no
//                           longer the one the editor loaded from
//   从文件导入导线数据 (252) 导线表 only: a traverse file's stations as rows
//   跟踪显示 (235)          while ticked, a click on a row zooms the drawing to it
//
// The editor saves into the scheme database it loaded from, whatever the
// plan's settings make current later. A table that did not load whole is
// never saved (保存, 添加 and 刷新图形 disabled).
//
// The station tables' 起点里程冠号 (column 4 of 车站, 5 of the detour station
// tables) is not shown; its values are kept with their rows and saved back.
// Enter and Esc go to the grid and never close the editor.
//
// Numbers are shown cut to 3 or 4 decimals, but a cell the user did not edit
// is saved with the value it was loaded with; a cell of a numeric column
// takes only a number (its edit is refused otherwise). An editor with
// unsaved changes (an edited cell, rows added or deleted, an import, since
// the load or the last save) is not closed by its window's close, nor
// replaced by the tree, nor dropped at unload without the question
// "<table>已修改，是否保存？" (ConfirmClose).

#include "StationGridCtrl.h"
#include "controls/DwgThumbnail.h"
#include "controls/IconButton.h"
#include "controls/TableStore.h"
#include "controls/cdxCSizingDialog.h"
#include "geometry/BAS_DRAW_FUN.h"

class CTableEditorDlg : public cdxCSizingDialog, public BAS_DRAW_FUN {
 public:
  CTableEditorDlg(const CString& tableName, CWnd* parent = nullptr);
  ~CTableEditorDlg() override;

  const CString& TableName() const { return m_strTableName; }
  // True for the eighteen structure tables; the others are only viewed.
  bool IsStructureTable() const;
  // The table's redraw command ("INBMBR\n" ...), empty for the viewed tables.
  CString RedrawCommand() const;

  CDwgThumbnail* Preview() { return m_preview.GetSafeHwnd() ? &m_preview : nullptr; }
  CStationGridCtrl& Grid() { return m_grid; }

  // Connects and opens "select * from <table> order by ID"; TRUE when open.
  BOOL OpenTable();
  // Writes the grid to the table; TRUE when the table now holds the grid's rows.
  BOOL SaveToDatabase();
  // Whether the editor has changes not saved.
  bool HasChanges() const { return m_grid.HasChanges(); }
  // Whether the editor may close now (ConfirmEditorClose): at once without a
  // window or changes; with changes by the question (取消 offered when
  // `mayStay`): 是 saves (false when the save fails), 否 drops them, 取消
  // keeps the editor. An edit whose text is refused keeps it too; at unload
  // (`mayStay` false) that edit is dropped and the editor closes.
  bool ConfirmClose(bool mayStay);

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // The window's close (and Cancel): asks first when there are changes.
  void OnCancel() override;
  void OnOK() override {}
  // Closes the window, whatever it holds.
  void CloseEditor();

  afx_msg void OnRefreshDrawing();
  afx_msg void ImportTraverseFile();
  afx_msg void OnAddRows();
  afx_msg void OnDeleteRows();
  afx_msg void OnSave();
  afx_msg void OnCloseWithoutSaving();
  afx_msg void OnTrackToggled();

  CString m_strTableName;
  CDwgThumbnail m_preview;
  CStationGridCtrl m_grid;
  int m_nRowsToAdd = 1;
  int m_bTrack = 0;
  CTableStore m_store;
  CIconButton m_delete, m_add, m_save, m_quit, m_redraw, m_import;

  DECLARE_MESSAGE_MAP()
};
