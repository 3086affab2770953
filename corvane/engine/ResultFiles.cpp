// The per-section records of the result files: HdmResultData (the design of
// a section) and HdmDetailArea (its areas and quantities) with their
// readers, and the land files ZdkData (land-take widths) and PMZTT (plan land
// use) of a whole line.
//
// Numbers are written with fixed printf formats and read back with
// whitespace-separated "%lf"/"%d", so line breaks carry no meaning on
// reading. A reader checks every value it scans and every count against the
// room it fills, and reports a short or damaged record by its result.

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "CrossSectionDesigner.h"
#include "ResultFileAccess.h"
#include "crt/format.h"

namespace {

// Design points a side may hold in a result record; far more than a design
// builds, so only a damaged count is refused.
constexpr int kMaxDesignPointsRead = 100000;
// Ground blocks a record may name: the ground line and the rock layers.
constexpr int kMaxGroundBlocksRead = 64;

bool ReadDouble(FILE* fp, double& value) { return ReadResultNumber(fp, value); }
bool ReadInt(FILE* fp, int& value) { return ReadResultInt(fp, value); }

bool ReadPairs(FILE* fp, PairXY* pairs, int count) {
  for (int i = 0; i < count; ++i) {
    if (!ReadDouble(fp, pairs[i].x) || !ReadDouble(fp, pairs[i].y)) return false;
  }
  return true;
}

void WritePairs(FILE* fp, const PairXY* pairs, int count) {
  for (int i = 0; i < count; ++i) platform::printToFile(fp, "%0.3lf %0.3lf ", pairs[i].x, pairs[i].y);
}

// The values of an area line: a total and its parts.
void WriteQuad(FILE* fp, double total, const AreaTriple& parts) {
  platform::printToFile(fp, "%0.3lf %0.3lf %0.3lf %0.3lf\n", total, parts.left, parts.middle, parts.right);
}

bool ReadQuad(FILE* fp, double& total, AreaTriple& parts) {
  return ReadDouble(fp, total) && ReadDouble(fp, parts.left) && ReadDouble(fp, parts.middle) &&
         ReadDouble(fp, parts.right);
}

}  // namespace

namespace {

// Blanks as the "C" locale counts them (the locale the platform keeps for
// the thread reading numbers).
bool IsBlank(int c) { return std::isspace(c) != 0; }

// The next blank-separated word and its length, if it is shorter than any
// number the files are written with could be; false at the end of the file
// or for a longer one. Read as fscanf reads a "%s" of kResultWordMax + 1
// characters at most (the blank after the word left unread), without its cost
// per call.
bool ReadWord(FILE* fp, char (&word)[kResultWordMax + 2], size_t& length) {
  int c = std::getc(fp);
  while (c != EOF && IsBlank(c)) c = std::getc(fp);
  if (c == EOF) return false;
  length = 0;
  while (c != EOF && !IsBlank(c)) {
    word[length++] = static_cast<char>(c);
    if (length == kResultWordMax + 1) break;
    c = std::getc(fp);
  }
  if (c != EOF && IsBlank(c)) std::ungetc(c, fp);
  word[length] = '\0';
  return length <= static_cast<size_t>(kResultWordMax);
}

// The next word as a number of type T: the whole word, finite, within T.
template <class T>
bool ReadWordAs(FILE* fp, T& value) {
  char word[kResultWordMax + 2] = {};
  size_t length = 0;
  if (!ReadWord(fp, word, length)) return false;
  const char* begin = word + (word[0] == '+' ? 1 : 0);
  const char* end = word + length;
  T read{};
  auto [ptr, ec] = std::from_chars(begin, end, read);
  if (ec != std::errc() || ptr != end) return false;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(read)) return false;
  }
  value = read;
  return true;
}

}  // namespace

bool ReadResultNumber(FILE* fp, double& value) { return ReadWordAs(fp, value); }

bool ReadResultInt(FILE* fp, int& value) { return ReadWordAs(fp, value); }

