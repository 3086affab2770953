// The 21 design-standard tables: reading one table for the current line into
// the rows of the scheme database object, with the default row of each table
// for a line that has none.
#include "DesignStandards.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SchemeDatabase.h"
#include "arx/edoutput.h"
#include "project/GbkText.h"
#include "project/TechParams.h"

const char* const kDesignStandardTables[kDesignStandardTableCount] = {
    "填改良土",   "挖方分类",   "基床表层厚度", "护肩宽度",         "清表土厚度",     "左地面线内插宽",
    "左横断面限制宽度", "左用地加宽", "左路堤边坡",   "左路堑边坡",       "左排水沟",       "左侧沟",
    "左天沟",     "右地面线内插宽", "右横断面限制宽度", "右用地加宽", "右路堤边坡",     "右路堑边坡",
    "右排水沟",   "右侧沟",     "右天沟"};

const char* const kDesignStandardRequestOrder[kDesignStandardRequestCount] = {
    "填改良土",   "挖方分类",   "基床表层厚度", "护肩宽度",         "清表土厚度",     "左地面线内插宽",
    "左横断面限制宽度", "左用地加宽", "左路堤边坡",   "左路堑边坡",       "左排水沟",       "左侧沟",
    "左天沟",     "清表土厚度", "右地面线内插宽", "右横断面限制宽度", "右用地加宽", "右路堤边坡",
    "右路堑边坡", "右排水沟",   "右侧沟",       "右天沟"};

double DrainageDitchRow::At(int position) const {
  if (position == 12) return at12;
  if (position >= 6 && position <= 11) return at6to11[position - 6];
  return 0.0;
}

double SideDitchRow::At(int position) const {
  if (position == 9) return at9;
  if (position >= 5 && position <= 8) return at5to8[position - 5];
  return 0.0;
}

double SideDitchDefaultDepth(double subgradeSurfaceThickness) {
  double centimetres = (subgradeSurfaceThickness + 0.2) * 100.0;
  // Toward zero, with an allowance far below a centimetre for the binary error
  // of the sum (0.7 + 0.2 comes out as 0.8999999999999999).
  centimetres = centimetres >= 0.0 ? std::floor(centimetres + 1e-6) : std::ceil(centimetres - 1e-6);
  return centimetres / 100.0;
}

double ShortestFloatDecimal(float value) {
  if (!std::isfinite(value)) return value;
  char text[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(text, nullptr) == value) return std::strtod(text, nullptr);
  }
  return value;
}

namespace {

enum class StandardKind {
  ImprovedFill,
  ExcavationClass,
  SubgradeSurface,
  ShoulderProtection,
  TopsoilStripping,
  GroundLineWidth,
  SectionWidthLimit,
  LandWidening,
  EmbankmentSlopes,
  CuttingSlopes,
  DrainageDitch,
  SideDitch,
  TopDitch,
};

struct StandardTable {
  const char* name;
  StandardKind kind;
  int side;  // kLeftSide, kRightSide, or kLeftSide for a table of both sides
};

const StandardTable kTables[kDesignStandardTableCount] = {
    {"填改良土", StandardKind::ImprovedFill, kLeftSide},
    {"挖方分类", StandardKind::ExcavationClass, kLeftSide},
    {"基床表层厚度", StandardKind::SubgradeSurface, kLeftSide},
    {"护肩宽度", StandardKind::ShoulderProtection, kLeftSide},
    {"清表土厚度", StandardKind::TopsoilStripping, kLeftSide},
    {"左地面线内插宽", StandardKind::GroundLineWidth, kLeftSide},
    {"左横断面限制宽度", StandardKind::SectionWidthLimit, kLeftSide},
    {"左用地加宽", StandardKind::LandWidening, kLeftSide},
    {"左路堤边坡", StandardKind::EmbankmentSlopes, kLeftSide},
    {"左路堑边坡", StandardKind::CuttingSlopes, kLeftSide},
    {"左排水沟", StandardKind::DrainageDitch, kLeftSide},
    {"左侧沟", StandardKind::SideDitch, kLeftSide},
    {"左天沟", StandardKind::TopDitch, kLeftSide},
    {"右地面线内插宽", StandardKind::GroundLineWidth, kRightSide},
    {"右横断面限制宽度", StandardKind::SectionWidthLimit, kRightSide},
    {"右用地加宽", StandardKind::LandWidening, kRightSide},
    {"右路堤边坡", StandardKind::EmbankmentSlopes, kRightSide},
    {"右路堑边坡", StandardKind::CuttingSlopes, kRightSide},
    {"右排水沟", StandardKind::DrainageDitch, kRightSide},
    {"右侧沟", StandardKind::SideDitch, kRightSide},
    {"右天沟", StandardKind::TopDitch, kRightSide},
};

const StandardTable* FindStandardTable(const char* name) {
  for (const StandardTable& t : kTables)
    if (std::strcmp(t.name, name) == 0) return &t;
  return nullptr;
}

// A default row carries the chainage as text only.
void SetKeyText(ChainageKey& key, const char* text) {
  CopyTextBounded(key.text, sizeof key.text, text, kChainageTextGbkMax);
}

const SlopeGrade kEmbankmentGrades[3] = {{1.5, 8.0, 1.0, 0.0}, {1.75, 10.0, 1.0, 0.0}, {2.0, 100.0, 1.0, 0.0}};
const SlopeGrade kCuttingGrades[3] = {{1.0, 8.0, 1.0, 0.0}, {1.25, 10.0, 1.0, 0.0}, {1.5, 100.0, 1.0, 0.0}};

}  // namespace

