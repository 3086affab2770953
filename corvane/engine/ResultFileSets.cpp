// The result files as groups: the main line's (HdmResultData, HdmDetailArea,
// ZdkData, PMZTT, and the section quantity table) and the detour sections'
// (HdmRXDResultData, HdmRXDDetailArea, RXDZdkData, RXDPMZTT), written from
// the designers and read back into them.
//
// Every file is named "<project>\data\<Name>.<scheme>" and checked when it is
// opened: a file that cannot be opened is reported and nothing is written to
// it.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "ResultFileAccess.h"
#include "arx/edoutput.h"
#include "crt/format.h"
#include "crt/textfile.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"

// ---- Opening and closing --------------------------------------------------------------------

FILE* OpenResultFile(const char* name, const char* mode) {
  const CString path = ResultFilePath(name);
  return platform::openFile(path.GetString(), mode);
}

bool CloseResultFile(FILE* fp, const char* name) {
  if (fp == nullptr) return false;
  if (std::fclose(fp) == 0) return true;
  CString text;
  text.Format("写%s文件出错!", name);
  acedAlert(text.GetString());
  return false;
}

bool ReadLineKindFile(CString& lineKind) {
  FILE* f = OpenResultFile("ylex", "r");
  if (f == nullptr) return false;
  char word[64] = {};
  const bool read = std::fscanf(f, "%63s", word) == 1;
  std::fclose(f);
  if (!read) return false;
  const CString kind = word;
  if (kind != "单线" && kind != "双线" && kind != "预留二线") {
    acutPrintf("\n结果文件ylex.%s中的线路类型\"%s\"不是单线、双线或预留二线", g_SchemeName.GetString(),
               kind.GetString());
    return false;
  }
  lineKind = kind;
  return true;
}

FILE* OpenResultFileOrAlert(const char* name, const char* mode) {
  FILE* fp = OpenResultFile(name, mode);
  if (fp == nullptr) {
    CString text;
    text.Format("无法打开%s文件!", name);
    acedAlert(text.GetString());
  }
  return fp;
}

bool OpenResultFilePair(const char* first, FILE*& firstFile, const char* second, FILE*& secondFile) {
  firstFile = OpenResultFile(first, "w");
  secondFile = firstFile != nullptr ? OpenResultFile(second, "w") : nullptr;
  if (secondFile != nullptr) return true;
  if (firstFile != nullptr) std::fclose(firstFile);
  firstFile = nullptr;
  acedAlert("无法打开CRSFORM文件!");
  return false;
}

// ---- Excavation classes -------------------------------------------------------------------------

double CrossSectionDesigner::ExcavationShareSum(int row) const {
  if (row < 0 || row >= excavationClass.count) return 0.0;
  double sum = 0.0;
  for (double p : excavationClass.rows[row].percent) sum += p * 0.01;
  return sum;
}

bool CrossSectionDesigner::ExcavationSharesOverLimit(double shareSum) {
  // Six percentages read from a table rarely add up exactly in binary: 101 %
  // may come out a few units of the last place above 1.01.
  constexpr double kLimit = 1.01;
  constexpr double kRounding = 1e-9;
  return shareSum > kLimit + kRounding;
}

double CrossSectionDesigner::ApplyExcavationClasses(int index) {
  if (index < 0 || index >= SectionCount()) return 0.0;
  SectionRecord& r = sections[static_cast<size_t>(index)];
  const int row = FindExcavationClassRow(r.mileage);
  double sum = 0.0;
  for (int k = 0; k < 6; ++k) {
    const double share = row >= 0 ? excavationClass.rows[row].percent[k] * 0.01 : 0.0;
    sum += share;
    r.areas.excavationClass[k] = share * r.areas.cut;
  }
  return sum;
}

// ---- The land files of one designer or of all detour designers ------------------------------------

int WriteLandFile(const CrossSectionDesigner& designer, const char* name, bool landUse) {
  FILE* fp = OpenResultFileOrAlert(name, "w");
  if (fp == nullptr) return 0;
  if (landUse)
    designer.WriteLandUseLine(fp);
  else
    designer.WriteLandWidthLine(fp);
  return CloseResultFile(fp, name) ? 1 : 0;
}

