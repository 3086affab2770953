#include "arx/dbsymtb.h"

#include <cstring>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbstub.h"
#include "crt/ascii.h"

namespace {

AcDbSymbolTable* ownerTable(const AcDbObject* rec) {
  AcDbStub* s = rec->ownerId().stub();
  return s ? AcDbSymbolTable::cast(s->object) : nullptr;
}

}  // namespace

bool acdbIsValidSymbolName(const char* name) {
  if (!name || !*name) return false;
  for (const char* c = name; *c; ++c) {
    unsigned char u = static_cast<unsigned char>(*c);
    if (u < 0x20) return false;
    if (std::strchr("<>/\\\":;?|,=`", *c)) return false;
    if (*c == '*' && c != name) return false;
  }
  return true;
}

// ---- AcDbSymbolTableRecord ----

AcDbSymbolTableRecord::AcDbSymbolTableRecord() = default;
AcDbSymbolTableRecord::~AcDbSymbolTableRecord() = default;

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const char*& name) const {
  assertReadEnabled();
  name = m_name.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(char*& name) const {
  assertReadEnabled();
  name = new char[m_name.size() + 1];
  std::memcpy(name, m_name.c_str(), m_name.size() + 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* name) {
  if (!acdbIsValidSymbolName(name)) return Acad::eInvalidInput;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (AcDbSymbolTable* t = ownerTable(this)) {
    if (!t->renameRecord(stub(), m_name, name)) return Acad::eDuplicateRecordName;
  }
  assertWriteEnabled();
  m_name = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeString(m_name.c_str());
  return f->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readString(m_name);
  return f->filerStatus();
}

// ---- AcDbSymbolTable ----

AcDbSymbolTable::AcDbSymbolTable() = default;
AcDbSymbolTable::~AcDbSymbolTable() = default;

AcDbStub* AcDbSymbolTable::findStub(const char* name, bool getErased) const {
  if (!name) return nullptr;
  auto it = m_byName.find(platform::lowerAscii(name));
  if (it == m_byName.end()) return nullptr;
  AcDbStub* erased = nullptr;
  for (AcDbStub* s : it->second) {
    if (!s->object) continue;
    if (!s->object->isErased()) return s;
    if (!erased) erased = s;
  }
  return getErased ? erased : nullptr;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbObjectId& id, bool getErased) const {
  assertReadEnabled();
  AcDbStub* s = findStub(name, getErased);
  if (!s) return Acad::eKeyNotFound;
  id = AcDbObjectId(s);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(name, id, openErased);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErased);
}

bool AcDbSymbolTable::has(const char* name) const { return findStub(name, false) != nullptr; }

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  AcDbStub* s = id.stub();
  return s && s->object && !s->object->isErased() && s->object->ownerId() == objectId();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
  AcDbObjectId id;
  return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
  if (!record) return Acad::eNullObjectPointer;
  if (record->isPersistent()) return Acad::eAlreadyInDb;
  if (!acceptsRecord(record)) return Acad::eIllegalEntityType;
  if (!acdbIsValidSymbolName(record->name())) return Acad::eInvalidInput;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  if (findStub(record->name(), false)) return Acad::eDuplicateRecordName;
  assertWriteEnabled();
  AcDbStub* s = db->addObjectDirect(record, objectId());
  record->openAs(AcDb::kForWrite);
  addRecordDirect(s, record->name());
  id = AcDbObjectId(s);
  return Acad::eOk;
}

void AcDbSymbolTable::addRecordDirect(AcDbStub* stub, const std::string& name) {
  m_records.push_back(stub);
  m_byName[platform::lowerAscii(name)].push_back(stub);
}

