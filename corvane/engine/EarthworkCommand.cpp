// The body of CALTSF: the earthwork quantities of the last design, computed
// on a designer built for the command from the scheme and the result files,
// written to tsfjsb (baseline) and rxdtsfjsb (detour sections) and to the
// roadbed quantity sheet.
//
// The result files hold neither the sections' chainage labels nor their
// excavation-class areas: the labels are made again from the mileages
// through each line's break table, and the class areas from each line's
// 挖方分类 rows and the cut areas read back. The scheme's alignment and
// structures are imported before the results are read, so that the
// sections at the structures' ends can be added to them.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "QuantitySheet.h"
#include "ResultFileAccess.h"
#include "arx/edoutput.h"
#include "crt/format.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"

namespace {

// The detour designers in use of one side, with their indices.
std::vector<std::pair<int, CrossSectionDesigner*>> Detours(int side) {
  std::vector<std::pair<int, CrossSectionDesigner*>> out;
  for (CrossSectionDesigner* d : DetourDesignersInUse(side)) out.emplace_back(static_cast<int>(out.size()), d);
  return out;
}

// Labels and class areas of every section read back.
void CompleteSections(CrossSectionDesigner& d) {
  d.RestoreSectionLabels();
  d.SetAllExcavationClassAreas();
}

bool HasSectionIn(const CrossSectionDesigner& d, double start, double end) {
  for (const SectionRecord& s : d.sections)
    if (s.mileage >= start - 0.01 && s.mileage <= end + 0.01) return true;
  return false;
}

// One line's part of a range run: the designer, its side and index among
// the detours (0 and 0 for the baseline), and the range on its own chainage.
struct RangeJob {
  CrossSectionDesigner* designer;
  int side;
  int index;
  double start;
  double end;
};

// The lines of a range run, each with its range, or false with a message when
// the range cannot be computed: a text that does not read as a chainage (or
// reads as no finite one), a start after the end on a chosen line, or no
// chosen line with a section in the range. Each line turns the texts into
// mileage through its own break table: the baseline through the baseline's,
// a detour section through its own, so that a range typed on a detour's
// chainage is judged on that detour alone. Nothing has been written then: a
// range that is no range would replace the quantities kept so far by none.
bool RangeJobs(CrossSectionDesigner& d, const EarthworkChoice& choice, std::vector<RangeJob>& jobs) {
  CString text[2] = {choice.startText, choice.endText};
  const char* names[2] = {"起始里程", "终止里程"};
  for (int i = 0; i < 2; ++i) {
    text[i].Trim();
    if (!ChainageTextReads(text[i].GetString())) {
      AfxMessageBox(CString(names[i]) + "\"" + text[i] + "\"不是里程, 土石方数量未计算!");
      return false;
    }
  }
  std::vector<RangeJob> lines;
  if (choice.lines & EarthworkChoice::kBaseline) lines.push_back({&d, 0, 0, 0.0, 0.0});
  for (int side : {-1, 1}) {
    if (!(choice.lines & (side < 0 ? EarthworkChoice::kLeftDetours : EarthworkChoice::kRightDetours))) continue;
    for (const auto& [index, detour] : Detours(side)) lines.push_back({detour, side, index, 0.0, 0.0});
  }
  for (RangeJob& line : lines) {
    double* ends[2] = {&line.start, &line.end};
    for (int i = 0; i < 2; ++i) {
      *ends[i] = LineChainageToMileage(*line.designer, text[i]);
      if (!std::isfinite(*ends[i])) {
        AfxMessageBox(CString(names[i]) + "\"" + text[i] + "\"不是里程, 土石方数量未计算!");
        return false;
      }
    }
    if (line.start > line.end) {
      AfxMessageBox("起始里程" + text[0] + "在终止里程" + text[1] + "之后, 土石方数量未计算!");
      return false;
    }
    if (HasSectionIn(*line.designer, line.start, line.end)) jobs.push_back(line);
  }
  if (jobs.empty()) {
    AfxMessageBox("里程范围" + text[0] + "～" + text[1] + "内没有横断面, 土石方数量未计算!");
    return false;
  }
  return true;
}

// The baseline's file and sheet rows over [start, end].
void BaselineQuantities(CrossSectionDesigner& d, double start, double end) {
  d.WriteEarthworkTable(start, end);
  acutPrintf("\n土石方数量计算完毕,开始填写数据........................!");
  d.SummarizeEarthwork(start, end);
}

// A detour's block and sheet rows over [start, end].
void DetourQuantities(CrossSectionDesigner& d, FILE* file, int side, int index, double start, double end) {
  d.WriteEarthworkRows(file, side, index, start, end);
  if (d.SectionCount() > 0) d.SummarizeEarthwork(start, end);
}

}  // namespace

int CrossSectionDesigner::CmdEarthworkToExcel(const EarthworkChoice& choice) {
  if (!ReadProjectAndScheme()) return 0;
  if (!ReadLineKindFile(lineKind)) {
    AfxMessageBox("请先进行横断面设计!");
    return 0;
  }
  // The alignment, structures and standards first, then the results.
  if (!ReadSchemeAlignment(SchemeDatabasePath(), 0, 0) || !ReadSectionResults() || !ReadSectionAreas()) {
    FreeAllLines();
    return 0;
  }
  CompleteSections(*this);
  for (int side : {-1, 1})
    for (const auto& [index, d] : Detours(side)) CompleteSections(*d);

  std::vector<RangeJob> jobs;
  if (!choice.wholeLine && !RangeJobs(*this, choice, jobs)) {
    FreeAllLines();
    return 0;
  }

  FILE* detourFile = OpenResultFile("rxdtsfjsb", "w+");
  if (detourFile == nullptr) {
    AfxMessageBox("请写文件出错!");
    FreeAllLines();
    return 0;
  }
  g_ExcelRow = 3;
  OpenQuantitySheet();

  if (choice.wholeLine) {
    if (SectionCount() > 0) BaselineQuantities(*this, sections.front().mileage, sections.back().mileage);
    platform::printToFile(detourFile, "%d %d\n", static_cast<int>(Detours(-1).size()), static_cast<int>(Detours(1).size()));
    for (int side : {-1, 1}) {
      for (const auto& [index, d] : Detours(side)) {
        const double start = d->SectionCount() > 0 ? d->sections.front().mileage : 0.0;
        const double end = d->SectionCount() > 0 ? d->sections.back().mileage : 0.0;
        DetourQuantities(*d, detourFile, side, index, start, end);
      }
    }
  } else {
    for (const RangeJob& job : jobs) {
      if (job.designer == this) {
        BaselineQuantities(*this, job.start, job.end);
      } else {
        DetourQuantities(*job.designer, detourFile, job.side, job.index, job.start, job.end);
      }
    }
  }

  CloseResultFile(detourFile, "rxdtsfjsb");
  SetExcelInteractive(1);
  FreeAllLines();
  return 1;
}
