#pragma once
// The sample scheme, worked out from its design (SampleDesign.h): the
// baseline, the two side lines with their detour sections, the chainage
// breaks, the grade lines, the structures, the control points, the station
// lists and the ground, and from them the rows of every table of the scheme
// database and the surveyed points of the terrain model.
//
// The line geometry is computed by the system's own alignment models, which
// read the project's technical parameters when they are made: the caller
// makes the project location (workdir, project, jishucanshu.dat) reachable
// before Build.

#include <memory>
#include <string>
#include <vector>

#include "SampleGround.h"
#include "TerrainFiles.h"

class AlignmentModel;
class SideLineModel;

namespace sample {

// One value of a table row: NULL, a number or a text.
struct Cell {
  enum Kind { kNull, kNumber, kText };
  Kind kind = kNull;
  double number = 0.0;
  std::string text;

  Cell() = default;
  Cell(double value) : kind(kNumber), number(value) {}  // NOLINT: rows are written as brace lists
  Cell(int value) : kind(kNumber), number(value) {}     // NOLINT
  Cell(const char* value) : kind(value ? kText : kNull), text(value ? value : "") {}  // NOLINT
  Cell(std::string value) : kind(kText), text(std::move(value)) {}                    // NOLINT
};

// The rows of one table, each holding the values of `columns` in order.
struct Table {
  std::string name;
  std::vector<std::string> columns;
  std::vector<std::vector<Cell>> rows;
};

// A point of a grade line.
struct GradePoint {
  double mileage = 0.0;
  std::string prefix;
  double chainage = 0.0;
  double elevation = 0.0;
};

// A bridge, tunnel, station or culvert of one line, for the summary and the
// station lists. A culvert has start = end.
struct Structure {
  enum Kind { kBridge, kTunnel, kStation, kCulvert };
  Kind kind = kBridge;
  int line = 0;  // 0 baseline, -1 left detour, +1 right detour
  std::string name;
  double startMileage = 0.0;
  double endMileage = 0.0;
  std::string startText;  // chainage texts
  std::string endText;
  std::string spanText;     // a bridge's spans
  double floodLevel = 0.0;  // a bridge's 100-year flood level
};

// A detour section as built.
struct DetourResult {
  int side = 0;
  std::string prefix;
  double baselineStart = 0.0;  // baseline mileages of its ends
  double baselineEnd = 0.0;
  double startChainage = 0.0;  // its own chainage at the start (= the baseline's) and end
  double endChainage = 0.0;
  double length = 0.0;
};

class SampleScheme {
 public:
  SampleScheme();
  ~SampleScheme();
  SampleScheme(const SampleScheme&) = delete;
  SampleScheme& operator=(const SampleScheme&) = delete;

  // Works out the scheme, with cross-sections every `interval` metres of
  // chainage. False, with the reason, when the design does not hold together
  // (a detour off its straight, a feature without its structure, ...).
  bool Build(double interval, std::string& error);

  const std::vector<Table>& Tables() const { return m_tables; }
  const Table* FindTable(const std::string& name) const;
  // The surveyed points of the corridor: a 20 m grid, slightly scattered,
  // within 300 m of the baseline and 200 m beyond its ends.
  std::vector<terrain::SurveyPoint> TerrainPoints() const;
  const Ground& GroundModel() const { return *m_ground; }

  // What was made, for the program's summary.
  double StartMileage() const;
  double EndMileage() const;
  std::string StartChainageText() const;
  std::string EndChainageText() const;
  const std::vector<Structure>& Structures() const { return m_structures; }
  const std::vector<DetourResult>& Detours() const { return m_detours; }
  const std::vector<GradePoint>& BaselineGrade() const { return m_baselineGrade; }
  // Largest fill and cut (centre, grade line without vertical curves) of the
  // baseline outside its bridges and tunnels, sampled every 10 m.
  double MaxFill() const { return m_maxFill; }
  double MaxCut() const { return m_maxCut; }
  const AlignmentModel& Baseline() const { return *m_baseline; }

 private:
  bool BuildBaseline(std::string& error);
  void PlaceFeatures();
  bool DesignBaselineGrade(std::string& error);
  bool FindStructures(std::string& error);
  bool BuildSideLine(int side, std::string& error);
  bool BuildDetour(int side, std::string& error);
  void FindCulverts();
  void CheckFillAndCut();
  void MakeTables(double interval);

  std::unique_ptr<AlignmentModel> m_baseline;
  std::unique_ptr<SideLineModel> m_left;
  std::unique_ptr<SideLineModel> m_right;
  std::unique_ptr<AlignmentModel> m_leftDetour;
  std::unique_ptr<AlignmentModel> m_rightDetour;
  std::unique_ptr<Ground> m_ground;
  std::vector<GradePoint> m_baselineGrade;
  std::vector<GradePoint> m_leftGrade;
  std::vector<GradePoint> m_rightGrade;
  std::vector<Structure> m_structures;
  std::vector<DetourResult> m_detours;
  std::vector<Table> m_tables;
  double m_maxFill = 0.0;
  double m_maxCut = 0.0;
};

}  // namespace sample
