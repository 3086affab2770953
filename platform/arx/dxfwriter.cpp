// Writes a database as a DXF file (AC1015, ANSI_936); see dxffile.h.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
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
#include "arx/gidrawing.h"
#include "crt/numtext.h"
#include "crt/textfile.h"
#include "win/transcript.h"

namespace platform {

namespace {

// Entity type names that plain entities use; a custom class may not take them.
const std::set<std::string>& reservedTypeNames() {
  static const std::set<std::string> names = {
      "3DFACE", "3DSOLID", "ACAD_PROXY_ENTITY", "ARC", "ATTDEF", "ATTRIB", "BLOCK", "BODY", "CIRCLE",
      "CLASS", "DIMENSION", "ELLIPSE", "ENDBLK", "ENDSEC", "ENDTAB", "EOF", "HATCH", "IMAGE", "INSERT",
      "LEADER", "LINE", "LWPOLYLINE", "MLINE", "MTEXT", "OLE2FRAME", "OLEFRAME", "POINT", "POLYLINE", "RAY",
      "REGION", "SECTION", "SEQEND", "SHAPE", "SOLID", "SPLINE", "TABLE", "TEXT", "TOLERANCE", "TRACE",
      "VERTEX", "VIEWPORT", "WIPEOUT", "XLINE", "DICTIONARY", "GROUP", "LAYOUT"};
  return names;
}

bool validTypeName(const std::string& n) {
  if (n.empty() || n[0] < 'A' || n[0] > 'Z') return false;
  for (char c : n)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return !reservedTypeNames().count(n);
}

// What an object is for the file: a plain entity of one of the kinds written
// as such, a custom entity, one of the objects of the OBJECTS section, or
// something else.
enum class Kind {
  kLine, kCircle, kArc, kPoint, kText, kSolid, kInsert, kLwPolyline, k2dPolyline, k3dPolyline, kCustom,
  kDictionary, kGroup, kLayout, kOther
};

Kind kindOfClass(const AcRxClass* c) {
  if (c == AcDbLine::desc()) return Kind::kLine;
  if (c == AcDbCircle::desc()) return Kind::kCircle;
  if (c == AcDbArc::desc()) return Kind::kArc;
  if (c == AcDbPoint::desc()) return Kind::kPoint;
  if (c == AcDbText::desc()) return Kind::kText;
  if (c == AcDbSolid::desc()) return Kind::kSolid;
  if (c == AcDbBlockReference::desc()) return Kind::kInsert;
  if (c == AcDbPolyline::desc()) return Kind::kLwPolyline;
  if (c == AcDb2dPolyline::desc()) return Kind::k2dPolyline;
  if (c == AcDb3dPolyline::desc()) return Kind::k3dPolyline;
  if (!c) return Kind::kOther;
  if (c->isDerivedFrom(AcDbEntity::desc())) return Kind::kCustom;
  if (c->isDerivedFrom(AcDbDictionary::desc())) return Kind::kDictionary;
  if (c->isDerivedFrom(AcDbGroup::desc())) return Kind::kGroup;
  if (c->isDerivedFrom(AcDbLayout::desc())) return Kind::kLayout;
  return Kind::kOther;
}

bool isEntityKind(Kind k) { return k <= Kind::kCustom; }

// The kind of every class met, worked out once: a save asks it of every
// object several times, and a drawing has only a few classes.
class KindCache {
 public:
  Kind operator()(const AcRxObject* o) {
    const AcRxClass* c = o->isA();
    for (const auto& [cls, kind] : m_known)
      if (cls == c) return kind;
    Kind k = kindOfClass(c);
    m_known.emplace_back(c, k);
    return k;
  }

 private:
  std::vector<std::pair<const AcRxClass*, Kind>> m_known;
};

struct ClassEntry {
  std::string className, registered, app, fileName;
  int flags = 0;
  int count = 0;
};

template <class T>
const T* objectOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->object ? T::cast(s->object) : nullptr;
}

class Writer {
 public:
  Writer(AcDbDatabase& db, const DxfWriteOptions& opt) : m_db(db), m_opt(opt) {}

  // The file in two parts: header and classes, then the rest. The rest is
  // written first, so that the header can give the handle seed that the
  // exploded entities reach.
  void run(std::string& head, std::string& body) {
    m_out.reserve(std::max<size_t>(1 << 20, m_db.allStubs().size() * 200));
    m_highest = m_db.highestHandle();
    m_tempHandle = m_highest + 1;
    m_db.updateExt();
    collectLayouts();
    collectClasses();
    writeTables();
    writeBlocks();
    writeEntities();
    writeObjects();
    str(0, "EOF");
    body = std::move(m_out);
    m_out.clear();
    writeHeader();
    writeClasses();
    head = std::move(m_out);
  }

