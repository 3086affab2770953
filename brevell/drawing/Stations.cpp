// AlignmentModel: stations (a flag block at the station's chainage with the
// chainage and the station's name) and bench marks (block 31014 with the
// mark's number and elevation), the blocks read from the drawings in the
// install folder's DWG folder.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "AlignmentModel.h"
#include "PlanDrawSupport.h"
#include "PlanLayers.h"
#include "arx/dbents.h"
#include "arx/edoutput.h"
#include "crt/gbk.h"
#include "geometry/DrawSupport.h"
#include "project/ModulePath.h"

namespace {

using plandraw::kPi;

constexpr char kBenchMarkBlock[] = "31014.dwg";

// The height of a flag block (in block units) by the two characters at GBK
// bytes 4 and 5 of its name; 41 for any other name. The 27 names the station
// tables offer (乘降所01 … 中间站17) all give 41: their bytes 4 and 5 are
// halves of Chinese characters.
double FlagHeight(const char* blockName) {
  const std::string gbk = platform::utf8ToGbk(blockName != nullptr ? blockName : "");
  if (gbk.size() < 5) return 41.0;
  const std::string code = gbk.substr(3, 2);
  static const struct {
    const char* code;
    double height;
  } kHeights[] = {{"04", 35.0}, {"06", 33.0},    {"07", 39.1924}, {"08", 35.0}, {"10", 41.0},
                  {"15", 36.0}, {"16", 39.1924}, {"17", 35.0},    {"18", 35.0}};
  for (const auto& h : kHeights) {
    if (code == h.code) return h.height;
  }
  return 41.0;
}

// Inserts a block drawing of the DWG folder; a missing or unreadable one is
// reported on the command line ("<folder><file>不存在!").
AcDbObjectId BlockOf(const CString& file) {
  const CString folder = AlignmentModel::BlockFolder();
  const AcDbObjectId block = BAS_DRAW_FUN::InsertDwgAsBlock(folder.GetString(), file.GetString());
  if (block.isNull()) acutPrintf("%s%s不存在!\n", folder.GetString(), file.GetString());
  return block;
}

// A block reference at p, turned and scaled, on a layer.
AcDbObjectId InsertBlock(AcDbObjectId block, const AcGePoint3d& p, double rotation, double scale, const char* layer) {
  if (!plandraw::Finite(p)) return AcDbObjectId::kNull;
  auto* reference = new AcDbBlockReference(p, block);
  reference->setRotation(rotation);
  if (scale > 0.0) reference->setScaleFactors(AcGeScale3d(scale, scale, 1.0));
  drawsupport::SetLayer(reference, drawsupport::LayerId(layer));
  return BAS_DRAW_FUN::AddToModelSpace(reference);
}

}  // namespace

CString AlignmentModel::BlockFolder() { return InstallFolder() + "\\DWG\\"; }

