// The .pmcs file of the plan settings (PlanDialogSettings.h).

#include "PlanDialogSettings.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PlanSettingsRules.h"
#include "crt/textfile.h"
#include "crt/gbk.h"
#include "mfc/app.h"

namespace {

// A line longer than this is refused before it is looked at.
constexpr size_t kLineBytesMax = 1024;
// A file whose bytes read both as GBK and as UTF-8 is looked at as GBK first
// up to this size (21 lines of the longest values take about 1 KB).
constexpr size_t kAmbiguousFileMax = 64 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Reads the next line without its line end, keeping at most kLineBytesMax + 1
// bytes (the rest of a longer line is skipped). False at the end of the file.
bool ReadLine(FILE* file, std::string& line) {
  line.clear();
  int c = std::fgetc(file);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (line.size() <= kLineBytesMax) line += static_cast<char>(c);
    c = std::fgetc(file);
  }
  return true;
}

std::string Trimmed(const std::string& text) {
  size_t a = 0, b = text.size();
  while (a < b && IsBlank(text[a])) ++a;
  while (b > a && IsBlank(text[b - 1])) --b;
  return text.substr(a, b - a);
}

class Reader {
 public:
  // A quiet reader shows no message: it only finds out whether the file loads.
  Reader(FILE* file, const CString& path, bool quiet) : m_file(file), m_path(path), m_quiet(quiet) {}

  bool Text(CString& value, int gbkMax) {
    std::string line;
    if (!Next(line)) return false;
    if (platform::GbkLength(line) > gbkMax) {
      CString limit;
      limit.Format("%d", gbkMax);
      return Refuse("的值过长(最多" + limit + "字节)");
    }
    value = line.c_str();
    return true;
  }
  bool Integer(int& value) {
    std::string line;
    if (!Next(line)) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(line.c_str(), &end, 10);
    if (line.empty() || *end != '\0' || errno == ERANGE || v < -1000000 || v > 1000000) return Refuse("不是整数");
    value = static_cast<int>(v);
    return true;
  }
  // An integer that is one of 0 and 1.
  bool Choice(int& value) {
    int v = 0;
    if (!Integer(v)) return false;
    if (v != 0 && v != 1) return Refuse("不是0或1");
    value = v;
    return true;
  }
  bool Real(double& value) {
    std::string line;
    if (!Next(line)) return false;
    char* end = nullptr;
    const double v = std::strtod(line.c_str(), &end);
    if (line.empty() || *end != '\0' || !std::isfinite(v)) return Refuse("不是数值");
    value = v;
    return true;
  }

  // The value of the line just read checked: `problem` (a sentence of the
  // plan's rules, "" for none) refuses the file, naming the line.
  bool Valid(CString problem) {
    if (problem.IsEmpty()) return true;
    problem.TrimRight('!');
    return Refuse(": " + problem);
  }

 private:
  bool Next(std::string& line) {
    ++m_line;
    std::string raw;
    if (!ReadLine(m_file, raw)) {
      CString text;
      text.Format("设置文件%s只有%d行,应有21行,读取失败!", m_path.GetString(), m_line - 1);
      if (!m_quiet) AfxMessageBox(text);
      return false;
    }
    if (raw.size() > kLineBytesMax) return Refuse("过长");
    // A NUL byte belongs to no setting: a value would be cut there unseen
    // (and what follows it lost), so the line is refused as damaged.
    if (raw.find('\0') != std::string::npos) return Refuse("含有空字符(0)");
    line = Trimmed(raw);
    return true;
  }
  bool Refuse(const CString& what) {
    CString text;
    text.Format("设置文件%s第%d行", m_path.GetString(), m_line);
    if (!m_quiet) AfxMessageBox(text + what + ",读取失败!");
    return false;
  }

  FILE* m_file;
  CString m_path;
  int m_line = 0;
  bool m_quiet;
};

// A number as the file keeps it: with six decimals ("3.500000"), as the file
// has always had it, when they give the value back; else in the fewest
// significant digits that do, so that a text height of 1e-7 millimetres is
// not saved as 0.000000, which the file would then refuse.
std::string NumberText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%lf", value);
  if (std::strtod(text, nullptr) == value) return text;
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

// A structure box as the file holds it.
int BoxNumber(int ticked) { return ticked ? 1 : -1; }

}  // namespace

