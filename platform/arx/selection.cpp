#include "arx/selection.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"
#include "arx/dbproxy.h"
#include "arx/dbstub.h"
#include "arx/gidrawing.h"
#include "arx/edcmdline.h"
#include "arx/prompt_input.h"
#include "win/transcript.h"

namespace {

constexpr long kSetMark = 0x5353;

struct Sets {
  std::map<long, std::vector<AcDbObjectId>> open;
  long next = 1;
  std::vector<AcDbObjectId> previous;
};

Sets& sets() {
  static Sets* s = new Sets();  // lives for the whole run
  return *s;
}

std::vector<AcDbObjectId>* setOf(const ads_name ss) {
  if (!ss || ss[1] != kSetMark) return nullptr;
  auto it = sets().open.find(ss[0]);
  return it == sets().open.end() ? nullptr : &it->second;
}

AcDbObjectId idOfName(const ads_name ename) {
  if (!ename) return AcDbObjectId();
  AcDbDatabase* db = platform::databaseBySerial(ename[1]);
  if (!db || ename[0] <= 0) return AcDbObjectId();
  AcDbStub* s = db->stubForHandle(static_cast<uint64_t>(ename[0]));
  return s && s->object ? AcDbObjectId(s) : AcDbObjectId();
}

void nameOfId(AcDbObjectId id, ads_name ename) {
  ename[0] = static_cast<long>(id.handle().value());
  ename[1] = id.database() ? id.database()->serial() : 0;
}

const AcDbEntity* entityOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->object ? AcDbEntity::cast(s->object) : nullptr;
}

// The type name an entity has in filters (and drawing files).
std::string typeName(const AcDbEntity* e) {
  if (const AcDbProxyEntity* p = AcDbProxyEntity::cast(e)) return p->originalDxfName();
  AcRxClass* c = e->isA();
  if (c == AcDb2dPolyline::desc() || c == AcDb3dPolyline::desc()) return "POLYLINE";
  if (c == AcDbPolyline::desc()) return "LWPOLYLINE";
  std::string d = c ? c->dxfName() : "";
  return d.empty() && c ? c->name() : d;
}

std::string recordName(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  const AcDbSymbolTableRecord* r = s && s->object ? AcDbSymbolTableRecord::cast(s->object) : nullptr;
  return r ? r->name() : "";
}

// ---- wild cards ----

std::vector<uint32_t> codePoints(const char* s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; s[i];) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
    uint32_t cp = n == 0 ? c : (c & (0x3F >> n));
    size_t k = 1;
    for (; k <= static_cast<size_t>(n) && s[i + k]; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += k;
    out.push_back(cp);
  }
  return out;
}

