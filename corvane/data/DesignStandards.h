#pragma once
// Rows of the 21 roadbed design-standard tables of a scheme database.
//
// Every table gives, for one line of the scheme (baseline, left line or right
// line, with the detour-section number of a side line) and by chainage range,
// one standard of the cross-section design. The rows are selected by the
// columns 线路性质 (-1 left line, 0 baseline, 1 right line) and 绕行段编号
// (-1 for the baseline) and read by column position (0 is ID, 1 and 2 the two
// selecting columns; the positions of each table are noted at its record).
//
// A row with one key (the end key) holds from the end of the previous row up
// to its own chainage, the first row from the start of the line. Rows keep the
// order in which the database delivers them. A line without rows in a table
// gets one default row that spans the whole line (SchemeDatabase::
// ReadDesignStandards), whose texts are the line's start and end chainage and
// whose prefix and number fields stay empty and 0.

#include "mfc/cstring.h"
#include "project/ChainageText.h"

// The 21 tables, in the order the designer requests them (清表土厚度 is
// requested twice, once for each side; see kDesignStandardRequestOrder).
inline constexpr int kDesignStandardTableCount = 21;
extern const char* const kDesignStandardTables[kDesignStandardTableCount];
// The designer's 22 requests: the 21 names with 清表土厚度 again before the
// right-hand set.
inline constexpr int kDesignStandardRequestCount = 22;
extern const char* const kDesignStandardRequestOrder[kDesignStandardRequestCount];

// Sides of a section: the 左 and 右 tables.
enum StandardSide { kLeftSide = 0, kRightSide = 1 };

// A slope row holds at most this many grades; a larger count read from a table
// is cut to it (and a negative one to 0), with a note on the command line.
inline constexpr int kMaxSlopeGrades = 30;

// A chainage key: the prefix column as text, the number column (0 for a text
// that is no number) and the two as a three-decimal chainage text.
struct ChainageKey {
  CString prefix;
  double number = 0.0;
  char text[kChainageTextSize] = {};
};

// 清表土厚度, 基床表层厚度, 护肩宽度, 左/右地面线内插宽, 左/右横断面限制宽度.
// Positions: 3 end prefix, 4 end number, 5 value.
struct StandardValueRow {
  ChainageKey end;
  double value = 0.0;
};

// 左/右用地加宽. Positions: 3, 4 end key; 5 first widening; 6 second widening.
struct LandWideningRow {
  ChainageKey end;
  double firstWidening = 0.0;
  double secondWidening = 0.0;
};

// One grade of a slope: the m of 1:m, the height up to which it runs (m), the
// berm width after it (m), and a fourth number carried unchanged.
struct SlopeGrade {
  double ratio = 0.0;
  double height = 0.0;
  double bermWidth = 0.0;
  double fourth = 0.0;
};

// 左/右路堤边坡, 左/右路堑边坡. Positions: 3, 4 end key; 5 grade count; then
// 6+4k, 7+4k, 8+4k, 9+4k the four numbers of grade k.
struct SlopeGradesRow {
  ChainageKey end;
  int gradeCount = 0;  // 0 .. kMaxSlopeGrades
  SlopeGrade grades[kMaxSlopeGrades];
};

// 左/右排水沟. Positions: 3, 4 end key; 5 ditch type; 6 to 12 reals (7 is a
// percentage in the designer's lookup).
struct DrainageDitchRow {
  ChainageKey end;
  int ditchType = 0;
  double at12 = 0.0;        // position 12
  double at6to11[6] = {};   // positions 6 .. 11
  // The real read from `position` (6 .. 12); 0 for any other position.
  double At(int position) const;
};

// 左/右侧沟. Positions: 3, 4 end key; 5 to 9 reals (the designer's width is
// (8 + 7) × 6 + 5 of them).
struct SideDitchRow {
  ChainageKey end;
  double at9 = 0.0;        // position 9
  double at5to8[4] = {};   // positions 5 .. 8
  // The real read from `position` (5 .. 9); 0 for any other position.
  double At(int position) const;
};

// 左/右天沟. Positions: 3, 4 start key; 5, 6, 7 values at the start; 8, 9 end
// key; 10, 11, 12 values at the end; 13, 14, 15 further reals.
struct TopDitchRow {
  ChainageKey start;
  ChainageKey end;
  double startValues[3] = {};  // positions 5, 6, 7
  double endValues[3] = {};    // positions 10, 11, 12
  double extra[3] = {};        // positions 13, 14, 15
};

// 填改良土. Positions: 3, 4 start key; 5, 6 end key; 7 value.
struct ImprovedFillRow {
  double value = 0.0;
  ChainageKey start;
  ChainageKey end;
};

// 挖方分类. Positions: 3, 4 end key; 5 to 10 the percentages of classes I to VI.
struct ExcavationClassRow {
  ChainageKey end;
  double percent[6] = {};
};

// An owned array of rows and its count. Replacing it destroys the old rows.
template <class Row>
struct OwnedRowArray {
  OwnedRowArray() = default;
  ~OwnedRowArray() { Free(); }
  OwnedRowArray(const OwnedRowArray&) = delete;
  OwnedRowArray& operator=(const OwnedRowArray&) = delete;

  // Replaces the rows by `n` default rows (none when n <= 0); count = n.
  Row* Replace(int n) {
    Free();
    if (n > 0) {
      rows = new Row[static_cast<size_t>(n)]();
      count = n;
    }
    return rows;
  }
  void Free() {
    delete[] rows;
    rows = nullptr;
    count = 0;
  }

  int count = 0;
  Row* rows = nullptr;
};

// The default depth of a side ditch: the subgrade surface-layer thickness plus
// 0.2 m, cut to whole centimetres toward zero (0.65 and 0.655 both give 0.85).
double SideDitchDefaultDepth(double subgradeSurfaceThickness);

// The shortest decimal that reads back as the same 32-bit float, as a double
// (the float 0.65f, held as 0.64999998, gives 0.65).
double ShortestFloatDecimal(float value);
