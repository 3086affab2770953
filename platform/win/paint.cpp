// DrawText, 3D edges, rectangle fills and frames.
#include "win/paint.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "crt/utf8.h"
#include "win/gdi_internal.h"
#include "win/rect.h"
#include "win/sysparams.h"
#include "win/textmetrics.h"

using namespace platform::gdi;
using platform::GdiOp;

namespace {

constexpr size_t kNone = std::string::npos;

// One line of laid-out text: its characters and, when one is to be
// underlined, the byte offset of that character in `text`.
struct Line {
  std::string text;
  size_t underline = kNone;
};

struct Layout {
  DC& dc;
  UINT format;
  int tabWidth;

  // The width of a line, tabs expanded when asked.
  int width(std::string_view s) const {
    if (!(format & DT_EXPANDTABS)) return platform::textMeasure().extent(fontOf(dc), s).cx;
    int x = 0;
    size_t start = 0;
    while (true) {
      size_t tab = s.find('\t', start);
      std::string_view piece = s.substr(start, tab == kNone ? kNone : tab - start);
      x += piece.empty() ? 0 : platform::textMeasure().extent(fontOf(dc), piece).cx;
      if (tab == kNone) break;
      x = tabWidth > 0 ? (x / tabWidth + 1) * tabWidth : x;
      start = tab + 1;
    }
    return x;
  }
};

// Removes the '&' marks of a line; "&&" stands for '&'.
Line stripPrefixes(std::string_view s, bool noPrefix) {
  Line line;
  if (noPrefix) {
    line.text.assign(s);
    return line;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&') line.underline = line.text.size();
    } else if (s[i] == '&') {
      continue;  // a mark at the end marks nothing
    }
    line.text += s[i];
  }
  return line;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Splits one paragraph into lines no wider than `maxWidth` where it can.
std::vector<Line> wrap(const Layout& layout, const Line& para, int maxWidth) {
  std::vector<Line> out;
  const std::string& s = para.text;
  size_t lineStart = 0;
  while (true) {
    size_t breakAt = kNone;  // where the next line may start
    size_t cutAt = kNone;    // where this line then ends (before dropped blanks)
    size_t i = lineStart;
    bool broke = false;
    // The line is too wide once it runs past the longest part of it that
    // fits: found once, measuring no more than the box shows.
    const size_t fitEnd =
        lineStart + platform::longestFittingPrefix(std::string_view(s).substr(lineStart), [&](std::string_view p) {
          return layout.width(p) <= maxWidth;
        });
    while (i < s.size()) {
      size_t start = i;
      long cp = platform::decodeUtf8(s, i);
      bool wide = cp < 0 || cp >= 0x80;
      // A break before a Chinese character.
      if (wide && start > lineStart) {
        breakAt = start;
        cutAt = start;
      }
      if (i > fitEnd && breakAt != kNone && !isBlank(s[start])) {
        broke = true;
        break;
      }
      if (isBlank(s[start])) {
        // A run of blanks: the line may end before it and the next start after it.
        size_t end = i;
        while (end < s.size() && isBlank(s[end])) ++end;
        cutAt = start;
        breakAt = end;
        i = end;
        continue;
      }
      // A break after a Chinese character.
      if (wide) {
        breakAt = i;
        cutAt = i;
      }
    }
    Line line;
    size_t end = broke ? cutAt : s.size();
    line.text = s.substr(lineStart, end - lineStart);
    if (para.underline != kNone && para.underline >= lineStart && para.underline < end)
      line.underline = para.underline - lineStart;
    out.push_back(line);
    if (!broke || breakAt >= s.size()) break;
    lineStart = breakAt;
  }
  return out;
}

// The line cut to fit `maxWidth` with "..." after it. Only the characters
// that can show are measured (a long text in a narrow box costs what the box
// shows).
Line withEllipsis(const Layout& layout, const Line& line, int maxWidth) {
  auto fits = [&](std::string_view prefix) { return layout.width(prefix) <= maxWidth; };
  if (platform::longestFittingPrefix(line.text, fits) == line.text.size()) return line;
  size_t end = platform::longestFittingPrefix(line.text, [&](std::string_view prefix) {
    return layout.width(std::string(prefix) + "...") <= maxWidth;
  });
  Line out;
  out.text = "...";
  if (end > 0 || layout.width("...") <= maxWidth) {
    out.text = line.text.substr(0, end) + "...";
    if (line.underline != kNone && line.underline < end) out.underline = line.underline;
  }
  return out;
}

// A left-aligned line clipped to `maxWidth`: the characters that show (the
// ones past the box are not laid out at all). A line of a few hundred bytes
// is drawn whole, as its cost is small whatever the box.
constexpr size_t kShortLine = 256;
Line shownPart(const Layout& layout, const Line& line, int maxWidth) {
  if (line.text.size() <= kShortLine) return line;
  size_t fit = platform::longestFittingPrefix(line.text, [&](std::string_view p) { return layout.width(p) <= maxWidth; });
  if (fit >= line.text.size()) return line;
  size_t end = fit;
  platform::decodeUtf8(line.text, end);  // the character that crosses the edge shows in part
  Line out;
  out.text = line.text.substr(0, end);
  if (line.underline != kNone && line.underline < end) out.underline = line.underline;
  return out;
}

}  // namespace

