// Reads a DXF file into a database; see dxffile.h.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <map>
#include <numbers>
#include <set>
#include <unordered_map>

#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"
#include "arx/dbproxy.h"
#include "arx/dbstub.h"
#include "arx/dxffile.h"
#include "crt/textfile.h"
#include "win/transcript.h"

namespace platform {

namespace {

// A group of the file: its code and its value line (in the file's text).
// A million of them for a large drawing: kept to 24 bytes.
struct RawTag {
  const char* text;
  uint32_t size;
  int code;
  double real;  // the value of a real-number group, read once
  std::string_view value() const { return std::string_view(text, size); }
};

std::string_view trimView(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Groups whose value is a real number: coordinates, distances, angles, scales.
bool isRealGroup(int code) {
  return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
         (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059);
}

// A group code: the common form (a few digits) read here, anything else as
// an integer of any form.
bool groupCode(std::string_view t, long long& code) {
  if (!t.empty() && t.size() <= 4) {
    long long v = 0;
    bool digits = true;
    for (char ch : t) {
      if (ch < '0' || ch > '9') {
        digits = false;
        break;
      }
      v = v * 10 + (ch - '0');
    }
    if (digits) {
      code = v;
      return true;
    }
  }
  return parseInt64(t, code);
}

// A real number in the plain form writers use, -?digits[.digits] with at
// most 15 digits in all, read exactly: the digits make an integer below 2^53
// and 10^decimals is exact, so their quotient (rounded once) is the double
// nearest the decimal, the same as any correct reading gives. False for any
// other form (the caller reads those in full).
bool quickReal(std::string_view v, double& out) {
  static constexpr double kPow10[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const char* p = v.data();
  const char* end = p + v.size();
  bool negative = p < end && *p == '-';
  if (negative) ++p;
  uint64_t m = 0;
  int digits = 0, decimals = 0;
  const char* first = p;
  while (p < end && *p >= '0' && *p <= '9') {
    m = m * 10 + static_cast<unsigned>(*p++ - '0');
    ++digits;
  }
  if (p == first) return false;
  if (p < end && *p == '.') {
    const char* dot = ++p;
    while (p < end && *p >= '0' && *p <= '9') {
      m = m * 10 + static_cast<unsigned>(*p++ - '0');
      ++digits;
    }
    decimals = static_cast<int>(p - dot);
    if (decimals == 0) return false;
  }
  if (p != end || digits > 15) return false;
  double d = static_cast<double>(m) / kPow10[decimals];
  out = negative ? -d : d;
  return true;
}

bool tokenize(std::string_view data, std::vector<RawTag>& tags, std::string& error) {
  // A tag takes about 20 bytes of a drawing file: room for one per 8 bytes
  // is made at once (pages that stay unused are never touched), up to 4M
  // tags (96 MB); a larger file's list grows as it is read.
  tags.reserve(std::min<size_t>(data.size() / 8 + 16, size_t{1} << 22));
  const char* const base = data.data();
  const size_t size = data.size();
  size_t pos = 0, line = 0;
  auto nextLine = [&](std::string_view& out) {
    if (pos >= size) return false;
    const char* start = base + pos;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', size - pos));
    size_t end = nl ? static_cast<size_t>(nl - base) : size;
    out = std::string_view(start, end - pos);
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    pos = nl ? end + 1 : size;
    ++line;
    return true;
  };
  // The common code line: spaces, one to four digits, CRLF or LF.
  auto quickCode = [&](int& code) {
    size_t i = pos;
    while (i < size && base[i] == ' ') ++i;
    int v = 0, n = 0;
    while (i < size && n < 4 && base[i] >= '0' && base[i] <= '9') {
      v = v * 10 + (base[i++] - '0');
      ++n;
    }
    if (n == 0) return false;
    if (i < size && base[i] == '\r') ++i;
    if (i >= size || base[i] != '\n') return false;
    pos = i + 1;
    ++line;
    code = v;
    return true;
  };
  std::string_view c, v;
  while (pos < size) {
    int code;
    if (!quickCode(code)) {
      if (!nextLine(c)) break;
      std::string_view t = trimView(c);
      if (t.empty() && pos >= size) break;
      long long wide;
      if (!groupCode(t, wide) || wide < -5 || wide > 1071) {
        error = "line " + std::to_string(line) + ": not a group code";
        return false;
      }
      code = static_cast<int>(wide);
    } else if (code > 1071) {
      error = "line " + std::to_string(line) + ": not a group code";
      return false;
    }
    if (!nextLine(v)) {
      error = "line " + std::to_string(line) + ": group code without value";
      return false;
    }
    // A number that is no finite number would put NaN or infinity into the
    // drawing: the file is refused at the line that holds it.
    double real = 0;
    if (isRealGroup(code) && !quickReal(v, real) && !(parseDouble(v, real) && std::isfinite(real))) {
      error = "line " + std::to_string(line) + ": group " + std::to_string(code) + " holds \"" +
              std::string(trimView(v).substr(0, 40)) + "\", not a finite number";
      return false;
    }
    if (v.size() > UINT32_MAX) {
      error = "line " + std::to_string(line) + ": a value of more than 4 GB";
      return false;
    }
    tags.push_back(RawTag{v.data(), static_cast<uint32_t>(v.size()), code, real});
  }
  return true;
}

double toDouble(std::string_view v) {
  double d;
  return parseDouble(v, d) && std::isfinite(d) ? d : 0.0;
}

// A tag as a number: a real-number group's value was read (and found finite)
// when the file was split into tags; any other group is read here.
double toDouble(const RawTag& t) { return isRealGroup(t.code) ? t.real : toDouble(t.value()); }

long long toInt(std::string_view v) {
  long long i;
  if (parseInt64(v, i)) return i;
  double d;
  return parseDouble(v, d) && std::fabs(d) < 9e18 ? static_cast<long long>(d) : 0;
}

// A handle of the file (0 when it is none or too large to keep).
uint64_t toHandle(std::string_view v) {
  v = trimView(v);
  if (v.empty() || v.size() > 15) return 0;
  // Hex digits up to the end or a NUL (as AcDbHandle reads a C string);
  // anything else makes no handle.
  uint64_t h = 0;
  for (char c : v) {
    if (c == '\0') break;
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return 0;
    h = (h << 4) | static_cast<uint64_t>(d);
  }
  return h < (uint64_t{1} << 56) ? h : 0;
}

double degToRad(double d) { return d * std::numbers::pi / 180.0; }

struct ClassInfo {
  std::string className, registered, app;
  int flags = 0;
};

class Reader {
 public:
  Reader(AcDbDatabase& db, std::vector<RawTag> tags) : m_db(db), m_tags(std::move(tags)) {}
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
  // A polyline still being read when the file is refused belongs to no
  // drawing yet: it goes here with its vertices.
  ~Reader() {
    for (auto& vertex : m_polyVertices) delete vertex.first;
    delete m_poly;
  }

  Acad::ErrorStatus run(std::string& error) {
    prescanHandles();
    bool sawEof = false;
    while (m_pos < m_tags.size()) {
      const RawTag& t = m_tags[m_pos];
      if (t.code == 999) {
        ++m_pos;
        continue;
      }
      if (t.code != 0) {
        error = "unexpected group " + std::to_string(t.code) + " outside a section";
        return Acad::eBadDxfSequence;
      }
      if (t.value() == "EOF") {
        sawEof = true;
        break;
      }
      if (t.value() != "SECTION" || m_pos + 1 >= m_tags.size() || m_tags[m_pos + 1].code != 2) {
        error = "expected a SECTION, found \"" + std::string(t.value()) + "\"";
        return Acad::eBadDxfSequence;
      }
      std::string name(trimView(m_tags[m_pos + 1].value()));
      m_pos += 2;
      if (name == "HEADER") readHeader();
      else if (name == "CLASSES") readClasses();
      else if (name == "TABLES") readTables();
      else if (name == "BLOCKS") readEntitySection(true);
      else if (name == "ENTITIES") readEntitySection(false);
      else if (name == "OBJECTS") readObjects();
      else skipSection();
      if (!m_sectionClosed) {
        error = "section " + name + " is not closed";
        return Acad::eBadDxfSequence;
      }
    }
    if (!sawEof) {
      error = "the file ends before EOF";
      return Acad::eBadDxfSequence;
    }
    finish();
    return Acad::eOk;
  }

 private:
  // ---- text ----
  // A text ends at a NUL byte (written as such or as "^@"): the names and
  // texts of a drawing travel as C strings, which end there, and a class name
  // that kept what follows would be empty to the writer and lost on the
  // drawing's next reading.
  static std::string endAtNul(std::string s) {
    const size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return s;
  }
  std::string decode(std::string_view raw) const {
    std::string s = m_utf8 ? std::string(raw) : dxfGbkToUtf8(raw);
    if (s.find('^') == std::string::npos) return endAtNul(std::move(s));
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '^' && i + 1 < s.size()) {
        char n = s[i + 1];
        if (n == ' ') {
          out += '^';
          ++i;
          continue;
        }
        if (n >= '@' && n <= '_') {
          out += static_cast<char>(n - '@');
          ++i;
          continue;
        }
      }
      out += s[i];
    }
    return endAtNul(std::move(out));
  }

  // ---- structure ----
  // The tags of the current record: from after its 0 tag to the next 0 tag.
  size_t recordEnd() const {
    size_t e = m_pos + 1;
    while (e < m_tags.size() && m_tags[e].code != 0) ++e;
    return e;
  }

  bool atEndSec() {
    if (m_pos < m_tags.size() && m_tags[m_pos].code == 0 && m_tags[m_pos].value() == "ENDSEC") {
      ++m_pos;
      m_sectionClosed = true;
      return true;
    }
    return false;
  }

  void skipSection() {
    m_sectionClosed = false;
    while (m_pos < m_tags.size()) {
      if (atEndSec()) return;
      ++m_pos;
    }
  }

  void prescanHandles() {
    uint64_t top = 0;
    size_t records = 0;
    for (size_t i = 0; i < m_tags.size(); ++i) {
      const RawTag& t = m_tags[i];
      if (t.code == 0) ++records;
      if (t.code == 5 || t.code == 105) top = std::max(top, toHandle(t.value()));
      if (t.code == 9 && trimView(t.value()) == "$HANDSEED" && i + 1 < m_tags.size()) {
        uint64_t seed = toHandle(m_tags[i + 1].value());
        if (seed > 0) top = std::max(top, seed - 1);
      }
      if (t.code == 9 && trimView(t.value()) == "$ACADVER" && i + 1 < m_tags.size()) {
        std::string_view ver = trimView(m_tags[i + 1].value());
        // From AC1021 on, text is UTF-8.
        m_utf8 = ver.size() == 6 && ver.substr(0, 2) == "AC" && ver >= "AC1021";
      }
    }
    m_db.setHandseedDirect(top + 1);
    // About one object a record: the handle index is made that large once.
    m_db.reserveObjectsDirect(records);
  }

  void readHeader() {
    m_sectionClosed = false;
    std::string var;
    while (m_pos < m_tags.size()) {
      if (atEndSec()) return;
      const RawTag& t = m_tags[m_pos++];
      if (t.code == 0) {
        --m_pos;
        return;
      }
      if (t.code == 9) {
        var = std::string(trimView(t.value()));
        continue;
      }
      if (var == "$LTSCALE" && t.code == 40) m_db.setLtscale(toDouble(t));
      else if (var == "$CELTSCALE" && t.code == 40) m_db.setCeltscale(toDouble(t));
      else if (var == "$TEXTSIZE" && t.code == 40) m_db.setTextsize(toDouble(t));
      else if (var == "$CLAYER" && t.code == 8) m_clayer = decode(t.value());
      else if (var == "$CELTYPE" && t.code == 6) m_celtype = decode(t.value());
      else if (var == "$TEXTSTYLE" && t.code == 7) m_textstyle = decode(t.value());
      else if (var == "$INSBASE") setCoord(m_insbase, t);
      else if (var == "$EXTMIN") setCoord(m_extmin, t);
      else if (var == "$EXTMAX") setCoord(m_extmax, t);
    }
  }

  static void setCoord(AcGePoint3d& p, const RawTag& t) {
    int axis = t.code / 10;
    if (t.code % 10 != 0 || axis < 1 || axis > 3) return;
    p[axis - 1] = toDouble(t);
  }

  void readClasses() {
    m_sectionClosed = false;
    while (m_pos < m_tags.size()) {
      if (atEndSec()) return;
      size_t end = recordEnd();
      if (m_tags[m_pos].value() == "CLASS") {
        std::string fileName;
        ClassInfo c;
        bool registeredSeen = false;
        for (size_t i = m_pos + 1; i < end; ++i) {
          const RawTag& t = m_tags[i];
          switch (t.code) {
            case 1: fileName = decode(t.value()); break;
            case 2: c.className = decode(t.value()); break;
            case 3: c.app = decode(t.value()); break;
            case 4: c.registered = decode(t.value()); registeredSeen = true; break;
            case 90: c.flags = static_cast<int>(toInt(t.value())); break;
            default: break;
          }
        }
        if (!registeredSeen) c.registered = fileName;
        if (!fileName.empty() && !c.className.empty()) m_classes[fileName] = c;
      }
      m_pos = end;
    }
  }

  // ---- tables ----
  void readTables() {
    m_sectionClosed = false;
    // Entities read after these tables look their names up afresh.
    m_layerOfText.clear();
    m_linetypeOfText.clear();
    while (m_pos < m_tags.size()) {
      if (atEndSec()) return;
      size_t end = recordEnd();
      std::string_view type = m_tags[m_pos].value();
      if (type == "TABLE") {
        std::string name;
        uint64_t h = 0;
        for (size_t i = m_pos + 1; i < end; ++i) {
          if (m_tags[i].code == 2 && name.empty()) name = std::string(trimView(m_tags[i].value()));
          if (m_tags[i].code == 5) h = toHandle(m_tags[i].value());
        }
        m_table = tableFor(name, h);
      } else if (type == "ENDTAB") {
        m_table = nullptr;
      } else if (m_table) {
        readRecord(type, m_pos + 1, end);
      }
      m_pos = end;
    }
  }

  AcDbSymbolTable* tableFor(const std::string& name, uint64_t h) {
    AcDbObjectId id;
    AcDbSymbolTable* made = nullptr;
    if (name == "BLOCK_RECORD") id = m_db.blockTableId();
    else if (name == "LAYER") id = m_db.layerTableId();
    else if (name == "LTYPE") id = m_db.linetypeTableId();
    else if (name == "STYLE") id = m_db.textStyleTableId();
    else if (name == "VPORT") id = m_db.viewportTableId();
    else if (name == "APPID") id = m_db.regAppTableId();
    else if (name == "DIMSTYLE") id = m_db.dimStyleTableId();
    else if (name == "VIEW") id = m_db.viewTableId();
    else if (name == "UCS") id = m_db.UCSTableId();
    if (!id.isNull()) return AcDbSymbolTable::cast(id.stub()->object);
    if (name == "BLOCK_RECORD") made = new AcDbBlockTable();
    else if (name == "LAYER") made = new AcDbLayerTable();
    else if (name == "LTYPE") made = new AcDbLinetypeTable();
    else if (name == "STYLE") made = new AcDbTextStyleTable();
    else if (name == "VPORT") made = new AcDbViewportTable();
    else if (name == "APPID") made = new AcDbRegAppTable();
    else if (name == "DIMSTYLE") made = new AcDbDimStyleTable();
    else if (name == "VIEW") made = new AcDbViewTable();
    else if (name == "UCS") made = new AcDbUCSTable();
    else return nullptr;
    m_db.addObjectDirect(made, AcDbObjectId(), h);
    m_db.setTableIdsDirect();
    return made;
  }

  uint64_t recordHandle(size_t from, size_t to) const {
    for (size_t i = from; i < to; ++i)
      if (m_tags[i].code == 5 || m_tags[i].code == 105) return toHandle(m_tags[i].value());
    return 0;
  }

  std::string recordName(size_t from, size_t to) const {
    for (size_t i = from; i < to; ++i)
      if (m_tags[i].code == 2) return decode(m_tags[i].value());
    return "";
  }

  // Adds a record, or fills the one of that name the database made itself.
  template <class Record>
  Record* addRecord(const std::string& name, uint64_t h) {
    if (!acdbIsValidSymbolName(name.c_str())) return nullptr;
    if (AcDbStub* s = m_table->findStub(name.c_str(), false)) return Record::cast(s->object);
    auto* rec = new Record();
    rec->setNameDirect(name);
    AcDbStub* s = m_db.addObjectDirect(rec, m_table->objectId(), h);
    m_table->addRecordDirect(s, name);
    return rec;
  }

  void readRecord(std::string_view type, size_t from, size_t to) {
    std::string name = recordName(from, to);
    uint64_t h = recordHandle(from, to);
    if (type == "LAYER") {
      auto* r = addRecord<AcDbLayerTableRecord>(name, h);
      if (!r) return;
      AcDbObject::FilingScope scope(r);
      for (size_t i = from; i < to; ++i) {
        const RawTag& t = m_tags[i];
        switch (t.code) {
          case 70: {
            long long f = toInt(t.value());
            r->setIsFrozen(f & 1);
            r->setIsLocked(f & 4);
            break;
          }
          case 62: {
            long long c = toInt(t.value());
            r->setIsOff(c < 0);
            r->setColorIndex(static_cast<Adesk::UInt16>(std::clamp<long long>(std::llabs(c), 1, 255)));
            break;
          }
          case 6: m_layerLinetype[r] = decode(t.value()); break;
          case 290: r->setIsPlottable(toInt(t.value()) != 0); break;
          case 370: r->setLineWeight(static_cast<AcDb::LineWeight>(std::clamp<long long>(toInt(t.value()), -3, 211))); break;
          default: break;
        }
      }
    } else if (type == "LTYPE") {
      auto* r = addRecord<AcDbLinetypeTableRecord>(name, h);
      if (!r) return;
      AcDbObject::FilingScope scope(r);
      std::vector<double> dashes;
      double length = 0;
      for (size_t i = from; i < to; ++i) {
        const RawTag& t = m_tags[i];
        if (t.code == 3) r->setComments(decode(t.value()).c_str());
        else if (t.code == 40) length = toDouble(t);
        else if (t.code == 49 && dashes.size() < 12) dashes.push_back(toDouble(t));
      }
      r->setNumDashes(static_cast<int>(dashes.size()));
      for (size_t i = 0; i < dashes.size(); ++i) r->setDashLengthAt(static_cast<int>(i), dashes[i]);
      r->setPatternLength(std::fabs(length));
    } else if (type == "STYLE") {
      auto* r = addRecord<AcDbTextStyleTableRecord>(name, h);
      if (!r) return;
      AcDbObject::FilingScope scope(r);
      std::string app, face;
      long long fontFlags = -1;
      for (size_t i = from; i < to; ++i) {
        const RawTag& t = m_tags[i];
        switch (t.code) {
          case 70: r->setIsVertical(toInt(t.value()) & 4); break;
          case 40: r->setTextSize(std::fabs(toDouble(t))); break;
          case 41: if (toDouble(t) > 0) r->setXScale(toDouble(t)); break;
          case 50: r->setObliquingAngle(degToRad(toDouble(t))); break;
          case 42: r->setPriorSize(std::fabs(toDouble(t))); break;
          case 3: r->setFileName(decode(t.value()).c_str()); break;
          case 4: r->setBigFontFileName(decode(t.value()).c_str()); break;
          case 1001: app = std::string(trimView(t.value())); break;
          case 1000: if (app == "ACAD") face = decode(t.value()); break;
          case 1071: if (app == "ACAD") fontFlags = toInt(t.value()); break;
          default: break;
        }
      }
      if (!face.empty()) {
        long long f = fontFlags < 0 ? 0 : fontFlags;
        r->setFont(face.c_str(), (f & 0x02000000) != 0, (f & 0x01000000) != 0, static_cast<int>((f >> 8) & 0xff),
                   static_cast<int>(f & 0xff));
      }
    } else if (type == "VPORT") {
      auto* r = addRecord<AcDbViewportTableRecord>(name, h);
      if (!r) return;
      AcDbObject::FilingScope scope(r);
      double cx = 0, cy = 0, height = 0, aspect = 0;
      for (size_t i = from; i < to; ++i) {
        const RawTag& t = m_tags[i];
        if (t.code == 12) cx = toDouble(t);
        else if (t.code == 22) cy = toDouble(t);
        else if (t.code == 40) height = toDouble(t);
        else if (t.code == 41) aspect = toDouble(t);
      }
      r->setCenterPoint(AcGePoint2d(cx, cy));
      if (height > 0) {
        r->setHeight(height);
        if (aspect > 0) r->setWidth(height * aspect);
      }
    } else if (type == "APPID") {
      addRecord<AcDbRegAppTableRecord>(name, h);
    } else if (type == "DIMSTYLE") {
      addRecord<AcDbDimStyleTableRecord>(name, h);
    } else if (type == "VIEW") {
      addRecord<AcDbViewTableRecord>(name, h);
    } else if (type == "UCS") {
      addRecord<AcDbUCSTableRecord>(name, h);
    } else if (type == "BLOCK_RECORD") {
      addRecord<AcDbBlockTableRecord>(name, h);
    }
  }

  // ---- entities ----
  AcDbBlockTableRecord* blockNamed(const std::string& name, uint64_t h) {
    auto* table = AcDbBlockTable::cast(m_db.blockTableId().stub()->object);
    if (AcDbStub* s = table->findStub(name.c_str(), false)) return AcDbBlockTableRecord::cast(s->object);
    if (!acdbIsValidSymbolName(name.c_str())) return nullptr;
    auto* rec = new AcDbBlockTableRecord();
    rec->setNameDirect(name);
    AcDbStub* s = m_db.addObjectDirect(rec, m_db.blockTableId(), h);
    table->addRecordDirect(s, name);
    m_db.setTableIdsDirect();
    return rec;
  }

  void readEntitySection(bool blocks) {
    m_sectionClosed = false;
    // Whatever the tables lacked is made now, before entities refer to it.
    m_db.ensureTables();
    AcDbBlockTableRecord* current = nullptr;
    while (m_pos < m_tags.size()) {
      if (atEndSec()) return;
      size_t end = recordEnd();
      std::string_view type = trimView(m_tags[m_pos].value());
      size_t from = m_pos + 1;
      m_pos = end;
      if (blocks && type == "BLOCK") {
        std::string name = recordName(from, end);
        current = blockNamed(name, 0);
        if (current) {
          AcGePoint3d origin;
          for (size_t i = from; i < end; ++i) setCoord(origin, m_tags[i]);
          AcDbObject::FilingScope scope(current);
          current->setOrigin(origin);
          m_blockBegin[current] = recordHandle(from, end);
        }
        continue;
      }
      if (blocks && type == "ENDBLK") {
        if (current) m_blockEnd[current] = recordHandle(from, end);
        current = nullptr;
        continue;
      }
      AcDbBlockTableRecord* owner = current;
      if (!blocks) {
        bool paper = false;
        for (size_t i = from; i < end; ++i)
          if (m_tags[i].code == 67) paper = toInt(m_tags[i].value()) == 1;
        owner = AcDbBlockTableRecord::cast((paper ? m_db.paperSpaceId() : m_db.modelSpaceId()).stub()->object);
      }
      if (!owner) continue;
      readEntity(type, from, end, owner);
    }
  }

  // Layer, line type, colour and the other common properties.
  void readCommon(AcDbEntity* e, size_t from, size_t to) {
    std::string_view layer = "0", linetype;
    bool layerRaw = false;  // `layer` is the file's text (else the name itself)
    for (size_t i = from; i < to; ++i) {
      const RawTag& t = m_tags[i];
      switch (t.code) {
        case 8: layer = t.value(); layerRaw = true; break;
        case 6: linetype = t.value(); break;
        case 62: {
          long long c = toInt(t.value());
          if (c >= 0 && c <= 256) e->setColorDirect(static_cast<Adesk::UInt16>(c));
          break;
        }
        case 370: {
          long long w = toInt(t.value());
          if (w >= -3 && w <= 211) e->setLineWeightDirect(static_cast<AcDb::LineWeight>(w));
          break;
        }
        case 48: {
          double s = toDouble(t);
          if (s > 0) e->setLinetypeScaleDirect(s);
          break;
        }
        case 60: e->setVisibleDirect(toInt(t.value()) == 0); break;
        default: break;
      }
    }
    e->setLayerDirect(layerRaw ? layerOfText(layer) : layerId(std::string(layer)));
    e->setLinetypeDirect(linetype.empty() ? m_db.byLayerLinetype() : linetypeOfText(linetype));
  }

  // The layer and the line type an entity's text names, decoded and looked
  // up once per text: most entities of a file share a few layers.
  AcDbObjectId layerOfText(std::string_view raw) {
    auto [it, fresh] = m_layerOfText.try_emplace(raw);
    if (fresh) it->second = layerId(decode(raw));
    return it->second;
  }
  AcDbObjectId linetypeOfText(std::string_view raw) {
    auto [it, fresh] = m_linetypeOfText.try_emplace(raw);
    if (fresh) it->second = linetypeId(decode(raw));
    return it->second;
  }

  AcDbObjectId layerId(const std::string& name) {
    auto* table = AcDbLayerTable::cast(m_db.layerTableId().stub()->object);
    if (AcDbStub* s = table->findStub(name.c_str(), false)) return AcDbObjectId(s);
    if (!acdbIsValidSymbolName(name.c_str())) return AcDbObjectId(table->findStub("0", false));
    // A layer that the entities use and the table lacks is made.
    auto* rec = new AcDbLayerTableRecord();
    rec->setNameDirect(name);
    rec->setLinetypeDirect(m_db.continuousLinetype());
    AcDbStub* s = m_db.addObjectDirect(rec, m_db.layerTableId());
    table->addRecordDirect(s, name);
    return AcDbObjectId(s);
  }

  AcDbObjectId linetypeId(const std::string& name) {
    auto* table = AcDbLinetypeTable::cast(m_db.linetypeTableId().stub()->object);
    AcDbStub* s = table->findStub(name.c_str(), false);
    return s ? AcDbObjectId(s) : m_db.byLayerLinetype();
  }

  AcDbObjectId styleId(const std::string& name) {
    auto* table = AcDbTextStyleTable::cast(m_db.textStyleTableId().stub()->object);
    AcDbStub* s = table->findStub(name.c_str(), false);
    if (!s) s = table->findStub("Standard", false);
    return s ? AcDbObjectId(s) : AcDbObjectId();
  }

  struct Geo {
    AcGePoint3d p[4];
    AcGeVector3d normal{0, 0, 1};
    double r40 = 0, r41 = 0, r42 = 0, r43 = 0, r38 = 0, r39 = 0, r50 = 0, r51 = 0;
    bool has41 = false, has42 = false, has43 = false, has11 = false;
    long long i70 = 0, i71 = 0, i72 = 0, i73 = 0, i75 = 0;
    std::string s1, s2, s7;
  };

  Geo readGeo(size_t from, size_t to) const {
    Geo g;
    for (size_t i = from; i < to; ++i) {
      const RawTag& t = m_tags[i];
      int c = t.code;
      if (c >= 10 && c <= 33) {
        int axis = c / 10 - 1, k = c % 10;
        if (k <= 3) g.p[k][axis] = toDouble(t);
        if (c == 11) g.has11 = true;
        continue;
      }
      switch (c) {
        case 210: g.normal.x = toDouble(t); break;
        case 220: g.normal.y = toDouble(t); break;
        case 230: g.normal.z = toDouble(t); break;
        case 38: g.r38 = toDouble(t); break;
        case 39: g.r39 = toDouble(t); break;
        case 40: g.r40 = toDouble(t); break;
        case 41: g.r41 = toDouble(t); g.has41 = true; break;
        case 42: g.r42 = toDouble(t); g.has42 = true; break;
        case 43: g.r43 = toDouble(t); g.has43 = true; break;
        case 50: g.r50 = toDouble(t); break;
        case 51: g.r51 = toDouble(t); break;
        case 70: g.i70 = toInt(t.value()); break;
        case 71: g.i71 = toInt(t.value()); break;
        case 72: g.i72 = toInt(t.value()); break;
        case 73: g.i73 = toInt(t.value()); break;
        case 75: g.i75 = toInt(t.value()); break;
        case 1: g.s1 = decode(t.value()); break;
        case 2: g.s2 = decode(t.value()); break;
        case 7: g.s7 = decode(t.value()); break;
        default: break;
      }
    }
    if (g.normal.isZeroLength()) g.normal = AcGeVector3d::kZAxis;
    return g;
  }

  void place(AcDbEntity* e, size_t from, size_t to, AcDbBlockTableRecord* owner) {
    readCommon(e, from, to);
    AcDbStub* s = m_db.addObjectDirect(e, owner->objectId(), recordHandle(from, to));
    owner->addEntityDirect(s);
  }

  void readEntity(std::string_view type, size_t from, size_t to, AcDbBlockTableRecord* owner) {
    if (type == "VERTEX") {
      readVertex(from, to);
      return;
    }
    if (type == "SEQEND") {
      finishPolyline(toHandleOf(from, to));
      return;
    }
    if (type == "ATTRIB") return;  // attributes of an insert are not kept
    finishPolyline(0);
    Geo g = readGeo(from, to);
    if (type == "LINE") {
      auto* l = new AcDbLine(g.p[0], g.p[1]);
      l->setNormal(g.normal);
      l->setThickness(g.r39);
      place(l, from, to, owner);
    } else if (type == "CIRCLE") {
      auto* c = new AcDbCircle(g.p[0], g.normal, g.r40 > 0 ? g.r40 : 1e-9);
      c->setThickness(g.r39);
      place(c, from, to, owner);
    } else if (type == "ARC") {
      auto* a = new AcDbArc(g.p[0], g.normal, g.r40 > 0 ? g.r40 : 1e-9, degToRad(g.r50), degToRad(g.r51));
      a->setThickness(g.r39);
      place(a, from, to, owner);
    } else if (type == "POINT") {
      auto* p = new AcDbPoint(g.p[0]);
      p->setThickness(g.r39);
      place(p, from, to, owner);
    } else if (type == "TEXT") {
      auto* t = new AcDbText(g.p[0], g.s1.c_str(), styleId(g.s7), std::fabs(g.r40), degToRad(g.r50));
      if (g.has41 && g.r41 > 0) t->setWidthFactor(g.r41);
      t->setOblique(degToRad(g.r51));
      t->setThickness(g.r39);
      t->setNormal(g.normal);
      t->mirrorInX((g.i71 & 2) != 0);
      t->mirrorInY((g.i71 & 4) != 0);
      if (g.i72 >= 0 && g.i72 <= 5) t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(g.i72));
      if (g.i73 >= 0 && g.i73 <= 3) t->setVerticalMode(static_cast<AcDb::TextVertMode>(g.i73));
      if (!t->isDefaultAlignment()) t->setAlignmentPoint(g.has11 ? g.p[1] : g.p[0]);
      t->setPosition(g.p[0]);  // the file's own start point
      place(t, from, to, owner);
    } else if (type == "SOLID" || type == "TRACE") {
      auto* s = new AcDbSolid(g.p[0], g.p[1], g.p[2], g.p[3]);
      s->setThickness(g.r39);
      s->setNormal(g.normal);
      place(s, from, to, owner);
    } else if (type == "INSERT") {
      auto* r = new AcDbBlockReference(g.p[0], AcDbObjectId());
      r->setScaleFactors(AcGeScale3d(g.has41 && g.r41 != 0 ? g.r41 : 1, g.has42 && g.r42 != 0 ? g.r42 : 1,
                                     g.has43 && g.r43 != 0 ? g.r43 : 1));
      r->setRotation(degToRad(g.r50));
      r->setNormal(g.normal);
      place(r, from, to, owner);
      m_inserts.emplace_back(r, g.s2);
    } else if (type == "LWPOLYLINE") {
      readLwPolyline(from, to, owner, g);
    } else if (type == "POLYLINE") {
      startPolyline(from, to, owner, g);
    } else if (m_classes.count(std::string(type)) || registeredByDxfName(type)) {
      readCustom(type, from, to, owner);
    } else {
      ++m_skipped[std::string(type)];
    }
  }

