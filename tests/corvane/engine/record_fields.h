#pragma once
// Every value a SectionRecord holds, by name, so that two records can be
// compared field by field: the numbers of the record, its area block, its
// layer passes, its design lines and ditch lists (each point by its own
// name), and its ground blocks' layer numbers and counts.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "SectionRecord.h"

namespace record_fields {

using Fields = std::map<std::string, double>;

inline void AddTriple(Fields& f, const std::string& name, const AreaTriple& t) {
  f[name + ".left"] = t.left;
  f[name + ".middle"] = t.middle;
  f[name + ".right"] = t.right;
}

inline void AddArray(Fields& f, const std::string& name, const double* values, int count) {
  for (int k = 0; k < count; ++k) f[name + "[" + std::to_string(k) + "]"] = values[k];
}

inline void AddPoints(Fields& f, const std::string& name, const PairXY* points, int count) {
  for (int k = 0; k < count; ++k) {
    f[name + "[" + std::to_string(k) + "].x"] = points[k].x;
    f[name + "[" + std::to_string(k) + "].y"] = points[k].y;
  }
}

inline Fields Of(const SectionRecord& r) {
  Fields f;
  f["mileage"] = r.mileage;
  f["chainage"] = r.chainage;
  f["sectionInfo"] = r.sectionInfo;
  f["designElevation"] = r.designElevation;
  f["kind"] = r.kind;
  f["shoulderDesignElevation"] = r.shoulderDesignElevation;
  f["groundElevation"] = r.groundElevation;
  f["centreFillHeight"] = r.centreFillHeight;
  f["separationWidth"] = r.separationWidth;
  f["leftLandTake"] = r.leftLandTake;
  f["rightLandTake"] = r.rightLandTake;
  for (int s = 0; s < kSectionSides; ++s) {
    const std::string k = "[" + std::to_string(s) + "]";
    AddPoints(f, "roadbedTop" + k, r.roadbedTop[s], 4);
    f["roadbedTopFlag" + k] = r.roadbedTopFlag[s];
    f["formCode" + k] = r.formCode[s];
    f["pointCount" + k] = r.pointCount[s];
    f["lastIndex" + k] = r.lastIndex[s];
    f["designLines" + k + ".length"] = r.designLines[s].length();
    for (int j = 0; j < r.designLines[s].length(); ++j) {
      const std::string p = "designLines" + k + "[" + std::to_string(j) + "]";
      f[p + ".x"] = r.designLines[s][j].x;
      f[p + ".y"] = r.designLines[s][j].y;
      f[p + ".z"] = r.designLines[s][j].z;
    }
    f["ditchKind" + k] = r.ditchKind[s];
    f["drainageDitchCount" + k] = r.drainageDitchCount[s];
    f["topDitchCount" + k] = r.topDitchCount[s];
    AddPoints(f, "drainageDitch" + k, r.drainageDitch[s], kDrainageDitchPoints);
    AddPoints(f, "topDitch" + k, r.topDitch[s], kTopDitchPoints);
  }
  AddArray(f, "shoulderFillHeight", r.shoulderFillHeight, 2);
  AddArray(f, "crownOffset", r.crownOffset, 2);
  AddArray(f, "referenceElevation", r.referenceElevation, 2);
  f["groundBlocks.size"] = r.GroundBlockCount();
  for (int b = 0; b < r.GroundBlockCount(); ++b) {
    const GroundBlock& g = r.groundBlocks[static_cast<size_t>(b)];
    const std::string k = "groundBlocks[" + std::to_string(b) + "]";
    f[k + ".layer"] = g.layer;
    f[k + ".rockType"] = g.rockType;
    f[k + ".leftCount"] = g.leftCount;
    f[k + ".rightCount"] = g.rightCount;
  }
  f["fillTotal"] = r.fillTotal;
  f["cutTotal"] = r.cutTotal;
  f["leftCode"] = r.leftCode;
  f["rightCode"] = r.rightCode;
  f["leftLineOffset"] = r.leftLineOffset;
  f["rightLineOffset"] = r.rightLineOffset;
  f["sheetX"] = r.sheetX;
  f["sheetY"] = r.sheetY;
  f["labelX"] = r.labelX;
  f["labelY"] = r.labelY;
  f["frameLeft"] = r.frameLeft;
  f["frameTop"] = r.frameTop;
  f["frameRight"] = r.frameRight;
  f["frameBottom"] = r.frameBottom;
  f["minElevation"] = r.minElevation;
  f["maxElevation"] = r.maxElevation;
  f["curveWidening"] = r.curveWidening;
  f["rightCurveWidening"] = r.rightCurveWidening;
  f["lineRelation"] = r.lineRelation;
  f["sideCode"] = r.sideCode;
  f["detourIndex"] = r.detourIndex;

  const SectionAreas& a = r.areas;
  f["areas.fill"] = a.fill;
  f["areas.cut"] = a.cut;
  AddArray(f, "areas.rockClass", a.rockClass, 6);
  f["areas.improvedSoil"] = a.improvedSoil;
  f["areas.surfaceLayer"] = a.surfaceLayer;
  f["areas.topsoil"] = a.topsoil;
  f["areas.ditchFill"] = a.ditchFill;
  f["areas.ditchCut"] = a.ditchCut;
  AddArray(f, "areas.excavationClass", a.excavationClass, 6);
  f["areas.shoulderLayer"] = a.shoulderLayer;
  f["areas.ditchLining"] = a.ditchLining;
  f["areas.retainingWallLength"] = a.retainingWallLength;
  f["areas.turfLength"] = a.turfLength;
  f["areas.middlePartFlag"] = a.middlePartFlag;
  AddTriple(f, "areas.fillParts", a.fillParts);
  AddTriple(f, "areas.cutParts", a.cutParts);
  AddTriple(f, "areas.surfaceLayerParts", a.surfaceLayerParts);
  AddTriple(f, "areas.topsoilParts", a.topsoilParts);
  AddTriple(f, "areas.improvedSoilParts", a.improvedSoilParts);
  AddTriple(f, "areas.shoulderLayerParts", a.shoulderLayerParts);
  AddTriple(f, "areas.ditchLiningParts", a.ditchLiningParts);
  AddTriple(f, "areas.retainingWallParts", a.retainingWallParts);
  AddTriple(f, "areas.turfParts", a.turfParts);
  f["areas.ditchFillLeft"] = a.ditchFillLeft;
  f["areas.ditchFillRight"] = a.ditchFillRight;
  f["areas.ditchCutLeft"] = a.ditchCutLeft;
  f["areas.ditchCutRight"] = a.ditchCutRight;
  f["layerCuts.size"] = static_cast<double>(r.layerCuts.size());
  for (size_t k = 0; k < r.layerCuts.size(); ++k) AddTriple(f, "layerCuts[" + std::to_string(k) + "]", r.layerCuts[k]);
  return f;
}

// Expects `got` to hold every value of `want` within `tolerance`, the label
// and prefix alike, except the fields named in `differing` (each with the
// reason the caller gives), which are expected to differ.
inline void ExpectSame(const SectionRecord& got, const SectionRecord& want, double tolerance,
                       const std::map<std::string, std::string>& differing = {}) {
  EXPECT_STREQ(got.label, want.label);
  EXPECT_STREQ(got.prefix, want.prefix);
  const Fields a = Of(got), b = Of(want);
  ASSERT_EQ(a.size(), b.size()) << "the records have fields of other counts (design lines, ground blocks, passes)";
  std::set<std::string> seen;
  for (const auto& [name, value] : b) {
    ASSERT_TRUE(a.count(name)) << name;
    const double other = a.at(name);
    const auto why = differing.find(name);
    if (why != differing.end()) {
      seen.insert(name);
      EXPECT_GT(std::fabs(other - value), tolerance) << name << " was to differ: " << why->second;
      continue;
    }
    EXPECT_NEAR(other, value, tolerance) << name;
  }
  for (const auto& [name, why] : differing) EXPECT_TRUE(seen.count(name)) << "no field " << name << " (" << why << ")";
}

}  // namespace record_fields
