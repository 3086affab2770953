// The station list of an alignment model: regular stations of each chainage
// run, breaks, the range's end, then the curve key points and the structure
// ends merged in.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "corvane/data/alignment_support.h"
#include "win/transcript.h"

namespace {

using alignment_test::ProjectEnvironment;

struct Station {
  int kind;
  double mileage;
};

std::string Listing(const AlignmentModel& model) {
  std::ostringstream out;
  for (INT_PTR i = 0; i < model.stations.GetSize(); ++i)
    out << "(" << model.stations[i].kind << ", " << model.stations[i].mileage << ") ";
  return out.str();
}

void ExpectStations(const AlignmentModel& model, const std::vector<Station>& expected, const char* name) {
  ASSERT_EQ(model.stationCount, static_cast<int>(expected.size())) << name << ": " << Listing(model);
  ASSERT_EQ(model.stations.GetSize(), static_cast<INT_PTR>(expected.size())) << name;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(model.stations[i].kind, expected[i].kind) << name << " entry " << i << ": " << Listing(model);
    EXPECT_NEAR(model.stations[i].mileage, expected[i].mileage, 1e-9) << name << " entry " << i;
  }
}

class StationListTest : public ::testing::Test {
 protected:
  ProjectEnvironment project;
  std::unique_ptr<AlignmentModel> model = std::make_unique<AlignmentModel>();
};

TEST_F(StationListTest, RegularStationsBreaksAndTheEnd) {
  // A short chain at 1030 (after-chainage 1050) and a long chain at 2500
  // (after-chainage 2470), the line's end at chainage 3000. Their mileages:
  // 1030, 1030 + 2500 - 1050 = 2480 and 2480 + 3000 - 2470 = 3010.
  const BreakRecord table[4] = {
      {0, 0, "AK", "AK"}, {1030, 20, "AK", "AK"}, {2500, -30, "AK", "AK"}, {3000, 0, "AK", "AK"}};
  struct Case {
    const char* name;
    double interval, start, end;
    std::vector<Station> stations;
  } cases[] = {
      {"start of the line", 20, 0, 60, {{-1, 0}, {0, 20}, {0, 40}, {0, 60}, {0, 60}}},
      // The run after the short chain starts at chainage 1060, not 1040 or
      // 1050: mileage 1040.
      {"across a short chain",
       20,
       990,
       1100,
       {{0, 1000}, {0, 1020}, {-1, 1030}, {0, 1040}, {0, 1060}, {0, 1080}, {0, 1100}, {0, 1100}}},
      // The chainage runs back 30 m: chainage 2480 (mileage 2460) before the
      // break, 2480 again after it (mileage 2490).
      {"across a long chain", 20, 2450, 2520, {{0, 2460}, {-1, 2480}, {0, 2490}, {0, 2510}, {0, 2520}}},
      // Beyond the line's end the list stops at the end (chainage 2900 and
      // 2950 lie 10 m further on in mileage).
      {"past the end", 50, 2900, 4000, {{0, 2910}, {0, 2960}, {0, 3010}}},
      // Chainage 1050 is a multiple of 30: the run starts at 1080.
      {"interval 30 after the short chain", 30, 1031, 1100, {{0, 1060}, {0, 1090}, {0, 1100}}},
  };
  ASSERT_EQ(model->SetBreakTable(4, table), 1);
  for (const Case& c : cases) {
    EXPECT_EQ(model->BuildStationList(c.interval, c.start, c.end), static_cast<int>(c.stations.size())) << c.name;
    ExpectStations(*model, c.stations, c.name);
  }
}

TEST_F(StationListTest, ResetModelListsTheEndTwice) {
  EXPECT_EQ(model->BuildStationList(20, 0, 100), 7);
  ExpectStations(*model, {{-1, 0}, {0, 20}, {0, 40}, {0, 60}, {0, 80}, {0, 100}, {0, 100}}, "reset model");
}