bool AcDbSymbolTable::renameRecord(AcDbStub* stub, const std::string& oldName, const std::string& newName) {
  AcDbStub* other = findStub(newName.c_str(), false);
  if (other && other != stub) return false;
  auto it = m_byName.find(platform::lowerAscii(oldName));
  if (it != m_byName.end()) std::erase(it->second, stub);
  m_byName[platform::lowerAscii(newName)].push_back(stub);
  return true;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
  assertReadEnabled();
  iterator = new AcDbSymbolTableIterator(this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

// ---- AcDbSymbolTableIterator ----

void AcDbSymbolTableIterator::skip(bool forward, bool skipDeleted) {
  const auto& recs = m_table->recordStubs();
  while (m_pos >= 0 && m_pos < static_cast<long>(recs.size())) {
    AcDbStub* s = recs[static_cast<size_t>(m_pos)];
    if (s->object && !(skipDeleted && s->object->isErased())) return;
    m_pos += forward ? 1 : -1;
  }
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  m_skipDeleted = skipDeleted;
  m_pos = atBeginning ? 0 : static_cast<long>(m_table->recordStubs().size()) - 1;
  skip(atBeginning, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const {
  return m_pos < 0 || m_pos >= static_cast<long>(m_table->recordStubs().size());
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  m_pos += forward ? 1 : -1;
  skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = AcDbObjectId(m_table->recordStubs()[static_cast<size_t>(m_pos)]);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getRecordId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErased);
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id) {
  const auto& recs = m_table->recordStubs();
  for (size_t i = 0; i < recs.size(); ++i)
    if (recs[i] == id.stub()) {
      m_pos = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

// ---- typed tables ----

#define PLATFORM_DEFINE_SYMBOL_TABLE(TABLE, RECORD, ITERATOR)                                           \
  Acad::ErrorStatus ITERATOR::getRecord(RECORD*& record, AcDb::OpenMode mode, bool openErased) const {  \
    record = nullptr;                                                                                   \
    AcDbObjectId id;                                                                                    \
    Acad::ErrorStatus es = getRecordId(id);                                                             \
    if (es != Acad::eOk) return es;                                                                     \
    return acdbOpenObject(record, id, mode, openErased);                                                \
  }                                                                                                     \
  Acad::ErrorStatus TABLE::getAt(const char* name, RECORD*& record, AcDb::OpenMode mode,                \
                                 bool openErased) const {                                               \
    record = nullptr;                                                                                   \
    AcDbObjectId id;                                                                                    \
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, id, openErased);                                \
    if (es != Acad::eOk) return es;                                                                     \
    return acdbOpenObject(record, id, mode, openErased);                                                \
  }                                                                                                     \
  Acad::ErrorStatus TABLE::newIterator(ITERATOR*& iterator, bool atBeginning, bool skipDeleted) const { \
    assertReadEnabled();                                                                                \
    iterator = new ITERATOR(this);                                                                      \
    iterator->start(atBeginning, skipDeleted);                                                          \
    return Acad::eOk;                                                                                   \
  }                                                                                                     \
  bool TABLE::acceptsRecord(const AcDbSymbolTableRecord* record) const { return RECORD::cast(record) != nullptr; }

PLATFORM_DEFINE_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbViewportTable, AcDbViewportTableRecord, AcDbViewportTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbViewTable, AcDbViewTableRecord, AcDbViewTableIterator)
PLATFORM_DEFINE_SYMBOL_TABLE(AcDbUCSTable, AcDbUCSTableRecord, AcDbUCSTableIterator)

// ---- AcDbBlockTableRecord ----

AcDbBlockTableRecord::AcDbBlockTableRecord() = default;
AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
  if (!entity) return Acad::eNullEntityPointer;
  if (entity->isPersistent()) return Acad::eAlreadyInDb;
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  // An entity whose layer or line type belongs to another database takes this one's current ones.
  entity->setDatabaseDefaults(db);
  AcDbStub* s = db->addObjectDirect(entity, objectId());
  entity->openAs(AcDb::kForWrite);
  m_entities.push_back(s);
  id = AcDbObjectId(s);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
  assertReadEnabled();
  iterator = new AcDbBlockTableRecordIterator(this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_origin = p;
  return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
  return platform::lowerAscii(name()) == "*model_space" || platform::lowerAscii(name()).rfind("*paper_space", 0) == 0;
}

bool AcDbBlockTableRecord::isAnonymous() const { return name()[0] == '*' && !isLayout(); }

Acad::ErrorStatus AcDbBlockTableRecord::setComments(const char* text) {
  assertWriteEnabled();
  m_comments = text ? text : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_origin);
  f->writeString(m_comments.c_str());
  return f->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_origin);
  f->readString(m_comments);
  return f->filerStatus();
}

void AcDbBlockTableRecordIterator::skip(bool forward, bool skipDeleted) {
  const auto& ents = m_block->entityStubs();
  while (m_pos >= 0 && m_pos < static_cast<long>(ents.size())) {
    AcDbStub* s = ents[static_cast<size_t>(m_pos)];
    if (s->object && !(skipDeleted && s->object->isErased())) return;
    m_pos += forward ? 1 : -1;
  }
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  m_skipDeleted = skipDeleted;
  m_pos = atBeginning ? 0 : static_cast<long>(m_block->entityStubs().size()) - 1;
  skip(atBeginning, skipDeleted);
}

bool AcDbBlockTableRecordIterator::done() const {
  return m_pos < 0 || m_pos >= static_cast<long>(m_block->entityStubs().size());
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  m_pos += forward ? 1 : -1;
  skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = AcDbObjectId(m_block->entityStubs()[static_cast<size_t>(m_pos)]);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
  entity = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getEntityId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenAcDbEntity(entity, id, mode, openErased);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id) {
  const auto& ents = m_block->entityStubs();
  for (size_t i = 0; i < ents.size(); ++i)
    if (ents[i] == id.stub()) {
      m_pos = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

// ---- AcDbLayerTableRecord ----

AcDbLayerTableRecord::AcDbLayerTableRecord() = default;

AcCmColor AcDbLayerTableRecord::color() const {
  AcCmColor c;
  c.setColorIndex(m_color);
  return c;
}

Acad::ErrorStatus AcDbLayerTableRecord::setColor(const AcCmColor& color) { return setColorIndex(color.colorIndex()); }

Acad::ErrorStatus AcDbLayerTableRecord::setColorIndex(Adesk::UInt16 index) {
  if (index < 1 || index > 255) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_color = index;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  if (id.isNull() || !id.stub()->object || !AcDbLinetypeTableRecord::cast(id.stub()->object))
    return Acad::eInvalidInput;
  assertWriteEnabled();
  m_linetype = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight weight) {
  int w = static_cast<int>(weight);
  // A layer's weight is a value or the default (by layer and by block mean nothing for a layer).
  if (w < -3 || w > 211) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_lineweight = (w == -1 || w == -2) ? AcDb::kLnWtByLwDefault : weight;
  return Acad::eOk;
}

void AcDbLayerTableRecord::setIsOff(bool off) {
  assertWriteEnabled();
  m_off = off;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  assertWriteEnabled();
  m_frozen = frozen;
  return Acad::eOk;
}

void AcDbLayerTableRecord::setIsLocked(bool locked) {
  assertWriteEnabled();
  m_locked = locked;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsPlottable(bool plottable) {
  assertWriteEnabled();
  m_plottable = plottable;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeUInt16(m_color);
  f->writeHardPointerId(m_linetype);
  f->writeInt16(static_cast<Adesk::Int16>(m_lineweight));
  f->writeBool(m_off);
  f->writeBool(m_frozen);
  f->writeBool(m_locked);
  f->writeBool(m_plottable);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbLayerTableRecord::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(f);
  if (es != Acad::eOk) return es;
  AcDbHardPointerId lt;
  Adesk::Int16 lw = -3;
  f->readUInt16(&m_color);
  f->readHardPointerId(&lt);
  f->readInt16(&lw);
  f->readBool(&m_off);
  f->readBool(&m_frozen);
  f->readBool(&m_locked);
  f->readBool(&m_plottable);
  m_linetype = lt;
  m_lineweight = static_cast<AcDb::LineWeight>(lw);
  return f->filerStatus();
}

// ---- AcDbLinetypeTableRecord ----

AcDbLinetypeTableRecord::AcDbLinetypeTableRecord() = default;

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const char* text) {
  assertWriteEnabled();
  m_comments = text ? text : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setPatternLength(double length) {
  if (length < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_patternLength = length;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setNumDashes(int count) {
  if (count < 0 || count > 12) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_dashes.resize(static_cast<size_t>(count), 0.0);
  return Acad::eOk;
}

double AcDbLinetypeTableRecord::dashLengthAt(int index) const {
  assertReadEnabled();
  if (index < 0 || static_cast<size_t>(index) >= m_dashes.size()) return 0.0;
  return m_dashes[static_cast<size_t>(index)];
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setDashLengthAt(int index, double length) {
  if (index < 0 || static_cast<size_t>(index) >= m_dashes.size()) return Acad::eInvalidIndex;
  assertWriteEnabled();
  m_dashes[static_cast<size_t>(index)] = length;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeString(m_comments.c_str());
  f->writeDouble(m_patternLength);
  f->writeBool(m_scaledToFit);
  f->writeInt16(static_cast<Adesk::Int16>(m_dashes.size()));
  for (double d : m_dashes) f->writeDouble(d);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int16 n = 0;
  f->readString(m_comments);
  f->readDouble(&m_patternLength);
  f->readBool(&m_scaledToFit);
  f->readInt16(&n);
  if (n < 0 || n > 12) return Acad::eFilerError;
  m_dashes.assign(static_cast<size_t>(n), 0.0);
  for (double& d : m_dashes) f->readDouble(&d);
  return f->filerStatus();
}

// ---- AcDbTextStyleTableRecord ----

AcDbTextStyleTableRecord::AcDbTextStyleTableRecord() = default;

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const char* name) {
  assertWriteEnabled();
  m_fileName = name ? name : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const char* name) {
  assertWriteEnabled();
  m_bigFont = name ? name : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale) {
  if (!(scale > 0)) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_xScale = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double angle) {
  assertWriteEnabled();
  m_oblique = angle;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
  if (size < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_textSize = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setPriorSize(double size) {
  if (size < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_priorSize = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setIsVertical(bool v) {
  assertWriteEnabled();
  m_vertical = v;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFont(const char* typeface, Adesk::Boolean bold,
                                                    Adesk::Boolean italic, int charset, int pitchAndFamily) {
  if (charset < 0 || charset > 255 || pitchAndFamily < 0 || pitchAndFamily > 255) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_typeface = typeface ? typeface : "";
  m_bold = bold;
  m_italic = italic;
  m_charset = charset;
  m_pitchAndFamily = pitchAndFamily;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::font(char*& typeface, Adesk::Boolean& bold, Adesk::Boolean& italic,
                                                 int& charset, int& pitchAndFamily) const {
  assertReadEnabled();
  typeface = nullptr;
  if (!m_typeface.empty()) {
    typeface = new char[m_typeface.size() + 1];
    std::memcpy(typeface, m_typeface.c_str(), m_typeface.size() + 1);
  }
  bold = m_bold;
  italic = m_italic;
  charset = m_charset;
  pitchAndFamily = m_pitchAndFamily;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeString(m_fileName.c_str());
  f->writeString(m_bigFont.c_str());
  f->writeString(m_typeface.c_str());
  f->writeDouble(m_xScale);
  f->writeDouble(m_oblique);
  f->writeDouble(m_textSize);
  f->writeDouble(m_priorSize);
  f->writeBool(m_vertical);
  f->writeBool(m_bold);
  f->writeBool(m_italic);
  f->writeInt16(static_cast<Adesk::Int16>(m_charset));
  f->writeInt16(static_cast<Adesk::Int16>(m_pitchAndFamily));
  return f->filerStatus();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int16 cs = 0, pf = 0;
  f->readString(m_fileName);
  f->readString(m_bigFont);
  f->readString(m_typeface);
  f->readDouble(&m_xScale);
  f->readDouble(&m_oblique);
  f->readDouble(&m_textSize);
  f->readDouble(&m_priorSize);
  f->readBool(&m_vertical);
  f->readBool(&m_bold);
  f->readBool(&m_italic);
  f->readInt16(&cs);
  f->readInt16(&pf);
  m_charset = cs & 0xff;
  m_pitchAndFamily = pf & 0xff;
  return f->filerStatus();
}

// ---- AcDbViewportTableRecord ----

AcDbViewportTableRecord::AcDbViewportTableRecord() = default;

void AcDbViewportTableRecord::setCenterPoint(const AcGePoint2d& p) {
  assertWriteEnabled();
  m_center = p;
  m_viewSet = true;
}
void AcDbViewportTableRecord::setHeight(double h) {
  if (!(h > 0)) return;
  assertWriteEnabled();
  m_height = h;
  m_viewSet = true;
}
void AcDbViewportTableRecord::setWidth(double w) {
  if (!(w > 0)) return;
  assertWriteEnabled();
  m_width = w;
  m_viewSet = true;
}

Acad::ErrorStatus AcDbViewportTableRecord::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint2d(m_center);
  f->writeDouble(m_height);
  f->writeDouble(m_width);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbViewportTableRecord::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint2d(&m_center);
  f->readDouble(&m_height);
  f->readDouble(&m_width);
  return f->filerStatus();
}