  uint64_t toHandleOf(size_t from, size_t to) const { return recordHandle(from, to); }

  void readLwPolyline(size_t from, size_t to, AcDbBlockTableRecord* owner, const Geo& g) {
    // Room for the vertices the record holds (one group 10 each), made once.
    unsigned points = 0;
    for (size_t i = from; i < to; ++i)
      if (m_tags[i].code == 10) ++points;
    auto* p = new AcDbPolyline(points);
    int n = -1;
    double x = 0, y = 0, sw = 0, ew = 0, b = 0;
    bool any = false;
    double constWidth = g.has43 ? g.r43 : -1;
    auto flush = [&] {
      if (!any) return;
      p->addVertexAt(p->numVerts(), AcGePoint2d(x, y), b, constWidth >= 0 ? constWidth : sw,
                     constWidth >= 0 ? constWidth : ew);
      x = y = sw = ew = b = 0;
      any = false;
    };
    for (size_t i = from; i < to; ++i) {
      const RawTag& t = m_tags[i];
      switch (t.code) {
        case 10: flush(); x = toDouble(t); any = true; ++n; break;
        case 20: y = toDouble(t); break;
        case 40: if (n >= 0) sw = std::fabs(toDouble(t)); break;
        case 41: if (n >= 0) ew = std::fabs(toDouble(t)); break;
        case 42: if (n >= 0) b = toDouble(t); break;
        default: break;
      }
    }
    flush();
    p->setElevation(g.r38);
    p->setThickness(g.r39);
    p->setNormal(g.normal);
    p->setClosed((g.i70 & 1) != 0);
    p->setPlinegen((g.i70 & 128) != 0);
    if (constWidth >= 0) p->setConstantWidth(constWidth);
    place(p, from, to, owner);
  }

