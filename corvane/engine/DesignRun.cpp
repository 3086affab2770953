// The automatic design run (HDMDES): import of the scheme, the detour
// stretches, the design of every section of the baseline in chainage order
// (with a transition section let in where a detour's roadbeds separate or
// join), the detour sections of a double line, and the result files.

#include <cmath>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "ResultFileAccess.h"
#include "RepeatedMessages.h"
#include "RoadbedTypes.h"
#include "SectionBrowserHook.h"
#include "SectionReactorLists.h"
#include "TerrainModel.h"
#include "arx/edoutput.h"
#include "crt/format.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"

// ---- Roadbed type names -----------------------------------------------------------------------------

void RoadbedTypeName(int type, CString& name) {
  static const char* const kNames[] = {"单线路基",
                                       "双线路基,左线并行",
                                       "双线路基,右线并行",
                                       "换边路基,三线并行",
                                       "左线绕行，路肩未分离",
                                       "左线绕行，路肩分离",
                                       "右线绕行，路肩未分离",
                                       "右线绕行，路肩分离",
                                       "左线绕行，三线并存",
                                       "右线绕行，三线并存"};
  name = type >= 0 && type < static_cast<int>(std::size(kNames)) ? kNames[type] : kNames[0];
}

// ---- The run --------------------------------------------------------------------------------------------

int CrossSectionDesigner::CmdAutoDesign(const AutoDesignOptions& options, int drawingFlag) {
  sectionsDesigned = 0;  // SAVEFILE saves only a design that ran to its end
  acutPrintf("正在导入数据.... ");
  if (!ImportDesignData(options)) return 0;
  acutPrintf("OK!\n");

  acutPrintf("计算绕行段里程分段数据.... ");
  ComputeDetourSegments();
  acutPrintf("OK!\n");

  acutPrintf("正在自动设计横断面.... ");
  if (!DesignAllSections()) return 0;
  acutPrintf("OK!\n");

  const bool doubleLine = lineKind == "双线";
  if (doubleLine && !DesignDetourSections()) return 0;
  sectionsDesigned = 1;

  // The land files of the main line and, for a double line, of the detours.
  if (!WriteLandFile(*this, "ZdkData", false)) return 0;
  if (doubleLine && !WriteDetourLandFile("RXDZdkData", false)) return 0;
  if (!WriteLandFile(*this, "PMZTT", true)) return 0;
  if (doubleLine && !WriteDetourLandFile("RXDPMZTT", true)) return 0;

  if (drawRequest) {
    acutPrintf("正在绘制横断面.... ");
    drawnByDesignRun = 1;
    drawnByDrawCommand = 0;
    if (!DrawAllSections(drawingFlag)) return 0;
    acutPrintf("OK!\n");
    ReplaceSectionBrowser(*this);
    sectionsDrawn = 1;
  }
  if (threeDData) {
    if (!SaveThreeDData()) return 0;
    acutPrintf("OK!\n");
  }
  return 1;
}

bool CrossSectionDesigner::ImportDesignData(const AutoDesignOptions& options) {
  if (!ReadProjectAndScheme()) return false;
  schemeDatabasePath = options.schemeDatabasePath.IsEmpty() ? SchemeDatabasePath() : options.schemeDatabasePath;
  lineKind = options.lineKind;
  if (options.reservedLineFlag) {
    reservedLineChoice = options.reservedLineChoice;
    if (options.reservedLineChoice == 1) lineKind = "单线";
    if (options.reservedLineChoice == 2) lineKind = "双线";
  }
  drawRequest = options.draw;
  if (options.draw) {
    scaleDenominator = options.scaleDenominator;
    sheetOrigin.x = options.originX;
    sheetOrigin.y = options.originY;
  }
  threeDData = options.threeD;

  // A line kind that is none of the three is never designed as one of them.
  if (lineKind != "单线" && lineKind != "双线" && lineKind != "预留二线") {
    CString text;
    text.Format("线路类型\"%s\"不是单线、双线或预留二线, 横断面设计未进行!", lineKind.GetString());
    AfxMessageBox(text);
    return false;
  }
  // The spacings of the lines and the step table come from the technical
  // parameters: without the whole file (missing, short or damaged) they would
  // be stale or zero, and the design does not go on.
  if (!ReadTechParams() || !TechParamsProblem().IsEmpty()) {
    AfxMessageBox(TechParamsProblem() + ", 横断面设计未进行!");
    return false;
  }
  if (!ReadSchemeAlignment(schemeDatabasePath, 1, 1)) return false;
  // Only an import that succeeded replaces the line kind of the scheme.
  FILE* fp = OpenResultFileOrAlert("ylex", "w");
  if (fp == nullptr) return false;
  std::fputs(lineKind.GetString(), fp);
  if (!CloseResultFile(fp, "ylex")) return false;
  if (options.draw) {
    // The sections drawn before give way to the new design, but only once
    // there is one to draw: a failed import leaves the drawing as it was.
    // Their design lines hear nothing of the new design.
    DetachSectionReactors();
    EraseLayerByCommand("Hdm");
    if (scaleDenominator > 0.0) g_DrawingFactor = 1000.0 / scaleDenominator;
  }
  return true;
}

// ---- Every section of the baseline ------------------------------------------------------------------------

