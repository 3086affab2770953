#pragma once
// The dock bar "方案数据库" of the plan module and the navigator: a dock
// control bar of the host that hosts one child dialog (each module's own
// build of the scheme tree) and keeps it, and its tree control, sized to the
// bar.
//
// The bar does not know the child's class: the module hands it a maker that
// creates the child dialog as a child of the bar (with the module's
// resources current) and the id of the tree control inside it. The bar owns
// the child from its window's creation until OnClosing (or until the bar is
// deleted without closing, at unload).

#include "arx/dockbar.h"
#include "mfc/afxwin.h"

class CMyDockControlBar : public CAdUiDockControlBar {
  DECLARE_DYNAMIC(CMyDockControlBar)

 public:
  // Makes and creates the child dialog under `bar`; null when it fails.
  using ChildMaker = CDialog* (*)(CWnd* bar);

  // The tool id every build of the bar carries.
  static const CLSID kToolId;
  // The window rectangle and style of a new bar (child, visible, clip children).
  static constexpr DWORD kStyle = 0x52000000;

  CMyDockControlBar(ChildMaker makeChild, int treeId, int flags = 0);
  ~CMyDockControlBar() override;

  // Registers the bar's window class (double-clicks, the arrow cursor, no
  // brush, no icon) and creates the bar under `parent` with `title`, then
  // sets its tool id. False (and no tool id) when the window is not made.
  virtual BOOL Create(CWnd* parent, LPCTSTR title);
  using CAdUiDockControlBar::Create;

  // Deletes the child dialog, then asks the base.
  BOOL OnClosing() override;
  // After a change of size: the child takes the new client rectangle.
  void SizeChanged(CRect* rect, BOOL floating, int flags) override;

  CDialog* GetChildDialog() const { return m_pChildDlg; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);

 private:
  void DeleteChild();

  CDialog* m_pChildDlg = nullptr;  // owned; null until the window is created
  ChildMaker m_makeChild;
  int m_treeId;

  DECLARE_MESSAGE_MAP()
};
