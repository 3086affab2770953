// Line types from line-type files (.lin): a definition is a header line
// "*NAME,description" followed by a pattern line "A,dash,gap,...": positive
// numbers are dashes, negative ones gaps, 0 a dot. Lines starting with ';'
// are comments. Elements in brackets (shapes, texts) are passed over.
#include <cstdio>
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbfiler.h"
#include "crt/textfile.h"

namespace {

struct LinDef {
  std::string name, description;
  std::vector<double> dashes;
  bool hasPattern = false;
};

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

bool sameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::vector<double> parsePattern(const std::string& line) {
  // "A,12,-6,0,-6"; bracketed elements are skipped.
  std::vector<double> out;
  std::string body;
  int depth = 0;
  for (char c : line) {
    if (c == '[') ++depth;
    else if (c == ']') depth = depth > 0 ? depth - 1 : 0;
    else if (depth == 0) body += c;
  }
  size_t pos = body.find(',');
  if (pos == std::string::npos) return out;
  body = body.substr(pos + 1);
  size_t start = 0;
  while (start <= body.size()) {
    size_t comma = body.find(',', start);
    std::string item = trim(body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    double v;
    if (!item.empty() && platform::parseDouble(item, v) && out.size() < 12) out.push_back(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

// Every definition of the file (a definition without pattern line is kept empty).
bool readLinFile(const std::string& path, std::vector<LinDef>& defs) {
  FILE* f = platform::openFile(path.c_str(), "r");
  if (!f) return false;
  char buf[2048];
  LinDef* current = nullptr;
  while (std::fgets(buf, sizeof buf, f)) {
    std::string line = trim(buf);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '*') {
      size_t comma = line.find(',');
      LinDef d;
      d.name = trim(line.substr(1, comma == std::string::npos ? std::string::npos : comma - 1));
      if (comma != std::string::npos) d.description = trim(line.substr(comma + 1));
      defs.push_back(d);
      current = &defs.back();
      continue;
    }
    if (current && !current->hasPattern && (line[0] == 'A' || line[0] == 'a')) {
      current->dashes = parsePattern(line);
      current->hasPattern = true;
    }
  }
  std::fclose(f);
  return true;
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::loadLineTypeFile(const char* ltName, const char* filename) {
  if (!ltName || !*ltName || !filename || !*filename) return Acad::eInvalidInput;
  auto* table = linetypeTableId().stub() ? AcDbLinetypeTable::cast(linetypeTableId().stub()->object) : nullptr;
  if (!table) return Acad::eNoDatabase;
  std::string wanted = ltName;
  bool all = wanted == "*";
  if (!all && table->findStub(ltName, false)) return Acad::eOk;
  std::string path = platform::findSupportFile(filename);
  std::vector<LinDef> defs;
  if (path.empty() || !readLinFile(path, defs)) return Acad::eFileNotFound;
  bool found = false;
  for (const LinDef& d : defs) {
    if (!all && !sameNoCase(d.name, wanted)) continue;
    if (!acdbIsValidSymbolName(d.name.c_str())) continue;
    found = true;
    if (table->findStub(d.name.c_str(), false)) continue;
    auto* rec = new AcDbLinetypeTableRecord();
    rec->setNameDirect(d.name);
    rec->setComments(d.description.c_str());
    rec->setNumDashes(static_cast<int>(d.dashes.size()));
    double length = 0;
    for (size_t i = 0; i < d.dashes.size(); ++i) {
      rec->setDashLengthAt(static_cast<int>(i), d.dashes[i]);
      length += d.dashes[i] < 0 ? -d.dashes[i] : d.dashes[i];
    }
    rec->setPatternLength(length);
    AcDbStub* s = addObjectDirect(rec, linetypeTableId());
    table->addRecordDirect(s, d.name);
    if (!all) break;
  }
  return found ? Acad::eOk : Acad::eUndefinedLineType;
}