 private:
  // ---- tags ----
  void append(const char* p, size_t n) { m_out.append(p, n); }
  void endLine() { m_out.append("\r\n", 2); }
  // A group code, right-aligned in three columns, and its line end, put
  // before `out`; returns where it begins (at least 16 bytes before `out`
  // must be free).
  static char* codeBefore(char* out, int c) {
    char* p = out;
    *--p = '\n';
    *--p = '\r';
    unsigned v = static_cast<unsigned>(c < 0 ? -c : c);
    do {
      *--p = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v);
    if (c < 0) *--p = '-';
    while (out - p < 5) *--p = ' ';
    return p;
  }
  void code(int c) {
    char buf[16];
    char* p = codeBefore(buf + sizeof buf, c);
    append(p, static_cast<size_t>(buf + sizeof buf - p));
  }
  // A group whose value is at most 40 bytes, `fill` writing it at the given
  // place and returning its end: the two lines go out in one append.
  template <class Fill>
  void shortGroup(int c, Fill fill) {
    char buf[16 + 40 + 2];
    char* value = buf + 16;
    char* first = codeBefore(value, c);
    char* end = fill(value, buf + sizeof buf - 2);
    *end++ = '\r';
    *end++ = '\n';
    append(first, static_cast<size_t>(end - first));
  }
  void str(int c, std::string_view v) {
    if (v.size() <= 40) {
      shortGroup(c, [&](char* out, char*) {
        std::memcpy(out, v.data(), v.size());
        return out + v.size();
      });
      return;
    }
    code(c);
    append(v.data(), v.size());
    endLine();
  }
  // A text value: control characters with a caret, then GBK.
  void text(int c, std::string_view utf8) {
    code(c);
    if (isPlain(utf8)) {
      append(utf8.data(), utf8.size());
    } else {
      std::string enc = encodeText(utf8);
      append(enc.data(), enc.size());
    }
    endLine();
  }
  static bool isPlain(std::string_view s) {
    for (char ch : s) {
      auto u = static_cast<unsigned char>(ch);
      if (u < 0x20 || u >= 0x80 || ch == '^') return false;
    }
    return true;
  }
  static std::string encodeText(std::string_view utf8) {
    if (isPlain(utf8)) return std::string(utf8);
    std::string s;
    s.reserve(utf8.size() + 4);
    for (char ch : utf8) {
      auto u = static_cast<unsigned char>(ch);
      if (u < 0x20) {
        s += '^';
        s += static_cast<char>(u + 0x40);
      } else if (ch == '^') {
        s += "^ ";
      } else {
        s += ch;
      }
    }
    return utf8ToDxfGbk(s);
  }
  void integer(int c, long long v) {
    shortGroup(c, [v](char* out, char* last) { return std::to_chars(out, last, v).ptr; });
  }
  // The shortest text that reads back as the same double (at most 24 bytes).
  void real(int c, double v) {
    shortGroup(c, [v](char* out, char* last) {
      if (!std::isfinite(v) || v == 0) {
        *out = '0';
        return out + 1;
      }
      return formatShortest(out, last, v);
    });
  }
  // Angles are written in degrees to 15 digits: reading and writing again
  // gives the same text (the two conversions err far below the last digit).
  void angle(int c, double rad) {
    double deg = rad * 180.0 / std::numbers::pi;
    shortGroup(c, [deg](char* out, char* last) {
      return formatGeneral(out, last, std::isfinite(deg) ? deg : 0.0, 15);
    });
  }
  void handle(int c, uint64_t h) {
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = end;
    do {
      *--p = "0123456789ABCDEF"[h & 15];
      h >>= 4;
    } while (h);
    str(c, std::string_view(p, static_cast<size_t>(end - p)));
  }
  void point(int c, const AcGePoint3d& p) {
    real(c, p.x);
    real(c + 10, p.y);
    real(c + 20, p.z);
  }
  void roundedPoint(int c, const AcGePoint3d& p) {
    for (int i = 0; i < 3; ++i) {
      char buf[32];
      char* end = formatGeneral(buf, buf + sizeof buf, std::isfinite(p[i]) ? p[i] : 0.0, 12);
      str(c + 10 * i, std::string_view(buf, static_cast<size_t>(end - buf)));
    }
  }
  void normal(const AcGeVector3d& n) {
    if (n.x == 0 && n.y == 0 && n.z == 1) return;
    real(210, n.x);
    real(220, n.y);
    real(230, n.z);
  }
  // A record's name as the file writes it, converted once per record: every
  // entity names its layer, and many their line type.
  const std::string& recordText(AcDbObjectId id) {
    auto [it, fresh] = m_recordText.try_emplace(id.stub());
    if (fresh) it->second = encodeText(nameOf(id));
    return it->second;
  }
  static uint64_t handleOf(AcDbObjectId id) { return id.isNull() ? 0 : id.handle().value(); }
  static std::string_view nameOf(AcDbObjectId id) {
    const AcDbSymbolTableRecord* r = objectOf<AcDbSymbolTableRecord>(id);
    return r ? std::string_view(r->name()) : std::string_view();
  }

  // ---- what the file holds ----
  Kind kindOf(const AcRxObject* o) { return m_kinds(o); }
  // The object as an entity (null for anything else): the same answer as
  // AcDbEntity::cast, from the kind cache.
  const AcDbEntity* entityOf(const AcDbObject* o) {
    return o && isEntityKind(kindOf(o)) ? static_cast<const AcDbEntity*>(o) : nullptr;
  }
  bool isCustom(const AcDbEntity* e) { return kindOf(e) == Kind::kCustom; }