template <class Row, class ReadRow, class MakeDefault>
void SchemeDatabase::ReadStandardTable(const char* tableName, OwnedRowArray<Row>& target, ReadRow readRow,
                                       MakeDefault makeDefault) {
  if (!OpenLineTable(databasePath, tableName)) {
    char start[kChainageTextSize] = {};
    char end[kChainageTextSize] = {};
    GetChainageRange(currentLine, detourNumber, start, end, sizeof start);
    makeDefault(*target.Replace(1), start, end);
    return;
  }
  const int n = static_cast<int>(recordset.CountRecords());
  Row* rows = target.Replace(n);
  recordset.MoveFirst();
  numbers.Begin(tableName);
  int filled = 0;
  for (; filled < n && !recordset.IsEOF() && !numbers.Refused(); ++filled, recordset.MoveNext()) {
    numbers.SetRow(filled + 1);
    readRow(rows[filled], filled);
  }
  target.count = filled;
  CloseQuery();
  // A refused table (a cell that is no finite number, said in a message box)
  // gives the line's default row, as a table without rows does.
  if (numbers.Refused()) {
    char start[kChainageTextSize] = {};
    char end[kChainageTextSize] = {};
    GetChainageRange(currentLine, detourNumber, start, end, sizeof start);
    makeDefault(*target.Replace(1), start, end);
  }
}

void SchemeDatabase::ReadSlopeRow(SlopeGradesRow& row, const char* tableName, int rowNumber) {
  ReadKey(row.end, 3);
  const int count = CellInteger(5);
  row.gradeCount = std::clamp(count, 0, kMaxSlopeGrades);
  if (row.gradeCount != count)
    acutPrintf("\n%s第%d行的边坡级数%d超出0~%d的范围,按%d级读入!\n", tableName, rowNumber + 1, count, kMaxSlopeGrades,
               row.gradeCount);
  for (int k = 0; k < row.gradeCount; ++k) {
    const long p = 6 + 4 * k;
    SlopeGrade& g = row.grades[k];
    g.ratio = CellNumber(p);
    g.height = CellNumber(p + 1);
    g.bermWidth = CellNumber(p + 2);
    g.fourth = CellNumber(p + 3);
  }
}

