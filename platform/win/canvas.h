#pragma once
// The drawing interface of device contexts. A DC turns every drawing call
// into one GdiOp (device coordinates, with the clip, pen, brush, font and
// colours in force) and hands it to its back ends through Canvas::draw: the
// surface it draws into (an image drawn through cairo and pango) and, when it
// has one, a GdiRecorder that keeps the list for tests to read back.

#include <cstdint>
#include <string>
#include <vector>

#include "win/wingdi.h"

namespace platform {

// Pixels of a surface, 0x00RRGGBB each, row after row (`stride` pixels apart).
struct PixelImage {
  int width = 0;
  int height = 0;
  int stride = 0;
  uint32_t* pixels = nullptr;
};

struct GdiPen {
  int style = PS_SOLID;
  int width = 1;  // in pixels; 0 draws as 1
  COLORREF color = 0;
  bool visible() const { return style != PS_NULL; }
};

struct GdiBrush {
  int style = BS_SOLID;
  COLORREF color = 0xFFFFFF;
  bool visible() const { return style != BS_NULL; }
};

struct GdiOp {
  enum Kind {
    kFillRect,   // `rect` filled with `brush` by `rop`: PATCOPY, PATINVERT, DSTINVERT,
                 // BLACKNESS or WHITENESS (FillRect, PatBlt, FillSolidRect, edges)
    kRectangle,  // `rect` outlined with `pen`, filled with `brush`
    kEllipse,    // the ellipse inside `rect`, outlined and filled
    kPolyline,   // `points` joined by `pen`; the last point is not drawn
    kPolygon,    // `points` closed, filled with `brush` (`fillMode`), outlined with `pen`
    kText,       // `text` with its top-left at `position`
    kBlit,       // `sourceRect` of `source` combined into `rect` with `rop`
    kPixel,      // one pixel at `position` in `textColor`
  };
  Kind kind = kFillRect;
  uintptr_t target = 0;  // the surface drawn on: the bitmap's handle value

  // Geometry, device coordinates.
  RECT rect{0, 0, 0, 0};
  std::vector<POINT> points;
  POINT position{0, 0};

  // State in force.
  GdiPen pen;
  GdiBrush brush;
  int fillMode = ALTERNATE;
  RECT clip{0, 0, 0, 0};  // the clip in device coordinates (the surface when none was set)
  POINT offset{0, 0};     // device = logical + offset
  bool visible = true;    // some part of the operation lies inside the clip

  // Text: UTF-8; `advances` one per character when given (ExtTextOut's, or
  // the fixed test metrics'); `box` the text's cell box; `baseline` its y.
  std::string text;
  LOGFONT font{};
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  std::vector<int> advances;
  RECT box{0, 0, 0, 0};
  int baseline = 0;
  UINT options = 0;             // ETO_OPAQUE, ETO_CLIPPED
  RECT optionRect{0, 0, 0, 0};  // their rectangle, device coordinates

  // Fills and blits.
  DWORD rop = PATCOPY;
  uintptr_t sourceTarget = 0;
  RECT sourceRect{0, 0, 0, 0};
  const PixelImage* source = nullptr;  // valid only while the op is drawn

  // A one-line description for test messages ("fill (0,0,10,10) #C0C0C0").
  std::string describe() const;
};

class PLATFORM_API Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void draw(const GdiOp& op) = 0;
};

// Keeps every operation drawn through it, in order. A recorder given to an
// image DC is shared by the memory DCs made compatible with it; `target` then
// tells the surfaces apart.
class PLATFORM_API GdiRecorder : public Canvas {
 public:
  void draw(const GdiOp& op) override;
  const std::vector<GdiOp>& ops() const { return m_ops; }
  // The operations drawn on one surface.
  std::vector<GdiOp> opsOn(uintptr_t target) const;
  void clear() { m_ops.clear(); }

 private:
  std::vector<GdiOp> m_ops;
};

}  // namespace platform