  template <class F>
  void forEachEntity(F f) {
    const AcDbBlockTable* bt = objectOf<AcDbBlockTable>(m_db.blockTableId());
    if (!bt) return;
    for (AcDbStub* rs : bt->recordStubs()) {
      const AcDbBlockTableRecord* b = rs->object ? AcDbBlockTableRecord::cast(rs->object) : nullptr;
      if (!b || b->isErased()) continue;
      for (AcDbStub* es : b->entityStubs()) {
        const AcDbEntity* e = entityOf(es->object);
        if (e && !e->isErased()) f(e);
      }
    }
  }

  void collectClasses() {
    // No object of the drawing is of a custom class: no entity to count
    // (spares a walk over every entity).
    if (m_opt.explodeCustom || !m_anyCustom) return;
    forEachEntity([this](const AcDbEntity* e) {
      if (!isCustom(e)) return;
      ClassEntry entry;
      if (const AcDbProxyEntity* p = AcDbProxyEntity::cast(e)) {
        entry = {p->originalClassName(), p->originalDxfName(), p->applicationDescription(), "", p->proxyFlags(), 0};
      } else {
        AcRxClass* c = e->isA();
        entry = {c->name(), c->dxfName(), c->appName(), "", c->proxyFlags(), 0};
      }
      auto it = m_classIndex.find(entry.className);
      if (it == m_classIndex.end()) {
        m_classIndex[entry.className] = m_classes.size();
        m_classes.push_back(entry);
        it = m_classIndex.find(entry.className);
      }
      ++m_classes[it->second].count;
    });
    // Names that stand as they are come first; the others take safe names around them.
    std::set<std::string> taken;
    for (ClassEntry& c : m_classes)
      if (validTypeName(c.registered) && !taken.count(c.registered)) {
        c.fileName = c.registered;
        taken.insert(c.fileName);
      }
    for (ClassEntry& c : m_classes) {
      if (!c.fileName.empty()) continue;
      std::string base;
      for (char ch : c.className) {
        char u = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch;
        base += ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_') ? u : '_';
      }
      if (base.empty() || base[0] < 'A' || base[0] > 'Z') base = "X" + base;
      std::string name = base;
      for (int n = 2; taken.count(name) || reservedTypeNames().count(name); ++n) name = base + "_" + std::to_string(n);
      c.fileName = name;
      taken.insert(name);
    }
  }

  // One walk over every object: the layouts of the blocks, the objects the
  // OBJECTS section writes (in the drawing's order) and whether any object
  // is of a custom class. Each object is looked at once: the walk is paced
  // by memory, not by the checks.
  void collectLayouts() {
    for (AcDbStub* s : m_db.allStubs()) {
      if (!s->object) continue;
      Kind kind = kindOf(s->object);
      if (kind == Kind::kCustom) m_anyCustom = true;
      if (kind == Kind::kDictionary || kind == Kind::kGroup || kind == Kind::kLayout) m_objectStubs.push_back(s);
      const AcDbLayout* l = kind == Kind::kLayout ? static_cast<const AcDbLayout*>(s->object) : nullptr;
      if (l && !l->isErased() && !l->getBlockTableRecordId().isNull())
        m_layoutOfBlock[l->getBlockTableRecordId().stub()] = s->handle;
    }
  }

  // ---- sections ----
  void writeHeader() {
    str(0, "SECTION");
    str(2, "HEADER");
    str(9, "$ACADVER");
    str(1, "AC1015");
    str(9, "$ACADMAINTVER");
    integer(70, 6);
    str(9, "$DWGCODEPAGE");
    str(3, "ANSI_936");
    str(9, "$INSBASE");
    point(10, m_db.insbase());
    // The extents are written to 12 digits: they follow from the entities,
    // whose angles come back from degrees a few units of the last place off.
    str(9, "$EXTMIN");
    roundedPoint(10, m_db.extmin());
    str(9, "$EXTMAX");
    roundedPoint(10, m_db.extmax());
    str(9, "$LIMMIN");
    real(10, 0);
    real(20, 0);
    str(9, "$LIMMAX");
    real(10, 420);
    real(20, 297);
    str(9, "$LTSCALE");
    real(40, m_db.ltscale());
    str(9, "$CELTSCALE");
    real(40, m_db.celtscale());
    str(9, "$TEXTSIZE");
    real(40, m_db.textsize());
    str(9, "$CLAYER");
    text(8, nameOf(m_db.clayer()));
    str(9, "$CELTYPE");
    text(6, nameOf(m_db.celtype()));
    str(9, "$TEXTSTYLE");
    text(7, nameOf(m_db.textstyle()));
    str(9, "$MEASUREMENT");
    integer(70, 1);
    str(9, "$HANDSEED");
    handle(5, std::max(m_tempHandle, m_highest + 1));
    str(0, "ENDSEC");
  }

  void writeClasses() {
    str(0, "SECTION");
    str(2, "CLASSES");
    for (const ClassEntry& c : m_classes) {
      str(0, "CLASS");
      text(1, c.fileName);
      text(2, c.className);
      text(3, c.app);
      if (c.fileName != c.registered) text(4, c.registered);
      integer(90, c.flags);
      integer(280, 0);
      integer(281, 1);
    }
    str(0, "ENDSEC");
  }