bool ReadResultCount(FILE* fp, int& value, int room) {
  int read = 0;
  if (!ReadInt(fp, read) || read < 0 || read > room) return false;
  value = read;
  return true;
}

// ---- HdmResultData -----------------------------------------------------------------------------

void CrossSectionDesigner::WriteSectionResult(int index, FILE* fp) const {
  if (fp == nullptr || index < 0 || index >= SectionCount()) return;
  const SectionRecord& r = sections[static_cast<size_t>(index)];
  platform::printToFile(fp,
                        "\n%0.3lf %d %d %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf "
                        "%d %d\n",
                        r.mileage, r.lineRelation, r.kind, r.centreFillHeight, r.groundElevation, r.leftLineOffset,
                        r.rightLineOffset, r.curveWidening, r.rightCurveWidening, r.leftLandTake, r.rightLandTake,
                        r.crownOffset[0], r.crownOffset[1], r.referenceElevation[0], r.referenceElevation[1], r.leftCode,
                        r.rightCode);
  for (int k = 0; k < kSectionSides; ++k) WritePairs(fp, r.roadbedTop[k], 4);

  platform::printToFile(fp, "\n%d ", r.GroundBlockCount());
  for (const GroundBlock& block : r.groundBlocks) {
    const int left = std::min(std::max(block.leftCount, 0), kGroundPointsPerSide);
    const int right = std::min(std::max(block.rightCount, 0), kGroundPointsPerSide);
    platform::printToFile(fp, "\n%d %d", block.layer, block.rockType);
    platform::printToFile(fp, "\n%d ", left);
    WritePairs(fp, block.left, left);
    platform::printToFile(fp, "\n%d ", right);
    WritePairs(fp, block.right, right);
  }

  for (int k = 0; k < kSectionSides; ++k) {
    const AcGePoint3dArray& line = r.designLines[k];
    platform::printToFile(fp, "\n%0.3lf %d ", r.formCode[k], line.length());
    for (int j = 0; j < line.length(); ++j) platform::printToFile(fp, "%0.3lf %0.3lf ", line[j].x, line[j].y);
    const int first = std::min(std::max(r.drainageDitchCount[k], 0), kDrainageDitchPoints);
    const int second = std::min(std::max(r.topDitchCount[k], 0), kTopDitchPoints);
    platform::printToFile(fp, "\n%d %d %d ", r.ditchKind[k], first, second);
    WritePairs(fp, r.drainageDitch[k], first);
    WritePairs(fp, r.topDitch[k], second);
  }
  platform::printToFile(fp, "\n");
}