int WriteDetourLandFile(const char* name, bool landUse) {
  FILE* fp = OpenResultFileOrAlert(name, "w");
  if (fp == nullptr) return 0;
  platform::printToFile(fp, "%d %d\n", g_LeftDetourCount, g_RightDetourCount);
  for (const CrossSectionDesigner* d : DetourDesignersInUse()) {
    if (landUse)
      d->WriteLandUseLine(fp);
    else
      d->WriteLandWidthLine(fp);
  }
  return CloseResultFile(fp, name) ? 1 : 0;
}

// ---- The detour result pair ------------------------------------------------------------------------

namespace {

// The head line of a detour designer: its stretches on the baseline in line
// order (S1 sml1 sml2 eml2 eml1 E1), the same on its own line, its index and
// its side.
void WriteDetourHead(FILE* fp, const CrossSectionDesigner& d) {
  const DetourMileages& b = d.segment;
  const DetourMileages& o = d.segmentOnDetour;
  platform::printToFile(fp,
                        "%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %d %d\n", b.S1,
                        b.sml1, b.sml2, b.eml2, b.eml1, b.E1, o.S1, o.sml1, o.sml2, o.eml2, o.eml1, o.E1, d.detourIndex,
                        d.detourSide);
}

bool ReadDetourHead(FILE* fp, CrossSectionDesigner& d) {
  DetourMileages& b = d.segment;
  DetourMileages& o = d.segmentOnDetour;
  double* values[] = {&b.S1, &b.sml1, &b.sml2, &b.eml2, &b.eml1, &b.E1,
                      &o.S1, &o.sml1, &o.sml2, &o.eml2, &o.eml1, &o.E1};
  for (double* v : values) {
    if (!ReadResultNumber(fp, *v)) return false;
  }
  return ReadResultInt(fp, d.detourIndex) && ReadResultInt(fp, d.detourSide);
}

}  // namespace

int WriteDetourResultPair(bool recomputeClasses) {
  FILE* result = nullptr;
  FILE* area = nullptr;
  if (!OpenResultFilePair("HdmRXDResultData", result, "HdmRXDDetailArea", area)) return 0;
  platform::printToFile(result, "%d %d\n", g_LeftDetourCount, g_RightDetourCount);
  platform::printToFile(area, "%d %d\n", g_LeftDetourCount, g_RightDetourCount);
  const std::vector<CrossSectionDesigner*> designers = DetourDesignersInUse();
  for (const CrossSectionDesigner* d : designers) WriteDetourHead(result, *d);

  bool warned = false;
  for (CrossSectionDesigner* d : designers) {
    platform::printToFile(result, "%d\n", d->SectionCount());
    platform::printToFile(area, "%d\n", d->SectionCount());
    for (int i = 0; i < d->SectionCount(); ++i) {
      const double ML = d->sections[static_cast<size_t>(i)].mileage;
      // Only the sections of the detour's separated stretch on its own line
      // (sml2 .. eml2, the third value of its third and fourth head triples)
      // are classed again: they are the ones the design run designed on this
      // designer. The others keep their stored class areas.
      if (recomputeClasses && ML > d->segmentOnDetour.sml2 - 0.01 && ML < d->segmentOnDetour.eml2 + 0.01) {
        if (CrossSectionDesigner::ExcavationSharesOverLimit(d->ApplyExcavationClasses(i)) && !warned) {
          AfxMessageBox("挖方分类数据有误, 百分比超过100, 请查错!");
          warned = true;
        }
      }
      d->WriteSectionResult(i, result);
      d->WriteAreaRecord(i, area);
    }
  }
  const bool ok = CloseResultFile(result, "HdmRXDResultData");
  return CloseResultFile(area, "HdmRXDDetailArea") && ok ? 1 : 0;
}

// ---- The main-line group -----------------------------------------------------------------------------

void CrossSectionDesigner::SaveResultFiles() {
  acutPrintf("\n正在更新HdmResultData文件.... ");
  acutPrintf("\n正在更新一线面积文件.... ");
  FILE* area = nullptr;
  FILE* result = nullptr;
  if (!OpenResultFilePair("HdmDetailArea", area, "HdmResultData", result)) return;
  platform::printToFile(result, "%d\n", SectionCount());
  platform::printToFile(area, "%d\n", SectionCount());
  bool warned = false;
  for (int i = 0; i < SectionCount(); ++i) {
    if (ExcavationSharesOverLimit(ApplyExcavationClasses(i)) && !warned) {
      AfxMessageBox("挖方分类数据有误, 百分比超过100, 请查错!");
      warned = true;
    }
    WriteSectionResult(i, result);
    WriteAreaRecord(i, area);
  }
  const bool resultOk = CloseResultFile(result, "HdmResultData");
  const bool areaOk = CloseResultFile(area, "HdmDetailArea");
  if (!resultOk || !areaOk) return;
  acutPrintf("\nOK");
  SaveQuantityTable();

  acutPrintf("\n正在更新一线占地宽文件.... ");
  if (!WriteLandFile(*this, "ZdkData", false)) return;
  acutPrintf("\nOK");
  acutPrintf("\n正在更新一线总体用地图文件.... ");
  if (!WriteLandFile(*this, "PMZTT", true)) return;
  acutPrintf("\nOK");
}

