#include "arx/dbdatabase.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"
#include "arx/dbproxy.h"
#include "arx/dxffile.h"
#include "arx/gidrawing.h"
#include "arx/rxdynlink.h"
#include "crt/ascii.h"
#include "crt/paths.h"
#include "win/transcript.h"

namespace {

struct DrawingState {
  std::vector<AcDbDatabase*> live;
  long nextSerial = 1;
  AcDbDatabase* current = nullptr;
  AcDbDatabase* working = nullptr;
  bool closed = false;
};

DrawingState& state() {
  static DrawingState* s = new DrawingState();  // lives for the whole run
  return *s;
}

bool fileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

template <class T>
T* objectAs(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->object ? T::cast(s->object) : nullptr;
}

}  // namespace

// ---- AcDbDatabase ----

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) {
  DrawingState& st = state();
  m_serial = st.nextSerial++;
  st.live.push_back(this);
  if (buildDefaultDrawing) ensureDefaults();
}

AcDbDatabase::~AcDbDatabase() {
  clearDirect();
  DrawingState& st = state();
  std::erase(st.live, this);
  if (st.working == this) st.working = nullptr;
  if (st.current == this) st.current = nullptr;
}

void AcDbDatabase::clearDirect() {
  // Owners delete their sub-objects; everything else goes here, newest first.
  for (auto it = m_stubs.rbegin(); it != m_stubs.rend(); ++it) {
    AcDbStub* s = *it;
    if (!s->subObject && s->object) {
      AcDbObject* o = s->object;
      s->object = nullptr;
      o->attachStub(nullptr);
      delete o;
    }
  }
  m_stubs.clear();
  m_byHandle.clear();
  m_reserved.clear();
  m_stubStore.clear();
  m_handseed = 1;
  m_blockTable = m_layerTable = m_linetypeTable = m_textStyleTable = m_viewportTable = m_regAppTable =
      m_dimStyleTable = m_viewTable = m_ucsTable = AcDbObjectId();
  m_namedObjects = m_groupDict = m_layoutDict = AcDbObjectId();
  m_modelSpace = m_paperSpace = m_byLayer = m_byBlock = m_continuous = AcDbObjectId();
  m_clayer = m_celtype = m_textstyle = AcDbObjectId();
  m_ltscale = m_celtscale = 1.0;
  m_textsize = 2.5;
  m_insbase = AcGePoint3d();
  m_extmin.set(1e20, 1e20, 1e20);
  m_extmax.set(-1e20, -1e20, -1e20);
}

uint64_t AcDbDatabase::reserveHandleDirect(uint64_t wanted) {
  if (wanted == 0 || m_byHandle.count(wanted) || m_reserved.count(wanted)) {
    while (m_byHandle.count(m_handseed) || m_reserved.count(m_handseed)) ++m_handseed;
    wanted = m_handseed++;
  } else if (wanted >= m_handseed) {
    m_handseed = wanted + 1;
  }
  m_reserved.insert(wanted);
  return wanted;
}

uint64_t AcDbDatabase::highestHandle() const {
  uint64_t top = 0;
  // Every stub is under its own handle in m_byHandle; the vector is the quicker walk.
  for (const AcDbStub* s : m_stubs)
    if (s->object) top = std::max(top, s->handle);
  for (uint64_t h : m_reserved) top = std::max(top, h);
  return top;
}

AcDbStub* AcDbDatabase::addObjectDirect(AcDbObject* obj, AcDbObjectId owner, uint64_t handle, bool subObject) {
  if (handle == 0 || m_byHandle.count(handle) || m_reserved.count(handle)) {
    while (m_byHandle.count(m_handseed) || m_reserved.count(m_handseed)) ++m_handseed;
    handle = m_handseed++;
  } else if (handle >= m_handseed) {
    m_handseed = handle + 1;
  }
  m_stubStore.push_back(AcDbStub{obj, this, handle, subObject});
  AcDbStub* s = &m_stubStore.back();
  m_stubs.push_back(s);
  m_byHandle.emplace(handle, s);
  obj->attachStub(s);
  obj->setOwnerDirect(owner);
  std::vector<AcDbObject*> subs;
  obj->getSubObjects(subs);
  for (AcDbObject* sub : subs)
    if (!sub->isPersistent()) addObjectDirect(sub, obj->objectId(), 0, true);
  reserveMarkHandles(obj);
  return s;
}