int DrawTextA(HDC handle, LPCSTR text, int count, LPRECT rect, UINT format) {
  DC* dc = findDC(handle);
  if (!dc) return invalidHandle(0);
  if (!rect || (!text && count != 0) || count < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string_view all(text ? text : "", text ? (count < 0 ? std::strlen(text) : static_cast<size_t>(count)) : 0);
  platform::TextMeasure& measure = platform::textMeasure();
  TEXTMETRIC tm = measure.metrics(fontOf(*dc));
  int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  int tabChars = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
  Layout layout{*dc, format, tabChars * tm.tmAveCharWidth};
  int maxWidth = rect->right - rect->left;
  bool single = format & DT_SINGLELINE;
  bool noPrefix = format & DT_NOPREFIX;

  // Paragraphs, then lines.
  std::vector<Line> lines;
  if (single) {
    std::string flat;
    for (char c : all)
      if (c != '\r' && c != '\n') flat += c;
    lines.push_back(stripPrefixes(flat, noPrefix));
  } else {
    size_t start = 0;
    while (true) {
      size_t nl = all.find_first_of("\r\n", start);
      Line para = stripPrefixes(all.substr(start, nl == kNone ? kNone : nl - start), noPrefix);
      if (format & DT_WORDBREAK) {
        for (Line& l : wrap(layout, para, maxWidth)) lines.push_back(std::move(l));
      } else {
        lines.push_back(std::move(para));
      }
      if (nl == kNone) break;
      start = nl + ((all[nl] == '\r' && nl + 1 < all.size() && all[nl + 1] == '\n') ? 2 : 1);
    }
  }
  if (!(format & DT_EXPANDTABS))
    for (Line& l : lines) std::replace(l.text.begin(), l.text.end(), '\t', ' ');

  int total = static_cast<int>(lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& l : lines) widest = std::max(widest, layout.width(l.text));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }

  int y = rect->top;
  if (single && (format & DT_VCENTER))
    y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (single && (format & DT_BOTTOM))
    y = rect->bottom - lineHeight;
  int result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y + lineHeight - rect->top : total;

  UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
  for (Line line : lines) {
    if (format & DT_END_ELLIPSIS) line = withEllipsis(layout, line, maxWidth);
    bool leftAligned = !(format & (DT_CENTER | DT_RIGHT));
    if (leftAligned && !(format & DT_NOCLIP)) line = shownPart(layout, line, maxWidth);
    int w = leftAligned ? 0 : layout.width(line.text);
    int x = rect->left;
    if (format & DT_CENTER)
      x = rect->left + (maxWidth - w) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - w;
    // Runs between tabs, each at its own place.
    size_t start = 0;
    int at = 0;
    while (true) {
      size_t tab = (format & DT_EXPANDTABS) ? line.text.find('\t', start) : kNone;
      std::string_view piece = std::string_view(line.text).substr(start, tab == kNone ? kNone : tab - start);
      if (!piece.empty()) textRun(handle, *dc, POINT{x + at, y}, piece, options, rect, nullptr);
      at += piece.empty() ? 0 : textRunWidth(*dc, piece, nullptr, nullptr);
      if (tab == kNone) break;
      at = layout.tabWidth > 0 ? (at / layout.tabWidth + 1) * layout.tabWidth : at;
      start = tab + 1;
    }
    if (line.underline != kNone && line.underline < line.text.size()) {
      size_t next = line.underline;
      platform::decodeUtf8(line.text, next);
      int ux = x + layout.width(std::string_view(line.text).substr(0, line.underline));
      int uw = layout.width(std::string_view(line.text).substr(line.underline, next - line.underline));
      GdiOp op;
      op.kind = GdiOp::kFillRect;
      op.brush = platform::GdiBrush{BS_SOLID, dc->state.textColor};
      RECT u{ux, y + tm.tmAscent + 1, ux + uw, y + tm.tmAscent + 2};
      if (!(format & DT_NOCLIP)) IntersectRect(&u, &u, rect);
      op.rect = toDevice(*dc, u);
      emit(handle, *dc, op);
    }
    y += lineHeight;
  }
  return result;
}

namespace {

void fillSolid(HDC handle, DC& dc, const RECT& r, COLORREF color) {
  GdiOp op;
  op.kind = GdiOp::kFillRect;
  op.brush = platform::GdiBrush{BS_SOLID, color};
  op.rect = toDevice(dc, r);
  emit(handle, dc, op);
}

}  // namespace