  void startPolyline(size_t from, size_t to, AcDbBlockTableRecord* owner, const Geo& g) {
    if (g.i70 & (16 | 64)) {  // meshes and polyface meshes are not kept
      ++m_skipped["POLYLINE (mesh)"];
      m_skipVertices = true;
      return;
    }
    m_skipVertices = false;
    AcDbHeavyPolyline* p;
    if (g.i70 & 8) {
      auto* p3 = new AcDb3dPolyline();
      p3->setPolyType(g.i75 == 5 ? AcDb::k3dQuadSplinePoly : g.i75 == 6 ? AcDb::k3dCubicSplinePoly : AcDb::k3dSimplePoly);
      p = p3;
    } else {
      auto* p2 = new AcDb2dPolyline();
      p2->setElevation(g.p[0].z);
      p2->setThickness(g.r39);
      p2->setNormal(g.normal);
      p2->setDefaultStartWidth(std::fabs(g.r40));
      p2->setDefaultEndWidth(std::fabs(g.r41));
      if (g.i70 & 128) p2->setLinetypeGenerationOn();
      p2->setPolyType(g.i75 == 5 ? AcDb::k2dQuadSplinePoly : g.i75 == 6 ? AcDb::k2dCubicSplinePoly : AcDb::k2dSimplePoly);
      p = p2;
    }
    p->setClosed((g.i70 & 1) != 0);
    readCommon(p, from, to);
    m_poly = p;
    m_polyOwner = owner;
    m_polyHandle = recordHandle(from, to);
    m_polyVertices.clear();
  }