void AcDbDatabase::reserveMarkHandles(AcDbObject* obj) {
  // Block begin and end marks and the end mark of a heavy polyline carry handles in a file.
  // The common entities have neither: their class says so at once.
  const AcRxClass* c = obj->isA();
  if (c == AcDbLine::desc() || c == AcDbText::desc() || c == AcDbPolyline::desc() || c == AcDbCircle::desc() ||
      c == AcDbArc::desc() || c == AcDbPoint::desc() || c == AcDbBlockReference::desc())
    return;
  if (auto* block = AcDbBlockTableRecord::cast(obj)) {
    uint64_t b = reserveHandleDirect(block->beginHandle());
    uint64_t e = reserveHandleDirect(block->endHandle());
    block->setMarkHandlesDirect(b, e);
  } else if (auto* poly = AcDbHeavyPolyline::cast(obj)) {
    poly->setSeqendHandleDirect(reserveHandleDirect(poly->seqendHandle()));
  }
}

AcDbStub* AcDbDatabase::stubForHandle(uint64_t handle) const {
  auto it = m_byHandle.find(handle);
  return it == m_byHandle.end() ? nullptr : it->second;
}

void AcDbDatabase::replaceObjectDirect(AcDbStub* stub, AcDbObject* newObj) {
  AcDbObject* old = stub->object;
  AcDbObjectId owner;
  bool erased = false;
  if (old) {
    owner = old->ownerId();
    erased = old->isErased();
    old->detachAllReactors();
    old->attachStub(nullptr);
  }
  stub->object = newObj;
  newObj->attachStub(stub);
  newObj->setOwnerDirect(owner);
  newObj->setErasedDirect(erased);
  std::vector<AcDbObject*> subs;
  newObj->getSubObjects(subs);
  for (AcDbObject* sub : subs)
    if (!sub->isPersistent()) addObjectDirect(sub, newObj->objectId(), 0, true);
  reserveMarkHandles(newObj);
}

void AcDbDatabase::reserveObjectsDirect(size_t count) {
  m_stubs.reserve(m_stubs.size() + count);
  m_byHandle.reserve(m_byHandle.size() + count);
}

void AcDbDatabase::setHandseedDirect(uint64_t seed) {
  if (seed > m_handseed) m_handseed = seed;
}

Adesk::Int32 AcDbDatabase::approxNumObjects() const { return static_cast<Adesk::Int32>(m_stubs.size()); }

void AcDbDatabase::setTableIdsDirect() {
  // Only empty slots are filled: with none left there is nothing to look for.
  // Called a few times on every open, over every object of the drawing.
  const AcDbObjectId* slots[] = {&m_blockTable,  &m_layerTable,    &m_linetypeTable, &m_textStyleTable,
                                 &m_viewportTable, &m_regAppTable, &m_dimStyleTable, &m_viewTable,
                                 &m_ucsTable,    &m_namedObjects};
  if (std::none_of(std::begin(slots), std::end(slots), [](const AcDbObjectId* id) { return id->isNull(); })) return;
  for (AcDbStub* s : m_stubs) {
    AcDbObject* o = s->object;
    // An entity is neither a table nor a dictionary.
    if (!o || AcDbEntity::cast(o)) continue;
    AcDbObjectId id(s);
    if (AcDbBlockTable::cast(o) && m_blockTable.isNull()) m_blockTable = id;
    else if (AcDbLayerTable::cast(o) && m_layerTable.isNull()) m_layerTable = id;
    else if (AcDbLinetypeTable::cast(o) && m_linetypeTable.isNull()) m_linetypeTable = id;
    else if (AcDbTextStyleTable::cast(o) && m_textStyleTable.isNull()) m_textStyleTable = id;
    else if (AcDbViewportTable::cast(o) && m_viewportTable.isNull()) m_viewportTable = id;
    else if (AcDbRegAppTable::cast(o) && m_regAppTable.isNull()) m_regAppTable = id;
    else if (AcDbDimStyleTable::cast(o) && m_dimStyleTable.isNull()) m_dimStyleTable = id;
    else if (AcDbViewTable::cast(o) && m_viewTable.isNull()) m_viewTable = id;
    else if (AcDbUCSTable::cast(o) && m_ucsTable.isNull()) m_ucsTable = id;
    else if (AcDbDictionary::cast(o) && o->ownerId().isNull() && m_namedObjects.isNull()) m_namedObjects = id;
  }
}

