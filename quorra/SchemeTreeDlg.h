#pragma once
// The scheme tree: the child dialog of the navigator's dock bar (template
// 2161, tree 206). It lists the root 技术标准 and one branch per scheme
// database of `<project>\data` (every file whose name ends in ".mdb", any
// case), creates the tables each one lacks, and keeps a current scheme:
// the one `project` names when its database is there, else the last one
// listed (written to `<project>\PROJECT`), else a new database copied from
// the template `<install>\lib\标准.mdb`.
//
// A click makes the node's scheme current (PROJECT rewritten, the editor's
// main window titled with the scheme database path); a double-click on a
// table opens its table editor on that scheme's database, on 技术标准 loads
// `<install>\Kestrow.arx` and sends it "(command \"quib\")".

#include "ado/AdoWrapper.h"
#include "mfc/afxwin.h"
#include "mfc/collections.h"
#include "mfc/treectrl.h"
#include "resources/QuorraResources.h"

class CSchemeTreeDlg : public CDialog {
 public:
  enum { IDD = IDD_SCHEME_TREE };
  explicit CSchemeTreeDlg(CWnd* parent = nullptr);
  ~CSchemeTreeDlg() override;

  // Reads the project folder from `<install>\workdir` (its first word, '$'
  // as blanks, upper-cased) and the current scheme from `<project>\project`.
  // FALSE when either cannot be opened (the project folder is then empty
  // when `workdir` was the one missing).
  static BOOL ReadProjectFiles();

  CTreeCtrl& Tree() { return m_tree; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnTreeClick(NMHDR* notify, LRESULT* result);
  afx_msg void OnTreeSelChanged(NMHDR* notify, LRESULT* result);
  afx_msg void OnTreeDblClk(NMHDR* notify, LRESULT* result);

 private:
  // Builds the tree; FALSE when the project files are missing.
  BOOL BuildTree();
  // Adds the branch of one scheme database (its tables created first when
  // missing); FALSE when it cannot be opened.
  BOOL AddScheme(const CString& title, const CString& path);
  // A new scheme database copied from the template; FALSE, with a message
  // naming the file it could not write, when the copy fails.
  BOOL CopyTemplateDatabase();
  // The scheme of the selected node becomes current; returns that node.
  HTREEITEM MakeSelectedSchemeCurrent();
  // Loads the technical-standards module and sends it its command.
  void RunTechnicalStandards();
  HTREEITEM InsertNode(const char* text, HTREEITEM parent);
  // The root the item hangs under (the item itself for a root).
  HTREEITEM TopLevelItem(HTREEITEM item) const;

  CImageList m_imageList;
  CAdoConnection m_connection;
  CStringArray m_tableNames;
  CString m_emptyText;
  CTreeCtrl m_tree;

  DECLARE_MESSAGE_MAP()
};
