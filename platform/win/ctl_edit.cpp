// The edit control (class "Edit"): its text is the window text; it keeps a
// selection (byte offsets, on character boundaries) and a length limit, and
// tells its parent EN_UPDATE then EN_CHANGE after every change of its text,
// whether a user made it (typing, EM_REPLACESEL) or a program (WM_SETTEXT).
#include <algorithm>

#include "crt/ascii.h"
#include "crt/utf8.h"
#include "win/classic.h"
#include "win/textmetrics.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform::win {
namespace {

constexpr int kDefaultLimit = 0x7FFFFFFE;

struct EditData : ControlData {
  int selStart = 0;
  int selEnd = 0;
  int limit = kDefaultLimit;
  bool modified = false;
};

EditData* dataOf(HWND hwnd) {
  Window* w = find(hwnd);
  return w ? dynamic_cast<EditData*>(w->control.get()) : nullptr;
}

// Moves a byte offset back to the start of its character.
int onBoundary(const std::string& text, int pos) {
  pos = std::clamp(pos, 0, static_cast<int>(text.size()));
  while (pos > 0 && pos < static_cast<int>(text.size()) && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
    --pos;
  return pos;
}

int nextChar(const std::string& text, int pos) {
  if (pos >= static_cast<int>(text.size())) return pos;
  ++pos;
  while (pos < static_cast<int>(text.size()) && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
  return pos;
}

int prevChar(const std::string& text, int pos) {
  if (pos <= 0) return 0;
  return onBoundary(text, pos - 1);
}

bool parentIsCombo(const Window& w) {
  Window* p = w.parent ? find(w.parent) : nullptr;
  return p && equalNoCase(p->cls->name, "ComboBox");
}

std::string cased(const Window& w, std::string text) {
  if (w.style & ES_UPPERCASE)
    for (char& c : text) c = asciiUpper(c);
  if (w.style & ES_LOWERCASE)
    for (char& c : text) c = asciiLower(c);
  return text;
}

// Cuts `text` to at most `room` bytes, whole characters only.
std::string fitting(std::string text, int room) {
  if (room < 0) room = 0;
  if (static_cast<int>(text.size()) > room) text.resize(static_cast<size_t>(onBoundary(text, room)));
  return text;
}

void textChanged(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  notifyParent(hwnd, EN_UPDATE);
  if (IsWindow(hwnd)) notifyParent(hwnd, EN_CHANGE);
}

// Replaces the selection by `text` (cut to the limit); the caret goes after it.
bool replaceSelection(HWND hwnd, const std::string& inserted) {
  Window* w = find(hwnd);
  EditData* d = dataOf(hwnd);
  if (!w || !d) return false;
  std::string& text = w->text;
  int a = std::min(d->selStart, d->selEnd), b = std::max(d->selStart, d->selEnd);
  int room = d->limit - (static_cast<int>(text.size()) - (b - a));
  std::string fitted = fitting(cased(*w, inserted), room);
  bool cut = fitted.size() < inserted.size();
  text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), fitted);
  d->selStart = d->selEnd = a + static_cast<int>(fitted.size());
  d->modified = true;
  if (cut) notifyParent(hwnd, EN_MAXTEXT);
  if (IsWindow(hwnd)) textChanged(hwnd);
  return true;
}

void typeCharacter(HWND hwnd, long ch) {
  Window* w = find(hwnd);
  EditData* d = dataOf(hwnd);
  if (!w || !d) return;
  if (w->style & ES_READONLY) {
    MessageBeep(0);
    return;
  }
  switch (ch) {
    case 0x03: SendMessage(hwnd, WM_COPY, 0, 0); return;
    case 0x16: SendMessage(hwnd, WM_PASTE, 0, 0); return;
    case 0x18: SendMessage(hwnd, WM_CUT, 0, 0); return;
    case 0x1A: return;  // undo: nothing kept to undo
    case 0x08:
      if (d->selStart == d->selEnd) d->selStart = prevChar(w->text, d->selEnd);
      if (d->selStart != d->selEnd) replaceSelection(hwnd, "");
      return;
    default: break;
  }
  if (ch < 0x20 || ch == 0x7F) return;
  if ((w->style & ES_NUMBER) && (ch < '0' || ch > '9')) {
    MessageBeep(0);
    return;
  }
  std::string s;
  appendUtf8(s, ch);
  replaceSelection(hwnd, s);
}

void moveCaret(HWND hwnd, UINT vk) {
  Window* w = find(hwnd);
  EditData* d = dataOf(hwnd);
  if (!w || !d) return;
  bool extend = keyDown(VK_SHIFT);
  int caret = d->selEnd;
  switch (vk) {
    case VK_LEFT:
      caret = (!extend && d->selStart != d->selEnd) ? std::min(d->selStart, d->selEnd) : prevChar(w->text, caret);
      break;
    case VK_RIGHT:
      caret = (!extend && d->selStart != d->selEnd) ? std::max(d->selStart, d->selEnd) : nextChar(w->text, caret);
      break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = static_cast<int>(w->text.size()); break;
    default: return;
  }
  d->selEnd = caret;
  if (!extend) d->selStart = caret;
  InvalidateRect(hwnd, nullptr, FALSE);
}

// Draws `text` from x on, the bytes [selA, selB) of it in the selection's
// colours; answers the x after it.
int drawRun(HDC dc, const std::string& text, int x, int y, int selA, int selB) {
  int n = static_cast<int>(text.size());
  selA = std::clamp(selA, 0, n);
  selB = std::clamp(selB, selA, n);
  const int cuts[4] = {0, selA, selB, n};
  for (int part = 0; part < 3; ++part) {
    int a = cuts[part], b = cuts[part + 1];
    if (a >= b) continue;
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.data() + a, b - a, &size);
    if (part == 1) {
      COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetBkMode(dc, OPAQUE);
      TextOutA(dc, x, y, text.data() + a, b - a);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBack);
    } else {
      TextOutA(dc, x, y, text.data() + a, b - a);
    }
    x += size.cx;
  }
  return x;
}