TEST_F(StationListTest, IntervalThatIsNotPositiveIsRefused) {
  for (double interval : {0.0, -20.0}) {
    model->BuildStationList(20, 0, 100);
    platform::TranscriptCapture capture;
    EXPECT_EQ(model->BuildStationList(interval, 0, 100), 0) << interval;
    EXPECT_EQ(model->stationCount, 0) << interval;
    EXPECT_EQ(model->stations.GetSize(), 0) << interval;
    EXPECT_TRUE(capture.contains("不大于0")) << capture.text();
  }
  platform::TranscriptCapture capture;
  EXPECT_EQ(model->BuildStationList(1e-6, 0, 100000), 0);
  EXPECT_TRUE(capture.contains("过小")) << capture.text();
}

TEST_F(StationListTest, CurveKeyPointsMergeIntoTheList) {
  // Curve records set by hand: the list only reads their key points.
  model->ipCount = 4;
  model->curves[1] = CurveRecord{40.0005, 50, 70, 100.0008, 0, 0, 0, 0, 1};
  model->curves[2] = CurveRecord{130, 140, 150, 160, 0, 0, 0, 0, -1};
  struct Case {
    const char* name;
    double interval, start, end;
    std::vector<Station> stations;
  } cases[] = {
      // ZH 0.0005 m after a station gives it the ZH's kind at the station's
      // mileage; HZ 0.0008 m after the end folds into the end (whose twin
      // folded first); the second curve lies past the listed range.
      {"first curve", 20, 0, 100, {{-1, 0}, {0, 20}, {5, 40}, {6, 50}, {0, 60}, {7, 70}, {0, 80}, {8, 100}}},
      // Key points before the first entry are left out.
      {"from 45", 10, 45, 120, {{6, 50}, {0, 60}, {7, 70}, {0, 80}, {0, 90}, {8, 100}, {0, 110}, {0, 120}}},
      // A key point at a station's very mileage takes the station.
      {"both curves",
       20,
       50,
       170,
       {{0, 60}, {7, 70}, {0, 80}, {8, 100}, {0, 120}, {5, 130}, {6, 140}, {7, 150}, {8, 160}, {0, 170}}},
  };
  for (const Case& c : cases) {
    model->BuildStationList(c.interval, c.start, c.end);
    EXPECT_EQ(model->InsertCurvePoints(), 1);
    ExpectStations(*model, c.stations, c.name);
  }
}

TEST_F(StationListTest, StructureEndsMergeByLetter) {
  model->BuildStationList(20, 0, 100);
  const MileageRange bridges[] = {{30, 45}, {40.0003, 55}};
  const MileageRange tiny[] = {{62, 62.005}};
  const MileageRange others[] = {{85, 90}};
  model->InsertStructurePoints(2, bridges, 'B');
  model->InsertStructurePoints(1, tiny, 'T');
  model->InsertStructurePoints(1, others, 'X');
  ExpectStations(*model,
                 {{-1, 0}, {0, 20}, {-3, 30}, {-3, 40}, {3, 45}, {3, 55}, {0, 60}, {0, 80}, {-10, 85}, {10, 90},
                  {0, 100}},
                 "bridges and another structure");

  struct Case {
    char letter;
    int start, end;
  } cases[] = {{'B', -3, 3}, {'T', -4, 4}, {'S', -9, 9}, {'Q', -10, 10}};
  for (const Case& c : cases) {
    model->BuildStationList(20, 0, 100);
    const MileageRange range[] = {{10, 30}};
    model->InsertStructurePoints(1, range, c.letter);
    ExpectStations(*model, {{-1, 0}, {c.start, 10}, {0, 20}, {c.end, 30}, {0, 40}, {0, 60}, {0, 80}, {0, 100}},
                   std::string(1, c.letter).c_str());
  }
  // A structure of 0.005 m adds nothing, nor one outside the listed range;
  // the merge still folds the end's twin.
  model->BuildStationList(20, 0, 100);
  const MileageRange outside[] = {{70, 70.005}, {150, 180}, {-30, -10}};
  model->InsertStructurePoints(3, outside, 'B');
  ExpectStations(*model, {{-1, 0}, {0, 20}, {0, 40}, {0, 60}, {0, 80}, {0, 100}}, "nothing to add");
}

}  // namespace
