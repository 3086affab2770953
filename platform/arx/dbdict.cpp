#include "arx/dbdict.h"

#include <algorithm>
#include <cstring>

#include "arx/dbdatabase.h"
#include "arx/dbstub.h"

namespace {

bool sameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool liveStub(const AcDbStub* s) { return s && s->object && !s->object->isErased(); }

}  // namespace

// ---- AcDbDictionary ----

AcDbDictionary::AcDbDictionary() = default;
AcDbDictionary::~AcDbDictionary() = default;

long AcDbDictionary::find(const char* key, bool skipErased) const {
  if (!key) return -1;
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (!sameKey(m_entries[i].key, key)) continue;
    if (skipErased && !liveStub(m_entries[i].stub)) continue;
    return static_cast<long>(i);
  }
  return -1;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* key, AcDbObjectId& id) const {
  assertReadEnabled();
  long i = find(key, true);
  if (i < 0) return Acad::eKeyNotFound;
  id = AcDbObjectId(m_entries[static_cast<size_t>(i)].stub);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* key, AcDbObject*& obj, AcDb::OpenMode mode) const {
  obj = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(key, id);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(obj, id, mode, false);
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, const char*& name) const {
  assertReadEnabled();
  for (const Entry& e : m_entries)
    if (e.stub == id.stub()) {
      name = e.key.c_str();
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, std::string& name) const {
  const char* n = nullptr;
  Acad::ErrorStatus es = nameAt(id, n);
  if (es == Acad::eOk) name = n;
  return es;
}

bool AcDbDictionary::has(const char* key) const { return find(key, true) >= 0; }

bool AcDbDictionary::has(AcDbObjectId id) const {
  return std::any_of(m_entries.begin(), m_entries.end(),
                     [&](const Entry& e) { return e.stub == id.stub() && liveStub(e.stub); });
}

Adesk::UInt32 AcDbDictionary::numEntries() const {
  assertReadEnabled();
  return static_cast<Adesk::UInt32>(
      std::count_if(m_entries.begin(), m_entries.end(), [](const Entry& e) { return liveStub(e.stub); }));
}

Acad::ErrorStatus AcDbDictionary::setAt(const char* key, AcDbObject* value, AcDbObjectId& id) {
  if (!key || !*key) return Acad::eInvalidKey;
  if (!value) return Acad::eNullObjectPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  if (value->isPersistent() && value->database() != db) return Acad::eWrongDatabase;
  assertWriteEnabled();
  long i = find(key, false);
  if (i >= 0) {
    AcDbStub* old = m_entries[static_cast<size_t>(i)].stub;
    if (old && old->object && old->object != value && !old->object->isErased()) {
      old->object->setErasedDirect(true);
    }
    m_entries.erase(m_entries.begin() + i);
  }
  AcDbStub* s;
  if (value->isPersistent()) {
    s = value->stub();
    value->setOwnerDirect(objectId());
  } else {
    s = db->addObjectDirect(value, objectId());
    value->openAs(AcDb::kForWrite);
  }
  m_entries.push_back(Entry{key, s});
  id = AcDbObjectId(s);
  return Acad::eOk;
}

void AcDbDictionary::setAtDirect(const std::string& key, AcDbStub* stub) { m_entries.push_back(Entry{key, stub}); }

Acad::ErrorStatus AcDbDictionary::remove(const char* key) {
  AcDbObjectId id;
  return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const char* key, AcDbObjectId& id) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  long i = find(key, true);
  if (i < 0) return Acad::eKeyNotFound;
  assertWriteEnabled();
  AcDbStub* s = m_entries[static_cast<size_t>(i)].stub;
  m_entries.erase(m_entries.begin() + i);
  if (s->object) s->object->setOwnerDirect(AcDbObjectId());
  id = AcDbObjectId(s);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId id) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (size_t i = 0; i < m_entries.size(); ++i)
    if (m_entries[i].stub == id.stub()) {
      assertWriteEnabled();
      m_entries.erase(m_entries.begin() + static_cast<long>(i));
      if (id.stub()->object) id.stub()->object->setOwnerDirect(AcDbObjectId());
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setName(const char* oldName, const char* newName) {
  if (!newName || !*newName) return Acad::eInvalidKey;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  long i = find(oldName, true);
  if (i < 0) return Acad::eKeyNotFound;
  long j = find(newName, true);
  if (j >= 0 && j != i) return Acad::eDuplicateKey;
  assertWriteEnabled();
  m_entries[static_cast<size_t>(i)].key = newName;
  return Acad::eOk;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
  assertReadEnabled();
  return new AcDbDictionaryIterator(this);
}

Acad::ErrorStatus AcDbDictionary::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeInt32(static_cast<Adesk::Int32>(m_entries.size()));
  for (const Entry& e : m_entries) {
    f->writeString(e.key.c_str());
    f->writeHardOwnershipId(AcDbObjectId(e.stub));
  }
  return f->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int32 n = 0;
  f->readInt32(&n);
  if (n < 0) return Acad::eFilerError;
  m_entries.clear();
  for (Adesk::Int32 i = 0; i < n && f->filerStatus() == Acad::eOk; ++i) {
    std::string key;
    AcDbHardOwnershipId id;
    f->readString(key);
    f->readHardOwnershipId(&id);
    if (!id.isNull()) m_entries.push_back(Entry{key, id.stub()});
  }
  return f->filerStatus();
}