namespace {

// A record of `table` by name, added (with `make`) when missing.
template <class Record>
AcDbObjectId ensureRecord(AcDbDatabase* db, AcDbObjectId tableId, const char* name,
                          void (*setup)(Record*) = nullptr) {
  auto* table = objectAs<AcDbSymbolTable>(tableId);
  if (!table) return AcDbObjectId();
  if (AcDbStub* s = table->findStub(name, false)) return AcDbObjectId(s);
  auto* rec = new Record();
  rec->setNameDirect(name);
  if (setup) setup(rec);
  AcDbStub* s = db->addObjectDirect(rec, tableId);
  table->addRecordDirect(s, name);
  return AcDbObjectId(s);
}

template <class Table>
void makeTable(AcDbDatabase* db, AcDbObjectId& slot) {
  if (!slot.isNull()) return;
  slot = AcDbObjectId(db->addObjectDirect(new Table(), AcDbObjectId()));
}

AcDbObjectId ensureDictEntry(AcDbDatabase* db, AcDbObjectId dictId, const char* key, AcDbObject* (*make)()) {
  auto* dict = objectAs<AcDbDictionary>(dictId);
  if (!dict) return AcDbObjectId();
  for (const auto& e : dict->entries())
    if (e.key == key && e.stub->object && !e.stub->object->isErased()) return AcDbObjectId(e.stub);
  AcDbStub* s = db->addObjectDirect(make(), dictId);
  dict->setAtDirect(key, s);
  return AcDbObjectId(s);
}

}  // namespace

void AcDbDatabase::ensureDefaults() {
  ensureTables();
  ensureDictionaries();
}

void AcDbDatabase::ensureTables() {
  setTableIdsDirect();
  makeTable<AcDbBlockTable>(this, m_blockTable);
  makeTable<AcDbLayerTable>(this, m_layerTable);
  makeTable<AcDbLinetypeTable>(this, m_linetypeTable);
  makeTable<AcDbTextStyleTable>(this, m_textStyleTable);
  makeTable<AcDbViewportTable>(this, m_viewportTable);
  makeTable<AcDbViewTable>(this, m_viewTable);
  makeTable<AcDbUCSTable>(this, m_ucsTable);
  makeTable<AcDbRegAppTable>(this, m_regAppTable);
  makeTable<AcDbDimStyleTable>(this, m_dimStyleTable);

  m_byBlock = ensureRecord<AcDbLinetypeTableRecord>(this, m_linetypeTable, "ByBlock");
  m_byLayer = ensureRecord<AcDbLinetypeTableRecord>(this, m_linetypeTable, "ByLayer");
  m_continuous = ensureRecord<AcDbLinetypeTableRecord>(
      this, m_linetypeTable, "Continuous", [](AcDbLinetypeTableRecord* r) { r->setComments("Solid line"); });
  AcDbObjectId layer0 = ensureRecord<AcDbLayerTableRecord>(this, m_layerTable, "0");
  if (auto* l0 = objectAs<AcDbLayerTableRecord>(layer0))
    if (l0->linetypeObjectId().isNull()) l0->setLinetypeDirect(m_continuous);
  AcDbObjectId standard = ensureRecord<AcDbTextStyleTableRecord>(
      this, m_textStyleTable, "Standard", [](AcDbTextStyleTableRecord* r) { r->setFileName("txt"); });
  ensureRecord<AcDbViewportTableRecord>(this, m_viewportTable, "*Active");
  ensureRecord<AcDbRegAppTableRecord>(this, m_regAppTable, "ACAD");
  ensureRecord<AcDbDimStyleTableRecord>(this, m_dimStyleTable, "Standard");
  m_modelSpace = ensureRecord<AcDbBlockTableRecord>(this, m_blockTable, ACDB_MODEL_SPACE);
  m_paperSpace = ensureRecord<AcDbBlockTableRecord>(this, m_blockTable, ACDB_PAPER_SPACE);
  if (m_clayer.isNull() || !objectAs<AcDbLayerTableRecord>(m_clayer)) m_clayer = layer0;
  if (m_celtype.isNull() || !objectAs<AcDbLinetypeTableRecord>(m_celtype)) m_celtype = m_byLayer;
  if (m_textstyle.isNull() || !objectAs<AcDbTextStyleTableRecord>(m_textstyle)) m_textstyle = standard;
}

