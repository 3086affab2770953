// Loading a designer's roadbed standards from the scheme database: each of
// the 21 standard tables is read for the designer's line through the scheme
// database object, and its rows become the designer's entries, their
// chainage texts turned into continuous mileage through a break table.

#include <algorithm>

#include "CrossSectionDesigner.h"
#include "SchemeImportRows.h"
#include "project/GbkText.h"

namespace {

void CopyKeyText(char (&target)[kChainageTextSize], const ChainageKey& key) {
  CopyTextBounded(target, sizeof target, key.text, kChainageTextGbkMax);
}

void ToEntry(const StandardValueRow& row, StandardValueEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  entry.value = row.value;
}

void ToEntry(const LandWideningRow& row, LandWideningEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  entry.fillWidening = row.firstWidening;
  entry.cutWidening = row.secondWidening;
}

void ToEntry(const SlopeGradesRow& row, SlopeGradesEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  entry.gradeCount = std::clamp(row.gradeCount, 0, kMaxSlopeGrades);
  std::copy(row.grades, row.grades + entry.gradeCount, entry.grades);
}

void ToEntry(const DrainageDitchRow& row, DrainageDitchEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  entry.type = row.ditchType;
  entry.distance = row.At(6);
  entry.crossSlope = row.At(7);
  entry.bottomWidth = row.At(8);
  entry.depth = row.At(9);
  entry.innerRatio = row.At(10);
  entry.outerRatio = row.At(11);
  entry.liningThickness = row.At(12);
}

void ToEntry(const SideDitchRow& row, SideDitchEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  entry.bottomWidth = row.At(5);
  entry.depth = row.At(6);
  entry.innerRatio = row.At(7);
  entry.outerRatio = row.At(8);
  entry.liningThickness = row.At(9);
}

void ToEntry(const TopDitchRow& row, TopDitchEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.startText, row.start);
  entry.startMileage = mileage(entry.startText);
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  entry.atStart = {row.startValues[0], row.startValues[1], row.startValues[2]};
  entry.atEnd = {row.endValues[0], row.endValues[1], row.endValues[2]};
  entry.innerRatio = row.extra[0];
  entry.outerRatio = row.extra[1];
  entry.liningThickness = row.extra[2];
}

void ToEntry(const ImprovedFillRow& row, ImprovedFillEntry& entry, const MileageOfChainage& mileage) {
  entry.value = row.value;
  CopyKeyText(entry.startText, row.start);
  CopyKeyText(entry.endText, row.end);
  entry.startMileage = mileage(entry.startText);
  entry.endMileage = mileage(entry.endText);
}

void ToEntry(const ExcavationClassRow& row, ExcavationClassEntry& entry, const MileageOfChainage& mileage) {
  CopyKeyText(entry.endText, row.end);
  entry.endMileage = mileage(entry.endText);
  std::copy(row.percent, row.percent + 6, entry.percent);
}

// Replaces the entries by one entry per row.
template <class Row, class Entry>
void CopyRows(const OwnedRowArray<Row>& rows, OwnedRowArray<Entry>& entries, const MileageOfChainage& mileage) {
  entries.Replace(rows.rows != nullptr ? rows.count : 0);
  for (int i = 0; i < entries.count; ++i) ToEntry(rows.rows[i], entries.rows[i], mileage);
}

}  // namespace

void CrossSectionDesigner::ReadStandardsInto(CrossSectionDesigner& target, int tableCount,
                                             const BreakRecord* breakTable) {
  const MileageOfChainage mileage = MileageThrough(tableCount, breakTable);
  SchemeDatabase& db = schemeDb;
  for (int request = 0; request < kDesignStandardRequestCount; ++request) {
    db.ReadDesignStandards(kDesignStandardRequestOrder[request]);
    // The right-hand set follows the second request of 清表土厚度.
    const int side = request < 13 ? kLeftSide : kRightSide;
    SideStandards& standards = side == kLeftSide ? target.leftStandards : target.rightStandards;
    switch (request) {
      case 0: CopyRows(db.improvedFill, target.improvedFill, mileage); break;
      case 1: CopyRows(db.excavationClasses, target.excavationClass, mileage); break;
      case 2: CopyRows(db.subgradeSurface, target.surfaceLayer, mileage); break;
      case 3: CopyRows(db.shoulderProtection, target.shoulderProtection, mileage); break;
      case 4:
      case 13: CopyRows(db.topsoilStripping, standards.topsoil, mileage); break;
      case 5:
      case 14: CopyRows(db.groundLineWidth[side], standards.groundWidth, mileage); break;
      case 6:
      case 15: CopyRows(db.sectionWidthLimit[side], standards.limitWidth, mileage); break;
      case 7:
      case 16: CopyRows(db.landWidening[side], standards.landWidening, mileage); break;
      case 8:
      case 17: CopyRows(db.embankmentSlopes[side], standards.embankmentSlopes, mileage); break;
      case 9:
      case 18: CopyRows(db.cuttingSlopes[side], standards.cuttingSlopes, mileage); break;
      case 10:
      case 19: CopyRows(db.drainageDitches[side], standards.drainageDitch, mileage); break;
      case 11:
      case 20: CopyRows(db.sideDitches[side], standards.sideDitch, mileage); break;
      case 12:
      case 21: CopyRows(db.topDitches[side], standards.topDitch, mileage); break;
      default: break;
    }
  }
}

void CrossSectionDesigner::LoadLineDesignStandards(CString databasePath, CString lineName, int detour,
                                                   CrossSectionDesigner* target) {
  if (target == nullptr) return;
  if (lineName == "左线") {
    schemeDb.currentLine = -1;
    schemeDb.detourNumber = detour;
  } else if (lineName == "右线") {
    schemeDb.currentLine = 1;
    schemeDb.detourNumber = detour;
  } else if (lineName == "一线" && detour == -1) {
    schemeDb.currentLine = 0;
    schemeDb.detourNumber = -1;
  }
  schemeDb.databasePath = databasePath;
  // The target's chainages belong to its own line: its model's break table,
  // or its own copy of one when it has no model.
  if (target->baseline != nullptr)
    ReadStandardsInto(*target, target->baseline->breakCount, target->baseline->breaks);
  else
    ReadStandardsInto(*target, target->breakCount, target->breaks);
}

void CrossSectionDesigner::LoadBaselineDesignStandards() {
  schemeDb.currentLine = 0;
  schemeDb.detourNumber = -1;
  schemeDb.databasePath = schemeDatabasePath;
  ReadStandardsInto(*this, breakCount, breaks);
}
