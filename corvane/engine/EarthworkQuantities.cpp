// Earthwork quantities of a line by average end areas: the sections added at
// the ends of the structures, the volumes between neighbouring sections, and
// the quantity files tsfjsb (baseline) and rxdtsfjsb (detour sections).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "CrossSectionDesigner.h"
#include "QuantitySheet.h"
#include "arx/edoutput.h"
#include "crt/format.h"
#include "crt/textfile.h"
#include "geometry/GeoFunctions.h"
#include "mfc/app.h"
#include "project/GbkText.h"
#include "project/ProjectLocation.h"

namespace {

bool InsideStructure(int code) { return code == kBridgeInside || code == kTunnelInside || code == kStationInside; }

bool InRange(double mileage, double start, double end) { return mileage >= start - 0.01 && mileage <= end + 0.01; }

void CopyLabel(char (&label)[kChainageTextSize], const char* text) {
  CopyTextBounded(label, sizeof label, text, kChainageTextGbkMax);
}

// The break table through which the chainages of a designer's line are read:
// its alignment model's, else its own.
void LineBreakTable(const CrossSectionDesigner& d, int& count, const BreakRecord*& table) {
  if (d.baseline != nullptr && d.baseline->breakCount > 0) {
    count = d.baseline->breakCount;
    table = d.baseline->breaks;
  } else {
    count = d.breakCount;
    table = d.breaks;
  }
}

// The chainage text of a mileage on the designer's line.
void MileageLabel(const CrossSectionDesigner& d, double mileage, char (&label)[kChainageTextSize]) {
  int count = 0;
  const BreakRecord* table = nullptr;
  LineBreakTable(d, count, table);
  char prefix[kChainPrefixSize] = {};
  const double value = count > 0 ? BreakTableMileageToChainage(mileage, prefix, count, table) : mileage;
  ChainageText3Decimals(CString(prefix), value, label, sizeof label);
}

// A structure end to be given a section of its own.
struct StructureEnd {
  double mileage;
  const char* text;
  int code;
};

void CollectEnds(const OwnedRowArray<StructureRow>& rows, int startCode, std::vector<StructureEnd>& ends) {
  for (int i = 0; i < rows.count; ++i) {
    const StructureRow& row = rows.rows[i];
    ends.push_back({row.startMileage, row.startText, startCode});
    ends.push_back({row.endMileage, row.endText, -startCode});
  }
}

// The chainage value of a label (prefix split off).
double ChainageValue(const char* label) {
  double value = 0.0;
  char prefix[kChainPrefixSize] = {};
  ParseChainageText(label, value, prefix);
  return value;
}

// The kilometre a chainage value lies in.
int Kilometre(double c) { return static_cast<int>(c * 0.001 + 0.0001); }
bool OnWholeKilometre(double c) { return std::fmod(c + 0.0001, 1000.0) < 0.1; }

// The structure that starts at a section with a start code; null when none.
const StructureRow* StartingStructure(const CrossSectionDesigner& d, const SectionRecord& s) {
  int index = -1;
  const OwnedRowArray<StructureRow>* rows = nullptr;
  switch (s.leftCode) {
    case kBridgeStart: index = d.FindStructureIndex(s.mileage); rows = &d.bridges; break;
    case kTunnelStart: index = d.FindTunnelIndex(s.mileage); rows = &d.tunnels; break;
    case kStationStart: index = d.FindStationIndex(s.mileage); rows = &d.stations; break;
    default: return nullptr;
  }
  return index >= 0 && index < rows->count ? &rows->rows[index] : nullptr;
}

// The average-end-area volume of one quantity between two sections.
double Volume(double here, double before, double distance) { return (here + before) / 2.0 * distance; }

// Fills the quantity record of section i from it and its predecessor.
void SectionVolumes(const SectionRecord& s, const SectionRecord& p, EarthworkQuantityRecord& q) {
  const double d = s.mileage - p.mileage;
  const SectionAreas& a = s.areas;
  const SectionAreas& b = p.areas;
  q.distance = d;
  q.cutVolume = Volume(a.cut, b.cut, d);
  q.fillVolume = Volume(a.fill, b.fill, d);
  for (int k = 0; k < 6; ++k) q.rockClassVolume[k] = Volume(a.rockClass[k], b.rockClass[k], d);
  q.improvedSoilVolume = Volume(a.improvedSoil, b.improvedSoil, d);
  q.surfaceLayerVolume = Volume(a.surfaceLayer, b.surfaceLayer, d);
  q.topsoilVolume = Volume(a.topsoil, b.topsoil, d);
  q.ditchFillVolume = Volume(a.ditchFill, b.ditchFill, d);
  q.ditchCutVolume = Volume(a.ditchCut, b.ditchCut, d);
  q.shoulderLayerVolume = Volume(a.shoulderLayer, b.shoulderLayer, d);
  q.ditchLiningVolume = Volume(a.ditchLining, b.ditchLining, d);
  q.retainingWallArea = Volume(a.retainingWallLength, b.retainingWallLength, d);
  q.turfArea = Volume(a.turfLength, b.turfLength, d);
}

// Rebuilds the designer's quantities for the sections within the range and
// lists the sections that the quantity files write. With `percentages` set
// each rock class that has a volume carries its 挖方分类 percentage.
std::vector<int> ComputeQuantities(CrossSectionDesigner& d, double start, double end, bool percentages) {
  const int n = d.SectionCount();
  d.quantities.Replace(n);
  std::vector<int> written;
  for (int i = 0; i < n; ++i) {
    const SectionRecord& s = d.sections[static_cast<size_t>(i)];
    if (!InRange(s.mileage, start, end)) continue;
    EarthworkQuantityRecord& q = d.quantities.rows[i];
    CopyLabel(q.label, s.label);
    q.mileage = s.mileage;
    q.cutArea = s.areas.cut;
    q.fillArea = s.areas.fill;
    if (i == 0) {  // the line's first section starts the quantities
      written.push_back(i);
      continue;
    }
    if (InsideStructure(s.leftCode)) continue;
    const SectionRecord& p = d.sections[static_cast<size_t>(i - 1)];
    written.push_back(i);
    // No earthwork across a structure: a structure end after its start or
    // inside, or a start right behind another structure's end.
    if (s.leftCode != 0 && p.leftCode != 0) continue;
    SectionVolumes(s, p, q);
    if (!percentages) continue;
    const int row = d.FindExcavationClassRow(s.mileage, 0.1);
    if (row < 0 || q.cutVolume <= 0.0) continue;
    for (int k = 0; k < 6; ++k)
      if (q.rockClassVolume[k] > 0.0) q.companion[k] = d.excavationClass.rows[row].percent[k];
  }
  return written;
}

// The two lines of a section in a quantity file; the detour file gives the
// section's structure code after its mileage.
void WriteQuantityLines(FILE* f, const SectionRecord& s, const EarthworkQuantityRecord& q, bool withCode) {
  const SectionAreas& a = s.areas;
  if (withCode)
    platform::printToFile(f, "%0.3lf %d %0.2lf %0.2lf %0.2lf %0.2lf %0.2lf ", q.mileage, s.leftCode, a.fill, a.improvedSoil,
                          a.surfaceLayer, a.topsoil, a.cut);
  else
    platform::printToFile(f, "%0.3lf %0.2lf %0.2lf %0.2lf %0.2lf %0.2lf ", q.mileage, a.fill, a.improvedSoil, a.surfaceLayer,
                          a.topsoil, a.cut);
  for (int k = 0; k < 6; ++k) platform::printToFile(f, "%0.2lf %0.2lf ", a.excavationClass[k], q.companion[k]);
  platform::printToFile(f, "%0.2lf %0.2lf %0.2lf %0.2lf %0.2lf %0.2lf %0.3lf ", a.shoulderLayer, a.ditchLining, a.ditchFill,
                        a.ditchCut, a.turfLength, a.retainingWallLength, q.distance);
  platform::printToFile(f, "\n%0.2lf %0.2lf %0.2lf %0.2lf %0.2lf ", q.fillVolume, q.improvedSoilVolume, q.surfaceLayerVolume,
                        q.topsoilVolume, q.cutVolume);
  for (int k = 0; k < 6; ++k) platform::printToFile(f, "%0.2lf %0.2lf ", q.rockClassVolume[k], q.companion[k]);
  platform::printToFile(f, "%0.2lf %0.2lf %0.2lf %0.2lf %0.2lf %0.2lf\n", q.shoulderLayerVolume, q.ditchLiningVolume,
                        q.ditchFillVolume, q.ditchCutVolume, q.turfArea, q.retainingWallArea);
  platform::printToFile(f, "\n");
}

}  // namespace