void AcDbDatabase::ensureDictionaries() {
  setTableIdsDirect();

  if (m_namedObjects.isNull()) m_namedObjects = AcDbObjectId(addObjectDirect(new AcDbDictionary(), AcDbObjectId()));
  m_groupDict = ensureDictEntry(this, m_namedObjects, "ACAD_GROUP", [] { return static_cast<AcDbObject*>(new AcDbDictionary()); });
  m_layoutDict = ensureDictEntry(this, m_namedObjects, "ACAD_LAYOUT", [] { return static_cast<AcDbObject*>(new AcDbDictionary()); });
  AcDbObjectId model = ensureDictEntry(this, m_layoutDict, "Model", [] { return static_cast<AcDbObject*>(new AcDbLayout()); });
  AcDbObjectId paper = ensureDictEntry(this, m_layoutDict, "Layout1", [] { return static_cast<AcDbObject*>(new AcDbLayout()); });
  auto setupLayout = [](AcDbObjectId id, const char* name, AcDbObjectId block, int order) {
    if (auto* l = objectAs<AcDbLayout>(id)) {
      AcDbObject::FilingScope scope(l);
      if (*l->layoutName() == 0) l->setLayoutName(name);
      if (l->getBlockTableRecordId().isNull()) {
        l->setBlockTableRecordId(block);
        l->setTabOrder(order);
      }
    }
  };
  setupLayout(model, "Model", m_modelSpace, 0);
  setupLayout(paper, "Layout1", m_paperSpace, 1);
}