uint32_t fold(uint32_t c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
bool isDigit(uint32_t c) { return c >= '0' && c <= '9'; }
bool isAlpha(uint32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Matches text[ti..] against one alternative pat[pi..pend).
bool matchFrom(const std::vector<uint32_t>& t, size_t ti, const std::vector<uint32_t>& p, size_t pi, size_t pend) {
  while (pi < pend) {
    uint32_t c = p[pi];
    if (c == '*') {
      for (size_t k = ti; k <= t.size(); ++k)
        if (matchFrom(t, k, p, pi + 1, pend)) return true;
      return false;
    }
    if (ti >= t.size()) return false;
    uint32_t x = t[ti];
    if (c == '`' && pi + 1 < pend) {
      if (fold(p[pi + 1]) != fold(x)) return false;
      pi += 2;
    } else if (c == '?') {
      pi += 1;
    } else if (c == '#') {
      if (!isDigit(x)) return false;
      pi += 1;
    } else if (c == '@') {
      if (!isAlpha(x)) return false;
      pi += 1;
    } else if (c == '.') {
      if (isDigit(x) || isAlpha(x)) return false;
      pi += 1;
    } else if (c == '[') {
      size_t q = pi + 1;
      bool negate = q < pend && p[q] == '~';
      if (negate) ++q;
      bool hit = false, closed = false;
      for (; q < pend; ++q) {
        if (p[q] == ']' && q > pi + 1 + (negate ? 1 : 0)) {
          closed = true;
          break;
        }
        if (q + 2 < pend && p[q + 1] == '-' && p[q + 2] != ']') {
          if (fold(x) >= fold(p[q]) && fold(x) <= fold(p[q + 2])) hit = true;
          q += 2;
        } else if (fold(p[q]) == fold(x)) {
          hit = true;
        }
      }
      if (!closed || hit == negate) return false;
      pi = q + 1;
    } else {
      if (fold(c) != fold(x)) return false;
      pi += 1;
    }
    ++ti;
  }
  return ti == t.size();
}

// ---- filters ----

struct Filter {
  const resbuf* rb;
};

bool testOne(const AcDbEntity* e, const resbuf* rb) {
  auto str = [&](const std::string& v) {
    return rb->resval.rstring && platform::wildcardMatch(v.c_str(), rb->resval.rstring);
  };
  switch (rb->restype) {
    case 0:
    case RTDXF0: return str(typeName(e));
    case 8: return str(e->layer());
    case 6: return str(e->linetype());
    case 62: return e->colorIndex() == rb->resval.rint;
    case 67: return (e->ownerId() == e->database()->paperSpaceId()) == (rb->resval.rint != 0);
    case 2: {
      const AcDbBlockReference* r = AcDbBlockReference::cast(e);
      return r && str(recordName(r->blockTableRecord()));
    }
    case 7: {
      const AcDbText* t = AcDbText::cast(e);
      return t && str(recordName(t->textStyle()));
    }
    case 1: {
      const AcDbText* t = AcDbText::cast(e);
      return t && str(t->textStringConst());
    }
    default:
      return false;  // the entity has no such value
  }
}

bool isOp(const resbuf* rb, const char* op) {
  return rb->restype == -4 && rb->resval.rstring && std::strcmp(rb->resval.rstring, op) == 0;
}

// Evaluates tests from `rb` until a closing operator; `ok` false when malformed.
bool evalList(const AcDbEntity* e, const resbuf*& rb, const char* closing, bool anyOf, bool& ok);

bool evalItem(const AcDbEntity* e, const resbuf*& rb, bool& ok) {
  if (rb->restype == -4) {
    if (isOp(rb, "<AND")) {
      rb = rb->rbnext;
      return evalList(e, rb, "AND>", false, ok);
    }
    if (isOp(rb, "<OR")) {
      rb = rb->rbnext;
      return evalList(e, rb, "OR>", true, ok);
    }
    if (isOp(rb, "<NOT")) {
      rb = rb->rbnext;
      if (!rb) {
        ok = false;
        return false;
      }
      bool v = evalItem(e, rb, ok);
      if (!rb || !isOp(rb, "NOT>")) {
        ok = false;
        return false;
      }
      rb = rb->rbnext;
      return !v;
    }
    ok = false;
    return false;
  }
  bool v = testOne(e, rb);
  rb = rb->rbnext;
  return v;
}

bool evalList(const AcDbEntity* e, const resbuf*& rb, const char* closing, bool anyOf, bool& ok) {
  bool result = !anyOf;
  while (rb) {
    if (closing && isOp(rb, closing)) {
      rb = rb->rbnext;
      return result;
    }
    bool v = evalItem(e, rb, ok);
    if (!ok) return false;
    result = anyOf ? (result || v) : (result && v);
  }
  if (closing) ok = false;
  return result;
}

bool passes(const AcDbEntity* e, const resbuf* filter, bool& ok) {
  if (!filter) return true;
  const resbuf* rb = filter;
  return evalList(e, rb, nullptr, false, ok);
}

// Entities of model space, then paper space, in drawing order.
std::vector<AcDbObjectId> allEntities(AcDbDatabase* db) {
  std::vector<AcDbObjectId> out;
  for (AcDbObjectId spaceId : {db->modelSpaceId(), db->paperSpaceId()}) {
    AcDbStub* s = spaceId.stub();
    const AcDbBlockTableRecord* b = s && s->object ? AcDbBlockTableRecord::cast(s->object) : nullptr;
    if (!b) continue;
    for (AcDbStub* es : b->entityStubs())
      if (es->object && !es->object->isErased()) out.push_back(AcDbObjectId(es));
  }
  return out;
}

bool visible(const AcDbEntity* e) {
  if (e->visibility() != AcDb::kVisible) return false;
  AcDbStub* ls = e->layerId().stub();
  const AcDbLayerTableRecord* l = ls && ls->object ? AcDbLayerTableRecord::cast(ls->object) : nullptr;
  return !l || (!l->isOff() && !l->isFrozen());
}

bool parsePoint(const std::string& token, AcGePoint3d& p) {
  double v[3] = {0, 0, 0};
  size_t start = 0;
  int n = 0;
  while (n < 3) {
    size_t comma = token.find(',', start);
    std::string part = token.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!platform::parseDouble(part, v[n])) return false;
    ++n;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (n < 2) return false;
  p.set(v[0], v[1], v[2]);
  return true;
}

// The visible model-space entity nearest to `p` (the last drawn wins a tie).
AcDbObjectId nearestEntity(AcDbDatabase* db, const AcGePoint3d& p) {
  AcDbObjectId best;
  double bestDist = std::numeric_limits<double>::max();
  AcDbStub* ms = db->modelSpaceId().stub();
  const AcDbBlockTableRecord* b = ms && ms->object ? AcDbBlockTableRecord::cast(ms->object) : nullptr;
  if (!b) return best;
  for (AcDbStub* es : b->entityStubs()) {
    const AcDbEntity* e = es->object ? AcDbEntity::cast(es->object) : nullptr;
    if (!e || e->isErased() || !visible(e)) continue;
    platform::GiRecorder rec(db);
    rec.drawEntity(e);
    for (const platform::GiPrimitive& prim : rec.primitives()) {
      double d = platform::primitiveDistance(prim, p);
      if (d <= bestDist) {
        bestDist = d;
        best = AcDbObjectId(es);
      }
    }
  }
  return best;
}

// One answer of an interactive pick: an entity by handle or nearest to a point.
AcDbObjectId pickFromToken(AcDbDatabase* db, const std::string& token, AcGePoint3d* where) {
  if (token.size() > 1 && token[0] == '#') {
    AcDbHandle h(token.c_str() + 1);
    AcDbStub* s = h.isNull() ? nullptr : db->stubForHandle(h.value());
    const AcDbEntity* e = s && s->object ? AcDbEntity::cast(s->object) : nullptr;
    if (!e || e->isErased() || AcDbVertex::cast(e)) return AcDbObjectId();
    if (where) {
      AcGePoint3dArray grips;
      AcDbIntArray a, b;
      AcDbObject::FilingScope scope(e);
      e->getGripPoints(grips, a, b);
      *where = grips.isEmpty() ? AcGePoint3d() : grips[0];
    }
    return AcDbObjectId(s);
  }
  AcGePoint3d p;
  if (!parsePoint(token, p)) return AcDbObjectId();
  if (where) *where = p;
  return nearestEntity(db, p);
}

int storeSet(std::vector<AcDbObjectId> ids, ads_name ss) {
  if (ids.empty()) return RTERROR;
  Sets& s = sets();
  long n = s.next++;
  s.previous = ids;
  s.open[n] = std::move(ids);
  ss[0] = n;
  ss[1] = kSetMark;
  return RTNORM;
}

}  // namespace

namespace platform {

bool wildcardMatch(const char* text, const char* pattern) {
  if (!text || !pattern) return false;
  std::vector<uint32_t> t = codePoints(text), p = codePoints(pattern);
  // Alternatives are separated by unescaped commas; a leading '~' negates one.
  size_t start = 0;
  for (size_t i = 0; i <= p.size(); ++i) {
    if (i < p.size() && p[i] == '`') {
      ++i;
      continue;
    }
    if (i < p.size() && p[i] != ',') continue;
    size_t from = start, to = i;
    bool negate = from < to && p[from] == '~';
    if (negate) ++from;
    bool m = matchFrom(t, 0, p, from, to);
    if (m != negate) return true;
    start = i + 1;
  }
  return false;
}

AcDbObjectIdArray selectionSetIds(const ads_name ss) {
  AcDbObjectIdArray out;
  if (auto* v = setOf(ss))
    for (const AcDbObjectId& id : *v) out.append(id);
  return out;
}

int makeSelectionSet(const AcDbObjectIdArray& ids, ads_name ss) {
  std::vector<AcDbObjectId> v(ids.begin(), ids.end());
  Sets& s = sets();
  long n = s.next++;
  s.open[n] = std::move(v);
  ss[0] = n;
  ss[1] = kSetMark;
  return RTNORM;
}

int openSelectionSets() { return static_cast<int>(sets().open.size()); }

}  // namespace platform

int acedSSGet(const char* str, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss) {
  if (!ss) return RTERROR;
  ss[0] = ss[1] = 0;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db) return RTERROR;
  std::string mode = str ? str : "";
  for (char& c : mode)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  std::vector<AcDbObjectId> candidates;
  if (mode == "X") {
    candidates = allEntities(db);
  } else if (mode == "L") {
    ads_name last;
    if (acdbEntLast(last) == RTNORM) candidates.push_back(idOfName(last));
  } else if (mode == "P") {
    for (const AcDbObjectId& id : sets().previous)
      if (id.isValid() && !id.isErased()) candidates.push_back(id);
  } else if (mode == "W" || mode == "C") {
    if (!pt1 || !pt2) return RTERROR;
    const double* a = static_cast<const double*>(pt1);
    const double* b = static_cast<const double*>(pt2);
    double x0 = std::min(a[0], b[0]), x1 = std::max(a[0], b[0]), y0 = std::min(a[1], b[1]), y1 = std::max(a[1], b[1]);
    for (const AcDbObjectId& id : allEntities(db)) {
      const AcDbEntity* e = entityOf(id);
      AcDbExtents ext;
      if (!e || e->getGeomExtents(ext) != Acad::eOk) continue;
      bool inside = ext.minPoint().x >= x0 && ext.maxPoint().x <= x1 && ext.minPoint().y >= y0 && ext.maxPoint().y <= y1;
      bool touches = ext.maxPoint().x >= x0 && ext.minPoint().x <= x1 && ext.maxPoint().y >= y0 && ext.minPoint().y <= y1;
      if (mode == "W" ? inside : touches) candidates.push_back(id);
    }
  } else if (mode.empty()) {
    std::string token;
    for (;;) {
      int rc = platform::readPromptToken("\nSelect objects: ", token);
      if (rc == RTCAN) return RTCAN;
      if (rc == RTNONE || token.empty()) break;
      std::string upper = token;
      for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      if (upper == "ALL") {
        for (const AcDbObjectId& id : allEntities(db))
          if (std::find(candidates.begin(), candidates.end(), id) == candidates.end()) candidates.push_back(id);
        continue;
      }
      std::vector<AcDbObjectId> picked;
      int nameType = 0;
      ads_name name;
      if (platform::parseNameToken(token, nameType, name)) {
        // An entity or a selection set handed over by acedCommand.
        if (nameType == RTPICKS) {
          for (const AcDbObjectId& id : platform::selectionSetIds(name)) picked.push_back(id);
        } else {
          picked.push_back(idOfName(name));
        }
      } else if (upper == "L" || upper == "P") {
        ads_name ss2;
        if (acedSSGet(upper.c_str(), nullptr, nullptr, nullptr, ss2) == RTNORM) {
          for (const AcDbObjectId& id : platform::selectionSetIds(ss2)) picked.push_back(id);
          acedSSFree(ss2);
        }
      } else {
        picked.push_back(pickFromToken(db, token, nullptr));
      }
      size_t before = candidates.size();
      for (const AcDbObjectId& id : picked)
        if (!id.isNull() && std::find(candidates.begin(), candidates.end(), id) == candidates.end())
          candidates.push_back(id);
      if (candidates.size() == before) platform::transcriptWrite("0 found\n");
    }
  } else {
    return RTERROR;
  }
  std::vector<AcDbObjectId> chosen;
  for (const AcDbObjectId& id : candidates) {
    const AcDbEntity* e = entityOf(id);
    if (!e || e->isErased()) continue;
    bool ok = true;
    AcDbObject::FilingScope scope(e);
    bool pass = passes(e, filter, ok);
    if (!ok) return RTERROR;
    if (pass) chosen.push_back(id);
  }
  return storeSet(std::move(chosen), ss);
}

