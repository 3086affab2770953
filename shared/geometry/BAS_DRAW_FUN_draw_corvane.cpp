// The cross-section build's own drawing members of BAS_DRAW_FUN: the layer
// eraser through the ERASE command, layers on demand, and the entity makers
// of the cross-section drawings (polylines, marks, lines, texts, level marks
// and dimension lines).

#if defined(CORVANE_BUILD)

#include <cmath>
#include <numbers>
#include <string>

#include "arx/adscodes.h"
#include "arx/dbents.h"
#include "arx/edcmdline.h"
#include "arx/edoutput.h"
#include "arx/selection.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/DrawSupport.h"

namespace {

constexpr double kHalfPi = std::numbers::pi / 2.0;

// Text modes of the cross-section text makers.
constexpr int kModeLeft = 1;
constexpr int kModeCentre = 2;

// How a missing text style is made by each text maker.
constexpr double kStyleWidth = 0.7;
constexpr double kWideStyleWidth = 0.8;
constexpr const char* kBigFont = "gbcbig.shx";

}  // namespace

void BAS_DRAW_FUN::EraseLayerByCommand(const char* layer) {
  std::string pattern = drawsupport::LayerFilterPattern(layer);
  resbuf filter{};
  filter.restype = 8;
  filter.resval.rstring = pattern.data();
  ads_name selection;
  if (acedSSGet("X", nullptr, nullptr, &filter, selection) != RTNORM) {
    acutPrintf("\nfail to run ads_ssget function.");
    return;
  }
  acedCommand(RTSTR, "Erase", RTPICKS, selection, RTSTR, "", RTNONE);
  if (acedSSFree(selection) != RTNORM) acutPrintf("\nsname free error");
}

AcDbObjectId BAS_DRAW_FUN::GetOrAddLayer(const char* layer) { return drawsupport::LayerId(layer); }

AcDbObjectId BAS_DRAW_FUN::AddPolyline2d(const AcGePoint3dArray& points, double startWidth, double endWidth,
                                         int colour, const char* layer) {
  return drawsupport::Append2dPolyline(points, startWidth, endWidth, colour, drawsupport::LayerId(layer));
}

AcDbObjectId BAS_DRAW_FUN::AddMarkTriangle(const AcGePoint3d& p, double size, int colour) {
  return drawsupport::AppendMarkTriangle(p, size, colour);
}

AcDbObjectId BAS_DRAW_FUN::AddLineEntity(const AcGePoint3d& p1, const AcGePoint3d& p2, int colour, int lineWeight,
                                         const char* layer, const char* linetype) {
  return drawsupport::AppendLine(p1, p2, colour, lineWeight, drawsupport::LayerId(layer), linetype);
}

AcDbObjectId BAS_DRAW_FUN::AddTextEntity(const AcGePoint3d& position, const char* text, double rotation,
                                         double height, int colour, int mode, const char* style) {
  return drawsupport::AppendStyledText(position, text, rotation, height, colour, mode, style, nullptr, kStyleWidth);
}

AcDbObjectId BAS_DRAW_FUN::AddTextEntityBigFont(const AcGePoint3d& position, const char* text, double rotation,
                                                double height, int colour, int mode, const char* style) {
  return drawsupport::AppendStyledText(position, text, rotation, height, colour, mode, style, kBigFont,
                                       kStyleWidth);
}

AcDbObjectId BAS_DRAW_FUN::AddTextEntityWide(const AcGePoint3d& position, const char* text, double rotation,
                                             double height, int colour, int mode, const char* style) {
  return drawsupport::AppendStyledText(position, text, rotation, height, colour, mode, style, nullptr,
                                       kWideStyleWidth);
}

void BAS_DRAW_FUN::DrawLevelMark(const AcGePoint3d& p, double size, int colour, const char* text) {
  AddMarkTriangle(p, size, colour);
  AddTextEntity(AcGePoint3d(p.x, p.y + 0.25 * size, p.z), text, 0.0, 0.2 * size, colour, kModeLeft, "romanc");
}

void BAS_DRAW_FUN::DrawDimensionLine(const AcGePoint3d& p1, const AcGePoint3d& p2, double textHeight, int colour,
                                     const char* layer, const char* valueText) {
  DrawDimensionLine(p1, p2, textHeight, colour, drawsupport::LayerId(layer), valueText);
}

void BAS_DRAW_FUN::DrawDimensionLine(const AcGePoint3d& p1, const AcGePoint3d& p2, double textHeight, int colour,
                                     AcDbObjectId layerId, const char* valueText) {
  constexpr double kBar = 1.0;         // half the bar, across the line
  constexpr double kTickAcross = 0.5;  // half the tick, across the line
  constexpr double kTickAlong = 0.25;  // half the tick, along the line
  const bool horizontal = std::fabs(p1.y - p2.y) < 0.01;
  // Unit vectors along and across the dimension line as it is taken.
  const AcGeVector3d along = horizontal ? AcGeVector3d(1, 0, 0) : AcGeVector3d(0, 1, 0);
  const AcGeVector3d across = horizontal ? AcGeVector3d(0, 1, 0) : AcGeVector3d(-1, 0, 0);
  auto line = [&](const AcGePoint3d& a, const AcGePoint3d& b) {
    drawsupport::AppendLine(a, b, colour, AcDb::kLnWtByLayer, layerId, nullptr);
  };
  line(p1, p2);
  for (const AcGePoint3d& end : {p1, p2}) {
    line(end - across * kBar, end + across * kBar);
    const AcGeVector3d tick = along * kTickAlong + across * kTickAcross;
    line(end - tick, end + tick);
  }
  const AcGePoint3d middle((p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0, (p1.z + p2.z) / 2.0);
  drawsupport::AppendStyledText(middle + across * (0.25 * textHeight), valueText, horizontal ? 0.0 : kHalfPi,
                                textHeight, colour, kModeCentre, "宋体", nullptr, kWideStyleWidth, layerId);
}

#endif  // CORVANE_BUILD