double LineChainageToMileage(const CrossSectionDesigner& d, const char* chainageText) {
  int count = 0;
  const BreakRecord* table = nullptr;
  LineBreakTable(d, count, table);
  return count > 0 ? BreakTableChainageToMileage(chainageText, count, table) : ChainageValue(chainageText);
}

void CrossSectionDesigner::SetAllExcavationClassAreas() {
  for (int i = 0; i < SectionCount(); ++i) ApplyExcavationClasses(i);
}

void CrossSectionDesigner::RestoreSectionLabels() {
  for (SectionRecord& s : sections) MileageLabel(*this, s.mileage, s.label);
}

void CrossSectionDesigner::AddStructureEndSections() {
  std::vector<StructureEnd> ends;
  CollectEnds(bridges, kBridgeStart, ends);
  CollectEnds(tunnels, kTunnelStart, ends);
  CollectEnds(stations, kStationStart, ends);
  for (const StructureEnd& e : ends) {
    const int n = SectionCount();
    // Only the ends that lie among the designed sections get one: beyond the
    // first or the last section there is nothing to copy a design from.
    if (n == 0 || e.mileage < sections.front().mileage - 0.001 || e.mileage > sections.back().mileage + 0.001)
      continue;
    int at = 0;  // the first section beyond the end
    bool present = false;
    for (; at < n; ++at) {
      const double ml = sections[static_cast<size_t>(at)].mileage;
      if (ml > e.mileage - 0.001 && ml < e.mileage + 0.001) present = true;
      if (ml > e.mileage) break;
    }
    if (present) continue;
    // The neighbour outside the structure: before its start, after its end.
    const int neighbour = e.code < 0 ? at - 1 : at;
    SectionRecord added = sections[static_cast<size_t>(std::clamp(neighbour, 0, n - 1))];
    added.mileage = e.mileage;
    added.leftCode = e.code;
    if (e.text[0] != '\0')
      CopyLabel(added.label, e.text);
    else
      MileageLabel(*this, e.mileage, added.label);
    if (!InsertSection(at, added)) return;
  }
}