int acedSSLength(const ads_name ss, long* len) {
  auto* v = setOf(ss);
  if (!v || !len) return RTERROR;
  *len = static_cast<long>(v->size());
  return RTNORM;
}

int acedSSName(const ads_name ss, long i, ads_name entres) {
  auto* v = setOf(ss);
  if (!v || !entres || i < 0 || static_cast<size_t>(i) >= v->size()) return RTERROR;
  nameOfId((*v)[static_cast<size_t>(i)], entres);
  return RTNORM;
}

int acedSSFree(const ads_name ss) {
  if (!setOf(ss)) return RTERROR;
  sets().open.erase(ss[0]);
  return RTNORM;
}

int acedSSAdd(const ads_name ename, const ads_name ss, ads_name result) {
  if (!result) return RTERROR;
  AcDbObjectId id = ename ? idOfName(ename) : AcDbObjectId();
  if (ename && id.isNull()) return RTERROR;
  if (!ss || (ss[0] == 0 && ss[1] == 0)) {
    AcDbObjectIdArray ids;
    if (!id.isNull()) ids.append(id);
    return platform::makeSelectionSet(ids, result);
  }
  auto* v = setOf(ss);
  if (!v) return RTERROR;
  if (!id.isNull() && std::find(v->begin(), v->end(), id) == v->end()) v->push_back(id);
  result[0] = ss[0];
  result[1] = ss[1];
  return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss) {
  auto* v = setOf(ss);
  AcDbObjectId id = idOfName(ename);
  if (!v || id.isNull()) return RTERROR;
  auto it = std::find(v->begin(), v->end(), id);
  if (it == v->end()) return RTERROR;
  v->erase(it);
  return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss) {
  auto* v = setOf(ss);
  AcDbObjectId id = idOfName(ename);
  if (!v || id.isNull()) return RTERROR;
  return std::find(v->begin(), v->end(), id) != v->end() ? RTNORM : RTERROR;
}

