#pragma once
// A side line (左线 or 右线) of a double-line design: an alignment model whose
// IPs are given by coordinates or placed at an offset from a baseline IP, with
// the detour sections (绕行段) where it leaves the baseline.
//
// A detour section is a run of consecutive side IPs of kind 1; sections are
// numbered from 0 along the line. Its start and end are detour points (rows
// of the line's break table) numbered with the section's number; their
// chainages are given on the baseline (等号左) and on this line (等号右), and
// SetDetourPoints works out their mileages on this line.

#include "AlignmentModel.h"
#include "SideLineRows.h"
#include "mfc/cstring.h"

// A detour start or end point: a row of the line's break table.
struct DetourPoint {
  int number = -1;  // 编号, the section number; -1 in an empty slot
  CString remark;
  double before = 0.0;   // 等号左里程数 (baseline chainage)
  double after = 0.0;    // 等号右里程数 (this line's chainage)
  double mileage = 0.0;  // mileage on this line
  CString prefixBefore;
  CString prefixAfter;
};

// A side IP: a row of the line's curve table with its work fields.
struct SideIpRecord {
  int kind = 0;
  double number = 0.0;  // row index + the curve-number offset
  double x = 0.0;
  double y = 0.0;
  double L1 = 0.0;
  double R = 0.0;
  double L2 = 0.0;
  int baselineIp = 0;
  double spacing = 0.0;
  bool ownCoordinates = true;  // false: placed from the baseline IP it is tied to
  double turn = 0.0;
  double lengthDifference = 0.0;  // D + 100 when the line is longer or shorter than the baseline by D, else 0
};

class SideLineModel : public AlignmentModel {
 public:
  static constexpr int kMaxSideIps = 100;
  static constexpr int kMaxDetourPoints = 300;
  // Room for one section's IP list: its side IPs and the start and end points.
  static constexpr int kMaxDetourIps = kMaxSideIps + 2;

  SideLineModel();
  ~SideLineModel() override;

  // Builds the line from n curve rows (2 .. 100) beside `baseline` (kept, not
  // owned): IP numbers are the row index + numberOffset, IP names take
  // `ipPrefix` ("ZJD", "YJD"). A row of kind 0 tied to an existing baseline
  // IP is placed from it; every other row keeps its coordinates. The line's
  // break table is the default two-record table with its end record. Returns
  // 1 when built; 0, with a message, when refused (no baseline, a row count
  // out of range, or IPs that make no line).
  int Create(AlignmentModel* baseline, int n, const SideCurveRow* rows, int numberOffset, const char* ipPrefix);

  // Takes the detour points (0 .. 300 rows; more are refused with a message
  // and nothing changes) and works out their mileages on this line. The break
  // count becomes the number of rows, bounded by the break table's room.
  // Returns 1 or 0.
  int SetDetourPoints(const SideBreakRow* rows, int count);
  // Sets the break count from a count of break rows, bounded by the break
  // table's room.
  void SetBreakCountFromRows(int rows);

  // Number of detour sections (runs of consecutive side IPs of kind 1).
  int DetourCount() const;
  // First and last side IP of section `section`; unchanged when there is none.
  void DetourIpRange(int section, int& first, int& last) const;
  // First detour point numbered `section` and the last of the consecutive
  // points after it with that number; both -1 when no point has it.
  void DetourPointRange(int section, int& first, int& last) const;
  // Baseline mileages of the section's start and end; an end off the
  // baseline or within 5 m of its start or end becomes that start or end.
  // Both -1 when the section has no detour points.
  void DetourRangeOnBaseline(int section, double& start, double& end) const;
  // The first section whose baseline range holds the mileage; -1 when none.
  int FindDetourAtMileage(double baselineMileage) const;
  // The section's IP list, numbered from 1: its start point on this line,
  // its side IPs, its end point (the start or end point is left out when the
  // run begins at the first or ends at the last side IP); the start and end
  // points carry no radius and no transitions. Returns 1; 0 with count 0 when
  // the section has no side IPs or detour points, its points lie off the line,
  // or the list does not fit `room` records (with a message).
  int DetourIntersectionList(int section, IpRecord* records, int room, int& count) const;
  // Writes each side IP's length difference against the baseline.
  void MapIntersectionsToBaseline();

  DetourPoint detourPoints[kMaxDetourPoints];
  int detourPointCount = 0;
  AlignmentModel* baseline = nullptr;
  SideIpRecord sideIps[kMaxSideIps];
  int turnDirection = 0;  // set by a side IP whose turn value is given

 private:
  void ResetSide();
  void PlaceSideIps();
  void SideIpsToIpRecords();
  void LocateDetourPoints();
  bool BaselineIpValid(int b) const;
  double MileageFromBaselineChainage(const CString& prefix, double value) const;
  double ProjectOntoBaseline(double mileage) const;
};