  void readVertex(size_t from, size_t to) {
    if (!m_poly) return;
    Geo g = readGeo(from, to);
    if (g.i70 & 16) return;  // spline frame control points are generated, not kept
    AcDbEntity* v;
    if (AcDb2dPolyline::cast(m_poly)) {
      auto* v2 = new AcDb2dVertex(g.p[0], g.r42, std::fabs(g.r40), std::fabs(g.r41));
      if (g.i70 & 2) v2->setTangent(degToRad(g.r50));
      v = v2;
    } else {
      v = new AcDb3dPolylineVertex(g.p[0]);
    }
    readCommon(v, from, to);
    m_polyVertices.emplace_back(v, recordHandle(from, to));
  }

  void finishPolyline(uint64_t seqend) {
    if (!m_poly) {
      m_skipVertices = false;
      return;
    }
    AcDbHeavyPolyline* p = m_poly;
    m_poly = nullptr;
    p->setSeqendHandleDirect(seqend);
    AcDbStub* s = m_db.addObjectDirect(p, m_polyOwner->objectId(), m_polyHandle);
    m_polyOwner->addEntityDirect(s);
    for (auto& [v, h] : m_polyVertices) {
      p->appendVertexDirect(v);
      m_db.addObjectDirect(v, p->objectId(), h, true);
    }
    m_polyVertices.clear();
  }