template <class T>
Acad::ErrorStatus AcDbDatabase::openTable(AcDbObjectId id, T*& table, AcDb::OpenMode mode) {
  table = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  return acdbOpenObject(table, id, mode, false);
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return openTable(m_blockTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return openTable(m_layerTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) {
  return openTable(m_linetypeTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) {
  return openTable(m_textStyleTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getViewportTable(AcDbViewportTable*& t, AcDb::OpenMode m) {
  return openTable(m_viewportTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& t, AcDb::OpenMode m) {
  return openTable(m_regAppTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getDimStyleTable(AcDbDimStyleTable*& t, AcDb::OpenMode m) {
  return openTable(m_dimStyleTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getViewTable(AcDbViewTable*& t, AcDb::OpenMode m) { return openTable(m_viewTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getUCSTable(AcDbUCSTable*& t, AcDb::OpenMode m) { return openTable(m_ucsTable, t, m); }

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& d, AcDb::OpenMode m) {
  return openTable(m_namedObjects, d, m);
}
Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& d, AcDb::OpenMode m) {
  return openTable(m_groupDict, d, m);
}
Acad::ErrorStatus AcDbDatabase::getLayoutDictionary(AcDbDictionary*& d, AcDb::OpenMode m) {
  return openTable(m_layoutDict, d, m);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* obj) {
  if (!obj) return Acad::eNullObjectPointer;
  if (obj->isPersistent()) return Acad::eAlreadyInDb;
  id = AcDbObjectId(addObjectDirect(obj, AcDbObjectId()));
  obj->openAs(AcDb::kForWrite);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool, const AcDbHandle& handle, Adesk::UInt32) {
  if (handle.isNull()) return Acad::eNullHandle;
  AcDbStub* s = stubForHandle(handle.value());
  if (!s || !s->object) return Acad::eUnknownHandle;
  retId = AcDbObjectId(s);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setLtscale(double scale) {
  if (!(scale > 0)) return Acad::eInvalidInput;
  m_ltscale = scale;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setCeltscale(double scale) {
  if (!(scale > 0)) return Acad::eInvalidInput;
  m_celtscale = scale;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId id) {
  auto* r = objectAs<AcDbLayerTableRecord>(id);
  if (!r || id.database() != this) return Acad::eInvalidInput;
  m_clayer = id;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId id) {
  auto* r = objectAs<AcDbLinetypeTableRecord>(id);
  if (!r || id.database() != this) return Acad::eInvalidInput;
  m_celtype = id;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId id) {
  auto* r = objectAs<AcDbTextStyleTableRecord>(id);
  if (!r || id.database() != this) return Acad::eInvalidInput;
  m_textstyle = id;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setTextsize(double size) {
  if (!(size > 0)) return Acad::eInvalidInput;
  m_textsize = size;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDatabase::setInsbase(const AcGePoint3d& p) {
  m_insbase = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::updateExt(bool) {
  auto* ms = objectAs<AcDbBlockTableRecord>(m_modelSpace);
  AcDbExtents ext;
  bool blind = false;  // a proxy that draws nothing
  if (ms) {
    platform::GiRecorder rec(this);
    rec.setExtentsOnly(&ext);
    for (AcDbStub* s : ms->entityStubs()) {
      const AcDbEntity* e = s->object ? AcDbEntity::cast(s->object) : nullptr;
      if (!e || e->isErased()) continue;
      if (auto* p = AcDbProxyEntity::cast(e)) blind = blind || p->graphics().empty();
      rec.drawEntity(e);
    }
  }
  if (blind && m_extmin.x <= m_extmax.x) {
    ext.addPoint(m_extmin);
    ext.addPoint(m_extmax);
  }
  if (ext.isEmpty()) {
    m_extmin.set(1e20, 1e20, 1e20);
    m_extmax.set(-1e20, -1e20, -1e20);
  } else {
    m_extmin = ext.minPoint();
    m_extmax = ext.maxPoint();
  }
  return Acad::eOk;
}

// ---- files ----

namespace {

Acad::ErrorStatus readInto(AcDbDatabase& db, const char* fileName, bool dwgFallback) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  std::string given = fileName;
  std::string path = platform::resolvePath(given);
  if (!fileExists(path) && dwgFallback && platform::endsWithNoCase(given, ".dwg")) {
    std::string alt = given.substr(0, given.size() - 4) + ".dxf";
    std::string altPath = platform::resolvePath(alt);
    if (fileExists(altPath)) path = altPath;
  }
  if (!fileExists(path)) {
    platform::transcriptLine("Cannot open drawing file " + given);
    return Acad::eFileNotFound;
  }
  db.clearDirect();
  std::string error;
  Acad::ErrorStatus es = platform::readDxf(db, path, error);
  if (es != Acad::eOk) {
    platform::transcriptLine("Cannot read drawing file " + given + ": " + error);
    db.clearDirect();
  }
  db.ensureDefaults();
  if (es == Acad::eOk) db.setFilenameDirect(given);
  return es;
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::readDwgFile(const char* fileName, int, bool, const char*) {
  return readInto(*this, fileName, true);
}

Acad::ErrorStatus AcDbDatabase::dxfIn(const char* fileName, const char*) { return readInto(*this, fileName, false); }

Acad::ErrorStatus AcDbDatabase::saveAs(const char* fileName) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  std::string name = fileName;
  if (platform::endsWithNoCase(name, ".dwg")) name = name.substr(0, name.size() - 4) + ".dxf";
  Acad::ErrorStatus es = platform::writeDxf(*this, name);
  if (es == Acad::eOk) m_filename = name;
  return es;
}

Acad::ErrorStatus AcDbDatabase::dxfOut(const char* fileName, int, bool) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  return platform::writeDxf(*this, fileName);
}

Acad::ErrorStatus AcDbDatabase::getFilename(const char*& name) const {
  name = m_filename.c_str();
  return Acad::eOk;
}

// ---- insert ----

namespace {

struct Inserter {
  AcDbDatabase& to;
  AcDbDatabase& from;
  std::vector<std::string> blockStack;  // block names being copied (a block may not hold itself)

  template <class Record>
  AcDbObjectId mapRecord(AcDbObjectId srcId, AcDbObjectId tableId) {
    auto* src = objectAs<Record>(srcId);
    auto* table = objectAs<AcDbSymbolTable>(tableId);
    if (!src || !table) return AcDbObjectId();
    if (AcDbStub* s = table->findStub(src->name(), false)) return AcDbObjectId(s);
    auto* copy = Record::cast(src->clone());
    if (!copy) return AcDbObjectId();
    copy->setNameDirect(src->name());
    AcDbStub* s = to.addObjectDirect(copy, tableId);
    table->addRecordDirect(s, src->name());
    if (auto* layer = AcDbLayerTableRecord::cast(copy)) {
      auto* srcLayer = AcDbLayerTableRecord::cast(src);
      layer->setLinetypeDirect(mapRecord<AcDbLinetypeTableRecord>(srcLayer->linetypeObjectId(), to.linetypeTableId()));
      if (layer->linetypeObjectId().isNull()) layer->setLinetypeDirect(to.continuousLinetype());
    }
    return AcDbObjectId(s);
  }

  // Copies the entities of `srcBlock` into `block` of the target.
  void copyEntities(const AcDbBlockTableRecord* srcBlock, AcDbBlockTableRecord* block) {
    std::vector<AcDbStub*> fresh;
    for (AcDbStub* s : srcBlock->entityStubs()) {
      const AcDbEntity* e = s->object ? AcDbEntity::cast(s->object) : nullptr;
      if (!e || e->isErased()) continue;
      AcDbObject::FilingScope scope(e);
      auto* copy = AcDbEntity::cast(e->clone());
      if (!copy) continue;
      copy->setLayerDirect(mapRecord<AcDbLayerTableRecord>(e->layerId(), to.layerTableId()));
      copy->setLinetypeDirect(mapRecord<AcDbLinetypeTableRecord>(e->linetypeId(), to.linetypeTableId()));
      if (auto* text = AcDbText::cast(copy)) {
        AcDbObject::FilingScope ts(text);
        text->setTextStyle(mapRecord<AcDbTextStyleTableRecord>(AcDbText::cast(e)->textStyle(), to.textStyleTableId()));
      }
      if (auto* ref = AcDbBlockReference::cast(copy)) {
        AcDbObject::FilingScope rs(ref);
        ref->setBlockTableRecord(mapBlock(AcDbBlockReference::cast(e)->blockTableRecord()));
      }
      copy->setDatabaseDefaults(&to);
      AcDbStub* ns = to.addObjectDirect(copy, block->objectId());
      fresh.push_back(ns);
    }
    std::vector<AcDbStub*> all = block->entityStubs();
    all.insert(all.end(), fresh.begin(), fresh.end());
    block->replaceEntitiesDirect(std::move(all));
  }

  AcDbObjectId mapBlock(AcDbObjectId srcId) {
    auto* src = objectAs<AcDbBlockTableRecord>(srcId);
    auto* table = objectAs<AcDbBlockTable>(to.blockTableId());
    if (!src || !table) return AcDbObjectId();
    if (AcDbStub* s = table->findStub(src->name(), false)) return AcDbObjectId(s);
    if (std::find(blockStack.begin(), blockStack.end(), src->name()) != blockStack.end()) return AcDbObjectId();
    auto* block = new AcDbBlockTableRecord();
    block->setNameDirect(src->name());
    AcDbStub* s = to.addObjectDirect(block, to.blockTableId());
    table->addRecordDirect(s, src->name());
    {
      AcDbObject::FilingScope scope(block);
      block->setOrigin(src->origin());
    }
    blockStack.push_back(src->name());
    copyEntities(src, block);
    blockStack.pop_back();
    return AcDbObjectId(s);
  }
};

}  // namespace

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const char* blockName, AcDbDatabase* source, bool) {
  if (!source || source == this) return Acad::eInvalidInput;
  if (!acdbIsValidSymbolName(blockName) || blockName[0] == '*') return Acad::eInvalidInput;
  auto* table = objectAs<AcDbBlockTable>(m_blockTable);
  auto* srcModel = objectAs<AcDbBlockTableRecord>(source->modelSpaceId());
  if (!table || !srcModel) return Acad::eNoDatabase;
  AcDbBlockTableRecord* block;
  if (AcDbStub* s = table->findStub(blockName, false)) {
    block = AcDbBlockTableRecord::cast(s->object);
    // A block defined again gets the new contents; references to it stay.
    for (AcDbStub* es : block->entityStubs())
      if (es->object) es->object->setErasedDirect(true);
    block->replaceEntitiesDirect({});
  } else {
    block = new AcDbBlockTableRecord();
    block->setNameDirect(blockName);
    AcDbStub* ns = addObjectDirect(block, m_blockTable);
    table->addRecordDirect(ns, blockName);
  }
  {
    AcDbObject::FilingScope scope(block);
    block->setOrigin(source->insbase());
  }
  Inserter ins{*this, *source, {blockName}};
  ins.copyEntities(srcModel, block);
  blockId = block->objectId();
  return Acad::eOk;
}

// ---- application services ----

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
  DrawingState& st = state();
  if (!st.working && !st.closed) {
    if (!st.current) st.current = new AcDbDatabase(true);
    st.working = st.current;
  }
  return st.working;
}

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* db) {
  DrawingState& st = state();
  st.working = db;
  if (db) st.closed = false;
}

Acad::ErrorStatus AcDbHostApplicationServices::findFile(char* fileOut, int bufferLength, const char* fileName,
                                                        AcDbDatabase*, FindFileHint) {
  if (!fileOut || bufferLength <= 0 || !fileName) return Acad::eInvalidInput;
  std::string found = platform::findSupportFile(fileName);
  if (found.empty()) return Acad::eFileNotFound;
  if (found.size() + 1 > static_cast<size_t>(bufferLength)) return Acad::eInvalidInput;
  std::memcpy(fileOut, found.c_str(), found.size() + 1);
  return Acad::eOk;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}

namespace platform {

AcDbDatabase* currentDrawing() {
  acdbHostApplicationServices()->workingDatabase();
  return state().current;
}

void setCurrentDrawing(AcDbDatabase* db) {
  DrawingState& st = state();
  AcDbDatabase* old = st.current;
  if (!db) db = new AcDbDatabase(true);
  st.current = db;
  st.working = db;
  st.closed = false;
  if (old && old != db) delete old;
}

void closeCurrentDrawing() {
  DrawingState& st = state();
  AcDbDatabase* old = st.current;
  st.current = nullptr;
  st.working = nullptr;
  st.closed = true;
  delete old;
}

std::string findSupportFile(std::string_view name) {
  if (name.empty()) return "";
  std::string given(name);
  bool hasFolder = given.find('/') != std::string::npos || given.find('\\') != std::string::npos ||
                   (given.size() > 1 && given[1] == ':');
  std::string direct = platform::resolvePath(given);
  if (fileExists(direct)) return direct;
  if (hasFolder) return "";
  std::string install = installFolder();
  for (const std::string& dir : {install + "/lib", install + "/dwg", install, std::string("lib")}) {
    std::string p = platform::resolvePath(dir + "/" + given);
    if (fileExists(p)) return p;
  }
  return "";
}

std::vector<AcDbDatabase*> liveDatabases() { return state().live; }

AcDbDatabase* databaseBySerial(long serial) {
  for (AcDbDatabase* db : state().live)
    if (db->serial() == serial) return db;
  return nullptr;
}

}  // namespace platform