  void tableHead(const AcDbSymbolTable* t, size_t count) {
    str(0, "TABLE");
    str(2, t->dxfTableName());
    handle(5, t->handle().value());
    handle(330, 0);
    str(100, "AcDbSymbolTable");
    integer(70, static_cast<long long>(count));
  }

  void recordHead(const char* type, const AcDbSymbolTableRecord* r, const char* subclass) {
    str(0, type);
    handle(std::strcmp(type, "DIMSTYLE") == 0 ? 105 : 5, r->handle().value());
    handle(330, handleOf(r->ownerId()));
    str(100, "AcDbSymbolTableRecord");
    str(100, subclass);
    text(2, r->name());
  }

  template <class Record, class F>
  void writeTable(AcDbObjectId tableId, const char* type, const char* subclass, F body) {
    const AcDbSymbolTable* t = objectOf<AcDbSymbolTable>(tableId);
    if (!t) return;
    std::vector<const Record*> recs;
    for (AcDbStub* s : t->recordStubs()) {
      const Record* r = s->object ? Record::cast(s->object) : nullptr;
      if (r && !r->isErased()) recs.push_back(r);
    }
    tableHead(t, recs.size());
    if (std::strcmp(type, "DIMSTYLE") == 0) {
      str(100, "AcDbDimStyleTable");
      integer(71, 0);
    }
    for (const Record* r : recs) {
      AcDbObject::FilingScope scope(r);
      recordHead(type, r, subclass);
      body(r);
    }
    str(0, "ENDTAB");
  }

  void writeTables() {
    str(0, "SECTION");
    str(2, "TABLES");
    writeTable<AcDbViewportTableRecord>(m_db.viewportTableId(), "VPORT", "AcDbViewportTableRecord",
                                        [this](const AcDbViewportTableRecord* r) {
                                          integer(70, 0);
                                          real(10, 0); real(20, 0);
                                          real(11, 1); real(21, 1);
                                          real(12, r->centerPoint().x); real(22, r->centerPoint().y);
                                          real(13, 0); real(23, 0);
                                          real(14, 10); real(24, 10);
                                          real(15, 10); real(25, 10);
                                          real(16, 0); real(26, 0); real(36, 1);
                                          real(17, 0); real(27, 0); real(37, 0);
                                          real(40, r->height());
                                          real(41, r->width() / r->height());
                                          real(42, 50); real(43, 0); real(44, 0);
                                          real(50, 0); real(51, 0);
                                          integer(71, 0); integer(72, 100); integer(73, 1); integer(74, 3);
                                          integer(75, 0); integer(76, 0); integer(77, 0); integer(78, 0);
                                        });
    writeTable<AcDbLinetypeTableRecord>(m_db.linetypeTableId(), "LTYPE", "AcDbLinetypeTableRecord",
                                        [this](const AcDbLinetypeTableRecord* r) {
                                          integer(70, 0);
                                          text(3, r->comments());
                                          integer(72, 65);
                                          integer(73, r->numDashes());
                                          real(40, r->patternLength());
                                          for (int i = 0; i < r->numDashes(); ++i) {
                                            real(49, r->dashLengthAt(i));
                                            integer(74, 0);
                                          }
                                        });
    writeTable<AcDbLayerTableRecord>(m_db.layerTableId(), "LAYER", "AcDbLayerTableRecord",
                                     [this](const AcDbLayerTableRecord* r) {
                                       integer(70, (r->isFrozen() ? 1 : 0) | (r->isLocked() ? 4 : 0));
                                       int color = r->colorIndex();
                                       integer(62, r->isOff() ? -color : color);
                                       std::string_view lt = nameOf(r->linetypeObjectId());
                                       text(6, lt.empty() ? "Continuous" : lt);
                                       if (!r->isPlottable()) integer(290, 0);
                                       integer(370, static_cast<int>(r->lineWeight()));
                                     });
    writeTable<AcDbTextStyleTableRecord>(m_db.textStyleTableId(), "STYLE", "AcDbTextStyleTableRecord",
                                         [this](const AcDbTextStyleTableRecord* r) {
                                           integer(70, r->isVertical() ? 4 : 0);
                                           real(40, r->textSize());
                                           real(41, r->xScale());
                                           angle(50, r->obliquingAngle());
                                           integer(71, 0);
                                           real(42, r->priorSize());
                                           text(3, r->fileName());
                                           text(4, r->bigFontFileName());
                                           if (*r->typeface()) {
                                             char* face = nullptr;
                                             Adesk::Boolean bold = false, italic = false;
                                             int charset = 0, pitch = 0;
                                             r->font(face, bold, italic, charset, pitch);
                                             delete[] face;
                                             str(1001, "ACAD");
                                             text(1000, r->typeface());
                                             long long flags = (static_cast<long long>(charset) << 8) | pitch |
                                                               (italic ? 0x01000000LL : 0) | (bold ? 0x02000000LL : 0);
                                             integer(1071, flags);
                                           }
                                         });
    writeTable<AcDbViewTableRecord>(m_db.viewTableId(), "VIEW", "AcDbViewTableRecord",
                                    [this](const AcDbViewTableRecord*) { integer(70, 0); });
    writeTable<AcDbUCSTableRecord>(m_db.UCSTableId(), "UCS", "AcDbUCSTableRecord",
                                   [this](const AcDbUCSTableRecord*) { integer(70, 0); });
    writeTable<AcDbRegAppTableRecord>(m_db.regAppTableId(), "APPID", "AcDbRegAppTableRecord",
                                      [this](const AcDbRegAppTableRecord*) { integer(70, 0); });
    writeTable<AcDbDimStyleTableRecord>(m_db.dimStyleTableId(), "DIMSTYLE", "AcDbDimStyleTableRecord",
                                        [this](const AcDbDimStyleTableRecord*) { integer(70, 0); });
    writeTable<AcDbBlockTableRecord>(m_db.blockTableId(), "BLOCK_RECORD", "AcDbBlockTableRecord",
                                     [this](const AcDbBlockTableRecord* r) {
                                       auto it = m_layoutOfBlock.find(r->stub());
                                       handle(340, it == m_layoutOfBlock.end() ? 0 : it->second);
                                     });
    str(0, "ENDSEC");
  }