int CrossSectionDesigner::ReadSectionResult(int index, FILE* fp) {
  if (fp == nullptr || index < 0 || index >= SectionCount()) return 0;
  SectionRecord& r = sections[static_cast<size_t>(index)];
  double* heads[] = {&r.mileage,          nullptr,           nullptr,
                     &r.centreFillHeight, &r.groundElevation, &r.leftLineOffset,
                     &r.rightLineOffset,  &r.curveWidening,   &r.rightCurveWidening,
                     &r.leftLandTake,     &r.rightLandTake,   &r.crownOffset[0],
                     &r.crownOffset[1],   &r.referenceElevation[0], &r.referenceElevation[1]};
  for (int i = 0; i < 15; ++i) {
    const bool ok = i == 1 ? ReadInt(fp, r.lineRelation) : i == 2 ? ReadInt(fp, r.kind) : ReadDouble(fp, *heads[i]);
    if (!ok) return 0;
  }
  if (!ReadInt(fp, r.leftCode) || !ReadInt(fp, r.rightCode)) return 0;
  for (int k = 0; k < kSectionSides; ++k) {
    if (!ReadPairs(fp, r.roadbedTop[k], 4)) return 0;
  }

  int blocks = 0;
  if (!ReadResultCount(fp, blocks, kMaxGroundBlocksRead)) return 0;
  r.groundBlocks.assign(static_cast<size_t>(blocks), GroundBlock());
  for (GroundBlock& block : r.groundBlocks) {
    if (!ReadInt(fp, block.layer) || !ReadInt(fp, block.rockType)) return 0;
    if (!ReadResultCount(fp, block.leftCount, kGroundPointsPerSide) || !ReadPairs(fp, block.left, block.leftCount))
      return 0;
    if (!ReadResultCount(fp, block.rightCount, kGroundPointsPerSide) || !ReadPairs(fp, block.right, block.rightCount))
      return 0;
  }

  for (int k = 0; k < kSectionSides; ++k) {
    int count = 0;
    if (!ReadDouble(fp, r.formCode[k]) || !ReadResultCount(fp, count, kMaxDesignPointsRead)) return 0;
    // The record replaces the design line the section held.
    AcGePoint3dArray& line = r.designLines[k];
    line.removeAll();
    for (int j = 0; j < count; ++j) {
      double x = 0.0, y = 0.0;
      if (!ReadDouble(fp, x) || !ReadDouble(fp, y)) return 0;
      line.append(AcGePoint3d(x, y, 0.0));
    }
    r.pointCount[k] = count;
    r.lastIndex[k] = count - 1;
    if (!ReadInt(fp, r.ditchKind[k]) || !ReadResultCount(fp, r.drainageDitchCount[k], kDrainageDitchPoints) ||
        !ReadResultCount(fp, r.topDitchCount[k], kTopDitchPoints))
      return 0;
    if (!ReadPairs(fp, r.drainageDitch[k], r.drainageDitchCount[k]) ||
        !ReadPairs(fp, r.topDitch[k], r.topDitchCount[k]))
      return 0;
  }
  return 1;
}

// ---- HdmDetailArea -----------------------------------------------------------------------------

void CrossSectionDesigner::WriteAreaRecord(int index, FILE* fp) const {
  if (fp == nullptr || index < 0 || index >= SectionCount()) return;
  const SectionRecord& r = sections[static_cast<size_t>(index)];
  const SectionAreas& a = r.areas;
  platform::printToFile(fp, "%lf %d\n", r.mileage, r.leftCode);
  WriteQuad(fp, a.fill, a.fillParts);
  WriteQuad(fp, a.cut, a.cutParts);
  platform::printToFile(fp, "%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf\n", a.rockClass[0], a.rockClass[1], a.rockClass[2],
                        a.rockClass[3], a.rockClass[4], a.rockClass[5]);
  WriteQuad(fp, a.surfaceLayer, a.surfaceLayerParts);
  WriteQuad(fp, a.topsoil, a.topsoilParts);
  WriteQuad(fp, a.improvedSoil, a.improvedSoilParts);
  WriteQuad(fp, a.shoulderLayer, a.shoulderLayerParts);
  WriteQuad(fp, a.ditchLining, a.ditchLiningParts);
  WriteQuad(fp, a.retainingWallLength, a.retainingWallParts);
  WriteQuad(fp, a.turfLength, a.turfParts);
  platform::printToFile(fp, "%0.3lf %0.3lf %0.3lf\n", a.ditchFill, a.ditchFillLeft, a.ditchFillRight);
  platform::printToFile(fp, "%0.3lf %0.3lf %0.3lf\n", a.ditchCut, a.ditchCutLeft, a.ditchCutRight);
  platform::printToFile(fp, "\n");
}