// The edit's text on its background (white; grey when read-only or
// disabled), line by line, with the selection highlighted while the edit has
// the focus (or keeps it shown: ES_NOHIDESEL). A password shows '*' for each
// character.
void paintEdit(HWND hwnd) {
  classic::Paint paint(hwnd);
  HDC dc = paint.dc;
  if (!dc) return;
  Window* w = find(hwnd);
  bool grey = w && ((w->style & ES_READONLY) || !IsWindowEnabled(hwnd));
  HBRUSH brush = classic::prepareControl(hwnd, dc, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  EditData* d = dataOf(hwnd);
  if ((w = find(hwnd)) != nullptr && d) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    RECT inner = client;
    InflateRect(&inner, -1, -1);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    SetBkMode(dc, TRANSPARENT);
    classic::setTextState(hwnd, dc);
    std::string text = w->text;
    if (w->style & ES_PASSWORD) {
      size_t count = 0;
      for (size_t i = 0; i < text.size();) {
        decodeUtf8(text, i);
        ++count;
      }
      text.assign(count, '*');
    }
    bool showSel = (GetFocus() == hwnd || (w->style & ES_NOHIDESEL)) && !(w->style & ES_PASSWORD);
    int selA = showSel ? std::min(d->selStart, d->selEnd) : 0, selB = showSel ? std::max(d->selStart, d->selEnd) : 0;
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    bool multi = (w->style & ES_MULTILINE) != 0;
    int y = multi ? inner.top : inner.top + (inner.bottom - inner.top - tm.tmHeight) / 2;
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = multi ? text.find('\n', start) : std::string::npos;
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      SIZE size{0, 0};
      if (!(w->style & (ES_CENTER | ES_RIGHT)) && line.size() > 256) {
        // Left-aligned, a long text starts at the left edge: what lies past
        // the right edge is not laid out.
        int room = inner.right - inner.left;
        size_t fit = longestFittingPrefix(line, [&](std::string_view piece) {
          SIZE sz{0, 0};
          GetTextExtentPoint32A(dc, piece.data(), static_cast<int>(piece.size()), &sz);
          return sz.cx <= room;
        });
        if (fit < line.size()) line.resize(static_cast<size_t>(nextChar(line, static_cast<int>(fit))));
      } else {
        GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
      }
      int x = inner.left + 1;
      if (w->style & ES_CENTER)
        x = inner.left + (inner.right - inner.left - size.cx) / 2;
      else if (w->style & ES_RIGHT)
        x = inner.right - 1 - size.cx;
      int base = static_cast<int>(start);
      drawRun(dc, line, x, y, selA - base, selB - base);
      if (!multi || end >= text.size()) break;
      start = end + 1;
      y += tm.tmHeight;
      if (y >= inner.bottom) break;
    }
  }
}