  bool isPaperSpace(const AcDbBlockTableRecord* b) const { return b->objectId() == m_db.paperSpaceId(); }

  void writeBlocks() {
    str(0, "SECTION");
    str(2, "BLOCKS");
    const AcDbBlockTable* bt = objectOf<AcDbBlockTable>(m_db.blockTableId());
    for (AcDbStub* rs : bt ? bt->recordStubs() : std::vector<AcDbStub*>()) {
      const AcDbBlockTableRecord* b = rs->object ? AcDbBlockTableRecord::cast(rs->object) : nullptr;
      if (!b || b->isErased()) continue;
      AcDbObject::FilingScope scope(b);
      bool paper = isPaperSpace(b);
      str(0, "BLOCK");
      handle(5, b->beginHandle());
      handle(330, rs->handle);
      str(100, "AcDbEntity");
      if (paper) integer(67, 1);
      str(8, "0");
      str(100, "AcDbBlockBegin");
      text(2, b->name());
      integer(70, b->isAnonymous() ? 1 : 0);
      point(10, b->origin());
      text(3, b->name());
      str(1, "");
      if (!b->isLayout()) writeBlockEntities(b, false);
      str(0, "ENDBLK");
      handle(5, b->endHandle());
      handle(330, rs->handle);
      str(100, "AcDbEntity");
      if (paper) integer(67, 1);
      str(8, "0");
      str(100, "AcDbBlockEnd");
    }
    str(0, "ENDSEC");
  }

  void writeBlockEntities(const AcDbBlockTableRecord* b, bool paper) {
    for (AcDbStub* es : b->entityStubs()) {
      const AcDbEntity* e = entityOf(es->object);
      if (!e || e->isErased()) continue;
      writeEntity(e, es->handle, b->handle().value(), paper);
    }
  }

  void writeEntities() {
    str(0, "SECTION");
    str(2, "ENTITIES");
    if (const auto* ms = objectOf<AcDbBlockTableRecord>(m_db.modelSpaceId())) writeBlockEntities(ms, false);
    if (const auto* ps = objectOf<AcDbBlockTableRecord>(m_db.paperSpaceId())) writeBlockEntities(ps, true);
    str(0, "ENDSEC");
  }

  // ---- entities ----
  void common(const char* type, const AcDbEntity* e, uint64_t h, uint64_t owner, bool paper) {
    str(0, type);
    handle(5, h);
    handle(330, owner);
    str(100, "AcDbEntity");
    if (paper) integer(67, 1);
    const std::string& layer = recordText(e->layerId());
    str(8, layer.empty() ? std::string_view("0") : std::string_view(layer));
    const std::string& lt = recordText(e->linetypeId());
    if (!lt.empty() && lt != "ByLayer") str(6, lt);
    if (e->colorIndex() != 256) integer(62, e->colorIndex());
    if (e->lineWeight() != AcDb::kLnWtByLayer) integer(370, static_cast<int>(e->lineWeight()));
    if (e->linetypeScale() != 1.0) real(48, e->linetypeScale());
    if (e->visibility() != AcDb::kVisible) integer(60, 1);
  }