  const AcRxClass* registeredByDxfName(std::string_view type) const {
    for (const auto& [name, obj] : acrxClassDictionary->entries()) {
      auto* c = AcRxClass::cast(obj);
      if (c && c->dxfName() == type && c->constructor()) return c;
    }
    return nullptr;
  }

  void readCustom(std::string_view type, size_t from, size_t to, AcDbBlockTableRecord* owner) {
    ClassInfo info;
    auto it = m_classes.find(std::string(type));
    if (it != m_classes.end()) {
      info = it->second;
    } else if (const AcRxClass* c = registeredByDxfName(type)) {
      info = {c->name(), c->dxfName(), c->appName(), c->proxyFlags()};
    }
    // The fields follow the first subclass marker after the common ones.
    DxfTags fields;
    bool inFields = false;
    std::string pending;  // groups 3 of a long string
    for (size_t i = from; i < to; ++i) {
      const RawTag& t = m_tags[i];
      if (!inFields) {
        if (t.code == 100 && trimView(t.value()) != "AcDbEntity") inFields = true;
        continue;
      }
      if (t.code == 102) {  // an application group {...}: passed over
        while (i + 1 < to && !(m_tags[i].code == 102 && trimView(m_tags[i].value()) == "}")) ++i;
        continue;
      }
      if (t.code == 3) {
        pending += decode(t.value());
        continue;
      }
      if (t.code == 1) {
        fields.push_back(DxfTag{1, pending + decode(t.value())});
        pending.clear();
        continue;
      }
      fields.push_back(DxfTag{t.code, std::string(trimView(t.value()))});
    }
    auto* proxy = new AcDbProxyEntity();
    proxy->setOriginal(info.className, info.registered, info.app, info.flags);
    proxy->setFiledData(std::move(fields));
    place(proxy, from, to, owner);
    m_customs.push_back(proxy->stub());
  }

