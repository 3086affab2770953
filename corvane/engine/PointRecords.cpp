// Reading the point record of the BJPT and RXDBJPT files (the outer edge
// points of a line's sections in plan) back into the outlines of the
// stretches of roadbed between structures.

#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "CrossSectionDesigner.h"
#include "ResultFileAccess.h"
#include "mfc/app.h"

namespace {

// One point line of a record.
struct PointLine {
  double mileage = 0.0;
  int code = 0;
  PlanPoint left;
  PlanPoint right;
};

// A structure code read as a real.
int CodeOf(double v) { return std::isfinite(v) && std::fabs(v) < 1000.0 ? static_cast<int>(std::lround(v)) : 0; }

// A point that was set (an unset one has x 0).
bool IsSet(const PlanPoint& p) { return std::fabs(p.x) > 0.01; }

constexpr int kMaxRunsPerRecord = 500;

// Splits the point lines into runs of roadbed between bridges and tunnels.
class RunSplitter {
 public:
  RunSplitter(std::vector<HoleOutline>& holes) : m_holes(holes) {}

  void Add(const PointLine& p) {
    if (!m_started) m_start = p.mileage;
    m_started = true;
    m_last = p.mileage;
    if (IsSet(p.left)) m_run.firstEdge.push_back(p.left);
    if (IsSet(p.right)) m_run.secondEdge.push_back(p.right);
  }
  // A structure end: the next run starts here.
  void StartAt(double mileage) {
    m_start = mileage;
    m_started = true;
  }
  // Closes the current run; one longer than 1 m becomes an outline.
  void Close() {
    if (m_started && m_last - m_start > 1.0 && m_runs < kMaxRunsPerRecord &&
        static_cast<int>(m_holes.size()) < kMaxHoles) {
      m_holes.push_back(std::move(m_run));
      ++m_runs;
    }
    m_run = HoleOutline();
    m_started = false;
  }

 private:
  std::vector<HoleOutline>& m_holes;
  HoleOutline m_run;
  bool m_started = false;
  double m_start = 0.0;
  double m_last = 0.0;
  int m_runs = 0;
};

// Reads up to `count` point lines; stops at the first that is not complete.
void ReadLines(FILE* file, int count, std::vector<PointLine>& lines) {
  for (int i = 0; i < count; ++i) {
    double v[9];
    for (double& value : v)
      if (!ReadResultNumber(file, value)) return;
    lines.push_back(PointLine{v[0], CodeOf(v[1]), PlanPoint{v[3], v[4], v[5]}, PlanPoint{v[6], v[7], v[8]}});
  }
}

}  // namespace

void CrossSectionDesigner::ReadPointRecords(FILE* file) {
  int count = 0;
  if (file == nullptr || !ReadResultInt(file, count) || count <= 0) return;
  try {
    std::vector<PointLine> lines;
    ReadLines(file, count, lines);
    const size_t n = lines.size();

    // A point inside a bridge or tunnel next to open line marks the
    // structure's start (after open line) or end (before open line).
    std::vector<int> code(n);
    for (size_t i = 0; i < n; ++i) {
      const int c = lines[i].code;
      code[i] = c;
      if (c != kBridgeInside && c != kTunnelInside) continue;
      if (i > 0 && lines[i - 1].code == 0)
        code[i] = c == kBridgeInside ? kBridgeStart : kTunnelStart;
      else if (i + 1 < n && lines[i + 1].code == 0)
        code[i] = c == kBridgeInside ? kBridgeEnd : kTunnelEnd;
    }

    RunSplitter runs(holes);
    for (size_t i = 0; i < n; ++i) {
      switch (code[i]) {
        case kBridgeStart:
        case kTunnelStart:
          runs.Add(lines[i]);
          runs.Close();
          break;
        case kBridgeEnd:
        case kTunnelEnd:
          runs.StartAt(lines[i].mileage);
          runs.Add(lines[i]);
          break;
        case kBridgeInside:
        case kTunnelInside:
          break;
        default:  // open line and stations
          runs.Add(lines[i]);
          break;
      }
    }
    runs.Close();
  } catch (const std::bad_alloc&) {
    AfxMessageBox("Fail to Allocate Memory!");
  }
}