// ---- The detour group ---------------------------------------------------------------------------------

void CrossSectionDesigner::SaveDetourResultFiles() {
  acutPrintf("\n正在更新HdmRXDResultData文件.... ");
  acutPrintf("\n正在更新绕行段面积文件.... ");
  if (!WriteDetourResultPair(true)) return;
  acutPrintf("\nOK");
  acutPrintf("\n正在更新绕行段占地宽文件.... ");
  if (!WriteDetourLandFile("RXDZdkData", false)) return;
  acutPrintf("\nOK");
  acutPrintf("\n正在更新绕行段总体用地图文件.... ");
  if (!WriteDetourLandFile("RXDPMZTT", true)) return;
  acutPrintf("\nOK!");
}

// ---- The quantity table -----------------------------------------------------------------------------------

namespace {

// The stake of a section: its station as the fill/cut table gave it, or,
// for a section read back from the result files, parsed from its label
// ("<prefix><km>+<metres>").
void StakeOf(const SectionRecord& r, CString& prefix, double& chainage) {
  if (r.prefix[0] != '\0' || r.chainage != 0.0 || r.label[0] == '\0') {
    prefix = r.prefix;
    chainage = r.chainage;
    return;
  }
  const char* plus = std::strchr(r.label, '+');
  if (plus == nullptr) {
    prefix = r.label;
    chainage = r.mileage;
    return;
  }
  const char* km = plus;
  while (km > r.label && (km[-1] >= '0' && km[-1] <= '9')) --km;
  const bool negative = km > r.label && km[-1] == '-';
  prefix = CString(r.label, static_cast<int>(km - r.label - (negative ? 1 : 0)));
  const double kilometres = std::atof(CString(km, static_cast<int>(plus - km)).GetString());
  chainage = kilometres * 1000.0 + std::atof(plus + 1);
  if (negative) chainage = -chainage;
}

}  // namespace

void CrossSectionDesigner::SaveQuantityTable() {
  QuantityResultRow* rows = schemeDb.SetQuantityRowCount(SectionCount());
  for (int i = 0; i < SectionCount(); ++i) {
    const SectionRecord& r = sections[static_cast<size_t>(i)];
    const SectionAreas& a = r.areas;
    QuantityResultRow& q = rows[i];
    StakeOf(r, q.stakePrefix, q.stakeMileage);
    q.sectionKind = r.kind;
    q.fillArea = a.fill;
    q.improvedSoilArea = a.improvedSoil;
    // The subgrade surface layer is built of permeable soil.
    q.permeableSoilArea = a.surfaceLayer;
    q.strippedTopsoilArea = a.topsoil;
    std::copy(std::begin(a.excavationClass), std::end(a.excavationClass), q.cutClassArea);
    q.cutArea = a.cut;
    q.leftLandWidth = r.LeftLandWidth();
    q.rightLandWidth = r.RightLandWidth();
    q.shoulderProtectionArea = a.shoulderLayer;
    q.ditchFillArea = a.ditchFill;
    q.ditchCutArea = a.ditchCut;
    q.ditchMasonryArea = a.ditchLining;
    q.turfSlopeLength = a.turfLength;
    q.wallSlopeLength = a.retainingWallLength;
  }
  schemeDb.databasePath = schemeDatabasePath;
  schemeDb.RebuildQuantityTable();
}

// ---- Reading back ----------------------------------------------------------------------------------------