  // ---- objects ----
  void readObjects() {
    m_sectionClosed = false;
    while (m_pos < m_tags.size()) {
      if (atEndSec()) return;
      size_t end = recordEnd();
      std::string_view type = trimView(m_tags[m_pos].value());
      size_t from = m_pos + 1;
      m_pos = end;
      uint64_t h = recordHandle(from, end);
      uint64_t owner = 0;
      // The owner is the first 330 outside an application group.
      for (size_t i = from; i < end; ++i) {
        if (m_tags[i].code == 102 && trimView(m_tags[i].value()) != "}") {
          while (i < end && !(m_tags[i].code == 102 && trimView(m_tags[i].value()) == "}")) ++i;
          continue;
        }
        if (m_tags[i].code == 330) {
          owner = toHandle(m_tags[i].value());
          break;
        }
      }
      if (type == "DICTIONARY") {
        auto* d = new AcDbDictionary();
        std::vector<std::pair<std::string, uint64_t>> entries;
        std::string key;
        for (size_t i = from; i < end; ++i) {
          const RawTag& t = m_tags[i];
          if (t.code == 3) key = decode(t.value());
          else if ((t.code == 350 || t.code == 360) && !key.empty()) entries.emplace_back(key, toHandle(t.value()));
        }
        bool root = !m_sawRoot;
        m_sawRoot = true;
        AcDbStub* s = m_db.addObjectDirect(d, AcDbObjectId(), h);
        m_dicts.push_back({s, root ? 0 : owner, std::move(entries)});
      } else if (type == "GROUP") {
        auto* g = new AcDbGroup();
        std::vector<uint64_t> members;
        AcDbObject::FilingScope scope(g);
        for (size_t i = from; i < end; ++i) {
          const RawTag& t = m_tags[i];
          if (t.code == 300) g->setDescription(decode(t.value()).c_str());
          else if (t.code == 71) g->setSelectable(toInt(t.value()) != 0);
          else if (t.code == 340) members.push_back(toHandle(t.value()));
        }
        AcDbStub* s = m_db.addObjectDirect(g, AcDbObjectId(), h);
        m_groups.push_back({s, owner, std::move(members)});
      } else if (type == "LAYOUT") {
        auto* l = new AcDbLayout();
        AcDbObject::FilingScope scope(l);
        bool inLayout = false;
        uint64_t block = 0;
        for (size_t i = from; i < end; ++i) {
          const RawTag& t = m_tags[i];
          if (t.code == 100) inLayout = trimView(t.value()) == "AcDbLayout";
          if (!inLayout) continue;
          if (t.code == 1) l->setLayoutName(decode(t.value()).c_str());
          else if (t.code == 71) l->setTabOrder(static_cast<int>(toInt(t.value())));
          else if (t.code == 330) block = toHandle(t.value());
        }
        AcDbStub* s = m_db.addObjectDirect(l, AcDbObjectId(), h);
        m_layouts.push_back({s, owner, block});
      }
    }
  }

