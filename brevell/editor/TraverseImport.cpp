// The traverse survey file (TraverseImport.h).

#include "TraverseImport.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "PlanDrawSupport.h"
#include "arx/edoutput.h"
#include "controls/CellNumber.h"

namespace {

constexpr int kHeaderTokens = 21;
constexpr size_t kTokenBytes = 255;  // a longer token is cut (at a character boundary)

// Reads the next token of at most kTokenBytes bytes; false at the end.
bool NextToken(FILE* file, std::string& token) {
  token.clear();
  int c;
  while ((c = std::fgetc(file)) != EOF && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
  }
  if (c == EOF) return false;
  // Only the bytes kept are stored (one more to find the cut): the rest of
  // an overlong token is skipped up to the next whitespace.
  do {
    if (token.size() <= kTokenBytes) token.push_back(static_cast<char>(c));
  } while ((c = std::fgetc(file)) != EOF && c != ' ' && c != '\t' && c != '\n' && c != '\r');
  if (token.size() > kTokenBytes) {
    size_t cut = kTokenBytes;
    while (cut > 0 && (static_cast<unsigned char>(token[cut]) & 0xC0) == 0x80) --cut;
    token.resize(cut);
  }
  return true;
}

TraverseImportRow NameOnly(const CString& name) {
  TraverseImportRow row;
  row.cells[0] = name;
  for (int c = 1; c < TraverseImportRow::kColumns; ++c) row.cells[c] = "0";
  return row;
}

}  // namespace

CString TraverseAngle(const CString& token) {
  const int dash = token.Find('-');
  if (dash < 0) return token;
  CString packed = token;
  packed.SetAt(dash, '.');
  if (dash + 3 < packed.GetLength()) packed.Delete(dash + 3, 1);
  return packed;
}

std::vector<TraverseImportRow> ReadTraverseFile(FILE* file, const char* fileName) {
  std::vector<TraverseImportRow> rows;
  if (!file) return rows;
  std::string token;
  for (int i = 0; i < kHeaderTokens; ++i) {
    if (!NextToken(file, token)) return rows;
  }
  std::string name, bearing;
  if (!NextToken(file, name)) return rows;
  NextToken(file, bearing);
  TraverseImportRow start = NameOnly(name.c_str());
  start.cells[2] = TraverseAngle(bearing.c_str());
  rows.push_back(start);

  while (NextToken(file, name)) {
    // 右角, 纬距, 经距, 高程, 里程, 方位角, 距离
    std::string t[7];
    int read = 0;
    while (read < 7 && NextToken(file, t[read])) ++read;
    // The angles ("d-mm-ss") read as numbers once packed ("d.mmss").
    const CString rightAngle = TraverseAngle(t[0].c_str());
    const CString azimuth = TraverseAngle(t[5].c_str());
    double N = 0, E = 0, H = 0, mileage = 0, length = 0, angle = 0;
    const bool complete = read == 7 && ReadsAsCellNumber(rightAngle, angle) && ReadsAsCellNumber(t[1].c_str(), N) &&
                          ReadsAsCellNumber(t[2].c_str(), E) && ReadsAsCellNumber(t[3].c_str(), H) &&
                          ReadsAsCellNumber(t[4].c_str(), mileage) && ReadsAsCellNumber(azimuth, angle) &&
                          ReadsAsCellNumber(t[6].c_str(), length);
    if (!complete) {
      // The end of the file within a record, or a record that does not
      // read: the last station, its name only.
      if (read == 7) acutPrintf("%s: 测站%s的数据不全或不是数, 读到此为止\n", fileName ? fileName : "", name.c_str());
      acutPrintf("导线文件最后一站数据不全：%s\n", name.c_str());
      rows.push_back(NameOnly(name.c_str()));
      break;
    }
    TraverseImportRow row;
    row.cells[0] = name.c_str();
    row.cells[1] = rightAngle;
    row.cells[2] = azimuth;
    row.cells[3] = plandraw::Fixed(length, 4);
    row.cells[4] = plandraw::Fixed(N, 3);
    row.cells[5] = plandraw::Fixed(E, 3);
    row.cells[6] = plandraw::Fixed(H, 4);
    row.cells[7] = plandraw::Fixed(mileage, 4);
    rows.push_back(row);
  }
  return rows;
}