namespace {

void DamagedFile(const char* name, int section) {
  CString text;
  if (section > 0)
    text.Format("%s文件已损坏(第%d个断面), 请重新设计横断面!", name, section);
  else
    text.Format("%s文件已损坏, 请重新设计横断面!", name);
  acedAlert(text.GetString());
}

// The sections of one designer: its count, then one record each through
// `read`. With `keep` set the designer's sections stay and the count must
// equal theirs.
template <class Read>
bool ReadSectionsOf(CrossSectionDesigner& d, FILE* fp, const char* name, bool keep, Read read) {
  int n = 0;
  if (!ReadResultCount(fp, n, CrossSectionDesigner::kMaxSections)) {
    DamagedFile(name, 0);
    return false;
  }
  if (keep && n != d.SectionCount()) {
    DamagedFile(name, 0);
    return false;
  }
  if (!keep && !d.AllocateSections(n)) return false;
  for (int i = 0; i < n; ++i) {
    if (!read(d, i, fp)) {
      DamagedFile(name, i + 1);
      return false;
    }
  }
  return true;
}

// The detour counts "L R" of a detour file, each within the arrays.
bool ReadDetourCounts(FILE* fp, int& left, int& right) {
  return ReadResultCount(fp, left, kMaxDetourDesigners) && ReadResultCount(fp, right, kMaxDetourDesigners);
}

}  // namespace

int CrossSectionDesigner::ReadSectionResults() {
  auto readResult = [](CrossSectionDesigner& d, int i, FILE* fp) { return d.ReadSectionResult(i, fp) == 1; };
  FILE* fp = OpenResultFileOrAlert("HdmResultData", "r");
  if (fp == nullptr) return 0;
  const bool ok = ReadSectionsOf(*this, fp, "HdmResultData", false, readResult);
  std::fclose(fp);
  if (!ok) return 0;

  // The detour file of an earlier double-line design may still lie beside a
  // single-line one: it is read for a double line only.
  if (lineKind != "双线") return 1;
  fp = OpenResultFileOrAlert("HdmRXDResultData", "r");
  if (fp == nullptr) return 0;
  int left = 0, right = 0;
  bool detoursOk = ReadDetourCounts(fp, left, right) && SetDetourDesignerCount(-1, left) &&
                   SetDetourDesignerCount(1, right);
  const std::vector<CrossSectionDesigner*> designers =
      detoursOk ? DetourDesignersInUse() : std::vector<CrossSectionDesigner*>();
  for (CrossSectionDesigner* d : designers) detoursOk = detoursOk && ReadDetourHead(fp, *d);
  if (!detoursOk) DamagedFile("HdmRXDResultData", 0);
  for (CrossSectionDesigner* d : designers) {
    if (!detoursOk) break;
    detoursOk = ReadSectionsOf(*d, fp, "HdmRXDResultData", false, readResult);
  }
  std::fclose(fp);
  return detoursOk ? 1 : 0;
}

int CrossSectionDesigner::ReadSectionAreas() {
  auto readArea = [](CrossSectionDesigner& d, int i, FILE* fp) { return d.ReadDataFile(i, fp) == 1; };
  FILE* fp = OpenResultFileOrAlert("HdmDetailArea", "r");
  if (fp == nullptr) return 0;
  const bool ok = ReadSectionsOf(*this, fp, "HdmDetailArea", SectionCount() > 0, readArea);
  std::fclose(fp);
  if (!ok) return 0;

  if (lineKind != "双线") return 1;
  fp = OpenResultFileOrAlert("HdmRXDDetailArea", "r");
  if (fp == nullptr) return 0;
  int left = 0, right = 0;
  bool detoursOk = ReadDetourCounts(fp, left, right);
  // The areas belong to the detours whose results were read, or, when none
  // were, make the detour designers themselves.
  const bool haveResults = g_LeftDetourCount > 0 || g_RightDetourCount > 0;
  if (detoursOk && haveResults) detoursOk = left == g_LeftDetourCount && right == g_RightDetourCount;
  if (detoursOk && !haveResults) detoursOk = SetDetourDesignerCount(-1, left) && SetDetourDesignerCount(1, right);
  if (!detoursOk) DamagedFile("HdmRXDDetailArea", 0);
  const std::vector<CrossSectionDesigner*> designers =
      detoursOk ? DetourDesignersInUse() : std::vector<CrossSectionDesigner*>();
  for (CrossSectionDesigner* d : designers) {
    if (!detoursOk) break;
    detoursOk = ReadSectionsOf(*d, fp, "HdmRXDDetailArea", haveResults, readArea);
  }
  std::fclose(fp);
  return detoursOk ? 1 : 0;
}
