#pragma once
// The classic look of the window system's own painting (inside the platform
// only): window frames, the colours and font a control paints with, and the
// small parts controls are drawn from (check boxes, radio buttons, arrows,
// push-button frames).

#include "win/paint.h"
#include "win/sysparams.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {

// A DC of a window: `whole` for its window rectangle; `clientClip` narrows it
// to a rectangle of its client area (win/windc.cpp).
HDC makeWindowDC(HWND hwnd, bool whole, const RECT* clientClip);
// DefWindowProc's WM_NCPAINT and WM_ERASEBKGND.
void defaultFramePaint(HWND hwnd);
LRESULT defaultErase(HWND hwnd, HDC dc);
// DefWindowProc's WM_CTLCOLORxxx: the DC's colours for the kind of control
// and the brush of its background.
HBRUSH defaultControlColors(UINT message, HDC dc);

namespace classic {

// A control's paint: BeginPaint at construction, EndPaint at destruction;
// `dc` is null when there is nothing to paint on.
class Paint {
 public:
  explicit Paint(HWND hwnd) : m_hwnd(hwnd), dc(BeginPaint(hwnd, &m_ps)) {}
  ~Paint() {
    if (dc) EndPaint(m_hwnd, &m_ps);
  }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_ps{};

 public:
  const HDC dc;
};

// The border, caption bar (caption text in the caption font) and scroll bars
// of window `w`, on its window DC; `client` is its client area in window
// coordinates.
void drawFrame(HDC dc, const Window& w, const RECT& client);

// Before a control paints: its font selected into `dc` (WM_GETFONT, else the
// message font), and the colours and background brush its parent gives it
// (WM_CTLCOLORxxx sent to the parent; the defaults when it gives none).
HBRUSH prepareControl(HWND control, HDC dc, UINT ctlColorMessage);
// The text colour of a control: grey when it is disabled.
void setTextState(HWND control, HDC dc);

// A raised push-button frame filling `r` (sunken when `pushed`), with the
// black outer frame of a default button when `isDefault`.
void drawPushFrame(HDC dc, RECT r, bool pushed, bool isDefault);
// The 13 x 13 box of a check box at `box`'s top left, checked (1) or
// indeterminate (2); the 12 x 12 circle of a radio button, with its dot when
// checked.
void drawCheckBox(HDC dc, POINT topLeft, UINT check, bool enabled);
void drawRadio(HDC dc, POINT topLeft, bool checked, bool enabled);
// A small filled triangle centred in `r`, pointing up (0), down (1), left (2)
// or right (3).
void drawArrow(HDC dc, const RECT& r, int direction, bool enabled);
// A button with an arrow (scroll bars, combo boxes, up-downs).
void drawArrowButton(HDC dc, const RECT& r, int direction, bool pushed, bool enabled);

}  // namespace classic
}  // namespace platform::win
