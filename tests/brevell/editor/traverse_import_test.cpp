// The traverse survey file of 导线表: the header skipped, the start
// station, the further stations with their angles packed, a complete last
// station kept whole and an incomplete one left with its name only (and
// named on the command line); token reads bounded; files made by code.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "brevell/editor/TraverseImport.h"
#include "crt/textfile.h"
#include "win/transcript.h"

namespace {

namespace fs = std::filesystem;

TEST(TraverseImport, AngleTokensArePacked) {
  const struct {
    const char* token;
    const char* packed;
  } cases[] = {
      {"123-45-30", "123.4530"},
      {"0-05-07", "0.0507"},
      {"5-3", "5.3"},
      {"123.4530", "123.4530"},  // no "-": left as it is
      {"90", "90"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TraverseAngle(c.token), c.packed) << c.token;
}

class TraverseFile : public ::testing::Test {
 protected:
  std::vector<TraverseImportRow> Read(const std::string& text) {
    const fs::path path = fs::path(::testing::TempDir()) / "traverse_import.txt";
    {
      FILE* f = std::fopen(path.c_str(), "wb");
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
    FILE* f = platform::openFile(path.c_str(), "r");
    EXPECT_NE(f, nullptr);
    std::vector<TraverseImportRow> rows = ReadTraverseFile(f, path.c_str());
    if (f) std::fclose(f);
    return rows;
  }
  static std::string Header() {
    std::string h;
    for (int i = 1; i <= 21; ++i) h += "h" + std::to_string(i) + (i % 7 == 0 ? "\n" : " ");
    return h;
  }
  static std::vector<std::string> Cells(const TraverseImportRow& r) {
    return std::vector<std::string>(r.cells, r.cells + TraverseImportRow::kColumns);
  }
};

TEST_F(TraverseFile, StationsBecomeRowsOfTheEightColumns) {
  const std::string text = Header() +
                           "A0 45-30-00\r\n"
                           "A1 180-00-15 1000.12345 2000.5 10.25 1500 46-00-30 123.45678\r\n"
                           "A2 179-59-45 1085.4 2088.123456 11 1623.45 47-10-05 88\r\n"
                           "A3 181-00-00\r\n";
  const std::vector<TraverseImportRow> rows = Read(text);
  ASSERT_EQ(rows.size(), 4u);
  using V = std::vector<std::string>;
  EXPECT_EQ(Cells(rows[0]), (V{"A0", "0", "45.3000", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(Cells(rows[1]),
            (V{"A1", "180.0015", "46.0030", "123.4568", "1000.123", "2000.500", "10.2500", "1500.0000"}));
  EXPECT_EQ(Cells(rows[2]),
            (V{"A2", "179.5945", "47.1005", "88.0000", "1085.400", "2088.123", "11.0000", "1623.4500"}));
  // The last station, cut short, keeps its name only.
  EXPECT_EQ(Cells(rows[3]), (V{"A3", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST_F(TraverseFile, ACompleteLastStationKeepsItsData) {
  // After the start S and a station B: the last record as the file ends it,
  // and the row it gives (an incomplete one its name only, and said so).
  using V = std::vector<std::string>;
  const V nameOnly = {"C", "0", "0", "0", "0", "0", "0", "0"};
  const V whole = {"C", "2.0000", "11.0000", "12.0000", "7.000", "8.000", "9.0000", "10.0000"};
  const struct {
    const char* last;
    V row;
    bool incomplete;
  } cases[] = {
      {"C 2-00-00 7 8 9 10 11-00-00 12", whole, false},
      {"C 2-00-00 7 8 9 10 11-00-00 12\n\n", whole, false},
      {"C 2-00-00 7 8 9 10 11-00-00", nameOnly, true},
      {"C 2-00-00", nameOnly, true},
      {"C", nameOnly, true},
  };
  for (const auto& c : cases) {
    platform::TranscriptCapture transcript;
    const std::vector<TraverseImportRow> rows = Read(Header() + "S 10-00-00\nB 1-00-00 1 2 3 4 5-00-00 6\n" + c.last);
    ASSERT_EQ(rows.size(), 3u) << c.last;
    EXPECT_EQ(Cells(rows[1]), (V{"B", "1.0000", "5.0000", "6.0000", "1.000", "2.000", "3.0000", "4.0000"})) << c.last;
    EXPECT_EQ(Cells(rows[2]), c.row) << c.last;
    EXPECT_EQ(transcript.contains("导线文件最后一站数据不全：C"), c.incomplete) << c.last << transcript.text();
  }
}

TEST_F(TraverseFile, ShortFilesAndBadRecords) {
  // Only the header and the start station: one row.
  std::vector<TraverseImportRow> rows = Read(Header() + "S 12-30-00\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].cells[0], "S");
  EXPECT_EQ(rows[0].cells[2], "12.3000");
  // A header cut short: nothing.
  EXPECT_TRUE(Read("h1 h2 h3\n").empty());
  EXPECT_TRUE(Read("").empty());
  // A record whose numbers do not read ends the file there, named on the command line.
  platform::TranscriptCapture transcript;
  rows = Read(Header() + "S 1-00-00\nB 1-00-00 1 2 3 4 5-00-00 6\nX 1-00-00 abc 2 3 4 5-00-00 6\nY 1 2 3 4 5 6 7\n");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].cells[4], "1.000");
  EXPECT_EQ(Cells(rows[2]), (std::vector<std::string>{"X", "0", "0", "0", "0", "0", "0", "0"}));
  EXPECT_TRUE(transcript.contains("traverse_import.txt")) << transcript.text();
}

TEST_F(TraverseFile, AnAngleThatDoesNotReadEndsTheImport) {
  // One row per record after a good station B: the record, and whether it reads.
  const struct {
    const char* record;
    bool reads;
  } cases[] = {
      {"X 1-0a-00 1 2 3 4 5-00-00 6", false},  // right angle
      {"X 1-00-00 1 2 3 4 x 6", false},        // azimuth
      {"X abc 1 2 3 4 5-00-00 6", false},
      {"X 1-00-00 1 2 3 4 5-00-00x 6", false},
      {"X 1-00-00 0x10 2 3 4 5-00-00 6", false},  // hexadecimal is no number here
      {"X 1-00-00 1 2 nan 4 5-00-00 6", false},
      {"X 90.5 1 2 3 4 5-00-00 6", true},  // an angle written as a number
  };
  for (const auto& c : cases) {
    platform::TranscriptCapture transcript;
    const std::vector<TraverseImportRow> rows =
        Read(Header() + "S 1-00-00\nB 1-00-00 1 2 3 4 5-00-00 6\n" + c.record + "\nY 1 2 3 4 5 6 7\n");
    if (c.reads) {
      // X is read whole, and so is Y, the last station, complete too.
      ASSERT_EQ(rows.size(), 4u) << c.record;
      EXPECT_EQ(rows[2].cells[1], "90.5") << c.record;
      EXPECT_EQ(rows[3].cells[4], "2.000") << c.record;
      EXPECT_FALSE(transcript.contains("traverse_import.txt")) << c.record;
    } else {
      ASSERT_EQ(rows.size(), 3u) << c.record;
      EXPECT_EQ(Cells(rows[2]), (std::vector<std::string>{"X", "0", "0", "0", "0", "0", "0", "0"})) << c.record;
      EXPECT_TRUE(transcript.contains("traverse_import.txt")) << c.record;
    }
  }
}

TEST_F(TraverseFile, LongTokensAreCutNotOverrun) {
  const std::string longName(5000, 'N');
  const std::vector<TraverseImportRow> rows = Read(Header() + longName + " 1-00-00\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].cells[0].GetLength(), 255);
}

TEST_F(TraverseFile, AnOverlongTokenIsSkippedToTheNextBlank) {
  // Two million bytes without a blank: the name keeps its first 255, and the
  // angle after it is read as the next token.
  const std::string longName = std::string(255, 'A') + std::string(2'000'000, 'Z');
  const std::vector<TraverseImportRow> rows = Read(Header() + longName + "\t12-30-00\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::string(rows[0].cells[0].GetString()), std::string(255, 'A'));
  EXPECT_EQ(rows[0].cells[2], "12.3000");
}

}  // namespace
