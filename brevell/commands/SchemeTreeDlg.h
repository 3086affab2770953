#pragma once
// The project tree of the plan module (template 2163, tree 2062), the child
// of the dock bar "方案数据库": the scheme's name, its three lines, and under
// each line the plan tables (平面) and the structure tables (插旗) that exist
// in the scheme database. Group nodes always exist; a table node only when a
// table of exactly that name is in the database.
//
// A double-click or Enter on a table node opens that table's editor (one per
// table name, in the plan state's editor slots); the right-click menu's one
// entry "用左键双击打开" is a hint: its command 2316 falls in the range 2314 ..
// 2414, which is matched first and does nothing. Every key-down is consumed,
// so Escape never closes the dialog.

#include "ado/AdoWrapper.h"
#include "mfc/afxwin.h"
#include "mfc/treectrl.h"

class CSchemeTreeDlg : public CDialog {
  DECLARE_DYNAMIC(CSchemeTreeDlg)

 public:
  explicit CSchemeTreeDlg(CWnd* parent = nullptr);
  ~CSchemeTreeDlg() override;

  // Makes the dialog as a child of `bar` (the dock bar's child maker).
  static CDialog* CreateInDockBar(CWnd* bar);

  // True when `name` is one of the tables the database has.
  bool TableExists(const char* name) const;
  // Opens the editor of the selected node's table; returns its editor slot,
  // -1 when the node is no table (a group or the root) or nothing is selected.
  int OpenTableEditor();
  // Consumes every key-down; Enter also opens the selected table.
  BOOL PreTranslateMessage(MSG* msg) override;

  CTreeCtrl m_tree;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // Opens the editor of `tableName` in slot `slot` of the plan state's
  // editors, replacing (destroying) the one open there.
  virtual void OpenEditorFor(int slot, const CString& tableName);

  // BuildPlanTree: connects to the scheme database, lists its tables and
  // fills the tree; false (with a message) when the database cannot be opened.
  BOOL BuildPlanTree();

  afx_msg void OnDblclkTree(NMHDR* nm, LRESULT* result);
  afx_msg void OnRclickTree(NMHDR* nm, LRESULT* result);
  afx_msg void OnIgnoredCommand(UINT id);
  afx_msg void OnOpenCommand(UINT id);
  afx_msg void OnClose();
  void OnRightClick();

 private:
  CImageList m_images;
  CAdoConnection m_connection;
  CStringArray m_tableNames;
  CStringArray m_otherNames;  // kept as the dialog's members; unused
  CString m_text1, m_text2;   // kept as the dialog's members; unused

  DECLARE_MESSAGE_MAP()
};
