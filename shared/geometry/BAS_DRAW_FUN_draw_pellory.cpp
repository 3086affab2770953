// The ground-line input build's own drawing members of BAS_DRAW_FUN: the
// texts, elevation marks and polylines of a ground line drawn from the input
// dialog.

#if defined(PELLORY_BUILD)

#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/DrawSupport.h"

namespace {

// How a missing text style is made by the text maker.
constexpr double kStyleWidth = 0.8;

}  // namespace

AcDbObjectId BAS_DRAW_FUN::MakeTextWithStyle(const AcGePoint3d& position, const char* text, double rotation,
                                             double height, int colour, int mode, const char* style) {
  return drawsupport::AppendStyledText(position, text, rotation, height, colour, mode, style, nullptr, kStyleWidth);
}

AcDbObjectId BAS_DRAW_FUN::MakeElevationTriangle(const AcGePoint3d& p, double size, int colour) {
  return drawsupport::AppendMarkTriangle(p, size, colour);
}

AcDbObjectId BAS_DRAW_FUN::DrawElevationMark(const AcGePoint3d& p, double textHeight, const char* text,
                                             int triangleColour, int textColour, double size, int mode) {
  MakeElevationTriangle(p, size, triangleColour);
  return MakeTextWithStyle(AcGePoint3d(p.x, p.y + 0.25 * size, p.z), text, 0.0, textHeight, textColour, mode, "宋体");
}

AcDbObjectId BAS_DRAW_FUN::MakePolyline2d(AcGePoint3dArray vertices, int colour, double startWidth, double endWidth,
                                          AcDbObjectId layerId) {
  return drawsupport::Append2dPolyline(vertices, startWidth, endWidth, colour, layerId);
}

#endif  // PELLORY_BUILD
