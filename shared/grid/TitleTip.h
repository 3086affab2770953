#pragma once
// CTitleTip: the tip window (window class "ZTitleTip") that shows the whole
// text of a grid cell too narrow for it, laid over the cell. It is a hidden
// pop-up owned by the grid until the mouse rests on such a cell; it hides
// when the mouse leaves the cell, before the grid scrolls, and on a key or a
// click.
//
// Input that reaches the tip goes on to the window the user meant:
// - a key-down or system-key-down hides the tip and is posted to the grid;
// - a left, right or middle button press hides it and is passed on to the
//   window under the cursor (the grid when that is still the tip), as a
//   client-area press when that window's hit test answers client area, else
//   as the matching non-client press with the hit-test code;
// - anything else goes to the base handling while a window has the focus;
//   with no focus the tip hides.

#include "grid/GridCell.h"
#include "mfc/wnd.h"
#include "win/wingdi.h"

#define TITLETIP_CLASSNAME "ZTitleTip"

class CTitleTip : public CWnd {
 public:
  CTitleTip() = default;
  ~CTitleTip() override;

  static BOOL RegisterWindowClass();
  // The hidden tip window, owned by `parent` (the grid).
  BOOL Create(CWnd* parent);
  using CWnd::Create;

  // Shows `text` over `rectTitle` (the parent's client coordinates) when it
  // is wider than the rectangle less `xoffset` pixels of margin on each side:
  // the tip is as tall as the rectangle and as wide as the text needs. The
  // tip hides when the mouse leaves `hoverRect` (default: `rectTitle`).
  // Answers whether the tip shows.
  BOOL Show(CRect rectTitle, LPCTSTR text, int xoffset = 0, LPRECT hoverRect = nullptr,
            const LOGFONT* font = nullptr, COLORREF textColour = CLR_DEFAULT, COLORREF bkColour = CLR_DEFAULT);
  void Hide();
  bool IsVisible() const;
  // What the tip shows and where the mouse may move (parent's client coordinates).
  const CString& GetText() const { return m_strText; }
  CRect GetHoverRect() const { return m_rectHover; }

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT flags, CPoint point);

 private:
  CWnd* m_pParentWnd = nullptr;
  CRect m_rectHover;
  CString m_strText;
  LOGFONT m_font{};
  bool m_hasFont = false;
  int m_nMargin = 0;
  COLORREF m_crText = CLR_DEFAULT, m_crBk = CLR_DEFAULT;

  DECLARE_MESSAGE_MAP()
};
