// The values of earthline records that a rock-layer table may receive.

#include "RecordChecks.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "InputTexts.h"

namespace {

// A whole number in the int range, the whole text (blanks round it allowed).
bool IsWholeNumber(const CString& text) {
  CString trimmed = text;
  trimmed.Trim();
  if (trimmed.IsEmpty()) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(trimmed.GetString(), &end, 10);
  return *end == '\0' && errno != ERANGE && value >= -2147483647L && value <= 2147483647L;
}

// The first point of a side that is no finite number, as "第3点的距中桩距离".
CString PointFault(const EarthPoint* points, int count) {
  CString text;
  for (int k = 0; k < count; ++k) {
    if (!std::isfinite(points[k].distance)) {
      text.Format("第%d点的距中桩距离", k + 1);
      return text;
    }
    if (!std::isfinite(points[k].height)) {
      text.Format("第%d点的与中桩高程差", k + 1);
      return text;
    }
  }
  return text;
}

// The side a record stands for, by the points it holds: its row in the
// table, and the side a user finds it on when the station is queried.
const char* SideOfRecord(const earthline& r) {
  const bool left = r.leftCount > 0, right = r.rightCount > 0;
  if (left && right) return "两侧";
  if (left) return "左侧";
  if (right) return "右侧";
  return "无地面点的一侧";
}

}  // namespace

bool IsKnownRockType(int rockType) { return rockType >= kRockTypeFirst && rockType <= kRockTypeLast; }

bool IsStoredLayer(int layer) { return layer >= 0 && layer < kLayersMax; }

CString RecordFault(const earthline& r, bool detour) {
  CString fault;
  bool sideNamed = false;  // a fault of the points names its side itself
  if (!std::isfinite(r.chainage)) {
    fault = "中桩里程数不是有限的数";
  } else if (!std::isfinite(r.elevation)) {
    fault = "地面高程不是有限的数";
  } else if (!IsStoredLayer(r.layer)) {
    fault.Format("层号%d不在0到%d之间", r.layer, kLayersMax - 1);
  } else if (!IsKnownRockType(r.rockType)) {
    fault.Format("岩层性质%d不是已知的岩性(%d到%d)", r.rockType, kRockTypeFirst, kRockTypeLast);
  } else if (detour && !IsWholeNumber(r.detourNumber)) {
    fault.Format("绕行段编号\"%s\"不是整数", r.detourNumber.GetString());
  } else {
    sideNamed = true;
    for (int s = 0; s < 2 && fault.IsEmpty(); ++s) {
      const bool left = s == 0;
      const int count = left ? r.leftCount : r.rightCount;
      const char* side = left ? "左侧" : "右侧";
      if (count < 0 || count > kEarthPointsMax) {
        fault.Format("%s地面点数%d不在0到%d之间", side, count, kEarthPointsMax);
      } else {
        const CString point = PointFault(left ? r.left : r.right, count);
        if (!point.IsEmpty()) fault.Format("%s%s不是有限的数", side, point.GetString());
      }
    }
  }
  if (fault.IsEmpty()) return fault;
  CString text;
  if (sideNamed)
    text.Format("%s 层%d: %s", StationText(r.prefix, r.chainage).GetString(), r.layer, fault.GetString());
  else
    text.Format("%s 层%d %s: %s", StationText(r.prefix, r.chainage).GetString(), r.layer, SideOfRecord(r),
                fault.GetString());
  return text;
}
