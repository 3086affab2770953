// pellory-tables: the ground-line input's table reader and writer as a small
// program, so that the tests of another module can run them on a scheme
// database without linking the two modules into one program.
//
//   pellory-tables read  DATABASE TABLE FILTER   prints the records read
//   pellory-tables write DATABASE TABLE CONDITION  writes the records on stdin
//   pellory-tables import DATABASE FILE  imports a ground-line file into the
//                                         base line and writes its tables
//
// One record per line, its values separated by blanks:
//   record PREFIX DETOUR CHAINAGE ELEVATION LAYER ROCKTYPE
//          LEFTCOUNT [DISTANCE HEIGHT]... RIGHTCOUNT [DISTANCE HEIGHT]...
// with "-" for an empty prefix or detour text. What the module shows (its
// message boxes and notes) goes to stdout as well, on lines of their own.
// Exit status: 0 when the read or write gave 1, 1 when it gave 0, 2 for a
// bad command line or a record line that cannot be read.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "GroundLineInput.h"
#include "XLDataBase.h"
#include "win/answers.h"

namespace {

int Usage() {
  std::cerr << "usage: pellory-tables read DATABASE TABLE FILTER\n"
               "       pellory-tables write DATABASE TABLE CONDITION < records\n"
               "       pellory-tables import DATABASE FILE\n";
  return 2;
}

std::string TextOrDash(const CString& text) { return text.IsEmpty() ? "-" : text.GetString(); }
CString DashOrText(const std::string& word) { return word == "-" ? CString() : CString(word.c_str()); }

void PrintSide(std::ostream& out, int count, const EarthPoint* points) {
  char number[64];
  out << ' ' << count;
  for (int k = 0; k < count; ++k) {
    std::snprintf(number, sizeof number, " %.17g %.17g", points[k].distance, points[k].height);
    out << number;
  }
}

void PrintRecord(std::ostream& out, const earthline& r) {
  char numbers[128];
  std::snprintf(numbers, sizeof numbers, "%.17g %.17g %d %d", r.chainage, r.elevation, r.layer, r.rockType);
  out << "record " << TextOrDash(r.prefix) << ' ' << TextOrDash(r.detourNumber) << ' ' << numbers;
  PrintSide(out, r.leftCount, r.left);
  PrintSide(out, r.rightCount, r.right);
  out << '\n';
}

// Reads one side: its count (0 .. kEarthPointsMax) and its points.
bool ReadSide(std::istream& in, int32_t& count, EarthPoint* points) {
  if (!(in >> count) || count < 0 || count > kEarthPointsMax) return false;
  for (int k = 0; k < count; ++k)
    if (!(in >> points[k].distance >> points[k].height)) return false;
  return true;
}

bool ParseRecord(const std::string& line, earthline& r) {
  std::istringstream in(line);
  std::string word, prefix, detour;
  if (!(in >> word) || word != "record" || !(in >> prefix >> detour)) return false;
  r.prefix = DashOrText(prefix);
  r.detourNumber = DashOrText(detour);
  if (!(in >> r.chainage >> r.elevation >> r.layer >> r.rockType)) return false;
  if (!ReadSide(in, r.leftCount, r.left) || !ReadSide(in, r.rightCount, r.right)) return false;
  return !(in >> word);  // nothing may follow
}

}  // namespace

// The base line's ground lines imported from `file` as the input dialog
// imports them (its file dialog answered with the file), then written to
// 用户横断面岩层线表 and 横断面岩层线表 as its 存入数据库 writes them.
int Import(const char* database, const char* file) {
  GroundLineInput input;
  input.dbPath = database;
  input.lineNames.Add("基线");
  input.lineNameSelection = 0;
  input.lineNameText = "基线";
  platform::queueAnswer("file", file);
  input.OnImportText();
  if (input.db.rockLayers.GetSize() == 0) return 1;
  if (!input.OnWriteDatabase()) return 1;
  std::cout << "records " << input.db.rockLayers.GetSize() << " stations " << input.stationList.GetSize() << '\n';
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "import") return Import(argv[2], argv[3]);
  if (argc != 5) return Usage();
  const std::string mode = argv[1];
  XLDataBase db;
  if (mode == "read") {
    const int result = db.ReadGroundLineTables(argv[2], argv[3], argv[4]);
    std::cout.flush();
    const GroundTable table = ClassifyGroundTable(argv[3]);
    const EarthLineList& list = table.IsGroundLine() ? db.groundLines : db.rockLayers;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) PrintRecord(std::cout, list[i]);
    return result == 1 ? 0 : 1;
  }
  if (mode == "write") {
    std::string line;
    int lineNumber = 0;
    while (std::getline(std::cin, line)) {
      ++lineNumber;
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      earthline record;
      if (!ParseRecord(line, record)) {
        std::cerr << "pellory-tables: line " << lineNumber << " is no record: " << line << '\n';
        return 2;
      }
      db.rockLayers.Add(record);
    }
    db.rockLayerCount = static_cast<int>(db.rockLayers.GetSize());
    return db.WriteRockLayerTable(argv[2], argv[3], argv[4]) == 1 ? 0 : 1;
  }
  return Usage();
}