void AlignmentModel::DrawStations(const char* chainageText, const char* stationName, const char* blockName, int code,
                                  int segment) {
  CString file;
  file.Format("%s.dwg", blockName != nullptr ? blockName : "");
  const AcDbObjectId block = BlockOf(file);
  if (block.isNull()) return;
  const PlanLine& line = Line(code);
  if (!line.HasElements()) return;
  const double g = ChainageToLineDistance(code, chainageText, segment);
  if (g < line.range.start || g > line.range.end) {
    m_leftOutOfRange.push_back(CString(stationName != nullptr ? stationName : "") + "(" +
                               (chainageText != nullptr ? chainageText : "") + ")");
    return;
  }
  LinePoint p;
  if (!PointAt(code, std::max(g, 0.001), p)) return;

  const char* layer = PlanLayerOf(kLayerStation, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  const int d = settings.direction;
  const int labelSide = LabelSideOrLeft();
  const AcGePoint3d at = plandraw::At(p);
  // The flag stands on the side of the labels, across the line.
  const double blockRotation =
      plandraw::Normalized(2.5 * kPi - p.bearing + (settings.directionSetting == 1 ? kPi : 0.0));
  InsertBlock(block, at, blockRotation, k, layer);

  const CString chainage = chainageText != nullptr ? chainageText : "";
  const double across = p.bearing + labelSide * kPi / 2.0;
  const AcGePoint3d chainageAt = plandraw::Polar(plandraw::Polar(at, 0.8 * h, d == -1 ? p.bearing + kPi : p.bearing),
                                                 0.48 * plandraw::Width(chainage) * h, across);
  plandraw::Text(chainageAt, chainage, plandraw::Normalized(2.5 * kPi - p.bearing - d * kPi / 2.0), h,
                 plandraw::kMiddle, layer);
  // The name beyond the top of the flag.
  const double beyond = FlagHeight(blockName) * k + 0.5 * h + k;
  plandraw::Text(plandraw::Polar(at, beyond, across), stationName != nullptr ? stationName : "", blockRotation, h,
                 plandraw::kMiddle, layer);
}

void AlignmentModel::DrawBenchMarks(const BenchMarkCall& mark) {
  const int code = mark.line;
  const PlanLine& line = Line(code);
  const char* layer = PlanLayerOf(kLayerBenchMark, code);
  const double h = settings.textHeight;
  const double k = settings.scaleFactor;
  char number[400];
  FormatReal(mark.elevation, settings.benchLevelDigits, number);
  const CString elevation = number;

  // The mark's mileage by its chainage, when it has one.
  bool byChainage = false;
  double C = 0.0;
  if (mark.value > 0.01) {
    char text[kChainageTextSize];
    FormatChainageWithPrecision(mark.prefix.GetString(), mark.value, settings.chainageDigits, text);
    if (text[0] != '\0') {
      C = ChainageToLineDistance(code, text, -1);
      if (C < line.range.start || C > line.range.end) {
        m_leftOutOfRange.push_back(mark.number + "(" + text + ")");
        return;
      }
      byChainage = true;
    }
  }
  const bool byCoordinates = !(mark.N < 0.1 && mark.E < 0.1);
  if (!byCoordinates && !byChainage) {
    acutPrintf("\n水准点%s既无坐标也无里程,未绘出!\n", mark.number.GetString());
    return;
  }
  const AcDbObjectId block = BlockOf(kBenchMarkBlock);
  if (block.isNull()) return;

  // Where it stands, and the line's direction there.
  AcGePoint3d P;
  double bearing = 0.0;
  LinePoint p;
  if (!byCoordinates) {
    if (!PointAt(code, C, p)) return;
    P = plandraw::Polar(plandraw::At(p), mark.offset, p.bearing + kPi / 2.0);
    bearing = p.bearing;
  } else {
    P.set(mark.E, mark.N, 0.0);
    const double along =
        line.HasElements() ? ProjectPointOnAlignment(line.Elements(), line.elementCount, mark.N, mark.E) : -1.0;
    if (along >= 0.0) bearing = PointNear(code, along).bearing;
  }

  AcDbObjectIdArray ids;
  ids.append(InsertBlock(block, P, 0.0, k, layer));
  const int widest = std::max(plandraw::Width(mark.number), plandraw::Width(elevation));
  const double x = P.x + 2.0 * k + (0.4 * widest + 0.5) * h;
  ids.append(plandraw::Text(AcGePoint3d(x, P.y + 0.6 * h, 0.0), mark.number, 0.0, h, plandraw::kMiddle, layer));
  ids.append(plandraw::Text(AcGePoint3d(x, P.y - 0.6 * h, 0.0), elevation, 0.0, h, plandraw::kMiddle, layer));
  ids.append(plandraw::Line(AcGePoint3d(P.x + 2.0 * k + 0.5 * h, P.y, 0.0),
                            AcGePoint3d(P.x + 2.0 * k + (widest * settings.labelFactor + 0.5) * h, P.y, 0.0), -1,
                            layer));
  // Turned as one to the line.
  RotateEntities(ids, P, 2.5 * kPi - bearing + (settings.directionSetting == 1 ? kPi : 0.0));
}
