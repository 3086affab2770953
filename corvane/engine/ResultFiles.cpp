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

// A record's text, built number by number ("%0.3lf", "%lf" and "%d" as
// printf writes them) and written to its file at once.
class RecordText {
 public:
  RecordText() { m_text.reserve(4096); }
  // "%0.3lf" and a separator after it.
  RecordText& Fixed3(double value, char after = ' ') {
    platform::appendFixedNumber(m_text, value, 3);
    if (after) m_text += after;
    return *this;
  }
  RecordText& Fixed6(double value, char after = ' ') {
    platform::appendFixedNumber(m_text, value, 6);
    if (after) m_text += after;
    return *this;
  }
  RecordText& Int(long long value, char after = ' ') {
    platform::appendIntegerNumber(m_text, value);
    if (after) m_text += after;
    return *this;
  }
  RecordText& Text(const char* text) {
    m_text += text;
    return *this;
  }
  // "%0.3lf %0.3lf " of each pair.
  RecordText& Pairs(const PairXY* pairs, int count) {
    for (int i = 0; i < count; ++i) Fixed3(pairs[i].x).Fixed3(pairs[i].y);
    return *this;
  }
  // The values of an area line: a total and its parts.
  RecordText& Quad(double total, const AreaTriple& parts) {
    return Fixed3(total).Fixed3(parts.left).Fixed3(parts.middle).Fixed3(parts.right, '\n');
  }
  void WriteTo(FILE* fp) const {
    if (!m_text.empty()) std::fwrite(m_text.data(), 1, m_text.size(), fp);
  }

 private:
  std::string m_text;
};

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
  RecordText out;
  out.Text("\n");
  out.Fixed3(r.mileage);
  out.Int(r.lineRelation).Int(r.kind);
  for (double v : {r.centreFillHeight, r.groundElevation, r.leftLineOffset, r.rightLineOffset, r.curveWidening,
                   r.rightCurveWidening, r.leftLandTake, r.rightLandTake, r.crownOffset[0], r.crownOffset[1],
                   r.referenceElevation[0], r.referenceElevation[1]})
    out.Fixed3(v);
  out.Int(r.leftCode).Int(r.rightCode, '\n');
  for (int k = 0; k < kSectionSides; ++k) out.Pairs(r.roadbedTop[k], 4);

  out.Text("\n").Int(r.GroundBlockCount());
  for (const GroundBlock& block : r.groundBlocks) {
    const int left = std::min(std::max(block.leftCount, 0), kGroundPointsPerSide);
    const int right = std::min(std::max(block.rightCount, 0), kGroundPointsPerSide);
    out.Text("\n").Int(block.layer).Int(block.rockType, 0);
    out.Text("\n").Int(left).Pairs(block.left, left);
    out.Text("\n").Int(right).Pairs(block.right, right);
  }

  for (int k = 0; k < kSectionSides; ++k) {
    const AcGePoint3dArray& line = r.designLines[k];
    out.Text("\n").Fixed3(r.formCode[k]).Int(line.length());
    for (int j = 0; j < line.length(); ++j) out.Fixed3(line[j].x).Fixed3(line[j].y);
    const int first = std::min(std::max(r.drainageDitchCount[k], 0), kDrainageDitchPoints);
    const int second = std::min(std::max(r.topDitchCount[k], 0), kTopDitchPoints);
    out.Text("\n").Int(r.ditchKind[k]).Int(first).Int(second);
    out.Pairs(r.drainageDitch[k], first).Pairs(r.topDitch[k], second);
  }
  out.Text("\n");
  out.WriteTo(fp);
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
  RecordText out;
  out.Fixed6(r.mileage).Int(r.leftCode, '\n');
  out.Quad(a.fill, a.fillParts).Quad(a.cut, a.cutParts);
  for (int i = 0; i < 6; ++i) out.Fixed3(a.rockClass[i], i < 5 ? ' ' : '\n');
  out.Quad(a.surfaceLayer, a.surfaceLayerParts).Quad(a.topsoil, a.topsoilParts);
  out.Quad(a.improvedSoil, a.improvedSoilParts).Quad(a.shoulderLayer, a.shoulderLayerParts);
  out.Quad(a.ditchLining, a.ditchLiningParts).Quad(a.retainingWallLength, a.retainingWallParts);
  out.Quad(a.turfLength, a.turfParts);
  out.Fixed3(a.ditchFill).Fixed3(a.ditchFillLeft).Fixed3(a.ditchFillRight, '\n');
  out.Fixed3(a.ditchCut).Fixed3(a.ditchCutLeft).Fixed3(a.ditchCutRight, '\n');
  out.Text("\n");
  out.WriteTo(fp);
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
