#include "arx/dbmain.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "arx/dbdatabase.h"
#include "arx/dbproxy.h"
#include "arx/dbstub.h"
#include "arx/dbsymtb.h"
#include "arx/gidrawing.h"
#include "win/transcript.h"

namespace {

constexpr int kMaxReaders = 256;

std::string describe(const AcDbObject* o) {
  char buf[40];
  o->handle().getIntoAsciiBuffer(buf, sizeof buf);
  AcRxClass* c = o->isA();
  return std::string(c ? c->name() : "AcDbObject") + " (handle " + buf + ")";
}

void reportAccess(const AcDbObject* o, const char* check, const char* mode) {
  std::fprintf(stderr, "%s: %s is not open for %s\n", check, describe(o).c_str(), mode);
}

}  // namespace

// ---- AcDbExtents ----

AcDbExtents::AcDbExtents()
    : m_min(std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
            std::numeric_limits<double>::max()),
      m_max(-std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
            -std::numeric_limits<double>::max()) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : AcDbExtents() {
  set(min, max);
}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Acad::eInvalidExtents;
  m_min = min;
  m_max = max;
  return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
  m_min.set(std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z));
  m_max.set(std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z));
}

void AcDbExtents::addExt(const AcDbExtents& e) {
  if (e.isEmpty()) return;
  addPoint(e.m_min);
  addPoint(e.m_max);
}

void AcDbExtents::expandBy(const AcGeVector3d& v) {
  if (isEmpty()) return;
  addPoint(m_min + v);
  addPoint(m_max + v);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& m) {
  if (isEmpty()) return;
  AcDbExtents out;
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d c((i & 1) ? m_max.x : m_min.x, (i & 2) ? m_max.y : m_min.y, (i & 4) ? m_max.z : m_min.z);
    out.addPoint(m * c);
  }
  *this = out;
}

// ---- AcDbObject ----

AcDbObject::AcDbObject() = default;

AcDbObject::~AcDbObject() {
  detachAllReactors();
  if (m_stub && m_stub->object == this) m_stub->object = nullptr;
}

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(m_stub); }

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId owner) {
  assertWriteEnabled();
  m_owner = owner;
  return Acad::eOk;
}

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const { handle = this->handle(); }

AcDbHandle AcDbObject::handle() const { return m_stub ? AcDbHandle(m_stub->handle) : AcDbHandle(); }

AcDbDatabase* AcDbObject::database() const { return m_stub ? m_stub->database : nullptr; }

AcDbDatabase* AcDbObject::databaseToUse() const {
  AcDbDatabase* db = database();
  return db ? db : acdbHostApplicationServices()->workingDatabase();
}

AcDb::OpenMode AcDbObject::openMode() const {
  if (!m_stub || m_writer) return AcDb::kForWrite;
  if (m_notifying || m_notifyOpens > 0) return AcDb::kForNotify;
  if (m_readers > 0) return AcDb::kForRead;
  return AcDb::kNotOpen;
}

Acad::ErrorStatus AcDbObject::openAs(AcDb::OpenMode mode) {
  bool notify = m_notifying || m_notifyOpens > 0;
  switch (mode) {
    case AcDb::kForRead:
      if (m_writer) return Acad::eWasOpenedForWrite;
      if (notify) return Acad::eWasOpenedForNotify;
      if (m_readers >= kMaxReaders) return Acad::eAtMaxReaders;
      ++m_readers;
      return Acad::eOk;
    case AcDb::kForWrite:
      if (m_writer) return Acad::eWasOpenedForWrite;
      if (notify) return Acad::eWasOpenedForNotify;
      if (m_readers > 0) return Acad::eWasOpenedForRead;
      m_writer = true;
      m_modified = false;
      m_eraseChanged = false;
      return Acad::eOk;
    case AcDb::kForNotify:
      if (notify) return Acad::eWasOpenedForNotify;
      ++m_notifyOpens;
      return Acad::eOk;
    default:
      return Acad::eInvalidInput;
  }
}