int CrossSectionDesigner::WriteEarthworkTable(double start, double end) {
  AddStructureEndSections();
  const std::vector<int> written = ComputeQuantities(*this, start, end, false);

  const CString path = ResultFilePath("tsfjsb");
  FILE* f = platform::openFile(path, "w");
  if (f == nullptr) {
    AfxMessageBox("写文件出错!");
    return 0;
  }
  platform::printToFile(f, "%0.3lf %0.3lf %10d\n", start, end, 0);
  for (int i : written)
    WriteQuantityLines(f, sections[static_cast<size_t>(i)], quantities.rows[i], false);
  // The count is known only now; its field keeps its width.
  std::rewind(f);
  platform::printToFile(f, "%0.3lf %0.3lf %10d\n", start, end, static_cast<int>(written.size()));
  if (std::fclose(f) != 0) {
    AfxMessageBox("写文件出错!");
    return 0;
  }
  return 1;
}

int CrossSectionDesigner::WriteEarthworkRows(FILE* file, int side, int detourIndex, double start, double end) {
  if (file == nullptr) return 0;
  acedSetStatusBarProgressMeter("正在写土石方文件", 0, 100);
  AddStructureEndSections();
  const std::vector<int> written = ComputeQuantities(*this, start, end, true);
  platform::printToFile(file, "%d %d\n", side, detourIndex);
  platform::printToFile(file, "%0.3lf %0.3lf\n", start, end);
  const int count = static_cast<int>(written.size());
  for (int j = 0; j < count; ++j) {
    const int i = written[static_cast<size_t>(j)];
    WriteQuantityLines(file, sections[static_cast<size_t>(i)], quantities.rows[i], true);
    acedSetStatusBarProgressMeterPos((j + 1) * 100 / count);
  }
  acedRestoreStatusBar();
  return 1;
}

void CrossSectionDesigner::SummarizeEarthwork(double start, double end) {
  if (!OpenQuantitySheet()) return;
  const int n = SectionCount();
  if (quantities.count != n) {
    acutPrintf("\n没有计算土石方数量, 不填写路基数量表");
    return;
  }
  char startLabel[kChainageTextSize] = {};
  char endLabel[kChainageTextSize] = {};
  EarthworkSums row, total;
  bool first = true;
  for (int i = 0; i < n; ++i) {
    const SectionRecord& s = sections[static_cast<size_t>(i)];
    if (!InRange(s.mileage, start, end)) continue;
    const int code = s.leftCode;
    // The first section and every structure end open a row.
    if (first || code == kBridgeEnd || code == kTunnelEnd || code == kStationEnd) {
      first = false;
      CopyLabel(startLabel, s.label);
      CopyLabel(endLabel, s.label);
      row = EarthworkSums();
      continue;
    }
    row.Add(quantities.rows[i]);
    const double c = ChainageValue(s.label);
    const double previous = ChainageValue(endLabel);
    const bool passedKilometre = !OnWholeKilometre(c) && Kilometre(c) > Kilometre(previous);
    CopyLabel(endLabel, s.label);
    if (c <= 0.0) continue;

    const bool structureStart = code == kBridgeStart || code == kTunnelStart || code == kStationStart;
    const bool last = i == n - 1 || sections[static_cast<size_t>(i + 1)].mileage > end + 0.01;
    if (!OnWholeKilometre(c) && !last && !structureStart && !passedKilometre) continue;
    // A row that would run backwards (across a long chain) goes on.
    if (LineChainageToMileage(*this, endLabel) < LineChainageToMileage(*this, startLabel)) continue;

    FillExcelQuantityRow(startLabel, endLabel, row);
    bool stop = false;
    if (const StructureRow* structure = structureStart ? StartingStructure(*this, s) : nullptr) {
      ++g_ExcelRow;
      WriteStructureRow(*structure);
      CopyLabel(endLabel, structure->endText);
      stop = structure->endMileage > end + 0.01;
    }
    total.Add(row);
    CopyLabel(startLabel, endLabel);
    row = EarthworkSums();
    ++g_ExcelRow;
    if (stop) break;
  }
  FillExcelQuantityRow("合计", "", total);
  g_ExcelRow += 2;
}