int CrossSectionDesigner::DesignAllSections() {
  acedSetStatusBarProgressMeter("横断面自动设计", 0, 100);
  FILE* area = nullptr;
  FILE* result = nullptr;
  if (!OpenResultFilePair("HdmDetailArea", area, "HdmResultData", result)) {
    acedRestoreStatusBar();
    return 0;
  }
  // Counts of a fixed width, rewritten once the sections let in are known.
  platform::printToFile(area, "%10d\n", SectionCount());
  platform::printToFile(result, "%10d\n", SectionCount());

  bool warned = false;
  int insertedAt = -1;  // the transition section let in last
  // A ground elevation that is the terrain model's outside marker is no
  // ground: the section is designed as given, and said to stand on it.
  CString summary;
  summary.Format("有%%d个断面的地面高程是数字地面模型范围外的标记%0.1lf", TerrainModel::kOutsideElevation);
  RepeatedMessages offModel(summary.GetString());
  for (int i = 0; i < SectionCount(); ++i) {
    acedSetStatusBarProgressMeterPos(i * 100 / SectionCount());
    const double ML = sections[static_cast<size_t>(i)].mileage;
    const bool letIn = insertedAt >= 0 && i == insertedAt + 1;  // the copy of the section before
    if (sections[static_cast<size_t>(i)].groundElevation == TerrainModel::kOutsideElevation && !letIn) {
      CString text;
      text.Format("基线断面%s(里程%0.3lf)的地面高程是数字地面模型范围外的标记%0.1lf, 其设计不可靠",
                  sections[static_cast<size_t>(i)].label, ML, TerrainModel::kOutsideElevation);
      offModel.Add(text);
    }
    const int row = FindExcavationClassRow(ML);
    if (row >= 0 && !warned) {
      if (ExcavationSharesOverLimit(ExcavationShareSum(row))) {
        AfxMessageBox("挖方分类数据有误, 百分比超过100%, 请查错!");
        warned = true;
      }
    }

    int relation = 0, leftIndex = -1, rightIndex = -1, leftFlag = 0, rightFlag = 0;
    FindDetourAtChainage(ML, relation, leftIndex, rightIndex, leftFlag, rightFlag);
    sections[static_cast<size_t>(i)].lineRelation = relation;

    // Where the roadbeds separate (2 → 3) or join (3 → 2) a transition
    // section is let in: the separated section at the change is designed as
    // a transition and its copy after it as it is. The section let in is not
    // itself a change, so the insertion happens once per change.
    const int previous = i > 0 ? sections[static_cast<size_t>(i - 1)].lineRelation : -1;
    const bool change = (previous == 2 && relation == 3) || (previous == 3 && relation == 2);
    // When the list is full nothing is let in (InsertSection says so) and
    // the section is designed as it stands, so that every section still
    // gets its record in the files.
    if (change && i - 1 != insertedAt && InsertSection(i + 1, sections[static_cast<size_t>(i)])) {
      if (relation == 2) {
        // Joining again: the last separated section, designed afresh as a
        // transition.
        sections[static_cast<size_t>(i)] = sections[static_cast<size_t>(i - 1)];
      }
      sections[static_cast<size_t>(i)].lineRelation = relation = 2;
      insertedAt = i;
    }

    DesignSectionByRelation(i, relation, leftFlag, rightFlag, leftIndex, rightIndex);
    ApplyExcavationClasses(i);
    WriteSectionResult(i, result);
    WriteAreaRecord(i, area);
  }

  std::rewind(result);
  platform::printToFile(result, "%10d\n", SectionCount());
  std::rewind(area);
  platform::printToFile(area, "%10d\n", SectionCount());
  const bool resultOk = CloseResultFile(result, "HdmResultData");
  const bool areaOk = CloseResultFile(area, "HdmDetailArea");
  if (resultOk && areaOk) SaveQuantityTable();
  acedRestoreStatusBar();
  return resultOk && areaOk ? 5100 : 0;
}

void CrossSectionDesigner::DesignSectionByRelation(int index, int relation, int leftFlag, int rightFlag,
                                                   int leftIndex, int rightIndex) {
  if (index < 0 || index >= SectionCount()) return;
  const SectionRecord& r = sections[static_cast<size_t>(index)];
  const double leftOffset = r.leftLineOffset;
  const double rightOffset = r.rightLineOffset;
  switch (relation) {
    case 0:
      DesignSingleSection(index, 1, 0.0, 0.0);
      break;
    case 1:
      DesignSingleSection(index, 1, leftOffset, rightOffset);
      break;
    case 2:
      DesignDoubleSection(index, 0, leftOffset, rightOffset, leftFlag, rightFlag, leftIndex, rightIndex);
      break;
    default:
      if (leftFlag)
        DesignSingleSection(index, 1, 0.0, rightOffset);
      else
        DesignSingleSection(index, 1, leftOffset, 0.0);
      break;
  }
}

// ---- The detour sections ---------------------------------------------------------------------------------

int CrossSectionDesigner::DesignDetourSections() {
  for (CrossSectionDesigner* d : DetourDesignersInUse()) {
    // The separated stretch on the detour's own line: the rest of the
    // detour stands on the baseline's roadbed and is designed with it.
    const double from = d->segmentOnDetour.sml2 - 0.01;
    const double to = d->segmentOnDetour.eml2 + 0.01;
    for (int k = 0; k < d->SectionCount(); ++k) {
      const double ML = d->sections[static_cast<size_t>(k)].mileage;
      if (ML <= from || ML >= to) continue;
      d->DesignSingleSection(k, 1, 0.0, 0.0);
      d->ApplyExcavationClasses(k);
    }
  }
  return WriteDetourResultPair(false);
}
