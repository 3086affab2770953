// GroundLineInput::OnImportText: the ground lines of one line read from a
// text file of blank-separated tokens into the record list.
//
//   <line name>
//   <station> <elevation> <layer count L>          (or 999: the end)
//   L times: <rock type> <left pairs> 999 <right pairs> 999
//
// A pair is a distance and a height; a distance within 0.01 of 999 ends the
// side. Line ends carry no meaning. The file is read completely before the
// record list changes: a file outside this layout (a station that is no
// chainage text, a number that is no finite number, a rock type that is none
// of the six, more layers than a station holds, no station at all) is refused
// with a message naming it and the place, and the list, the station list and
// the line names stay as they were.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GroundLineInput.h"
#include "InputTexts.h"
#include "RecordChecks.h"
#include "RecordPairs.h"
#include "arx/edoutput.h"
#include "crt/textfile.h"
#include "mfc/app.h"
#include "mfc/filedialog.h"

namespace {

// The mark that ends a side (within kEndTolerance) and, as a station, the file.
constexpr double kEndMark = 999.0;
constexpr double kEndTolerance = 0.01;
// The longest token the file may hold (a station text, a number, a line name).
constexpr size_t kTokenMax = 255;

// Blank-separated tokens of an open text file, each at most kTokenMax bytes.
class TokenReader {
 public:
  explicit TokenReader(FILE* file) : m_file(file) {}

  // The next token; false at the end of the file or for a token too long
  // (then `tooLong` is set).
  bool Next(std::string& token) {
    token.clear();
    int c = std::fgetc(m_file);
    while (c != EOF && IsBlank(c)) c = std::fgetc(m_file);
    if (c == EOF) return false;
    ++m_count;
    while (c != EOF && !IsBlank(c)) {
      if (token.size() >= kTokenMax) {
        tooLong = true;
        return false;
      }
      token += static_cast<char>(c);
      c = std::fgetc(m_file);
    }
    return true;
  }
  int Count() const { return m_count; }
  bool tooLong = false;

 private:
  static bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
  FILE* m_file;
  int m_count = 0;
};

// Why a file is refused.
struct ImportError {
  bool failed = false;
  CString reason;
};

class Importer {
 public:
  Importer(TokenReader& tokens, ImportError& error) : m_tokens(tokens), m_error(error) {}

  bool Token(std::string& token, const char* what) {
    if (m_tokens.Next(token)) return true;
    if (m_tokens.tooLong)
      Fail("第%d个词太长(%s)", m_tokens.Count(), what);
    else
      Fail("文件在读%s时结束, 缺少结束标记999", what);
    return false;
  }
  bool Number(double& value, const char* what) {
    std::string token;
    if (!Token(token, what)) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(token.c_str(), &end);
    if (end == token.c_str() || *end != '\0' || !std::isfinite(value)) {
      Fail("第%d个词\"%s\"不是数(%s)", m_tokens.Count(), token.c_str(), what);
      return false;
    }
    return true;
  }
  bool Integer(int& value, const char* what) {
    std::string token;
    if (!Token(token, what)) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(token.c_str(), &end, 10);
    if (end == token.c_str() || *end != '\0' || errno == ERANGE || v < -2147483647L || v > 2147483647L) {
      Fail("第%d个词\"%s\"不是整数(%s)", m_tokens.Count(), token.c_str(), what);
      return false;
    }
    value = static_cast<int>(v);
    return true;
  }
  // One side's pairs up to the end mark, into points/count.
  bool Side(EarthPoint* points, int32_t& count, const char* what) {
    count = 0;
    for (;;) {
      double distance = 0.0;
      if (!Number(distance, what)) return false;
      if (std::fabs(distance - kEndMark) <= kEndTolerance) return true;
      double height = 0.0;
      if (!Number(height, what)) return false;
      if (count >= kEarthPointsMax) {
        Fail("%s超过%d个点", what, kEarthPointsMax);
        return false;
      }
      points[count++] = {distance, height};
    }
  }
  int TokenCount() const { return m_tokens.Count(); }
  template <typename... Args>
  void Fail(const char* format, Args... args) {
    m_error.failed = true;
    if constexpr (sizeof...(Args) == 0)
      m_error.reason = format;  // a message without values is no format
    else
      m_error.reason.Format(format, args...);
  }