int CrossSectionDesigner::ReadDataFile(int index, FILE* fp) {
  if (fp == nullptr || index < 0 || index >= SectionCount()) return 0;
  SectionRecord& r = sections[static_cast<size_t>(index)];
  SectionAreas& a = r.areas;
  if (!ReadDouble(fp, r.mileage) || !ReadInt(fp, r.leftCode)) return 0;
  if (!ReadQuad(fp, a.fill, a.fillParts) || !ReadQuad(fp, a.cut, a.cutParts)) return 0;
  for (double& v : a.rockClass) {
    if (!ReadDouble(fp, v)) return 0;
  }
  if (!ReadQuad(fp, a.surfaceLayer, a.surfaceLayerParts) || !ReadQuad(fp, a.topsoil, a.topsoilParts) ||
      !ReadQuad(fp, a.improvedSoil, a.improvedSoilParts) || !ReadQuad(fp, a.shoulderLayer, a.shoulderLayerParts) ||
      !ReadQuad(fp, a.ditchLining, a.ditchLiningParts) ||
      !ReadQuad(fp, a.retainingWallLength, a.retainingWallParts) || !ReadQuad(fp, a.turfLength, a.turfParts))
    return 0;
  if (!ReadDouble(fp, a.ditchFill) || !ReadDouble(fp, a.ditchFillLeft) || !ReadDouble(fp, a.ditchFillRight) ||
      !ReadDouble(fp, a.ditchCut) || !ReadDouble(fp, a.ditchCutLeft) || !ReadDouble(fp, a.ditchCutRight))
    return 0;
  r.fillTotal = a.fill;
  r.cutTotal = a.cut;
  return 1;
}

// ---- ZdkData ---------------------------------------------------------------------------------------

namespace {

// Codes of one line (left or right) along the sections, with a code that
// stands alone (both neighbours without one) taken as none.
std::vector<int> EffectiveCodes(const std::vector<SectionRecord>& sections, bool right) {
  const size_t n = sections.size();
  std::vector<int> codes(n, 0);
  for (size_t i = 0; i < n; ++i) codes[i] = right ? sections[i].rightCode : sections[i].leftCode;
  std::vector<int> out = codes;
  for (size_t i = 0; i < n; ++i) {
    if (codes[i] == 0) continue;
    const bool before = i > 0 && codes[i - 1] != 0;
    const bool after = i + 1 < n && codes[i + 1] != 0;
    if (!before && !after) out[i] = 0;
  }
  return out;
}

bool InTunnelOrStation(int code) { return code == kTunnelInside || code == kStationInside; }

struct LandWidthLine {
  std::string label;
  double width = 0.0;
  int kind = 0;
  int leftFileCode = 0;
  int rightFileCode = 0;
};

}  // namespace

void CrossSectionDesigner::WriteLandWidthLine(FILE* fp) const {
  if (fp == nullptr) return;
  const std::vector<int> leftCodes = EffectiveCodes(sections, false);
  const std::vector<int> rightCodes = EffectiveCodes(sections, true);
  const int n = SectionCount();

  for (int block = 0; block < 2; ++block) {
    const bool rightBlock = block == 1;
    // The code of the block's line: the left code for the left block; for
    // the right block the right line's code of a double-line section.
    auto sideCode = [&](int i) {
      const SectionRecord& r = sections[static_cast<size_t>(i)];
      return rightBlock && r.kind == 2 ? rightCodes[static_cast<size_t>(i)] : leftCodes[static_cast<size_t>(i)];
    };
    std::vector<LandWidthLine> lines;
    for (int i = 0; i < n; ++i) {
      const SectionRecord& r = sections[static_cast<size_t>(i)];
      const double distance = rightBlock ? r.rightLandTake : r.leftLandTake;
      if (distance < 0.01) continue;
      LandWidthLine line;
      line.label = r.label;
      line.kind = r.kind;
      line.leftFileCode = StructureCodeToFileCode(leftCodes[static_cast<size_t>(i)]);
      line.rightFileCode = StructureCodeToFileCode(rightCodes[static_cast<size_t>(i)]);
      if (InTunnelOrStation(sideCode(i))) {
        // Inside a tunnel or station run only its first and last sections
        // are written, with width 0.
        const bool first = i == 0 || !InTunnelOrStation(sideCode(i - 1));
        const bool last = i == n - 1 || !InTunnelOrStation(sideCode(i + 1));
        if (!first && !last) continue;
        line.width = 0.0;
      } else {
        // Whole metres from the line, rounded up, to where the boundary
        // stands: the crown the side is measured from plus its distance. A
        // boundary on the line's other side (a crown far off the line) takes
        // no land on this side: width 0, never a negative one.
        const double width = std::max(0.0, rightBlock ? r.RightLandWidth() : r.LeftLandWidth());
        line.width = static_cast<int>(width + 0.999);
      }
      lines.push_back(line);
    }
    platform::printToFile(fp, "%d\n", static_cast<int>(lines.size()));
    for (const LandWidthLine& line : lines)
      platform::printToFile(fp, "%s %0.3lf %d %d %d\n", line.label.c_str(), line.width, line.kind, line.leftFileCode,
                            line.rightFileCode);
  }
}

