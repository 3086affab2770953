// The roadbed quantity sheet: opening it from its template, its kilometre,
// structure and total rows, and handing it over at the end of the run.

#include "QuantitySheet.h"

#include <climits>
#include <cmath>
#include <string>

#include "DesignerGlobals.h"
#include "arx/edoutput.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"

int g_ExcelRow = 3;
sheet::Application g_ExcelApp;
sheet::Workbooks g_ExcelBooks;
sheet::Workbook g_ExcelBook;
sheet::Worksheets g_ExcelSheets;
sheet::Worksheet g_ExcelSheet;
sheet::Range g_ExcelRange;

namespace {

const char* const kSheetName = "路基数量表";

// A whole number of cubic metres as the sheet shows it (half up); values
// beyond the cell's 32-bit range are held at its ends.
int Whole(double v) {
  const double r = v + 0.5;
  if (!(r > static_cast<double>(INT_MIN))) return r != r ? 0 : INT_MIN;  // NaN gives 0
  if (!(r < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(r);
}

// Set when the sheet could not be opened in this run, so that the message
// is given once; the end of the run clears it.
bool g_SheetUnavailable = false;

void SetText(int row, int col, const char* text) { g_ExcelSheet.GetCell(row, col).SetValue(text); }
void SetInt(int row, int col, int value) { g_ExcelSheet.GetCell(row, col).SetValue(value); }
void SetNumber(int row, int col, double value) { g_ExcelSheet.GetCell(row, col).SetValue(value); }

void ReleaseAll() {
  g_ExcelRange.Release();
  g_ExcelSheet.Release();
  g_ExcelSheets.Release();
  g_ExcelBook.Release();
  g_ExcelBooks.Release();
  g_ExcelApp.Release();
  g_LastMergedRange = sheet::Range();
}

}  // namespace

void EarthworkSums::Add(const EarthworkQuantityRecord& q) {
  EarthworkSums section;
  section.fill = q.fillVolume;
  for (int k = 0; k < 6; ++k) section.rockClass[k] = q.rockClassVolume[k];
  section.improvedSoil = q.improvedSoilVolume;
  section.surfaceLayer = q.surfaceLayerVolume;
  section.topsoil = q.topsoilVolume;
  section.ditchFill = q.ditchFillVolume;
  section.ditchCut = q.ditchCutVolume;
  section.shoulderLayer = q.shoulderLayerVolume;
  section.ditchLining = q.ditchLiningVolume;
  section.retainingWall = q.retainingWallArea;
  section.turf = q.turfArea;
  Add(section);
}

void EarthworkSums::Add(const EarthworkSums& s) {
  fill += s.fill;
  for (int k = 0; k < 6; ++k) rockClass[k] += s.rockClass[k];
  improvedSoil += s.improvedSoil;
  surfaceLayer += s.surfaceLayer;
  topsoil += s.topsoil;
  ditchFill += s.ditchFill;
  ditchCut += s.ditchCut;
  shoulderLayer += s.shoulderLayer;
  ditchLining += s.ditchLining;
  retainingWall += s.retainingWall;
  turf += s.turf;
}

CString QuantitySheetTemplatePath() { return InstallFolder() + "\\lib\\" + kSheetName + ".xlt"; }

CString QuantitySheetPath() { return ResultFilePath(kSheetName) + ".xlsx"; }

bool QuantitySheetIsOpen() { return g_ExcelSheet.IsValid(); }

int OpenQuantitySheet() {
  if (QuantitySheetIsOpen()) return 1;
  if (g_SheetUnavailable) return 0;
  if (!g_ExcelApp.Start()) {
    acutPrintf("\n无法启动电子表格, 不能填写路基数量表");
    return 0;
  }
  g_ExcelBooks = g_ExcelApp.GetWorkbooks();
  const CString templatePath = QuantitySheetTemplatePath();
  g_ExcelBook = g_ExcelBooks.Add(templatePath);
  if (g_ExcelBook.IsValid()) {
    g_ExcelSheets = g_ExcelBook.GetWorksheets();
    g_ExcelSheet = g_ExcelSheets.GetItem(kSheetName);
  }
  if (!g_ExcelSheet.IsValid()) {
    acutPrintf("\n无法打开路基数量表模板%s, 不填写路基数量表", templatePath.GetString());
    g_ExcelApp.Quit();
    ReleaseAll();
    g_SheetUnavailable = true;
    return 0;
  }
  return 1;
}

void FillExcelQuantityRow(const char* startLabel, const char* endLabel, const EarthworkSums& s) {
  if (!QuantitySheetIsOpen()) return;
  const int row = g_ExcelRow;
  SetText(row, 1, startLabel);
  SetText(row, 2, endLabel);
  SetNumber(row, 3, s.surfaceLayer);
  SetNumber(row, 4, s.improvedSoil);
  SetInt(row, 5, Whole(s.fill));
  for (int k = 0; k < 6; ++k) SetInt(row, 6 + k, Whole(s.rockClass[k]));
  SetInt(row, 12, Whole(std::fabs(s.ditchCut) + s.ditchFill));
  SetNumber(row, 13, s.ditchLining);
  SetNumber(row, 14, s.turf);
  SetNumber(row, 15, s.retainingWall);
  SetNumber(row, 16, s.shoulderLayer);
  SetNumber(row, 17, s.topsoil);
}

void WriteStructureRow(const StructureRow& structure) {
  if (!QuantitySheetIsOpen()) return;
  const int row = g_ExcelRow;
  SetText(row, 1, structure.startText);
  SetText(row, 2, structure.endText);
  SetText(row, 3, structure.name.GetString());
  const std::string from = "c" + std::to_string(row);
  const std::string to = "Q" + std::to_string(row);
  g_ExcelRange = g_ExcelSheet.GetRange(from.c_str(), to.c_str());
  g_ExcelRange.Merge();
  g_LastMergedRange = g_ExcelRange;
}

int SetExcelInteractive(int interactive) {
  int result = 1;
  if (g_ExcelApp.IsValid()) {
    if (interactive) {
      const CString path = QuantitySheetPath();
      if (!g_ExcelApp.HandToUser(path)) {
        acutPrintf("\n路基数量表未能保存到%s; 土石方数量文件已写好", path.GetString());
        result = 0;
      }
    } else {
      g_ExcelApp.Quit();
    }
  }
  ReleaseAll();
  g_SheetUnavailable = false;
  return result;
}
