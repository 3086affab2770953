// The classic look: window frames, control colours and fonts, and the parts
// controls are drawn from.
#include "win/classic.h"

#include <algorithm>

#include "win/gdi_internal.h"

namespace platform::win {
namespace {

constexpr int kCloseButtonWidth = 16;
constexpr int kCloseButtonHeight = 14;

// A font kept for the whole process (deleting it does nothing).
HFONT keptFont(const LOGFONT& lf) {
  HFONT f = CreateFontIndirectA(&lf);
  if (gdi::Object* o = gdi::findObject(f, OBJ_FONT)) o->stock = true;
  return f;
}

HFONT messageFontHandle() {
  static HFONT f = keptFont(messageFont());
  return f;
}

HFONT captionFontHandle() {
  static HFONT f = [] {
    LOGFONT lf = messageFont();
    lf.lfWeight = FW_BOLD;
    return keptFont(lf);
  }();
  return f;
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void fillColor(HDC dc, const RECT& r, int sysColor) { FillRect(dc, &r, GetSysColorBrush(sysColor)); }

// The classic track is a fine checker of the scroll-bar colour and white; it
// is drawn as the colour the checker shows from a step away.
COLORREF trackColor() {
  COLORREF a = GetSysColor(COLOR_SCROLLBAR), b = GetSysColor(COLOR_BTNHIGHLIGHT);
  return RGB((GetRValue(a) + GetRValue(b) + 1) / 2, (GetGValue(a) + GetGValue(b) + 1) / 2,
             (GetBValue(a) + GetBValue(b) + 1) / 2);
}

// A standard scroll bar: the arrows at its ends (greyed when it is disabled),
// the track, and the thumb at its position as a raised button.
void drawScrollBar(HDC dc, const ScrollBarParts& parts) {
  HBRUSH track = CreateSolidBrush(trackColor());
  FillRect(dc, &parts.track, track);
  DeleteObject(track);
  bool enabled = !parts.disabled;
  classic::drawArrowButton(dc, parts.lineBefore, parts.vertical ? 0 : 2, false, enabled);
  classic::drawArrowButton(dc, parts.lineAfter, parts.vertical ? 1 : 3, false, enabled);
  if (parts.hasThumb) classic::drawPushFrame(dc, parts.thumb, false, false);
}

}  // namespace

HBRUSH defaultControlColors(UINT message, HDC dc) {
  bool white = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(white ? COLOR_WINDOW : COLOR_BTNFACE));
  if (message == WM_CTLCOLORSCROLLBAR) return GetSysColorBrush(COLOR_SCROLLBAR);
  return GetSysColorBrush(white ? COLOR_WINDOW : COLOR_BTNFACE);
}

namespace classic {

void drawFrame(HDC dc, const Window& w, const RECT& client) {
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  RECT all{0, 0, width, height};
  DWORD style = w.style, ex = w.exStyle;
  RECT r = all;
  if (style & WS_THICKFRAME || style & WS_DLGFRAME || ex & WS_EX_DLGMODALFRAME) {
    // A raised edge, then the face colour up to the inside of the frame.
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    int frame = (style & WS_THICKFRAME) ? 2 : 1;
    for (int i = 0; i < frame; ++i) {
      FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      InflateRect(&r, -1, -1);
    }
  } else if (style & WS_BORDER) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if ((style & WS_CAPTION) == WS_CAPTION) {
    int captionHeight = client.top - r.top - ((ex & WS_EX_CLIENTEDGE) ? 2 : 0) - ((ex & WS_EX_STATICEDGE) ? 1 : 0);
    RECT bar{r.left, r.top, r.right, r.top + std::max(0, captionHeight - 1)};
    fillColor(dc, RECT{r.left, bar.bottom, r.right, bar.bottom + 1}, COLOR_BTNFACE);
    fillColor(dc, bar, COLOR_ACTIVECAPTION);
    RECT text = bar;
    text.left += 4;
    if (style & WS_SYSMENU) {
      RECT close{bar.right - 2 - kCloseButtonWidth, bar.top + (bar.bottom - bar.top - kCloseButtonHeight) / 2,
                 bar.right - 2, 0};
      close.bottom = close.top + kCloseButtonHeight;
      drawPushFrame(dc, close, false, false);
      // The cross.
      HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
      int cx = (close.left + close.right) / 2 - 1, cy = (close.top + close.bottom) / 2 - 1;
      for (int d = 0; d < 2; ++d) {
        line(dc, cx - 3 + d, cy - 3, cx + 4 + d, cy + 4);
        line(dc, cx + 3 + d, cy - 3, cx - 4 + d, cy + 4);
      }
      SelectObject(dc, old);
      text.right = close.left - 2;
    }
    HGDIOBJ oldFont = SelectObject(dc, captionFontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    DrawTextA(dc, w.text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    r.top += captionHeight;
  }
  if (ex & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (ex & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  ScrollBarParts vertical, horizontal;
  bool hasVertical = scrollBarParts(w, SB_VERT, vertical), hasHorizontal = scrollBarParts(w, SB_HORZ, horizontal);
  if (hasVertical) drawScrollBar(dc, vertical);
  if (hasHorizontal) drawScrollBar(dc, horizontal);
  if (hasVertical && hasHorizontal)
    fillColor(dc, RECT{vertical.bar.left, horizontal.bar.top, vertical.bar.right, horizontal.bar.bottom}, COLOR_BTNFACE);
}

HBRUSH prepareControl(HWND control, HDC dc, UINT ctlColorMessage) {
  HFONT font = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
  SelectObject(dc, font && GetObjectType(font) == OBJ_FONT ? static_cast<HGDIOBJ>(font) : messageFontHandle());
  HBRUSH brush = nullptr;
  HWND parent = GetParent(control);
  if (parent && (GetWindowLongPtr(control, GWL_STYLE) & WS_CHILD))
    brush = reinterpret_cast<HBRUSH>(
        SendMessage(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  if (!brush || (reinterpret_cast<uintptr_t>(brush) > 31 && GetObjectType(brush) != OBJ_BRUSH))
    brush = defaultControlColors(ctlColorMessage, dc);
  return brush;
}

void setTextState(HWND control, HDC dc) {
  if (!IsWindowEnabled(control)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
}

void drawPushFrame(HDC dc, RECT r, bool pushed, bool isDefault) {
  if (isDefault) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pushed) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&r, -1, -1);
    fillColor(dc, r, COLOR_BTNFACE);
  } else {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
}

void drawCheckBox(HDC dc, POINT at, UINT check, bool enabled) {
  RECT box{at.x, at.y, at.x + 13, at.y + 13};
  DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  fillColor(dc, box, enabled && check != BST_INDETERMINATE ? COLOR_WINDOW : COLOR_BTNFACE);
  if (check == BST_UNCHECKED) return;
  // The tick: three strokes of a 7 x 7 check mark.
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(enabled && check == BST_CHECKED ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  HGDIOBJ old = SelectObject(dc, pen);
  int x = box.left + 1, y = box.top + 3;
  for (int d = 0; d < 3; ++d) {
    line(dc, x, y + 2 + d, x + 2, y + 4 + d);
    line(dc, x + 2, y + 4 + d, x + 7, y - 1 + d);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void drawRadio(HDC dc, POINT at, bool checked, bool enabled) {
  HGDIOBJ oldPen = SelectObject(dc, CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  Ellipse(dc, at.x, at.y, at.x + 12, at.y + 12);
  if (checked) {
    SelectObject(dc, GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DeleteObject(SelectObject(dc, GetStockObject(NULL_PEN)));
    Ellipse(dc, at.x + 4, at.y + 4, at.x + 8, at.y + 8);
    SelectObject(dc, oldPen);
  } else {
    DeleteObject(SelectObject(dc, oldPen));
  }
  SelectObject(dc, oldBrush);
}

void drawArrow(HDC dc, const RECT& r, int direction, bool enabled) {
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  COLORREF c = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  HPEN pen = CreatePen(PS_SOLID, 1, c);
  HGDIOBJ old = SelectObject(dc, pen);
  // Rows of 7, 5, 3 and 1 pixels, the widest at the arrow's foot.
  for (int k = 0; k < 4; ++k) {
    int half = 3 - k;
    switch (direction) {
      case 0: line(dc, cx - half, cy + 1 - k, cx + half + 1, cy + 1 - k); break;
      case 1: line(dc, cx - half, cy - 2 + k, cx + half + 1, cy - 2 + k); break;
      case 2: line(dc, cx + 1 - k, cy - half, cx + 1 - k, cy + half + 1); break;
      default: line(dc, cx - 2 + k, cy - half, cx - 2 + k, cy + half + 1); break;
    }
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void drawArrowButton(HDC dc, const RECT& r, int direction, bool pushed, bool enabled) {
  drawPushFrame(dc, r, pushed, false);
  RECT inner = r;
  if (pushed) OffsetRect(&inner, 1, 1);
  drawArrow(dc, inner, direction, enabled);
}

}  // namespace classic
}  // namespace platform::win