LRESULT editProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = find(hwnd);
  if (!w) return 0;
  if (!w->control) w->control = std::make_unique<EditData>();
  EditData* d = dataOf(hwnd);
  if (!d) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SETTEXT: {
      w->text = cased(*w, fitting(lParam ? reinterpret_cast<const char*>(lParam) : "", d->limit));
      d->selStart = d->selEnd = 0;
      d->modified = false;
      if (!(w->style & ES_MULTILINE))
        textChanged(hwnd);
      else
        InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETSEL: {
      int len = static_cast<int>(w->text.size());
      int a = static_cast<int>(static_cast<INT_PTR>(wParam)), b = static_cast<int>(lParam);
      if (a == -1) {
        d->selStart = d->selEnd;  // no selection, the caret stays
      } else {
        if (b == -1 || b > len) b = len;
        if (a > len) a = len;
        d->selStart = onBoundary(w->text, std::max(0, a));
        d->selEnd = onBoundary(w->text, std::max(0, b));
      }
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    }
    case EM_GETSEL: {
      DWORD a = static_cast<DWORD>(std::min(d->selStart, d->selEnd));
      DWORD b = static_cast<DWORD>(std::max(d->selStart, d->selEnd));
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = a;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = b;
      return (a > 0xFFFF || b > 0xFFFF) ? -1 : MAKELRESULT(a, b);
    }
    case EM_REPLACESEL: replaceSelection(hwnd, lParam ? reinterpret_cast<const char*>(lParam) : ""); return 0;
    case EM_LIMITTEXT:
      d->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, kDefaultLimit)) : kDefaultLimit;
      return 0;
    case EM_GETLIMITTEXT: return d->limit;
    case EM_SETREADONLY:
      if (wParam)
        w->style |= ES_READONLY;
      else
        w->style &= ~ES_READONLY;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case EM_GETMODIFY: return d->modified ? TRUE : FALSE;
    case EM_SETMODIFY: d->modified = wParam != 0; return 0;
    case EM_GETLINECOUNT:
      if (!(w->style & ES_MULTILINE)) return 1;
      return 1 + std::count(w->text.begin(), w->text.end(), '\n');
    case EM_LINEINDEX: {
      int line = static_cast<int>(static_cast<INT_PTR>(wParam));
      if (line < 0) line = 0;
      size_t pos = 0;
      for (int i = 0; i < line; ++i) {
        pos = w->text.find('\n', pos);
        if (pos == std::string::npos) return -1;
        ++pos;
      }
      return static_cast<LRESULT>(pos);
    }
    case EM_LINELENGTH: {
      if (!(w->style & ES_MULTILINE)) return static_cast<LRESULT>(w->text.size());
      size_t start = w->text.rfind('\n', wParam == 0 ? 0 : wParam - 1);
      start = (start == std::string::npos || wParam == 0) ? 0 : start + 1;
      size_t end = w->text.find('\n', start);
      if (end == std::string::npos) end = w->text.size();
      if (end > start && w->text[end - 1] == '\r') --end;
      return static_cast<LRESULT>(end - start);
    }
    case EM_GETLINE: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer) return 0;
      WORD size = *reinterpret_cast<WORD*>(buffer);
      std::string line = w->text;
      if (w->style & ES_MULTILINE) {
        size_t start = 0;
        for (WPARAM i = 0; i < wParam && start != std::string::npos; ++i) {
          start = line.find('\n', start);
          if (start != std::string::npos) ++start;
        }
        if (start == std::string::npos) return 0;
        size_t end = line.find('\n', start);
        line = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
      }
      size_t n = std::min<size_t>(line.size(), size);
      std::copy(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(n), buffer);
      return static_cast<LRESULT>(n);
    }
    case EM_CANUNDO: return FALSE;
    case EM_UNDO: return FALSE;
    case EM_SCROLLCARET:
    case EM_EMPTYUNDOBUFFER:
    case EM_SETMARGINS: return 0;
    case WM_CHAR: typeCharacter(hwnd, static_cast<long>(wParam)); return 0;
    case WM_KEYDOWN:
      if (parentIsCombo(*w) &&
          (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_F4 || wParam == VK_RETURN || wParam == VK_ESCAPE))
        return SendMessage(w->parent, WM_KEYDOWN, wParam, lParam);
      if (wParam == VK_DELETE) {
        if (w->style & ES_READONLY) return 0;
        if (d->selStart == d->selEnd) d->selEnd = nextChar(w->text, d->selEnd);
        if (d->selStart != d->selEnd) replaceSelection(hwnd, "");
        return 0;
      }
      moveCaret(hwnd, static_cast<UINT>(wParam));
      return 0;
    case WM_CLEAR:
      if (!(w->style & ES_READONLY) && d->selStart != d->selEnd) replaceSelection(hwnd, "");
      return 0;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE: {
      int a = std::min(d->selStart, d->selEnd), b = std::max(d->selStart, d->selEnd);
      if (msg != WM_PASTE && a != b && !(w->style & ES_PASSWORD))
        setClipboardText(w->text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a)));
      if (msg == WM_CUT && a != b && !(w->style & ES_READONLY)) replaceSelection(hwnd, "");
      if (msg == WM_PASTE && !(w->style & ES_READONLY)) {
        std::string text;
        if (getClipboardText(text)) {
          if (!(w->style & ES_MULTILINE)) text = text.substr(0, text.find_first_of("\r\n"));
          replaceSelection(hwnd, text);
        }
      }
      return 0;
    }
    case WM_SETFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      notifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      notifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      if ((d = dataOf(hwnd)) != nullptr && (w = find(hwnd)) != nullptr) {
        // Without the widths of the characters the caret goes to the end.
        d->selStart = d->selEnd = static_cast<int>(w->text.size());
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      d->selStart = 0;
      d->selEnd = static_cast<int>(w->text.size());
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      const MSG* m = reinterpret_cast<const MSG*>(lParam);
      if ((w->style & ES_MULTILINE) && (w->style & ES_WANTRETURN) && m && m->message == WM_KEYDOWN &&
          m->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
      // The edit part of a combo box answers as the combo box does.
      if (parentIsCombo(*w)) code |= SendMessage(w->parent, WM_GETDLGCODE, wParam, lParam);
      return code;
    }
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_PAINT: paintEdit(hwnd); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

WNDPROC editProc() { return &editProcImpl; }

}  // namespace platform::win
