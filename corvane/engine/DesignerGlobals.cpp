#include "DesignerGlobals.h"

#include "CrossSectionDesigner.h"
#include "arx/edoutput.h"

double g_DrawingFactor = 5.0;
// Defined before the designers, so that it is there when they are built.
sheet::Range g_LastMergedRange;

CrossSectionDesigner g_BaselineDesigner;
CrossSectionDesigner g_LeftDetourDesigners[kMaxDetourDesigners];
CrossSectionDesigner g_RightDetourDesigners[kMaxDetourDesigners];
int g_LeftDetourCount = 0;
int g_RightDetourCount = 0;

namespace {
CrossSectionDesigner* g_LeftDetoursInUse = g_LeftDetourDesigners;
CrossSectionDesigner* g_RightDetoursInUse = g_RightDetourDesigners;
}  // namespace

CrossSectionDesigner* DetourDesignerArray(int side) { return side < 0 ? g_LeftDetoursInUse : g_RightDetoursInUse; }

RunDetourDesigners::RunDetourDesigners()
    : m_previous{g_LeftDetoursInUse, g_RightDetoursInUse},
      m_previousCount{g_LeftDetourCount, g_RightDetourCount},
      m_own{new CrossSectionDesigner[kMaxDetourDesigners], new CrossSectionDesigner[kMaxDetourDesigners]} {
  g_LeftDetoursInUse = m_own[0];
  g_RightDetoursInUse = m_own[1];
  g_LeftDetourCount = 0;
  g_RightDetourCount = 0;
}

RunDetourDesigners::~RunDetourDesigners() {
  g_LeftDetoursInUse = m_previous[0];
  g_RightDetoursInUse = m_previous[1];
  g_LeftDetourCount = m_previousCount[0];
  g_RightDetourCount = m_previousCount[1];
  delete[] m_own[0];
  delete[] m_own[1];
}

int SetDetourDesignerCount(int side, int count) {
  const char* line = side < 0 ? "左线" : "右线";
  if (count < 0 || count > kMaxDetourDesigners) {
    acutPrintf("\n%s有%d个绕行段，超过了%d个，不能设计", line, count, kMaxDetourDesigners);
    return 0;
  }
  (side < 0 ? g_LeftDetourCount : g_RightDetourCount) = count;
  return 1;
}

CrossSectionDesigner* DetourDesigner(int side, int index) {
  const int count = side < 0 ? g_LeftDetourCount : g_RightDetourCount;
  if (index < 0 || index >= count || count > kMaxDetourDesigners) return nullptr;
  return &DetourDesignerArray(side)[index];
}

std::vector<CrossSectionDesigner*> DetourDesignersInUse(int side) {
  std::vector<CrossSectionDesigner*> out;
  const int count = side < 0 ? g_LeftDetourCount : g_RightDetourCount;
  for (int i = 0; i < count; ++i) {
    CrossSectionDesigner* d = DetourDesigner(side, i);
    if (d == nullptr) break;
    out.push_back(d);
  }
  return out;
}

std::vector<CrossSectionDesigner*> DetourDesignersInUse() {
  std::vector<CrossSectionDesigner*> out = DetourDesignersInUse(-1);
  const std::vector<CrossSectionDesigner*> right = DetourDesignersInUse(1);
  out.insert(out.end(), right.begin(), right.end());
  return out;
}