// ---- PMZTT -------------------------------------------------------------------------------------------

namespace {

// Ditch centre and bottom elevation of a side from its drainage-ditch list:
// the bottom corners are pairs 2 and 3 of a 5-point ditch, 3 and 4 of a
// 6-point one. -1 for both without such a ditch.
void DitchCentre(const SectionRecord& r, int side, double base, double offset, bool mirror, double& centre,
                 double& elevation) {
  centre = -1.0;
  elevation = -1.0;
  const int k = SideIndex(side);
  if (r.ditchKind[k] != 1) return;
  const int count = r.drainageDitchCount[k];
  if (count != 5 && count != 6) return;
  const int first = count == 5 ? 2 : 3;
  const PairXY* ditch = r.drainageDitch[k];
  const double middle = std::fabs((ditch[first + 1].x + ditch[first].x) / 2.0);
  centre = mirror ? middle - offset : middle + offset;
  elevation = base + ditch[first].y;
}

}  // namespace

void CrossSectionDesigner::WriteLandUseLine(FILE* fp) const {
  if (fp == nullptr) return;
  platform::printToFile(fp, "%d\n", SectionCount());
  for (const SectionRecord& r : sections) {
    const bool doubleLine = r.kind == 2;
    // The design lines are drawn from the crown of their track: offsets from
    // the line are the crown's offset plus the point's distance from it.
    const double leftOffset = r.LeftCrown();
    const double rightOffset = r.RightCrown();
    const int rightSide = doubleLine ? 2 : 1;
    const AcGePoint3dArray& left = r.designLines[SideIndex(-1)];
    const AcGePoint3dArray& right = r.designLines[SideIndex(rightSide)];

    const double leftRoadbed = left.length() >= 5 ? std::fabs(left[4].x) - leftOffset : 0.0;
    const double rightRoadbed = right.length() >= 5 ? std::fabs(right[4].x) + rightOffset : 0.0;
    double leftOuter = 0.0;
    if (!left.isEmpty()) {
      leftOuter = std::fabs(left.last().x) - leftOffset;
      if (r.formCode[SideIndex(-1)] == 1.0) leftOuter = -leftOuter;
    }
    double rightOuter = 0.0;
    if (!right.isEmpty()) {
      const double x = std::fabs(right.last().x);
      rightOuter = r.formCode[SideIndex(rightSide)] == 1.0 ? rightOffset - x : x + rightOffset;
    }
    double leftDitch = 0.0, leftDitchElevation = 0.0, rightDitch = 0.0, rightDitchElevation = 0.0;
    DitchCentre(r, -1, r.referenceElevation[0], leftOffset, true, leftDitch, leftDitchElevation);
    DitchCentre(r, rightSide, r.referenceElevation[1], rightOffset, false, rightDitch, rightDitchElevation);

    platform::printToFile(fp, "%s %d %d %d %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf\n", r.label, r.kind,
                          StructureCodeToFileCode(r.leftCode), StructureCodeToFileCode(r.rightCode), leftRoadbed,
                          rightRoadbed, leftOuter, rightOuter, leftDitch, rightDitch, leftDitchElevation,
                          rightDitchElevation);
  }
}