  AcDbObjectId idOf(uint64_t h) const {
    if (h == 0) return AcDbObjectId();
    AcDbStub* s = m_db.stubForHandle(h);
    return s && s->object ? AcDbObjectId(s) : AcDbObjectId();
  }

  // ---- the end: links by handle, defaults, custom classes ----
  void finish() {
    finishPolyline(0);
    // The first dictionary of the file is its root (the named-objects
    // dictionary), unless the file names an owner of it: no other object of
    // the drawing is one yet.
    if (!m_dicts.empty() && m_dicts.front().owner == 0) m_db.setNamedObjectsDictionaryDirect(m_dicts.front().stub);
    // A file without TABLES, BLOCKS or ENTITIES (a header alone, or only
    // EOF) is an empty drawing: its tables are made here.
    m_db.ensureTables();
    // The marks' handles of the file replace the ones the block records took when they were made.
    for (auto& [block, h] : m_blockBegin) {
      if (!h) continue;
      m_db.releaseHandleDirect(block->beginHandle());
      block->setMarkHandlesDirect(m_db.reserveHandleDirect(h), block->endHandle());
    }
    for (auto& [block, h] : m_blockEnd) {
      if (!h) continue;
      m_db.releaseHandleDirect(block->endHandle());
      block->setMarkHandlesDirect(block->beginHandle(), m_db.reserveHandleDirect(h));
    }
    for (auto& [layer, name] : m_layerLinetype) {
      AcDbObjectId lt = linetypeId(name);
      layer->setLinetypeDirect(lt == m_db.byLayerLinetype() ? m_db.continuousLinetype() : lt);
    }
    auto* blocks = AcDbBlockTable::cast(m_db.blockTableId().stub()->object);
    for (auto& [ref, name] : m_inserts) {
      AcDbStub* s = blocks->findStub(name.c_str(), false);
      AcDbObject::FilingScope scope(ref);
      if (s) ref->setBlockTableRecord(AcDbObjectId(s));
      else transcriptLine("DXF: block \"" + name + "\" of an insert is missing");
    }
    // Dictionaries: entries and owners.
    for (auto& d : m_dicts) {
      auto* dict = AcDbDictionary::cast(d.stub->object);
      for (auto& [key, h] : d.entries) {
        AcDbObjectId id = idOf(h);
        if (id.isNull()) continue;
        dict->setAtDirect(key, id.stub());
        id.stub()->object->setOwnerDirect(dict->objectId());
      }
    }
    for (auto& d : m_dicts)
      if (d.owner) {
        AcDbObjectId o = idOf(d.owner);
        if (!o.isNull()) d.stub->object->setOwnerDirect(o);
      }
    for (auto& g : m_groups) {
      auto* group = AcDbGroup::cast(g.stub->object);
      std::vector<AcDbObjectId> ids;
      for (uint64_t h : g.members) {
        AcDbObjectId id = idOf(h);
        if (!id.isNull() && AcDbEntity::cast(id.stub()->object)) ids.push_back(id);
      }
      group->setIdsDirect(std::move(ids));
      if (group->ownerId().isNull()) group->setOwnerDirect(idOf(g.owner));
    }
    for (auto& l : m_layouts) {
      auto* layout = AcDbLayout::cast(l.stub->object);
      AcDbObject::FilingScope scope(layout);
      layout->setBlockTableRecordId(idOf(l.block));
      if (layout->ownerId().isNull()) layout->setOwnerDirect(idOf(l.owner));
    }
    m_db.setTableIdsDirect();
    m_db.ensureDefaults();
    // Header values that name records.
    if (!m_clayer.empty()) {
      auto* t = AcDbLayerTable::cast(m_db.layerTableId().stub()->object);
      if (AcDbStub* s = t->findStub(m_clayer.c_str(), false)) m_db.setClayer(AcDbObjectId(s));
    }
    if (!m_celtype.empty()) {
      auto* t = AcDbLinetypeTable::cast(m_db.linetypeTableId().stub()->object);
      if (AcDbStub* s = t->findStub(m_celtype.c_str(), false)) m_db.setCeltype(AcDbObjectId(s));
    }
    if (!m_textstyle.empty()) {
      auto* t = AcDbTextStyleTable::cast(m_db.textStyleTableId().stub()->object);
      if (AcDbStub* s = t->findStub(m_textstyle.c_str(), false)) m_db.setTextstyle(AcDbObjectId(s));
    }
    m_db.setInsbase(m_insbase);
    m_db.setExtentsDirect(m_extmin, m_extmax);
    // Custom entities become their classes where those are registered.
    for (AcDbStub* s : m_customs) reviveProxy(s);
    for (auto& [type, n] : m_skipped)
      transcriptLine("DXF: " + std::to_string(n) + " entities of type " + type + " are not kept");
  }