  void writeEntity(const AcDbEntity* e, uint64_t h, uint64_t owner, bool paper) {
    AcDbObject::FilingScope scope(e);
    Kind kind = kindOf(e);
    if (kind == Kind::kCustom && m_opt.explodeCustom) {
      writeExploded(e, owner, paper);
      return;
    }
    switch (kind) {
      case Kind::kLine: {
        auto* l = static_cast<const AcDbLine*>(e);
        common("LINE", e, h, owner, paper);
        str(100, "AcDbLine");
        if (l->thickness() != 0) real(39, l->thickness());
        point(10, l->startPoint());
        point(11, l->endPoint());
        normal(l->normal());
        break;
      }
      case Kind::kCircle: {
        auto* c = static_cast<const AcDbCircle*>(e);
        common("CIRCLE", e, h, owner, paper);
        str(100, "AcDbCircle");
        if (c->thickness() != 0) real(39, c->thickness());
        point(10, c->center());
        real(40, c->radius());
        normal(c->normal());
        break;
      }
      case Kind::kArc: {
        auto* a = static_cast<const AcDbArc*>(e);
        common("ARC", e, h, owner, paper);
        str(100, "AcDbCircle");
        if (a->thickness() != 0) real(39, a->thickness());
        point(10, a->center());
        real(40, a->radius());
        normal(a->normal());
        str(100, "AcDbArc");
        angle(50, a->startAngle());
        angle(51, a->endAngle());
        break;
      }
      case Kind::kPoint: {
        auto* p = static_cast<const AcDbPoint*>(e);
        common("POINT", e, h, owner, paper);
        str(100, "AcDbPoint");
        point(10, p->position());
        if (p->thickness() != 0) real(39, p->thickness());
        break;
      }
      case Kind::kText:
        writeText(static_cast<const AcDbText*>(e), h, owner, paper);
        break;
      case Kind::kSolid: {
        auto* s = static_cast<const AcDbSolid*>(e);
        common("SOLID", e, h, owner, paper);
        str(100, "AcDbTrace");
        for (Adesk::UInt16 i = 0; i < 4; ++i) {
          AcGePoint3d p;
          s->getPointAt(i, p);
          point(10 + i, p);
        }
        if (s->thickness() != 0) real(39, s->thickness());
        normal(s->normal());
        break;
      }
      case Kind::kInsert: {
        auto* r = static_cast<const AcDbBlockReference*>(e);
        common("INSERT", e, h, owner, paper);
        str(100, "AcDbBlockReference");
        text(2, nameOf(r->blockTableRecord()));
        point(10, r->position());
        AcGeScale3d s = r->scaleFactors();
        if (s.sx != 1) real(41, s.sx);
        if (s.sy != 1) real(42, s.sy);
        if (s.sz != 1) real(43, s.sz);
        if (r->rotation() != 0) angle(50, r->rotation());
        normal(r->normal());
        break;
      }
      case Kind::kLwPolyline:
        writeLwPolyline(static_cast<const AcDbPolyline*>(e), h, owner, paper);
        break;
      case Kind::k2dPolyline:
        write2dPolyline(static_cast<const AcDb2dPolyline*>(e), h, owner, paper);
        break;
      case Kind::k3dPolyline:
        write3dPolyline(static_cast<const AcDb3dPolyline*>(e), h, owner, paper);
        break;
      case Kind::kCustom:
        writeCustom(e, h, owner, paper);
        break;
      case Kind::kDictionary:
      case Kind::kGroup:
      case Kind::kLayout:
      case Kind::kOther:
        break;  // not entities
    }
  }

  void writeText(const AcDbText* t, uint64_t h, uint64_t owner, bool paper) {
    common("TEXT", t, h, owner, paper);
    str(100, "AcDbText");
    if (t->thickness() != 0) real(39, t->thickness());
    point(10, t->position());
    real(40, t->height());
    text(1, t->textString());
    if (t->rotation() != 0) angle(50, t->rotation());
    if (t->widthFactor() != 1.0) real(41, t->widthFactor());
    if (t->oblique() != 0) angle(51, t->oblique());
    std::string_view style = nameOf(t->textStyle());
    text(7, style.empty() ? "Standard" : style);
    int mirror = (t->isMirroredInX() ? 2 : 0) | (t->isMirroredInY() ? 4 : 0);
    if (mirror) integer(71, mirror);
    if (t->horizontalMode() != AcDb::kTextLeft) integer(72, t->horizontalMode());
    if (!t->isDefaultAlignment()) point(11, t->alignmentPoint());
    normal(t->normal());
    str(100, "AcDbText");
    if (t->verticalMode() != AcDb::kTextBase) integer(73, t->verticalMode());
  }

  void writeLwPolyline(const AcDbPolyline* p, uint64_t h, uint64_t owner, bool paper) {
    common("LWPOLYLINE", p, h, owner, paper);
    str(100, "AcDbPolyline");
    unsigned n = p->numVerts();
    integer(90, n);
    integer(70, (p->isClosed() ? 1 : 0) | (p->hasPlinegen() ? 128 : 0));
    double cw = 0;
    bool constant = p->getConstantWidth(cw) == Acad::eOk;
    if (constant) real(43, cw);
    if (p->elevation() != 0) real(38, p->elevation());
    if (p->thickness() != 0) real(39, p->thickness());
    for (unsigned i = 0; i < n; ++i) {
      AcGePoint2d pt;
      double b = 0, sw = 0, ew = 0;
      p->getPointAt(i, pt);
      p->getBulgeAt(i, b);
      p->getWidthsAt(i, sw, ew);
      real(10, pt.x);
      real(20, pt.y);
      if (!constant) {
        real(40, sw);
        real(41, ew);
      }
      if (b != 0) real(42, b);
    }
    normal(p->normal());
  }

  void seqend(const AcDbHeavyPolyline* p, uint64_t h, bool paper) {
    str(0, "SEQEND");
    handle(5, p->seqendHandle() ? p->seqendHandle() : m_tempHandle++);
    handle(330, h);
    str(100, "AcDbEntity");
    if (paper) integer(67, 1);
    std::string_view layer = nameOf(p->layerId());
    text(8, layer.empty() ? "0" : layer);
  }