int acedEntSel(const char* prompt, ads_name entres, ads_point ptres) {
  if (!entres) return RTERROR;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  std::string token;
  int rc = platform::readPromptToken(prompt ? prompt : "\nSelect object: ", token);
  if (rc == RTCAN) return RTCAN;
  if (rc != RTNORM || token.empty() || !db) return RTERROR;
  AcGePoint3d where;
  AcDbObjectId id = pickFromToken(db, token, &where);
  if (id.isNull()) return RTERROR;
  nameOfId(id, entres);
  if (ptres) {
    ptres[0] = where.x;
    ptres[1] = where.y;
    ptres[2] = where.z;
  }
  return RTNORM;
}

int acdbEntLast(ads_name result) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (!db || !result) return RTERROR;
  AcDbStub* ms = db->modelSpaceId().stub();
  const AcDbBlockTableRecord* b = ms && ms->object ? AcDbBlockTableRecord::cast(ms->object) : nullptr;
  if (!b) return RTERROR;
  const auto& ents = b->entityStubs();
  for (auto it = ents.rbegin(); it != ents.rend(); ++it)
    if ((*it)->object && !(*it)->object->isErased()) {
      nameOfId(AcDbObjectId(*it), result);
      return RTNORM;
    }
  return RTERROR;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name ename) {
  id = idOfName(ename);
  return id.isNull() ? Acad::eInvalidInput : Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& ename, AcDbObjectId id) {
  if (id.isNull() || !id.database()) return Acad::eNullObjectId;
  nameOfId(id, ename);
  return Acad::eOk;
}