  struct DictRead {
    AcDbStub* stub;
    uint64_t owner;
    std::vector<std::pair<std::string, uint64_t>> entries;
  };
  struct GroupRead {
    AcDbStub* stub;
    uint64_t owner;
    std::vector<uint64_t> members;
  };
  struct LayoutRead {
    AcDbStub* stub;
    uint64_t owner;
    uint64_t block;
  };

  AcDbDatabase& m_db;
  std::vector<RawTag> m_tags;
  size_t m_pos = 0;
  bool m_utf8 = false;
  bool m_sectionClosed = true;
  bool m_sawRoot = false;
  bool m_skipVertices = false;
  AcDbSymbolTable* m_table = nullptr;
  std::map<std::string, ClassInfo> m_classes;
  std::string m_clayer, m_celtype, m_textstyle;
  AcGePoint3d m_insbase;
  AcGePoint3d m_extmin{1e20, 1e20, 1e20}, m_extmax{-1e20, -1e20, -1e20};
  std::map<AcDbLayerTableRecord*, std::string> m_layerLinetype;
  std::map<AcDbBlockTableRecord*, uint64_t> m_blockBegin, m_blockEnd;
  std::vector<std::pair<AcDbBlockReference*, std::string>> m_inserts;
  AcDbHeavyPolyline* m_poly = nullptr;
  AcDbBlockTableRecord* m_polyOwner = nullptr;
  uint64_t m_polyHandle = 0;
  std::vector<std::pair<AcDbEntity*, uint64_t>> m_polyVertices;
  std::vector<AcDbStub*> m_customs;
  std::vector<DictRead> m_dicts;
  std::vector<GroupRead> m_groups;
  std::vector<LayoutRead> m_layouts;
  std::map<std::string, int> m_skipped;
  std::unordered_map<std::string_view, AcDbObjectId> m_layerOfText, m_linetypeOfText;
};

}  // namespace

Acad::ErrorStatus readDxfFromString(AcDbDatabase& db, std::string_view data, std::string& error) {
  if (data.rfind("AutoCAD Binary DXF", 0) == 0) {
    error = "binary DXF is not supported";
    return Acad::eNotADrawing;
  }
  if (data.size() >= 6 && data.substr(0, 4) == "AC10") {
    error = "a DWG file (only DXF drawings are read)";
    return Acad::eNotADrawing;
  }
  std::vector<RawTag> tags;
  if (!tokenize(data, tags, error)) return Acad::eBadDxfSequence;
  if (tags.empty()) {
    error = "the file is empty";
    return Acad::eNotADrawing;
  }
  db.clearDirect();
  Reader reader(db, std::move(tags));
  return reader.run(error);
}

Acad::ErrorStatus readDxf(AcDbDatabase& db, const std::string& path, std::string& error) {
  FILE* f = openFile(path.c_str(), "rb");
  if (!f) {
    error = "cannot open " + path;
    return Acad::eFileNotFound;
  }
  // A regular file in one read into a string of its size; whatever a file
  // that grows meanwhile adds (and anything that is no regular file) is read
  // after it.
  std::string data;
  struct stat st;
  if (::fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    data.resize(static_cast<size_t>(st.st_size));
    data.resize(std::fread(data.data(), 1, data.size(), f));
  }
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) {
    error = "cannot read " + path;
    return Acad::eFileAccessErr;
  }
  return readDxfFromString(db, data, error);
}

}  // namespace platform