  uint64_t subHandle(const AcDbEntity* v) { return v->isPersistent() ? v->handle().value() : m_tempHandle++; }

  void write2dPolyline(const AcDb2dPolyline* p, uint64_t h, uint64_t owner, bool paper) {
    common("POLYLINE", p, h, owner, paper);
    str(100, "AcDb2dPolyline");
    integer(66, 1);
    point(10, AcGePoint3d(0, 0, p->elevation()));
    if (p->thickness() != 0) real(39, p->thickness());
    integer(70, (p->isClosed() ? 1 : 0) | (p->isLinetypeGenerationOn() ? 128 : 0));
    if (p->defaultStartWidth() != 0) real(40, p->defaultStartWidth());
    if (p->defaultEndWidth() != 0) real(41, p->defaultEndWidth());
    static const int curveType[] = {0, 0, 5, 6};
    if (p->polyType() != AcDb::k2dSimplePoly) integer(75, curveType[p->polyType()]);
    normal(p->normal());
    for (const AcDbEntity* ve : p->verticesDirect()) {
      if (ve->isErased()) continue;
      auto* v = AcDb2dVertex::cast(ve);
      if (!v) continue;
      AcDbObject::FilingScope scope(v);
      common("VERTEX", p, subHandle(v), h, paper);
      str(100, "AcDbVertex");
      str(100, "AcDb2dVertex");
      AcGePoint3d pos = v->position();
      point(10, AcGePoint3d(pos.x, pos.y, p->elevation()));
      if (v->startWidth() != 0) real(40, v->startWidth());
      if (v->endWidth() != 0) real(41, v->endWidth());
      if (v->bulge() != 0) real(42, v->bulge());
      integer(70, v->isTangentUsed() ? 2 : 0);
      if (v->isTangentUsed()) angle(50, v->tangent());
    }
    seqend(p, h, paper);
  }

  void write3dPolyline(const AcDb3dPolyline* p, uint64_t h, uint64_t owner, bool paper) {
    common("POLYLINE", p, h, owner, paper);
    str(100, "AcDb3dPolyline");
    integer(66, 1);
    point(10, AcGePoint3d());
    integer(70, 8 | (p->isClosed() ? 1 : 0));
    static const int curveType[] = {0, 5, 6};
    if (p->polyType() != AcDb::k3dSimplePoly) integer(75, curveType[p->polyType()]);
    for (const AcDbEntity* ve : p->verticesDirect()) {
      if (ve->isErased()) continue;
      auto* v = AcDb3dPolylineVertex::cast(ve);
      if (!v) continue;
      AcDbObject::FilingScope scope(v);
      common("VERTEX", p, subHandle(v), h, paper);
      str(100, "AcDbVertex");
      str(100, "AcDb3dPolylineVertex");
      point(10, v->position());
      integer(70, 32);
    }
    seqend(p, h, paper);
  }

  void writeCustom(const AcDbEntity* e, uint64_t h, uint64_t owner, bool paper) {
    std::string className;
    if (const AcDbProxyEntity* p = AcDbProxyEntity::cast(e)) className = p->originalClassName();
    else className = e->isA()->name();
    auto it = m_classIndex.find(className);
    if (it == m_classIndex.end()) return;
    const ClassEntry& c = m_classes[it->second];
    TagFiler filer(AcDb::kFileFiler, &m_db);
    Acad::ErrorStatus es = e->dwgOutFields(&filer);
    if (es != Acad::eOk) {
      char hb[24];
      std::snprintf(hb, sizeof hb, "%llX", static_cast<unsigned long long>(h));
      transcriptLine("DXF: " + className + " (handle " + hb + ") could not file its data: " +
                     acadErrorStatusText(es));
    }
    common(c.fileName.c_str(), e, h, owner, paper);
    text(100, className);
    for (const DxfTag& t : filer.tags()) {
      if (t.code == 1 || t.code == 3) {
        writeLongString(t.value);
      } else {
        str(t.code, t.value);
      }
    }
  }

  // A string as groups 3 of at most 250 bytes and a final group 1.
  void writeLongString(const std::string& utf8) {
    std::string enc = encodeText(utf8);
    if (enc.size() <= 250) {
      str(1, enc);
      return;
    }
    // Cut between characters of the UTF-8 text, measuring their encoded size.
    std::string chunk;
    size_t i = 0;
    while (i < utf8.size()) {
      size_t start = i;
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
      i = std::min(utf8.size(), i + n);
      std::string piece = encodeText(utf8.substr(start, i - start));
      if (chunk.size() + piece.size() > 250) {
        str(3, chunk);
        chunk.clear();
      }
      chunk += piece;
    }
    str(1, chunk);
  }

  void writeExploded(const AcDbEntity* e, uint64_t owner, bool paper) {
    GiRecorder rec(&m_db);
    rec.drawEntity(e);
    std::vector<AcDbEntity*> made;
    entitiesFromPrimitives(rec.primitives(), made);
    std::vector<uint64_t>& parts = m_explodedParts[e->handle().value()];
    for (AcDbEntity* m : made) {
      // Geometry without a layer of its own stays on the entity's layer.
      if (m->layerId().isNull()) m->setLayerDirect(e->layerId());
      if (kindOf(m) != Kind::kCustom) {
        parts.push_back(m_tempHandle);
        writeEntity(m, m_tempHandle++, owner, paper);
      }
      delete m;
    }
  }