BOOL platform::fillSolidRect(HDC handle, const RECT* rect, COLORREF color) {
  DC* dc = findDC(handle);
  if (!dc) return invalidHandle(FALSE);
  if (!rect) return FALSE;
  dc->state.bkColor = color & 0xFFFFFF;
  fillSolid(handle, *dc, *rect, color & 0xFFFFFF);
  return TRUE;
}

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
  DC* dc = findDC(handle);
  if (!dc) return invalidHandle(FALSE);
  if (!rect) return FALSE;
  RECT r = *rect;
  // The kinds from the outside in, each with its top-left and bottom-right colour.
  struct Kind {
    UINT bit;
    int topLeft, bottomRight;
  };
  const Kind outer[] = {{BDR_RAISEDOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW},
                        {BDR_SUNKENOUTER, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}};
  const Kind inner[] = {{BDR_RAISEDINNER, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
                        {BDR_SUNKENINNER, COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
  auto ring = [&](const Kind* kinds) {
    for (int k = 0; k < 2; ++k) {
      if (!(edge & kinds[k].bit)) continue;
      COLORREF tl = GetSysColor(kinds[k].topLeft), br = GetSysColor(kinds[k].bottomRight);
      if (flags & BF_MONO)
        tl = br = GetSysColor(COLOR_WINDOWFRAME);
      else if (flags & BF_FLAT)
        tl = br = GetSysColor(COLOR_BTNSHADOW);
      if (IsRectEmpty(&r)) return;
      if (flags & BF_TOP) fillSolid(handle, *dc, RECT{r.left, r.top, r.right, r.top + 1}, tl);
      if (flags & BF_LEFT) fillSolid(handle, *dc, RECT{r.left, r.top, r.left + 1, r.bottom}, tl);
      if (flags & BF_BOTTOM) fillSolid(handle, *dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
      if (flags & BF_RIGHT) fillSolid(handle, *dc, RECT{r.right - 1, r.top, r.right, r.bottom}, br);
      if (flags & BF_LEFT) ++r.left;
      if (flags & BF_TOP) ++r.top;
      if (flags & BF_RIGHT) --r.right;
      if (flags & BF_BOTTOM) --r.bottom;
      return;  // one line per ring: raised and sunken of one ring do not stack
    }
  };
  ring(outer);
  ring(inner);
  if ((flags & BF_MIDDLE) && !IsRectEmpty(&r))
    fillSolid(handle, *dc, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

namespace {

// The four one-pixel sides of a frame, none drawn twice.
std::array<RECT, 4> frameSides(const RECT& r) {
  return {RECT{r.left, r.top, r.right, r.top + 1}, RECT{r.left, r.bottom - 1, r.right, r.bottom},
          RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}};
}

bool brushColor(HBRUSH brush, platform::GdiBrush& out) {
  uintptr_t v = reinterpret_cast<uintptr_t>(brush);
  if (v >= 1 && v <= 31) {
    out = platform::GdiBrush{BS_SOLID, GetSysColor(static_cast<int>(v - 1))};
    return true;
  }
  Object* o = findObject(brush, OBJ_BRUSH);
  if (!o) return false;
  out = o->brush;
  return true;
}

}  // namespace

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DC* dc = findDC(handle);
  platform::GdiBrush b;
  if (!dc || !brushColor(brush, b)) return invalidHandle(0);
  if (!rect) return 0;
  GdiOp op;
  op.kind = GdiOp::kFillRect;
  op.brush = b;
  op.rect = toDevice(*dc, *rect);
  emit(handle, *dc, op);
  return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DC* dc = findDC(handle);
  platform::GdiBrush b;
  if (!dc || !brushColor(brush, b)) return invalidHandle(0);
  if (!rect || IsRectEmpty(rect)) return 0;
  for (const RECT& s : frameSides(*rect)) {
    GdiOp op;
    op.kind = GdiOp::kFillRect;
    op.brush = b;
    op.rect = toDevice(*dc, s);
    emit(handle, *dc, op);
  }
  return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
  if (!rect) return FALSE;
  return PatBlt(handle, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, DSTINVERT);
}

// The focus rectangle: every other pixel of its frame inverted (the dots of a
// checker pattern), so that drawing it twice takes it away.
BOOL DrawFocusRect(HDC handle, const RECT* rect) {
  if (!findDC(handle)) return invalidHandle(FALSE);
  if (!rect || IsRectEmpty(rect)) return FALSE;
  for (const RECT& s : frameSides(*rect))
    for (int y = s.top; y < s.bottom; ++y)
      for (int x = s.left; x < s.right; ++x)
        if (((x + y) & 1) == 0) PatBlt(handle, x, y, 1, 1, DSTINVERT);
  return TRUE;
}
