// Where the designed sections go on the drawing sheet: the frame around one
// section and the columns in which all sections are laid out.

#include <algorithm>
#include <cmath>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"

namespace {

// The outer end of one side of a ground block: its distance from the centre
// (0 without points) and its elevation.
void GroundEnd(const SectionRecord& r, const GroundBlock& block, bool left, double& distance, double& elevation) {
  const int count = std::clamp(left ? block.leftCount : block.rightCount, 0, kGroundPointsPerSide);
  const PairXY* pairs = left ? block.left : block.right;
  distance = count > 0 ? std::fabs(pairs[count - 1].x) : 0.0;
  elevation = r.groundElevation + (count > 0 ? pairs[count - 1].y : 0.0);
}

// The frame of a section from the ends of the ground blocks given, in sheet
// coordinates: the section's centre at its sheet x, its least elevation at
// its sheet y.
void SetFrame(SectionRecord& r, const GroundBlock* const* blocks, int blockCount) {
  const double f = g_DrawingFactor;
  double leftDistance = 0.0, rightDistance = 0.0;
  double high = r.groundElevation, low = r.groundElevation;
  for (int b = 0; b < blockCount; ++b) {
    double d, e;
    GroundEnd(r, *blocks[b], true, d, e);
    leftDistance = std::max(leftDistance, d);
    high = std::max(high, e);
    low = std::min(low, e);
    GroundEnd(r, *blocks[b], false, d, e);
    rightDistance = std::max(rightDistance, d);
    high = std::max(high, e);
    low = std::min(low, e);
  }
  r.frameLeft = r.sheetX - f * leftDistance - 4 * f;
  r.frameRight = r.sheetX + f * rightDistance + 4 * f;
  r.frameTop = r.sheetY + (high - r.minElevation) * f + 6 * f;
  r.frameBottom = r.sheetY + (low - r.minElevation) * f - 6 * f;
}

}  // namespace

void CrossSectionDesigner::ComputeSectionFrame(int index) {
  if (index < 0 || index >= SectionCount()) return;
  SectionRecord& r = sections[static_cast<size_t>(index)];
  if (r.groundBlocks.empty()) return;
  const GroundBlock* blocks[1] = {&r.groundBlocks[0]};
  SetFrame(r, blocks, 1);
}

void CrossSectionDesigner::ComputeSectionFrameDouble(int index) {
  if (index < 0 || index >= SectionCount()) return;
  SectionRecord& r = sections[static_cast<size_t>(index)];
  if (r.groundBlocks.empty()) return;
  // With a second pair of ground lines the frame holds the ends of both.
  const GroundBlock* blocks[2] = {&r.groundBlocks[0], r.GroundBlockCount() > 1 ? &r.groundBlocks[1] : nullptr};
  SetFrame(r, blocks, blocks[1] != nullptr ? 2 : 1);
}

void CrossSectionDesigner::LayoutSections() {
  const double f = g_DrawingFactor;
  const double columnBase = sheetOrigin.y + 55;
  const double columnTop = columnBase + 53 * f;
  double columnX = sheetOrigin.x + 30;
  double widest = 0.0;
  double nextY = columnBase;
  bool first = true;
  for (SectionRecord& r : sections) {
    const bool doubleLine = r.kind == 2;
    const int outerLeft = SideIndex(-1);
    const int outerRight = SideIndex(doubleLine ? 2 : 1);
    double low = r.groundElevation, high = r.groundElevation;
    auto take = [&](double e) {
      low = std::min(low, e);
      high = std::max(high, e);
    };
    for (int side : {outerLeft, outerRight}) {
      take(r.roadbedTop[side][0].y);
      take(r.roadbedTop[side][3].y);
    }
    double leftWidth = 0.0, rightWidth = 0.0;
    if (!r.groundBlocks.empty()) {
      const GroundBlock& g = r.groundBlocks[0];
      const int nl = std::clamp(g.leftCount, 0, kGroundPointsPerSide);
      const int nr = std::clamp(g.rightCount, 0, kGroundPointsPerSide);
      for (int i = 0; i < nl; ++i) take(r.groundElevation + g.left[i].y);
      for (int i = 0; i < nr; ++i) take(r.groundElevation + g.right[i].y);
      if (nl > 0) leftWidth = std::fabs(g.left[nl - 1].x) * f;
      if (nr > 0) rightWidth = g.right[nr - 1].x * f;
    }
    const double height = (high - low) * f;
    // A single-line section inside a bridge or tunnel, or without a left
    // design line, is drawn as a short note: a small gap and no width.
    const bool note = !doubleLine && (r.leftCode == kBridgeInside || r.leftCode == kTunnelInside ||
                                      r.pointCount[SideIndex(-1)] == 0);
    const double gap = note ? 5.0 : 40.0;
    if (note) leftWidth = rightWidth = 0.0;
    const double width = leftWidth + rightWidth;
    if (!first && nextY + height > columnTop) {
      columnX += widest + gap;
      nextY = columnBase;
      widest = 0.0;
    }
    r.sheetX = columnX + leftWidth;
    r.sheetY = nextY;
    r.labelX = r.sheetX;
    r.labelY = nextY + height + 4 * f;
    r.minElevation = low;
    r.maxElevation = high;
    widest = std::max(widest, width);
    nextY += height + 16 * f;
    first = false;
  }
}
