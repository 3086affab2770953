// The station of an earthline record.

#include "earthline.h"

#include <cmath>

bool IsSameStation(const CString& prefixA, double chainageA, const CString& prefixB, double chainageB) {
  if (std::fabs(chainageA - chainageB) >= kSameStationTolerance) return false;
  CString a = prefixA, b = prefixB;
  a.Trim();
  b.Trim();
  return a.CompareNoCase(b.GetString()) == 0;
}