  // ---- objects ----
  void writeObjects() {
    str(0, "SECTION");
    str(2, "OBJECTS");
    AcDbStub* root = m_db.namedObjectsDictionaryId().stub();
    if (root && root->object) writeObject(root);
    for (AcDbStub* s : m_objectStubs)
      if (s != root && s->object && !s->object->isErased()) writeObject(s);
    str(0, "ENDSEC");
  }

  void writeObject(AcDbStub* s) {
    AcDbObject* o = s->object;
    Kind kind = kindOf(o);
    if (kind != Kind::kDictionary && kind != Kind::kGroup && kind != Kind::kLayout) return;
    AcDbObject::FilingScope scope(o);
    if (kind == Kind::kDictionary) {
      const auto* d = static_cast<const AcDbDictionary*>(o);
      str(0, "DICTIONARY");
      handle(5, s->handle);
      handle(330, handleOf(d->ownerId()));
      str(100, "AcDbDictionary");
      integer(281, 1);
      for (const auto& e : d->entries()) {
        if (!e.stub->object || e.stub->object->isErased()) continue;
        text(3, e.key);
        handle(350, e.stub->handle);
      }
    } else if (kind == Kind::kGroup) {
      const auto* g = static_cast<const AcDbGroup*>(o);
      str(0, "GROUP");
      handle(5, s->handle);
      str(102, "{ACAD_REACTORS");
      handle(330, handleOf(g->ownerId()));
      str(102, "}");
      handle(330, handleOf(g->ownerId()));
      str(100, "AcDbGroup");
      text(300, g->description());
      integer(70, g->isAnonymous() ? 1 : 0);
      integer(71, g->isSelectable() ? 1 : 0);
      for (const AcDbObjectId& id : g->idsDirect()) {
        if (!id.stub()->object || id.stub()->object->isErased()) continue;
        // An entity written as plain parts is in the group through its parts.
        auto parts = m_explodedParts.find(id.handle().value());
        if (parts == m_explodedParts.end()) {
          handle(340, id.handle().value());
        } else {
          for (uint64_t h : parts->second) handle(340, h);
        }
      }
    } else {
      const auto* l = static_cast<const AcDbLayout*>(o);
      str(0, "LAYOUT");
      handle(5, s->handle);
      str(102, "{ACAD_REACTORS");
      handle(330, handleOf(l->ownerId()));
      str(102, "}");
      handle(330, handleOf(l->ownerId()));
      str(100, "AcDbPlotSettings");
      str(1, "");
      str(2, "none_device");
      str(4, "");
      str(6, "");
      for (int c : {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 140, 141}) real(c, 0);
      real(142, 1);
      real(143, 1);
      integer(70, 688);
      integer(72, 0);
      integer(73, 0);
      integer(74, 5);
      str(7, "");
      integer(75, 16);
      real(147, 1);
      real(148, 0);
      real(149, 0);
      str(100, "AcDbLayout");
      text(1, l->layoutName());
      integer(70, 1);
      integer(71, l->getTabOrder());
      real(10, 0); real(20, 0);
      real(11, 420); real(21, 297);
      point(12, AcGePoint3d());
      point(14, AcGePoint3d());
      point(15, AcGePoint3d());
      real(146, 0);
      point(13, AcGePoint3d());
      point(16, AcGePoint3d(1, 0, 0));
      point(17, AcGePoint3d(0, 1, 0));
      integer(76, 0);
      handle(330, handleOf(l->getBlockTableRecordId()));
    }
  }

  AcDbDatabase& m_db;
  DxfWriteOptions m_opt;
  std::string m_out;
  uint64_t m_tempHandle = 1;
  uint64_t m_highest = 0;
  std::vector<ClassEntry> m_classes;
  std::map<std::string, size_t> m_classIndex;
  std::unordered_map<const AcDbStub*, std::string> m_recordText;
  std::unordered_map<const AcDbStub*, uint64_t> m_layoutOfBlock;
  std::unordered_map<uint64_t, std::vector<uint64_t>> m_explodedParts;
  KindCache m_kinds;
  std::vector<AcDbStub*> m_objectStubs;  // dictionaries, groups, layouts
  bool m_anyCustom = false;
};

}  // namespace

std::string writeDxfToString(AcDbDatabase& db, const DxfWriteOptions& options) {
  reviveProxies();
  std::string head, body;
  Writer(db, options).run(head, body);
  return head + body;
}

Acad::ErrorStatus writeDxf(AcDbDatabase& db, const std::string& path, const DxfWriteOptions& options) {
  reviveProxies();
  std::string head, body;
  Writer(db, options).run(head, body);
  // The drawing takes the file's place only once it is written whole.
  head.append(body);
  if (!replaceFile(path.c_str(), head, true)) {
    transcriptLine("Cannot write drawing file " + path + ": " + std::strerror(errno));
    return Acad::eFileAccessErr;
  }
  return Acad::eOk;
}

}  // namespace platform