// ---- AcDbDictionaryIterator ----

AcDbDictionaryIterator::AcDbDictionaryIterator(const AcDbDictionary* d) : m_dict(d) { skipErased(); }

void AcDbDictionaryIterator::skipErased() {
  while (m_pos < m_dict->m_entries.size() && !liveStub(m_dict->m_entries[m_pos].stub)) ++m_pos;
}

bool AcDbDictionaryIterator::done() const { return m_pos >= m_dict->m_entries.size(); }

bool AcDbDictionaryIterator::next() {
  if (done()) return false;
  ++m_pos;
  skipErased();
  return !done();
}

const char* AcDbDictionaryIterator::name() const { return done() ? "" : m_dict->m_entries[m_pos].key.c_str(); }

AcDbObjectId AcDbDictionaryIterator::objectId() const {
  return done() ? AcDbObjectId() : AcDbObjectId(m_dict->m_entries[m_pos].stub);
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& obj, AcDb::OpenMode mode) const {
  obj = nullptr;
  if (done()) return Acad::eInvalidIndex;
  return acdbOpenObject(obj, objectId(), mode, false);
}

// ---- AcDbGroup ----

AcDbGroup::AcDbGroup(const char* description, bool selectable)
    : m_description(description ? description : ""), m_selectable(selectable) {}

AcDbGroup::~AcDbGroup() = default;

const char* AcDbGroup::name() const {
  AcDbStub* s = ownerId().stub();
  const AcDbDictionary* d = s ? AcDbDictionary::cast(s->object) : nullptr;
  if (!d) return "";
  for (const auto& e : d->entries())
    if (e.stub == stub()) return e.key.c_str();
  return "";
}

