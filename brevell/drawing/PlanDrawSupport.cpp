// What the plan's drawing routines share (see PlanDrawSupport.h).

#include "PlanDrawSupport.h"

#include <cstdio>

#include "arx/edoutput.h"
#include "arx/rtos.h"
#include "crt/gbk.h"
#include "geometry/BAS_DRAW_FUN.h"

namespace plandraw {

namespace {

// A point that is no finite number is left out with a note.
bool Refused(const AcGePoint3d& a, const AcGePoint3d& b, const char* layer) {
  if (Finite(a) && Finite(b)) return false;
  acutPrintf("\n%s层: 数据有误,坐标无效的对象未绘出!\n", layer != nullptr ? layer : "0");
  return true;
}

}  // namespace

double Normalized(double angle) {
  if (!std::isfinite(angle)) return angle;
  angle = std::fmod(angle, 2.0 * kPi);
  return angle < 0.0 ? angle + 2.0 * kPi : angle;
}

int Width(const CString& text) { return platform::GbkLength(text.GetString()); }

CString Fixed(double value, int decimals) {
  char format[16];
  std::snprintf(format, sizeof format, "%%0.%dlf", decimals < 0 ? 0 : decimals > 20 ? 20 : decimals);
  CString text;
  text.Format(format, value);
  return text;
}

CString RToS(double value, int decimals) {
  char buffer[400];
  acdbRToS(value, 2, decimals, buffer);
  return CString(buffer);
}

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

AcDbObjectId Line(const AcGePoint3d& a, const AcGePoint3d& b, int lineWeight, const char* layer) {
  if (Refused(a, b, layer)) return AcDbObjectId::kNull;
  return BAS_DRAW_FUN::MakeLine(a, b, -1, lineWeight, layer, nullptr);
}

AcDbObjectId Text(const AcGePoint3d& at, const CString& text, double rotation, double height, int mode,
                  const char* layer) {
  if (Refused(at, at, layer) || !std::isfinite(rotation)) return AcDbObjectId::kNull;
  return BAS_DRAW_FUN::MakeTextFromCString(at, text, rotation, height, -1, mode, layer);
}

AcDbObjectId WideSegment(const AcGePoint3d& a, const AcGePoint3d& b, double width, const char* layer) {
  if (Refused(a, b, layer)) return AcDbObjectId::kNull;
  return BAS_DRAW_FUN::MakeTwoPointPolyline(a, b, width, -1, layer, nullptr, 1.0);
}

}  // namespace plandraw
