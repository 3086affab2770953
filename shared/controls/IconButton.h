#pragma once
// CIconButton: an owner-drawn push button that shows an icon (another one
// while the mouse is over it, when given) and, optionally, a tool tip. The
// button draws itself: a raised face, sunken while pressed, the icon in the
// middle (beside the caption when there is one), greyed when disabled, and
// the focus frame.

#include "mfc/controls.h"
#include "mfc/tooltip.h"
#include "win/commctrl.h"

class CIconButton : public CButton {
 public:
  CIconButton() = default;
  ~CIconButton() override;

  // The icon resources of the running module for the normal state and,
  // when not 0, for the mouse over the button. FALSE when the normal icon is
  // not there (the button then shows its caption alone).
  BOOL SetIcons(UINT normalIconId, UINT hoverIconId = 0);
  // The tool tip's text and whether it shows.
  void SetTooltipText(LPCTSTR text, BOOL activate = TRUE);

  HICON GetNormalIcon() const { return m_hIcon; }
  HICON GetHoverIcon() const { return m_hHoverIcon; }
  bool IsHovering() const { return m_bHover; }
  CToolTipCtrl* GetToolTip() { return m_ToolTip.GetSafeHwnd() ? &m_ToolTip : nullptr; }
  // The icon drawn now: the hover icon while the mouse is over the button.
  HICON CurrentIcon() const { return m_bHover && m_hHoverIcon ? m_hHoverIcon : m_hIcon; }

  // Draws the button as its state in `dis` says.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg void OnDestroy();

 private:
  void ReleaseIcons();

  HICON m_hIcon = nullptr;
  HICON m_hHoverIcon = nullptr;
  bool m_bHover = false;
  CToolTipCtrl m_ToolTip;

  DECLARE_MESSAGE_MAP()
};
