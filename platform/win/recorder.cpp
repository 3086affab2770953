// The recording back end of device contexts.
#include <cstdio>
#include <string>

#include "win/canvas.h"

namespace platform {

namespace {

std::string rectText(const RECT& r) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "(%d,%d,%d,%d)", static_cast<int>(r.left), static_cast<int>(r.top),
                static_cast<int>(r.right), static_cast<int>(r.bottom));
  return buf;
}

std::string colorText(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

std::string pointsText(const std::vector<POINT>& pts) {
  std::string s;
  for (const POINT& p : pts) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%d,%d", s.empty() ? "" : " ", static_cast<int>(p.x), static_cast<int>(p.y));
    s += buf;
  }
  return s;
}

std::string penText(const GdiPen& p) { return p.visible() ? "pen " + colorText(p.color) : "no pen"; }
std::string brushText(const GdiBrush& b) { return b.visible() ? "brush " + colorText(b.color) : "no brush"; }

}  // namespace

std::string GdiOp::describe() const {
  std::string s;
  switch (kind) {
    case kFillRect: s = "fill " + rectText(rect) + " " + brushText(brush); break;
    case kRectangle: s = "rectangle " + rectText(rect) + " " + penText(pen) + " " + brushText(brush); break;
    case kEllipse: s = "ellipse " + rectText(rect) + " " + penText(pen) + " " + brushText(brush); break;
    case kPolyline: s = "line " + pointsText(points) + " " + penText(pen); break;
    case kPolygon: s = "polygon " + pointsText(points) + " " + penText(pen) + " " + brushText(brush); break;
    case kText: s = "text \"" + text + "\" at " + pointsText({position}) + " " + colorText(textColor); break;
    case kBlit: s = "blit " + rectText(sourceRect) + " to " + rectText(rect); break;
    case kPixel: s = "pixel " + pointsText({position}) + " " + colorText(textColor); break;
  }
  s += " clip " + rectText(clip);
  if (!visible) s += " (outside the clip)";
  return s;
}

void GdiRecorder::draw(const GdiOp& op) {
  m_ops.push_back(op);
  m_ops.back().source = nullptr;  // the source's pixels do not outlive the call
}

std::vector<GdiOp> GdiRecorder::opsOn(uintptr_t target) const {
  std::vector<GdiOp> out;
  for (const GdiOp& op : m_ops)
    if (op.target == target) out.push_back(op);
  return out;
}

}  // namespace platform