int SchemeDatabase::ReadDesignStandards(CString tableName) {
  LoadBreakTables();
  const StandardTable* table = FindStandardTable(tableName);
  if (!table) return 1;
  const char* name = table->name;
  const int side = table->side;

  auto readValue = [this](StandardValueRow& r, int) {
    ReadKey(r.end, 3);
    r.value = CellNumber(5);
  };
  auto valueDefault = [](double value) {
    return [value](StandardValueRow& r, const char*, const char* end) {
      SetKeyText(r.end, end);
      r.value = value;
    };
  };
  auto readSlopes = [this, name](SlopeGradesRow& r, int i) { ReadSlopeRow(r, name, i); };
  auto slopeDefault = [](const SlopeGrade (&grades)[3]) {
    return [&grades](SlopeGradesRow& r, const char*, const char* end) {
      SetKeyText(r.end, end);
      r.gradeCount = 3;
      for (int k = 0; k < 3; ++k) r.grades[k] = grades[k];
    };
  };

  switch (table->kind) {
    case StandardKind::ImprovedFill:
      ReadStandardTable(
          name, improvedFill,
          [this](ImprovedFillRow& r, int) {
            ReadKey(r.start, 3);
            ReadKey(r.end, 5);
            r.value = CellNumber(7);
          },
          [](ImprovedFillRow& r, const char* start, const char* end) {
            r.value = 0.0;
            SetKeyText(r.start, start);
            SetKeyText(r.end, end);
          });
      break;
    case StandardKind::ExcavationClass:
      ReadStandardTable(
          name, excavationClasses,
          [this](ExcavationClassRow& r, int) {
            ReadKey(r.end, 3);
            for (int c = 0; c < 6; ++c) r.percent[c] = CellNumber(5 + c);
          },
          [](ExcavationClassRow& r, const char*, const char* end) {
            SetKeyText(r.end, end);
            const double all3[6] = {0.0, 0.0, 100.0, 0.0, 0.0, 0.0};
            std::copy(all3, all3 + 6, r.percent);
          });
      break;
    case StandardKind::SubgradeSurface:
      ReadStandardTable(name, subgradeSurface, readValue, [this](StandardValueRow& r, const char*, const char* end) {
        SetKeyText(r.end, end);
        LoadTechParams();  // sets the value of this, the first row
      });
      break;
    case StandardKind::ShoulderProtection:
      ReadStandardTable(name, shoulderProtection, readValue, valueDefault(0.4));
      break;
    case StandardKind::TopsoilStripping:
      ReadStandardTable(name, topsoilStripping, readValue, valueDefault(0.0));
      break;
    case StandardKind::GroundLineWidth:
      ReadStandardTable(name, groundLineWidth[side], readValue, valueDefault(60.0));
      break;
    case StandardKind::SectionWidthLimit:
      ReadStandardTable(name, sectionWidthLimit[side], readValue, valueDefault(60.0));
      break;
    case StandardKind::LandWidening:
      ReadStandardTable(
          name, landWidening[side],
          [this](LandWideningRow& r, int) {
            ReadKey(r.end, 3);
            r.firstWidening = CellNumber(5);
            r.secondWidening = CellNumber(6);
          },
          [](LandWideningRow& r, const char*, const char* end) {
            SetKeyText(r.end, end);
            r.firstWidening = 1.0;
            r.secondWidening = 1.0;
          });
      break;
    case StandardKind::EmbankmentSlopes:
      ReadStandardTable(name, embankmentSlopes[side], readSlopes, slopeDefault(kEmbankmentGrades));
      break;
    case StandardKind::CuttingSlopes:
      ReadStandardTable(name, cuttingSlopes[side], readSlopes, slopeDefault(kCuttingGrades));
      break;
    case StandardKind::DrainageDitch:
      ReadStandardTable(
          name, drainageDitches[side],
          [this](DrainageDitchRow& r, int) {
            ReadKey(r.end, 3);
            r.ditchType = CellInteger(5);
            r.at12 = CellNumber(12);
            for (int p = 6; p <= 11; ++p) r.at6to11[p - 6] = CellNumber(p);
          },
          [](DrainageDitchRow& r, const char*, const char* end) {
            SetKeyText(r.end, end);
            r.ditchType = 1;
            const double at6to11[6] = {2.0, 4.0, 0.4, 0.6, 1.0, 1.0};
            std::copy(at6to11, at6to11 + 6, r.at6to11);
            r.at12 = 0.3;
          });
      break;
    case StandardKind::SideDitch: {
      ReadStandardTable(
          name, sideDitches[side],
          [this](SideDitchRow& r, int) {
            ReadKey(r.end, 3);
            r.at9 = CellNumber(9);
            for (int p = 5; p <= 8; ++p) r.at5to8[p - 5] = CellNumber(p);
          },
          [this](SideDitchRow& r, const char*, const char* end) {
            // The depth follows the line's first 基床表层厚度 row; the table is
            // read first when the object holds none.
            if (subgradeSurface.count <= 0) ReadDesignStandards("基床表层厚度");
            const double thickness = subgradeSurface.count > 0 ? subgradeSurface.rows[0].value : 0.0;
            SetKeyText(r.end, end);
            r.at5to8[0] = 0.4;
            r.at5to8[1] = SideDitchDefaultDepth(thickness);
            r.at5to8[2] = 1.0;
            r.at5to8[3] = 1.0;
            r.at9 = 0.3;
          });
      break;
    }
    case StandardKind::TopDitch: {
      // The left and right defaults differ in the order of their second and
      // third values.
      const double left[3] = {2.0, 0.4, 0.6};
      const double right[3] = {2.0, 0.6, 0.4};
      const double* values = side == kLeftSide ? left : right;
      ReadStandardTable(
          name, topDitches[side],
          [this](TopDitchRow& r, int) {
            ReadKey(r.start, 3);
            for (int k = 0; k < 3; ++k) r.startValues[k] = CellNumber(5 + k);
            ReadKey(r.end, 8);
            for (int k = 0; k < 3; ++k) r.endValues[k] = CellNumber(10 + k);
            for (int k = 0; k < 3; ++k) r.extra[k] = CellNumber(13 + k);
          },
          [values](TopDitchRow& r, const char* start, const char* end) {
            SetKeyText(r.start, start);
            SetKeyText(r.end, end);
            std::copy(values, values + 3, r.startValues);
            std::copy(values, values + 3, r.endValues);
            const double extra[3] = {1.0, 1.0, 0.3};
            std::copy(extra, extra + 3, r.extra);
          });
      break;
    }
  }
  return 1;
}

bool SchemeDatabase::LoadTechParams() {
  ReadTechParams();
  // The file holds a 32-bit float: its shortest decimal is the value that was
  // typed (0.65 rather than 0.6499999762).
  techSubgradeThickness = ShortestFloatDecimal(static_cast<float>(TechSubgradeSurfaceThickness()));
  techDesignSpeed = TechDesignSpeed();
  if (subgradeSurface.count > 0) subgradeSurface.rows[0].value = techSubgradeThickness;
  return true;
}