 private:
  TokenReader& m_tokens;
  ImportError& m_error;
};

// Overwrites the pair of the same station (prefix and chainage within the
// station tolerance) and layer, whatever its detour text, or appends the pair.
void StorePair(EarthLineList& list, const earthline& left, const earthline& right) {
  const int at = FindPair(list, left.prefix, left.chainage, left.layer, nullptr);
  if (at >= 0) {
    list[at] = left;
    list[at + 1] = right;
    return;
  }
  list.Add(left);
  list.Add(right);
}

// Reads the stations after the line name into `records`; `stations`
// counts the station tokens read.
bool ReadStations(Importer& in, const CString& detour, EarthLineList& records, int& stations) {
  std::string station;
  for (;;) {
    if (!in.Token(station, "桩号")) return false;
    if (station == "999") return true;
    double elevation = 0.0;
    int layerCount = 0;
    earthline head;
    if (!ReadStationText(station.c_str(), head.prefix, head.chainage)) {
      in.Fail("第%d个词\"%s\"不是桩号(如DK12+345.00)", in.TokenCount(), station.c_str());
      return false;
    }
    if (!in.Number(elevation, "中桩高程") || !in.Integer(layerCount, "层数")) return false;
    if (layerCount < 0 || layerCount > kLayersMax) {
      in.Fail("桩号%s的层数%d不在0到%d之间", station.c_str(), layerCount, kLayersMax);
      return false;
    }
    head.detourNumber = detour;
    head.elevation = elevation;
    ++stations;
    for (int l = 0; l < layerCount; ++l) {
      earthline left = head;
      left.layer = l;
      if (!in.Integer(left.rockType, "岩层性质")) return false;
      if (!IsKnownRockType(left.rockType)) {
        in.Fail("桩号%s第%d层的岩层性质%d不是已知的岩性(%d到%d)", station.c_str(), l, left.rockType, kRockTypeFirst,
                kRockTypeLast);
        return false;
      }
      const CString leftWhat = CString("桩号") + station.c_str() + "的左侧";
      if (!in.Side(left.left, left.leftCount, leftWhat.GetString())) return false;
      earthline right = EmptyPartnerOf(left);
      const CString rightWhat = CString("桩号") + station.c_str() + "的右侧";
      if (!in.Side(right.right, right.rightCount, rightWhat.GetString())) return false;
      StorePair(records, left, right);
    }
  }
}

}  // namespace

void GroundLineInput::OnImportText() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "(*.TXT)|*.txt||");
  if (dialog.DoModal() != IDOK) {
    AfxMessageBox("文件读取失败!");
    return;
  }
  textPath = dialog.GetPathName();
  FILE* file = platform::openFile(textPath.GetString(), "r");
  if (file == nullptr) {
    acutPrintf("cannot open text\n");
    return;
  }
  TokenReader tokens(file);
  ImportError error;
  Importer in(tokens, error);

  std::string nameToken;
  CString lineName, detour;
  bool newLine = false;
  EarthLineList records;
  if (in.Token(nameToken, "线路名")) {
    lineName = nameToken.c_str();
    lineName.Trim();
    newLine = true;
    for (int i = 0; i < importedLines && i < lineNames.GetSize(); ++i) {
      CString known = lineNames[i];
      known.Trim();
      if (known == lineName) newLine = false;
    }
    int number = 0;
    if (lineName == "基线") {
      detour.Empty();
    } else if (DetourNumberOfLabel(lineName, number)) {
      detour = DetourText(number);
    } else {
      in.Fail("线路名\"%s\"既不是基线也不是绕行段名(如\"左线第1绕行段\")", lineName.GetString());
    }
  }
  if (!error.failed) {
    if (!newLine) records.Append(db.rockLayers);
    int stations = 0;
    // A file without a station would import nothing, and the next write
    // would empty the tables of the line.
    if (ReadStations(in, detour, records, stations) && stations == 0) in.Fail("文件中没有桩号");
  }
  std::fclose(file);
  if (error.failed) {
    CString text;
    text.Format("文件%s不符合地面线文件的格式: %s。未导入。", textPath.GetString(), error.reason.GetString());
    AfxMessageBox(text);
    return;
  }

  if (newLine) {
    lineNames.InsertAt(0, lineName);
    lineNameSelection = 0;
    lineNameText = lineName;
    ++importedLines;
  }
  SortPairs(records, 0.001);
  SetRecords(records);
  stationSelection = -1;
  RebuildStationList();
  AfxMessageBox("成功导入文件");
}
