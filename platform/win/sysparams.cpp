// System colours, metrics and parameters.
#include "win/sysparams.h"

#include <cstring>
#include <unordered_map>

#include "win/gdi_internal.h"
#include "win/registry.h"
#include "win/window_internal.h"

namespace {

bool colorOf(int index, COLORREF& out) {
  switch (index) {
    case COLOR_SCROLLBAR: out = RGB(212, 208, 200); return true;
    case COLOR_BACKGROUND: out = RGB(58, 110, 165); return true;
    case COLOR_ACTIVECAPTION: out = RGB(10, 36, 106); return true;
    case COLOR_INACTIVECAPTION: out = RGB(128, 128, 128); return true;
    case COLOR_MENU: out = RGB(212, 208, 200); return true;
    case COLOR_WINDOW: out = RGB(255, 255, 255); return true;
    case COLOR_WINDOWFRAME: out = RGB(0, 0, 0); return true;
    case COLOR_MENUTEXT: out = RGB(0, 0, 0); return true;
    case COLOR_WINDOWTEXT: out = RGB(0, 0, 0); return true;
    case COLOR_CAPTIONTEXT: out = RGB(255, 255, 255); return true;
    case COLOR_ACTIVEBORDER: out = RGB(212, 208, 200); return true;
    case COLOR_INACTIVEBORDER: out = RGB(212, 208, 200); return true;
    case COLOR_APPWORKSPACE: out = RGB(128, 128, 128); return true;
    case COLOR_HIGHLIGHT: out = RGB(10, 36, 106); return true;
    case COLOR_HIGHLIGHTTEXT: out = RGB(255, 255, 255); return true;
    case COLOR_BTNFACE: out = RGB(212, 208, 200); return true;
    case COLOR_BTNSHADOW: out = RGB(128, 128, 128); return true;
    case COLOR_GRAYTEXT: out = RGB(128, 128, 128); return true;
    case COLOR_BTNTEXT: out = RGB(0, 0, 0); return true;
    case COLOR_INACTIVECAPTIONTEXT: out = RGB(212, 208, 200); return true;
    case COLOR_BTNHIGHLIGHT: out = RGB(255, 255, 255); return true;
    case COLOR_3DDKSHADOW: out = RGB(64, 64, 64); return true;
    case COLOR_3DLIGHT: out = RGB(212, 208, 200); return true;
    case COLOR_INFOTEXT: out = RGB(0, 0, 0); return true;
    case COLOR_INFOBK: out = RGB(255, 255, 225); return true;
    case COLOR_HOTLIGHT: out = RGB(0, 0, 128); return true;
    case COLOR_GRADIENTACTIVECAPTION: out = RGB(166, 202, 240); return true;
    case COLOR_GRADIENTINACTIVECAPTION: out = RGB(192, 192, 192); return true;
    case COLOR_MENUHILIGHT: out = RGB(10, 36, 106); return true;
    case COLOR_MENUBAR: out = RGB(212, 208, 200); return true;
    default: return false;
  }
}

}  // namespace

DWORD GetSysColor(int index) {
  COLORREF c = 0;
  return colorOf(index, c) ? c : 0;
}

HBRUSH GetSysColorBrush(int index) {
  static auto* brushes = new std::unordered_map<int, HBRUSH>;
  COLORREF c = 0;
  if (!colorOf(index, c)) return nullptr;
  auto it = brushes->find(index);
  if (it != brushes->end()) return it->second;
  // A stock brush: LOGBRUSH of the colour, never deleted.
  HBRUSH b = CreateSolidBrush(c);
  platform::gdi::findObject(b, OBJ_BRUSH)->stock = true;
  brushes->emplace(index, b);
  return b;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return 1280;
    case SM_CYSCREEN: return 1024;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return platform::win::kScrollBarSize;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return 1280;
    case SM_CYFULLSCREEN: return 1024 - 19 - 30;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXMAXIMIZED: return 1288;
    case SM_CYMAXIMIZED: return 1002;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_MOUSEWHEELPRESENT: return 1;
    default: return 0;
  }
}

namespace platform {

LOGFONT messageFont() {
  LOGFONT lf{};
  lf.lfHeight = -12;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::strcpy(lf.lfFaceName, "\xE5\xAE\x8B\xE4\xBD\x93");  // 宋体
  return lf;
}

}  // namespace platform

BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID param, UINT /*winIni*/) {
  if (!param) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(param);
      if (m->cbSize != sizeof(NONCLIENTMETRICS) || (uiParam != 0 && uiParam != sizeof(NONCLIENTMETRICS))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      LOGFONT font = platform::messageFont();
      m->iBorderWidth = 1;
      m->iScrollWidth = m->iScrollHeight = GetSystemMetrics(SM_CXVSCROLL);
      m->iCaptionWidth = m->iCaptionHeight = GetSystemMetrics(SM_CXSIZE);
      m->lfCaptionFont = font;
      m->lfCaptionFont.lfWeight = FW_BOLD;
      m->iSmCaptionWidth = m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
      m->lfSmCaptionFont = font;
      m->iMenuWidth = m->iMenuHeight = GetSystemMetrics(SM_CYMENU);
      m->lfMenuFont = font;
      m->lfStatusFont = font;
      m->lfMessageFont = font;
      return TRUE;
    }
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(param) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 30};
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      *static_cast<UINT*>(param) = static_cast<UINT>(platform::wheelScrollLines());
      return TRUE;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}
