#pragma once
// The dock bar "方案数据库" of the navigator, holding the scheme tree.
//
// It is the suite's dock bar of the project tree with the navigator's child:
// made with a double-click window class, the arrow cursor, style child,
// visible and clip children, (0, 0, 200, 400) and its tool id; at WM_CREATE
// it makes the scheme tree (template 2161) with the module's resources
// current; WM_SIZE places the tree at (1, 2) with the bar's client size and
// the tree control 5 narrower and 20 lower; OnClosing deletes the tree.
// The TREE command uses only Create, OnClosing and the destructor, so that
// the shared dock bar class can take its place.

#include "SchemeTreeDlg.h"
#include "arx/acui.h"

class CSchemeDockBar : public CAdUiDockControlBar {
 public:
  CSchemeDockBar();
  ~CSchemeDockBar() override;

  // Creates the bar's window, a child of `parent` with the title `title`.
  // FALSE when the window cannot be made (then no tool id is set).
  BOOL Create(CWnd* parent, LPCTSTR title);
  BOOL OnClosing() override;
  void SizeChanged(CRect* rect, BOOL floating, int flags) override;

  CSchemeTreeDlg* Child() const { return m_child; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);

 private:
  CSchemeTreeDlg* m_child = nullptr;

  DECLARE_MESSAGE_MAP()
};