bool SavePlanSettingsFile(const CString& path, const PlanDialogSettings& s) {
  FILE* file = platform::openFile(path.GetString(), "w+");
  if (!file) {
    AfxMessageBox("不能建立此文件，保存失败!");
    return false;
  }
  std::fprintf(file, "%s\n", s.databasePath.GetString());
  std::fprintf(file, "%s\n", s.startChainage.GetString());
  std::fprintf(file, "%s\n", s.endChainage.GetString());
  std::fprintf(file, "%d\n", s.drawingMode);
  std::fprintf(file, "%d\n", s.direction);
  std::fprintf(file, "%s\n", s.plotScale.GetString());
  std::fprintf(file, "%s\n", s.basePrefix.GetString());
  std::fprintf(file, "%s\n", s.leftPrefix.GetString());
  std::fprintf(file, "%s\n", s.rightPrefix.GetString());
  std::fprintf(file, "%s\n", s.chainagePrecision.GetString());
  for (int box : {s.bridges, s.tunnels, s.stations, s.traverse, s.benchMarks, s.allCulverts}) {
    std::fprintf(file, "%d\n", BoxNumber(box));
  }
  std::fprintf(file, "%s\n", s.labelPosition.GetString());
  std::fprintf(file, "%s\n", s.chainageStyle.GetString());
  std::fprintf(file, "%s\n", NumberText(s.textHeight).c_str());
  std::fprintf(file, "%s\n", NumberText(s.centerlineWidth).c_str());
  std::fprintf(file, "%d\n", s.colour);
  // A file that could not be written completely is no saved file.
  const bool written = std::ferror(file) == 0;
  if (std::fclose(file) != 0 || !written) {
    AfxMessageBox("不能建立此文件，保存失败!");
    return false;
  }
  return true;
}

namespace {

// Reads the 21 lines of an open file into `settings`; false, with `settings`
// unchanged, when a line is refused (with its message unless `quiet`).
bool ReadSettings(FILE* file, const CString& path, PlanDialogSettings& settings, bool quiet) {
  using S = PlanDialogSettings;
  PlanDialogSettings s = settings;
  Reader in(file, path, quiet);
  int boxes[6] = {};
  bool ok = in.Text(s.databasePath, S::kPathGbkMax) && in.Text(s.startChainage, S::kChainageGbkMax) &&
            in.Text(s.endChainage, S::kChainageGbkMax) && in.Choice(s.drawingMode) && in.Choice(s.direction) &&
            in.Text(s.plotScale, S::kChoiceGbkMax) && in.Valid(PlotScaleProblem(s.plotScale)) &&
            in.Text(s.basePrefix, S::kPrefixGbkMax) && in.Text(s.leftPrefix, S::kPrefixGbkMax) &&
            in.Text(s.rightPrefix, S::kPrefixGbkMax) && in.Text(s.chainagePrecision, S::kChoiceGbkMax) &&
            in.Valid(IsChainagePrecision(s.chainagePrecision)
                         ? CString()
                         : "里程精度" + s.chainagePrecision + "不是1位、2位、3位或4位");
  for (int& box : boxes) ok = ok && in.Integer(box);
  ok = ok && in.Text(s.labelPosition, S::kChoiceGbkMax) && in.Text(s.chainageStyle, S::kChoiceGbkMax) &&
       in.Real(s.textHeight) && in.Valid(TextHeightProblem(s.textHeight)) && in.Real(s.centerlineWidth) &&
       in.Valid(CenterlineWidthProblem(s.centerlineWidth)) && in.Choice(s.colour);
  if (!ok) return false;
  s.bridges = boxes[0] > 0;
  s.tunnels = boxes[1] > 0;
  s.stations = boxes[2] > 0;
  s.traverse = boxes[3] > 0;
  s.benchMarks = boxes[4] > 0;
  s.allCulverts = boxes[5] > 0;
  settings = s;
  return true;
}

}  // namespace

bool LoadPlanSettingsFile(const CString& path, PlanDialogSettings& settings) {
  // The file is GBK as this program writes it, but a short one whose Chinese
  // is only "2位" (CE BB) is valid UTF-8 too, and the text layer would read
  // it as UTF-8 ("2λ"), refusing a file it wrote itself. Such a file is
  // first read quietly as GBK and taken when it loads whole; a UTF-8 file
  // never does, since its line 10, "N位" (E4 BD 8D), is no GBK.
  if (FILE* raw = platform::openFile(path.GetString(), "rb")) {
    std::string bytes(kAmbiguousFileMax + 1, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), raw));
    std::fclose(raw);
    const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (bytes.size() <= kAmbiguousFileMax && !bom && !ascii && platform::isValidUtf8(bytes)) {
      std::string text = platform::gbkToUtf8(bytes);
      if (FILE* gbk = fmemopen(text.data(), text.size(), "r")) {
        const bool loaded = ReadSettings(gbk, path, settings, true);
        std::fclose(gbk);
        if (loaded) return true;
      }
    }
  }
  FILE* file = platform::openFile(path.GetString(), "r");
  if (!file) {
    AfxMessageBox("不能访问此文件，读取失败!");
    return false;
  }
  const bool loaded = ReadSettings(file, path, settings, false);
  std::fclose(file);
  return loaded;
}