Acad::ErrorStatus AcDbGroup::getName(char*& name) const {
  const char* n = this->name();
  name = new char[std::strlen(n) + 1];
  std::memcpy(name, n, std::strlen(n) + 1);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setName(const char* newName) {
  AcDbStub* s = ownerId().stub();
  AcDbDictionary* d = s ? AcDbDictionary::cast(s->object) : nullptr;
  if (!d) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  // The dictionary is changed directly: the group is the one being renamed.
  AcDbObject::FilingScope scope(d);
  return d->setName(name(), newName);
}

Acad::ErrorStatus AcDbGroup::setDescription(const char* text) {
  assertWriteEnabled();
  m_description = text ? text : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setSelectable(bool selectable) {
  assertWriteEnabled();
  m_selectable = selectable;
  return Acad::eOk;
}

bool AcDbGroup::isAnonymous() const { return name()[0] == '*'; }

Acad::ErrorStatus AcDbGroup::checkMember(AcDbObjectId id) const {
  if (id.isNull()) return Acad::eNullObjectId;
  if (!id.stub()->object || !AcDbEntity::cast(id.stub()->object)) return Acad::eNotThatKindOfClass;
  if (database() && id.database() != database()) return Acad::eWrongDatabase;
  if (std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end()) return Acad::eDuplicateKey;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id) { return insertAt(static_cast<Adesk::UInt32>(m_ids.size()), id); }

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids) {
  for (const AcDbObjectId& id : ids) {
    Acad::ErrorStatus es = append(id);
    if (es != Acad::eOk) return es;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::prepend(AcDbObjectId id) { return insertAt(0, id); }

Acad::ErrorStatus AcDbGroup::insertAt(Adesk::UInt32 index, AcDbObjectId id) {
  if (index > m_ids.size()) return Acad::eInvalidIndex;
  Acad::ErrorStatus es = checkMember(id);
  if (es != Acad::eOk) return es;
  assertWriteEnabled();
  m_ids.insert(m_ids.begin() + index, id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id) {
  auto it = std::find(m_ids.begin(), m_ids.end(), id);
  if (it == m_ids.end()) return Acad::eKeyNotFound;
  assertWriteEnabled();
  m_ids.erase(it);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::removeAt(Adesk::UInt32 index) {
  if (index >= m_ids.size()) return Acad::eInvalidIndex;
  assertWriteEnabled();
  m_ids.erase(m_ids.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::clear() {
  assertWriteEnabled();
  m_ids.clear();
  return Acad::eOk;
}

bool AcDbGroup::has(const AcDbEntity* entity) const {
  if (!entity) return false;
  return std::find(m_ids.begin(), m_ids.end(), entity->objectId()) != m_ids.end() && !entity->objectId().isNull();
}

Adesk::UInt32 AcDbGroup::numEntities() const {
  assertReadEnabled();
  return static_cast<Adesk::UInt32>(
      std::count_if(m_ids.begin(), m_ids.end(), [](const AcDbObjectId& id) { return liveStub(id.stub()); }));
}

Adesk::UInt32 AcDbGroup::allEntityIds(AcDbObjectIdArray& ids) const {
  assertReadEnabled();
  Adesk::UInt32 n = 0;
  for (const AcDbObjectId& id : m_ids)
    if (liveStub(id.stub())) {
      ids.append(id);
      ++n;
    }
  return n;
}

Acad::ErrorStatus AcDbGroup::getIndex(AcDbObjectId id, Adesk::UInt32& index) const {
  auto it = std::find(m_ids.begin(), m_ids.end(), id);
  if (it == m_ids.end()) return Acad::eKeyNotFound;
  index = static_cast<Adesk::UInt32>(it - m_ids.begin());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeString(m_description.c_str());
  f->writeBool(m_selectable);
  f->writeInt32(static_cast<Adesk::Int32>(m_ids.size()));
  for (const AcDbObjectId& id : m_ids) f->writeHardPointerId(id);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbGroup::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int32 n = 0;
  f->readString(m_description);
  f->readBool(&m_selectable);
  f->readInt32(&n);
  if (n < 0) return Acad::eFilerError;
  m_ids.clear();
  for (Adesk::Int32 i = 0; i < n && f->filerStatus() == Acad::eOk; ++i) {
    AcDbHardPointerId id;
    f->readHardPointerId(&id);
    if (!id.isNull()) m_ids.push_back(id);
  }
  return f->filerStatus();
}

// ---- AcDbLayout ----

AcDbLayout::AcDbLayout() = default;

Acad::ErrorStatus AcDbLayout::setLayoutName(const char* name) {
  assertWriteEnabled();
  m_name = name ? name : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayout::setBlockTableRecordId(AcDbObjectId id) {
  assertWriteEnabled();
  m_block = id;
  return Acad::eOk;
}

void AcDbLayout::setTabOrder(int order) {
  assertWriteEnabled();
  m_tabOrder = order;
}

Acad::ErrorStatus AcDbLayout::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeString(m_name.c_str());
  f->writeInt32(m_tabOrder);
  f->writeSoftPointerId(m_block);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbLayout::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(f);
  if (es != Acad::eOk) return es;
  AcDbSoftPointerId block;
  Adesk::Int32 order = 0;
  f->readString(m_name);
  f->readInt32(&order);
  f->readSoftPointerId(&block);
  m_tabOrder = order;
  m_block = block;
  return f->filerStatus();
}
