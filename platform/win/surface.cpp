// The image back end of device contexts: draws GdiOps on a surface. Rectangle
// fills, thin lines and blits are written pixel by pixel, so they cover
// exactly the pixels the GDI rules name; wide lines, ellipses, polygon fills
// and text go through cairo (without antialiasing, except for text), clipped
// to the op's clip.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "crt/utf8.h"
#include "win/gdi_internal.h"
#include "win/pangofonts.h"
#include "win/rect.h"

namespace platform::gdi {

namespace {

uint32_t pixelOf(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }

void sourceColor(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

class Painter {
 public:
  Painter(Surface& s, const GdiOp& op) : m_surface(s), m_op(op), m_img(s.pixels()) {}
  ~Painter() {
    if (m_cr) cairo_destroy(m_cr);
    m_surface.dirty();
  }
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  void draw() {
    switch (m_op.kind) {
      case GdiOp::kFillRect: fill(m_op.rect, m_op.brush, m_op.rop); break;
      case GdiOp::kRectangle: rectangle(); break;
      case GdiOp::kEllipse: ellipse(); break;
      case GdiOp::kPolyline: lines(false); break;
      case GdiOp::kPolygon: polygon(); break;
      case GdiOp::kText: text(); break;
      case GdiOp::kBlit: blit(); break;
      case GdiOp::kPixel: put(m_op.position.x, m_op.position.y, pixelOf(m_op.textColor)); break;
    }
  }

 private:
  bool inClip(int x, int y) const {
    return x >= m_op.clip.left && x < m_op.clip.right && y >= m_op.clip.top && y < m_op.clip.bottom;
  }
  uint32_t& at(int x, int y) {
    return m_img.pixels[static_cast<size_t>(y) * static_cast<size_t>(m_img.stride) + static_cast<size_t>(x)];
  }
  void put(int x, int y, uint32_t v) {
    if (inClip(x, y)) at(x, y) = v;
  }

  void fill(const RECT& r, const GdiBrush& brush, DWORD rop) {
    RECT area;
    if (!IntersectRect(&area, &r, &m_op.clip)) return;
    bool needsBrush = rop == PATCOPY || rop == PATINVERT;
    if (needsBrush && !brush.visible()) return;
    uint32_t v = pixelOf(brush.color);
    for (int y = area.top; y < area.bottom; ++y) {
      uint32_t* row = &at(area.left, y);
      int n = area.right - area.left;
      switch (rop) {
        case PATINVERT:
          for (int x = 0; x < n; ++x) row[x] = (row[x] ^ v) & 0xFFFFFF;
          break;
        case DSTINVERT:
          for (int x = 0; x < n; ++x) row[x] = ~row[x] & 0xFFFFFF;
          break;
        default: std::fill(row, row + n, v); break;
      }
    }
  }

  void fillColor(const RECT& r, COLORREF c) { fill(r, GdiBrush{BS_SOLID, c}, PATCOPY); }

  // Pattern of a thin styled pen: lengths of on and off runs.
  static std::vector<int> dashes(int style) {
    switch (style) {
      case PS_DASH: return {18, 6};
      case PS_DOT: return {3, 3};
      case PS_DASHDOT: return {9, 6, 3, 6};
      case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
      default: return {};
    }
  }

  // A one-pixel line from a to b, b itself not drawn; `phase` carries the
  // dash pattern from one segment to the next.
  void thinLine(POINT a, POINT b, uint32_t v, const std::vector<int>& pattern, long& phase) {
    long period = 0;
    for (int d : pattern) period += d;
    int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy, x = a.x, y = a.y;
    while (x != b.x || y != b.y) {
      bool on = true;
      if (period > 0) {
        long k = phase % period;
        for (size_t i = 0; i < pattern.size(); ++i) {
          if (k < pattern[i]) {
            on = i % 2 == 0;
            break;
          }
          k -= pattern[i];
        }
      }
      if (on) put(x, y, v);
      ++phase;
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }

  cairo_t* cr() {
    if (!m_cr) {
      m_cr = cairo_create(m_surface.cairo());
      cairo_rectangle(m_cr, m_op.clip.left, m_op.clip.top, m_op.clip.right - m_op.clip.left,
                      m_op.clip.bottom - m_op.clip.top);
      cairo_clip(m_cr);
      cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);
    }
    return m_cr;
  }

  void widePath(const std::vector<POINT>& pts, bool closed) {
    cairo_t* c = cr();
    cairo_new_path(c);
    for (size_t i = 0; i < pts.size(); ++i) {
      double x = pts[i].x + 0.5, y = pts[i].y + 0.5;
      if (i == 0)
        cairo_move_to(c, x, y);
      else
        cairo_line_to(c, x, y);
    }
    if (closed) cairo_close_path(c);
    cairo_set_line_width(c, m_op.pen.width);
    cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
    sourceColor(c, m_op.pen.color);
    cairo_stroke(c);
  }

  void lines(bool closed) {
    if (!m_op.pen.visible() || m_op.points.size() < 2) return;
    std::vector<POINT> pts = m_op.points;
    if (m_op.pen.width > 1) {
      widePath(pts, closed);
      return;
    }
    if (closed) pts.push_back(pts.front());
    uint32_t v = pixelOf(m_op.pen.color);
    std::vector<int> pattern = dashes(m_op.pen.style);
    long phase = 0;
    for (size_t i = 0; i + 1 < pts.size(); ++i) thinLine(pts[i], pts[i + 1], v, pattern, phase);
  }

  void polygon() {
    if (m_op.brush.visible() && m_op.points.size() >= 3) {
      cairo_t* c = cr();
      cairo_new_path(c);
      for (size_t i = 0; i < m_op.points.size(); ++i) {
        double x = m_op.points[i].x + 0.5, y = m_op.points[i].y + 0.5;
        if (i == 0)
          cairo_move_to(c, x, y);
        else
          cairo_line_to(c, x, y);
      }
      cairo_close_path(c);
      cairo_set_fill_rule(c, m_op.fillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
      sourceColor(c, m_op.brush.color);
      cairo_fill(c);
      cairo_surface_flush(m_surface.cairo());
    }
    lines(true);
  }

  void rectangle() {
    RECT r = m_op.rect;
    if (IsRectEmpty(&r)) return;
    int w = m_op.pen.visible() ? std::max(1, m_op.pen.width) : 0;
    RECT inner = r;
    InflateRect(&inner, -w, -w);
    if (m_op.brush.visible() && !IsRectEmpty(&inner)) fill(inner, m_op.brush, PATCOPY);
    if (!w) return;
    if (m_op.pen.style == PS_SOLID || m_op.pen.style == PS_INSIDEFRAME || w > 1) {
      // The frame, w pixels wide, inside the rectangle.
      COLORREF c = m_op.pen.color;
      fillColor(RECT{r.left, r.top, r.right, std::min(r.bottom, r.top + w)}, c);
      fillColor(RECT{r.left, std::max(r.top, r.bottom - w), r.right, r.bottom}, c);
      fillColor(RECT{r.left, r.top, std::min(r.right, r.left + w), r.bottom}, c);
      fillColor(RECT{std::max(r.left, r.right - w), r.top, r.right, r.bottom}, c);
      return;
    }
    std::vector<int> pattern = dashes(m_op.pen.style);
    uint32_t v = pixelOf(m_op.pen.color);
    long phase = 0;
    POINT a{r.left, r.top}, b{r.right - 1, r.top}, c{r.right - 1, r.bottom - 1}, d{r.left, r.bottom - 1};
    thinLine(a, b, v, pattern, phase);
    thinLine(b, c, v, pattern, phase);
    thinLine(c, d, v, pattern, phase);
    thinLine(d, a, v, pattern, phase);
  }

  void ellipse() {
    RECT r = m_op.rect;
    if (IsRectEmpty(&r)) return;
    int w = m_op.pen.visible() ? std::max(1, m_op.pen.width) : 0;
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
    cairo_t* c = cr();
    auto path = [&](double inset) {
      cairo_new_path(c);
      cairo_save(c);
      cairo_translate(c, cx, cy);
      cairo_scale(c, std::max(rx - inset, 0.01), std::max(ry - inset, 0.01));
      cairo_arc(c, 0, 0, 1, 0, 2 * 3.14159265358979323846);
      cairo_restore(c);
    };
    if (m_op.brush.visible()) {
      path(0);
      sourceColor(c, m_op.brush.color);
      cairo_fill(c);
    }
    if (w) {
      path(w / 2.0);
      cairo_set_line_width(c, w);
      sourceColor(c, m_op.pen.color);
      cairo_stroke(c);
    }
  }

  void text() {
    if (m_op.options & ETO_OPAQUE) fillColor(m_op.optionRect, m_op.bkColor);
    if (m_op.bkMode == OPAQUE) fillColor(m_op.box, m_op.bkColor);
    if (m_op.text.empty()) return;
    m_surface.dirty();  // the fills above were written directly
    cairo_t* c = cr();
    cairo_save(c);
    if (m_op.options & ETO_CLIPPED) {
      const RECT& o = m_op.optionRect;
      cairo_rectangle(c, o.left, o.top, o.right - o.left, o.bottom - o.top);
      cairo_clip(c);
    }
    cairo_set_antialias(c, CAIRO_ANTIALIAS_GRAY);
    sourceColor(c, m_op.textColor);
    auto show = [&](std::string_view piece, double x) {
      PangoLayout* l = pangofonts::sharedLayout(m_op.font, piece);
      double baseline = pango_layout_get_baseline(l) / double(PANGO_SCALE);
      cairo_move_to(c, x, m_op.baseline - baseline);
      pango_cairo_show_layout(c, l);
    };
    if (m_op.advances.empty()) {
      show(m_op.text, m_op.position.x);
    } else {
      // Each character at its own advance (fixed metrics, or the caller's).
      size_t i = 0, k = 0;
      double x = m_op.position.x;
      while (i < m_op.text.size()) {
        size_t start = i;
        decodeUtf8(m_op.text, i);
        std::string_view ch(m_op.text.data() + start, i - start);
        if (ch != " " && ch != "\t") show(ch, x);
        x += k < m_op.advances.size() ? m_op.advances[k] : 0;
        ++k;
      }
    }
    cairo_restore(c);
  }

  void blit() {
    if (!m_op.source || !m_op.source->pixels) return;
    const PixelImage& src = *m_op.source;
    RECT area;
    if (!IntersectRect(&area, &m_op.rect, &m_op.clip)) return;
    int dx = m_op.sourceRect.left - m_op.rect.left, dy = m_op.sourceRect.top - m_op.rect.top;
    // Only the part that has source pixels is drawn.
    RECT fromSource{-dx, -dy, src.width - dx, src.height - dy};
    if (!IntersectRect(&area, &area, &fromSource)) return;
    int w = area.right - area.left, h = area.bottom - area.top;
    // Row by row; through a copy of the source rows when source and
    // destination are one surface (they may overlap).
    std::vector<uint32_t> copy;
    bool same = src.pixels == m_img.pixels;
    if (same) {
      copy.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
      for (int y = 0; y < h; ++y) {
        const uint32_t* from = src.pixels + static_cast<size_t>(area.top + y + dy) * static_cast<size_t>(src.stride) +
                               static_cast<size_t>(area.left + dx);
        std::copy(from, from + w, copy.data() + static_cast<size_t>(y) * static_cast<size_t>(w));
      }
    }
    for (int y = 0; y < h; ++y) {
      const uint32_t* s = same ? copy.data() + static_cast<size_t>(y) * static_cast<size_t>(w)
                               : src.pixels + static_cast<size_t>(area.top + y + dy) * static_cast<size_t>(src.stride) +
                                     static_cast<size_t>(area.left + dx);
      uint32_t* d = &at(area.left, area.top + y);
      switch (m_op.rop) {
        case SRCPAINT:
          for (int x = 0; x < w; ++x) d[x] = (d[x] | s[x]) & 0xFFFFFF;
          break;
        case SRCAND:
          for (int x = 0; x < w; ++x) d[x] = (d[x] & s[x]) & 0xFFFFFF;
          break;
        case SRCINVERT:
          for (int x = 0; x < w; ++x) d[x] = (d[x] ^ s[x]) & 0xFFFFFF;
          break;
        default:
          for (int x = 0; x < w; ++x) d[x] = s[x] & 0xFFFFFF;
          break;
      }
    }
  }

  Surface& m_surface;
  const GdiOp& m_op;
  PixelImage m_img;
  cairo_t* m_cr = nullptr;
};

}  // namespace

void drawOnSurface(Surface& surface, const GdiOp& op) {
  if (!surface.valid()) return;
  Painter(surface, op).draw();
}

}  // namespace platform::gdi
