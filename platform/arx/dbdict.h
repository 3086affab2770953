#pragma once
// Dictionaries (the named-object dictionary, the group dictionary), groups
// and layouts.
//
// A dictionary maps keys to objects it owns. Keys are compared without regard
// to the case of ASCII letters; iteration follows the order in which entries
// were set. Entries whose object is erased are skipped.

#include <string>
#include <vector>

#include "arx/dbmain.h"

class AcDbDictionary;

class PLATFORM_API AcDbDictionaryIterator {
 public:
  ~AcDbDictionaryIterator() = default;
  bool done() const;
  bool next();
  const char* name() const;
  AcDbObjectId objectId() const;
  Acad::ErrorStatus getObject(AcDbObject*& obj, AcDb::OpenMode mode) const;

 private:
  friend class AcDbDictionary;
  explicit AcDbDictionaryIterator(const AcDbDictionary* d);
  void skipErased();
  const AcDbDictionary* m_dict;
  size_t m_pos = 0;
};

class PLATFORM_API AcDbDictionary : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDictionary);
  AcDbDictionary();
  ~AcDbDictionary() override;

  Acad::ErrorStatus getAt(const char* key, AcDbObject*& obj, AcDb::OpenMode mode) const;
  Acad::ErrorStatus getAt(const char* key, AcDbObjectId& id) const;
  Acad::ErrorStatus nameAt(AcDbObjectId id, const char*& name) const;
  Acad::ErrorStatus nameAt(AcDbObjectId id, std::string& name) const;
  bool has(const char* key) const;
  bool has(AcDbObjectId id) const;
  Adesk::UInt32 numEntries() const;
  // Puts `value` under `key` (the dictionary must be open for write). A value
  // not yet in the database is added to it and owned by the dictionary; an
  // entry already under the key is replaced and its object erased.
  Acad::ErrorStatus setAt(const char* key, AcDbObject* value, AcDbObjectId& id);
  // Takes the entry out (the object stays, without owner).
  Acad::ErrorStatus remove(const char* key);
  Acad::ErrorStatus remove(const char* key, AcDbObjectId& id);
  Acad::ErrorStatus remove(AcDbObjectId id);
  Acad::ErrorStatus setName(const char* oldName, const char* newName);
  // A new iterator that the caller deletes.
  AcDbDictionaryIterator* newIterator() const;

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

  // ---- used by the database ----
  struct Entry {
    std::string key;
    AcDbStub* stub;
  };
  const std::vector<Entry>& entries() const { return m_entries; }
  void setAtDirect(const std::string& key, AcDbStub* stub);

 private:
  friend class AcDbDictionaryIterator;
  long find(const char* key, bool skipErased) const;
  std::vector<Entry> m_entries;
};

class PLATFORM_API AcDbGroup : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbGroup);
  explicit AcDbGroup(const char* description = nullptr, bool selectable = true);
  ~AcDbGroup() override;

  // The group's key in the group dictionary ("" until it is set there).
  const char* name() const;
  Acad::ErrorStatus getName(char*& name) const;
  Acad::ErrorStatus setName(const char* newName);
  const char* description() const { return m_description.c_str(); }
  Acad::ErrorStatus setDescription(const char* text);
  bool isSelectable() const { return m_selectable; }
  Acad::ErrorStatus setSelectable(bool selectable);
  bool isAnonymous() const;

  // Entities of the group's database: eNotThatKindOfClass for an id that is
  // not an entity, eWrongDatabase for another database's, eDuplicateKey for
  // one the group holds already.
  Acad::ErrorStatus append(AcDbObjectId id);
  Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
  Acad::ErrorStatus prepend(AcDbObjectId id);
  Acad::ErrorStatus insertAt(Adesk::UInt32 index, AcDbObjectId id);
  Acad::ErrorStatus remove(AcDbObjectId id);
  Acad::ErrorStatus removeAt(Adesk::UInt32 index);
  Acad::ErrorStatus clear();
  bool has(const AcDbEntity* entity) const;
  // Entities that are not erased.
  Adesk::UInt32 numEntities() const;
  Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;
  Acad::ErrorStatus getIndex(AcDbObjectId id, Adesk::UInt32& index) const;

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

  // ---- used by the database ----
  const std::vector<AcDbObjectId>& idsDirect() const { return m_ids; }
  void setIdsDirect(std::vector<AcDbObjectId> ids) { m_ids = std::move(ids); }

 private:
  Acad::ErrorStatus checkMember(AcDbObjectId id) const;
  std::string m_description;
  bool m_selectable = true;
  std::vector<AcDbObjectId> m_ids;
};

// A layout (a tab of the drawing) and the block that holds its entities.
class PLATFORM_API AcDbLayout : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayout);
  AcDbLayout();
  const char* layoutName() const { return m_name.c_str(); }
  Acad::ErrorStatus getLayoutName(const char*& name) const { name = m_name.c_str(); return Acad::eOk; }
  Acad::ErrorStatus setLayoutName(const char* name);
  AcDbObjectId getBlockTableRecordId() const { return m_block; }
  Acad::ErrorStatus setBlockTableRecordId(AcDbObjectId id);
  int getTabOrder() const { return m_tabOrder; }
  void setTabOrder(int order);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  std::string m_name;
  AcDbObjectId m_block;
  int m_tabOrder = 0;
};