void AcDbObject::sendNotifications() {
  bool erasedChange = m_eraseChanged, modified = m_modified;
  m_eraseChanged = m_modified = false;
  if ((!erasedChange && !modified) || m_reactors.empty()) return;
  m_notifying = true;
  std::vector<AcDbObjectReactor*> snapshot = m_reactors;
  auto stillAttached = [this](AcDbObjectReactor* r) {
    return std::find(m_reactors.begin(), m_reactors.end(), r) != m_reactors.end();
  };
  if (erasedChange)
    for (AcDbObjectReactor* r : snapshot)
      if (stillAttached(r)) r->erased(this, m_erased);
  if (modified)
    for (AcDbObjectReactor* r : snapshot)
      if (stillAttached(r)) r->modified(this);
  m_notifying = false;
}

Acad::ErrorStatus AcDbObject::close() {
  if (!m_stub) return Acad::eOk;
  if (m_notifyOpens > 0) {
    --m_notifyOpens;
    return Acad::eOk;
  }
  if (m_writer) {
    m_writer = false;
    subClose();
    sendNotifications();
    return Acad::eOk;
  }
  if (m_readers > 0) {
    --m_readers;
    return Acad::eOk;
  }
  return Acad::eNotOpenForRead;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (!m_stub) return Acad::eOk;
  if (m_writer) return Acad::eWasOpenedForWrite;
  if (m_notifying || m_notifyOpens > 0) return Acad::eWasOpenedForNotify;
  if (m_readers == 0) return Acad::eNotOpenForRead;
  if (m_readers > 1) return Acad::eHadMultipleReaders;
  m_readers = 0;
  m_writer = true;
  m_modified = m_eraseChanged = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (!m_stub) return Acad::eOk;
  if (!m_writer) return Acad::eWasNotOpenForWrite;
  m_writer = false;
  subClose();
  sendNotifications();
  m_readers = 1;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeFromNotify(Adesk::Boolean& wasWritable) {
  wasWritable = m_writer;
  if (!m_stub || !m_notifying) return Acad::eNotOpenForNotify;
  m_writer = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeToNotify(Adesk::Boolean wasWritable) {
  if (wasWritable) return Acad::eOk;
  if (!m_stub || !m_writer || !m_notifying) return Acad::eWasNotOpenForWrite;
  m_writer = false;
  subClose();
  // The write-back is part of the notification being sent.
  m_modified = m_eraseChanged = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(Adesk::Boolean erasing) {
  if (!m_stub) return Acad::eNotInDatabase;
  if (!m_writer) return Acad::eNotOpenForWrite;
  if (erasing == m_erased) return erasing ? Acad::eWasErased : Acad::eWasNotErased;
  m_erased = erasing;
  m_eraseChanged = true;
  std::vector<AcDbObject*> subs;
  getSubObjects(subs);
  for (AcDbObject* s : subs) s->m_erased = erasing;
  return Acad::eOk;
}

bool AcDbObject::isReadEnabled() const {
  return !m_stub || m_readers > 0 || m_writer || m_notifying || m_notifyOpens > 0 || m_filing > 0;
}

bool AcDbObject::isWriteEnabled() const { return !m_stub || m_writer || m_filing > 0; }

bool AcDbObject::isNotifyEnabled() const { return m_notifying || m_notifyOpens > 0; }

void AcDbObject::assertReadEnabled() const {
  if (!isReadEnabled()) reportAccess(this, "assertReadEnabled", "read");
}

void AcDbObject::assertWriteEnabled(Adesk::Boolean, Adesk::Boolean recordModified) {
  if (!isWriteEnabled()) {
    reportAccess(this, "assertWriteEnabled", "write");
    return;
  }
  if (m_stub && m_writer && recordModified) m_modified = true;
}

void AcDbObject::assertNotifyEnabled() const {
  if (!isNotifyEnabled()) std::fprintf(stderr, "assertNotifyEnabled: %s is not open for notify\n", describe(this).c_str());
}

Acad::ErrorStatus AcDbObject::dwgInFields(AcDbDwgFiler* filer) {
  assertWriteEnabled(false, false);
  return filer ? filer->filerStatus() : Acad::eNoInputFiler;
}

Acad::ErrorStatus AcDbObject::dwgOutFields(AcDbDwgFiler* filer) const {
  assertReadEnabled();
  return filer ? filer->filerStatus() : Acad::eNoInputFiler;
}

void AcDbObject::addReactor(AcDbObjectReactor* reactor) const {
  if (!reactor) return;
  if (std::find(m_reactors.begin(), m_reactors.end(), reactor) != m_reactors.end()) return;
  m_reactors.push_back(reactor);
  reactor->m_attached.push_back(this);
}

void AcDbObject::removeReactor(AcDbObjectReactor* reactor) const {
  auto it = std::find(m_reactors.begin(), m_reactors.end(), reactor);
  if (it == m_reactors.end()) return;
  m_reactors.erase(it);
  auto& back = reactor->m_attached;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void AcDbObject::detachAllReactors() {
  std::vector<AcDbObjectReactor*> list = m_reactors;
  for (AcDbObjectReactor* r : list) removeReactor(r);
}

void AcDbObject::getSubObjects(std::vector<AcDbObject*>&) const {}

AcRxObject* AcDbObject::clone() const {
  AcRxClass* cls = isA();
  AcRxObject* made = cls ? cls->create() : nullptr;
  AcDbObject* copy = AcDbObject::cast(made);
  if (!copy) {
    delete made;
    return nullptr;
  }
  platform::TagFiler out(AcDb::kCopyFiler, database());
  {
    FilingScope scope(this);
    dwgOutFields(&out);
  }
  platform::TagFiler in(out.takeTags(), AcDb::kCopyFiler, database());
  if (copy->dwgInFields(&in) != Acad::eOk) {
    delete copy;
    return nullptr;
  }
  return copy;
}

void AcDbObject::list() const {
  assertReadEnabled();
  char h[20];
  handle().getIntoAsciiBuffer(h, sizeof h);
  AcRxClass* c = isA();
  platform::transcriptWrite(std::string("\n") + (c ? c->name() : "AcDbObject") + "  handle = " + h + "\n");
}

// ---- AcDbObjectReactor ----

AcDbObjectReactor::~AcDbObjectReactor() {
  std::vector<const AcDbObject*> objs = m_attached;
  for (const AcDbObject* o : objs) o->removeReactor(this);
}

// ---- opening ----

namespace {

Acad::ErrorStatus openById(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  obj = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbStub* s = id.stub();
  if (!s->object) return Acad::eNotInDatabase;
  // A proxy whose class is registered again is revived before anyone sees it.
  if (AcDbProxyEntity::cast(s->object)) platform::reviveProxy(s);
  AcDbObject* o = s->object;
  if (o->isErased() && !openErased) return Acad::eWasErased;
  Acad::ErrorStatus es = o->openAs(mode);
  if (es == Acad::eOk) obj = o;
  return es;
}

}  // namespace

Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return openById(obj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return openById(obj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return acdbOpenObject<AcDbEntity>(ent, id, mode, openErased);
}

bool acdbIsValidId(AcDbObjectId id) { return id.isValid(); }

// ---- AcDbEntity ----

AcDbEntity::AcDbEntity() = default;
AcDbEntity::~AcDbEntity() = default;

AcCmColor AcDbEntity::color() const {
  AcCmColor c;
  c.setColorIndex(m_color);
  return c;
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, Adesk::Boolean doSubents) {
  return setColorIndex(color.colorIndex(), doSubents);
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, Adesk::Boolean) {
  if (color > 256) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_color = color;
  return Acad::eOk;
}

namespace {
const AcDbSymbolTableRecord* recordOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s ? AcDbSymbolTableRecord::cast(s->object) : nullptr;
}

AcDbSymbolTable* tableOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s ? AcDbSymbolTable::cast(s->object) : nullptr;
}
}  // namespace

const char* AcDbEntity::layer() const {
  const AcDbSymbolTableRecord* r = recordOf(m_layer);
  return r ? r->name() : "";
}

Acad::ErrorStatus AcDbEntity::setLayer(const char* layerName, Adesk::Boolean doSubents) {
  if (!layerName) return Acad::eInvalidInput;
  AcDbDatabase* db = databaseToUse();
  if (!db) return Acad::eNoDatabase;
  AcDbSymbolTable* table = tableOf(db->layerTableId());
  AcDbStub* s = table ? table->findStub(layerName, false) : nullptr;
  if (!s) return Acad::eKeyNotFound;
  return setLayer(AcDbObjectId(s), doSubents);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId layerId, Adesk::Boolean) {
  if (layerId.isNull()) return Acad::eNullObjectId;
  if (!AcDbLayerTableRecord::cast(layerId.stub()->object)) return Acad::eNotThatKindOfClass;
  if (database() && layerId.database() != database()) return Acad::eWrongDatabase;
  assertWriteEnabled();
  m_layer = layerId;
  return Acad::eOk;
}

const char* AcDbEntity::linetype() const {
  const AcDbSymbolTableRecord* r = recordOf(m_linetype);
  return r ? r->name() : "";
}

Acad::ErrorStatus AcDbEntity::setLinetype(const char* name, Adesk::Boolean doSubents) {
  if (!name) return Acad::eInvalidInput;
  AcDbDatabase* db = databaseToUse();
  if (!db) return Acad::eNoDatabase;
  AcDbSymbolTable* table = tableOf(db->linetypeTableId());
  AcDbStub* s = table ? table->findStub(name, false) : nullptr;
  if (!s) return Acad::eKeyNotFound;
  return setLinetype(AcDbObjectId(s), doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId linetypeId, Adesk::Boolean) {
  if (linetypeId.isNull()) return Acad::eNullObjectId;
  if (!AcDbLinetypeTableRecord::cast(linetypeId.stub()->object)) return Acad::eNotThatKindOfClass;
  if (database() && linetypeId.database() != database()) return Acad::eWrongDatabase;
  assertWriteEnabled();
  m_linetype = linetypeId;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, Adesk::Boolean) {
  if (!(scale > 0)) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_ltscale = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight, Adesk::Boolean) {
  int w = static_cast<int>(weight);
  if (w < -3 || w > 211) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_lineweight = weight;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, Adesk::Boolean) {
  assertWriteEnabled();
  m_visible = v == AcDb::kVisible;
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
  if (!db) db = databaseToUse();
  if (!db) return;
  if (m_layer.isNull() || m_layer.database() != db) m_layer = db->clayer();
  if (m_linetype.isNull() || m_linetype.database() != db) m_linetype = db->celtype();
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* other, Adesk::Boolean) {
  if (!other) return Acad::eNullEntityPointer;
  assertWriteEnabled();
  m_layer = other->m_layer;
  m_linetype = other->m_linetype;
  m_color = other->m_color;
  m_ltscale = other->m_ltscale;
  m_lineweight = other->m_lineweight;
  m_visible = other->m_visible;
  return Acad::eOk;
}

Adesk::Boolean AcDbEntity::worldDraw(AcGiWorldDraw*) { return true; }

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
  platform::GiRecorder rec(databaseToUse());
  AcDbExtents e;
  rec.setExtentsOnly(&e);
  rec.drawEntity(this);
  if (e.isEmpty()) return Acad::eInvalidExtents;
  extents = e;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const {
  copy = AcDbEntity::cast(clone());
  if (!copy) return Acad::eNotApplicable;
  Acad::ErrorStatus es = copy->transformBy(xform);
  if (es != Acad::eOk) {
    delete copy;
    copy = nullptr;
  }
  return es;
}

Acad::ErrorStatus AcDbEntity::getGripPoints(AcGePoint3dArray&, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d&) {
  return indices.isEmpty() ? Acad::eOk : Acad::eNotApplicable;
}

void AcDbEntity::list() const {
  AcDbObject::list();
  char buf[64];
  std::snprintf(buf, sizeof buf, "  colour %d  line weight %d\n", static_cast<int>(m_color),
                static_cast<int>(m_lineweight));
  platform::transcriptWrite(std::string("  layer \"") + layer() + "\"  line type \"" + linetype() + "\"" + buf);
}

Acad::ErrorStatus AcDbEntity::dwgInFields(AcDbDwgFiler* filer) { return AcDbObject::dwgInFields(filer); }

Acad::ErrorStatus AcDbEntity::dwgOutFields(AcDbDwgFiler* filer) const { return AcDbObject::dwgOutFields(filer); }

AcRxObject* AcDbEntity::clone() const {
  AcRxObject* made = AcDbObject::clone();
  if (AcDbEntity* e = AcDbEntity::cast(made)) {
    e->m_layer = m_layer;
    e->m_linetype = m_linetype;
    e->m_color = m_color;
    e->m_ltscale = m_ltscale;
    e->m_lineweight = m_lineweight;
    e->m_visible = m_visible;
  }
  return made;
}
