// The drawing run of DRAWHDM (custom entities with reactors) and PRINTHDM
// (plain entities for printing) on the baseline designer, with the choices
// of the drawing dialog.
//
// What is drawn is the design the baseline designer holds: the one HDMDES
// made in this session, with the re-designs of edited sections, which SAVEFILE
// would write. When it holds none (the module was loaded again since), the
// last design is read back first: the scheme's alignment and structures,
// then the result files HdmResultData and HdmDetailArea (with their detour
// files for a double line), the chainage labels made again from the
// mileages, and the detour stretches. Reading the files while a design is
// held would drop the re-designs not yet saved.

#include <algorithm>
#include <utility>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "EarthworkRows.h"
#include "ResultFileAccess.h"
#include "SectionBrowserHook.h"
#include "SectionDrawingChoice.h"
#include "SectionReactorLists.h"
#include "arx/edoutput.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"

namespace {

bool HoldsDesign(const CrossSectionDesigner& d) {
  return d.baseline != nullptr && d.SectionCount() > 0 && d.sectionsDesigned != 0;
}

// The last design of the current scheme read back into `d`.
bool ReadLastDesign(CrossSectionDesigner& d) {
  if (!ReadProjectAndScheme()) return false;
  if (!ReadLineKindFile(d.lineKind)) {
    AfxMessageBox("请先进行横断面设计!");
    return false;
  }
  if (!d.ReadSchemeAlignment(SchemeDatabasePath(), 0, 0) || !d.ReadSectionResults() || !d.ReadSectionAreas())
    return false;
  d.RestoreSectionLabels();
  for (CrossSectionDesigner* detour : DetourDesignersInUse()) detour->RestoreSectionLabels();
  d.ComputeDetourSegments();
  // A design read back is a design: SAVEFILE keeps what is re-designed on it.
  d.sectionsDesigned = 1;
  return true;
}

// The range of a line from two chainage texts of it; an empty text is its
// first or last section. False when the line has no sections.
bool RangeOf(const CrossSectionDesigner& d, const CString& startText, const CString& endText, double& start,
             double& end) {
  if (d.SectionCount() == 0) return false;
  start = startText.IsEmpty() ? d.sections.front().mileage : LineChainageToMileage(d, startText.GetString());
  end = endText.IsEmpty() ? d.sections.back().mileage : LineChainageToMileage(d, endText.GetString());
  if (start > end) std::swap(start, end);
  return true;
}

// One chosen detour of a side over its range, on its sheet beside the origin.
void DrawChosenDetour(CrossSectionDesigner& base, int side, int index, const CString& startText,
                      const CString& endText, const SectionDrawingChoice& choice, int flag) {
  CrossSectionDesigner* d = DetourDesigner(side, index);
  double start = 0.0, end = 0.0;
  if (d == nullptr || !RangeOf(*d, startText, endText, start, end)) {
    acutPrintf("\n没有%s绕行段%d的横断面\n", side < 0 ? "左线" : "右线", index);
    return;
  }
  const double y = choice.originY + (side < 0 ? 500.0 : -500.0) * g_DrawingFactor;
  base.DrawDetourSectionsInRange(DetourDesignerArray(side), index, start, end,
                                 d->segmentOnDetour.sml2, d->segmentOnDetour.eml2, side < 0 ? "左" : "右",
                                 choice.originX, y, flag);
}

}  // namespace

int CrossSectionDesigner::CmdDrawSections(const SectionDrawingChoice& choice, int flag) {
  if (!(choice.scaleDenominator > 0.0)) {
    AfxMessageBox("绘图比例必须大于0!");
    return 0;
  }
  if (!HoldsDesign(*this) && !ReadLastDesign(*this)) return 0;
  // The lines drawn before give up their reactors to the new drawing; a
  // printing run makes none and leaves them.
  if (flag != 0) DetachSectionReactors();
  g_DrawingFactor = 1000.0 / choice.scaleDenominator;
  scaleDenominator = choice.scaleDenominator;
  sheetOrigin = AcGePoint3d(choice.originX, choice.originY, 0.0);
  drawnByDesignRun = 0;
  drawnByDrawCommand = 1;

  acutPrintf("\n正在生成图形,请稍候...");
  if (choice.drawAll) {
    DrawAllSections(flag);
  } else {
    PrepareSectionSheet();
    double start = 0.0, end = 0.0;
    if (choice.baseline && RangeOf(*this, choice.baselineStart, choice.baselineEnd, start, end))
      DrawBaseSections(start, end, flag);
    if (lineKind == "双线") {
      if (choice.leftDetour)
        DrawChosenDetour(*this, -1, choice.leftIndex, choice.leftStart, choice.leftEnd, choice, flag);
      if (choice.rightDetour)
        DrawChosenDetour(*this, 1, choice.rightIndex, choice.rightStart, choice.rightEnd, choice, flag);
    }
  }
  sectionsDrawn = 1;
  ReplaceSectionBrowser(*this);
  if (flag == 0) AfxMessageBox("横断面图绘制完成！");
  return 1;
}
