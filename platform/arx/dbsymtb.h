#pragma once
// Symbol tables and their records: blocks, layers, line types, text styles,
// and the viewport, application-name and dimension-style tables that a
// drawing file carries.
//
// Records are found by name without regard to the case of ASCII letters
// ("hdm" finds "Hdm"); other characters compare as they are. A name may not be
// empty and may not hold < > / \ " : ; ? | , = ` or control characters; a '*'
// only as its first character (the layout blocks "*Model_Space" and
// "*Paper_Space").
//
// add() puts a new record into an open-for-write table; the record is then in
// the database and open for write until its close(). Erased records are
// skipped by getAt and has (unless asked for) and by iterators that skip
// deleted records.

#include <string>
#include <unordered_map>
#include <vector>

#include "arx/dbmain.h"

class AcDbSymbolTable;
class AcDbBlockTableRecordIterator;

class PLATFORM_API AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  AcDbSymbolTableRecord();
  ~AcDbSymbolTableRecord() override;

  Acad::ErrorStatus getName(const char*& name) const;
  // A copy of the name that the caller frees with delete[].
  Acad::ErrorStatus getName(char*& name) const;
  const char* name() const { return m_name.c_str(); }
  // eInvalidInput for a name that is not valid, eDuplicateRecordName when the
  // record's table holds another record of that name.
  Acad::ErrorStatus setName(const char* name);
  bool isDependent() const { return false; }
  bool isResolved() const { return true; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

  // ---- used by the database ----
  void setNameDirect(std::string name) { m_name = std::move(name); }

 private:
  std::string m_name;
};

class PLATFORM_API AcDbSymbolTableIterator {
 public:
  virtual ~AcDbSymbolTableIterator() = default;
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                              bool openErased = false) const;
  Acad::ErrorStatus seek(AcDbObjectId id);

 protected:
  friend class AcDbSymbolTable;
  explicit AcDbSymbolTableIterator(const AcDbSymbolTable* table) : m_table(table) {}
  void skip(bool forward, bool skipDeleted);
  const AcDbSymbolTable* m_table;
  long m_pos = 0;
  bool m_skipDeleted = true;
};

class PLATFORM_API AcDbSymbolTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
  AcDbSymbolTable();
  ~AcDbSymbolTable() override;

  Acad::ErrorStatus getAt(const char* name, AcDbObjectId& id, bool getErased = false) const;
  Acad::ErrorStatus getAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                          bool openErased = false) const;
  bool has(const char* name) const;
  bool has(AcDbObjectId id) const;
  Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  // ---- used by the database ----
  // Whether `record` is of the kind this table holds.
  virtual bool acceptsRecord(const AcDbSymbolTableRecord* record) const = 0;
  // The DXF table name ("LAYER").
  virtual const char* dxfTableName() const = 0;
  const std::vector<AcDbStub*>& recordStubs() const { return m_records; }
  // Adds a record that the database has already made resident (reading a file).
  void addRecordDirect(AcDbStub* stub, const std::string& name);
  // Renames in the index; false when another record holds the name.
  bool renameRecord(AcDbStub* stub, const std::string& oldName, const std::string& newName);
  AcDbStub* findStub(const char* name, bool getErased) const;

 private:
  std::vector<AcDbStub*> m_records;
  std::unordered_map<std::string, std::vector<AcDbStub*>> m_byName;  // ASCII-folded name
};

// True when `name` may name a symbol table record.
PLATFORM_API bool acdbIsValidSymbolName(const char* name);

// Tables of one record kind: typed getAt, add and iterators.
#define PLATFORM_DECLARE_SYMBOL_TABLE(TABLE, RECORD, ITERATOR, DXF_TABLE)                                  \
  class PLATFORM_API ITERATOR : public AcDbSymbolTableIterator {                                          \
   public:                                                                                                \
    using AcDbSymbolTableIterator::getRecord;                                                             \
    Acad::ErrorStatus getRecord(RECORD*& record, AcDb::OpenMode mode, bool openErased = false) const;     \
                                                                                                          \
   private:                                                                                               \
    friend class TABLE;                                                                                   \
    explicit ITERATOR(const AcDbSymbolTable* t) : AcDbSymbolTableIterator(t) {}                           \
  };                                                                                                      \
  class PLATFORM_API TABLE : public AcDbSymbolTable {                                                     \
   public:                                                                                                \
    ACRX_DECLARE_MEMBERS(TABLE);                                                                          \
    using AcDbSymbolTable::add;                                                                           \
    using AcDbSymbolTable::getAt;                                                                         \
    using AcDbSymbolTable::newIterator;                                                                   \
    Acad::ErrorStatus getAt(const char* name, RECORD*& record, AcDb::OpenMode mode,                       \
                            bool openErased = false) const;                                               \
    Acad::ErrorStatus add(RECORD* record) { return AcDbSymbolTable::add(record); }                        \
    Acad::ErrorStatus add(AcDbObjectId& id, RECORD* record) { return AcDbSymbolTable::add(id, record); }  \
    Acad::ErrorStatus newIterator(ITERATOR*& iterator, bool atBeginning = true,                           \
                                  bool skipDeleted = true) const;                                         \
    bool acceptsRecord(const AcDbSymbolTableRecord* record) const override;                               \
    const char* dxfTableName() const override { return DXF_TABLE; }                                       \
  };

class PLATFORM_API AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
  AcDbBlockTableRecord();
  ~AcDbBlockTableRecord() override;

  // Appends a new entity (not in a database yet) to this open-for-write block;
  // the entity gets the database's defaults for properties not set and stays
  // open for write until its close().
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  AcGePoint3d origin() const { return m_origin; }
  Acad::ErrorStatus setOrigin(const AcGePoint3d& p);
  bool isLayout() const;
  bool isAnonymous() const;
  bool hasAttributeDefinitions() const { return false; }
  bool isFromExternalReference() const { return false; }
  const char* comments() const { return m_comments.c_str(); }
  Acad::ErrorStatus setComments(const char* text);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

  // ---- used by the database ----
  const std::vector<AcDbStub*>& entityStubs() const { return m_entities; }
  void addEntityDirect(AcDbStub* stub) { m_entities.push_back(stub); }
  void replaceEntitiesDirect(std::vector<AcDbStub*> stubs) { m_entities = std::move(stubs); }
  // Handles of the block's begin and end marks in a drawing file.
  uint64_t beginHandle() const { return m_beginHandle; }
  uint64_t endHandle() const { return m_endHandle; }
  void setMarkHandlesDirect(uint64_t begin, uint64_t end) {
    m_beginHandle = begin;
    m_endHandle = end;
  }

 private:
  std::vector<AcDbStub*> m_entities;
  uint64_t m_beginHandle = 0, m_endHandle = 0;
  AcGePoint3d m_origin;
  std::string m_comments;
};

class PLATFORM_API AcDbBlockTableRecordIterator {
 public:
  ~AcDbBlockTableRecordIterator() = default;
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErased = false) const;
  Acad::ErrorStatus seek(AcDbObjectId id);
  const AcDbBlockTableRecord* blockTableRecord() const { return m_block; }

 private:
  friend class AcDbBlockTableRecord;
  explicit AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* b) : m_block(b) {}
  void skip(bool forward, bool skipDeleted);
  const AcDbBlockTableRecord* m_block;
  long m_pos = 0;
  bool m_skipDeleted = true;
};

class PLATFORM_API AcDbLayerTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  AcDbLayerTableRecord();

  AcCmColor color() const;
  // The colour of a layer is an index 1..255 (by layer and by block are refused).
  Acad::ErrorStatus setColor(const AcCmColor& color);
  Adesk::UInt16 colorIndex() const { return m_color; }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  AcDbObjectId linetypeObjectId() const { return m_linetype; }
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId id);
  AcDb::LineWeight lineWeight() const { return m_lineweight; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
  bool isOff() const { return m_off; }
  void setIsOff(bool off);
  bool isFrozen() const { return m_frozen; }
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const { return m_locked; }
  void setIsLocked(bool locked);
  bool isPlottable() const { return m_plottable; }
  Acad::ErrorStatus setIsPlottable(bool plottable);

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

  // ---- used by the database ----
  void setLinetypeDirect(AcDbObjectId id) { m_linetype = id; }

 private:
  Adesk::UInt16 m_color = 7;
  AcDbObjectId m_linetype;
  AcDb::LineWeight m_lineweight = AcDb::kLnWtByLwDefault;
  bool m_off = false, m_frozen = false, m_locked = false, m_plottable = true;
};

class PLATFORM_API AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
  AcDbLinetypeTableRecord();

  const char* comments() const { return m_comments.c_str(); }
  Acad::ErrorStatus comments(const char*& text) const { text = m_comments.c_str(); return Acad::eOk; }
  Acad::ErrorStatus setComments(const char* text);
  // Same as comments (the description shown beside the name).
  Acad::ErrorStatus asciiDescription(const char*& text) const { return comments(text); }
  Acad::ErrorStatus setAsciiDescription(const char* text) { return setComments(text); }
  double patternLength() const { return m_patternLength; }
  Acad::ErrorStatus setPatternLength(double length);
  int numDashes() const { return static_cast<int>(m_dashes.size()); }
  // 0..12 dashes; eInvalidInput outside.
  Acad::ErrorStatus setNumDashes(int count);
  // Positive: a dash; negative: a gap; 0: a dot. 0.0 for an index out of range.
  double dashLengthAt(int index) const;
  Acad::ErrorStatus setDashLengthAt(int index, double length);
  bool isScaledToFit() const { return m_scaledToFit; }
  void setIsScaledToFit(bool v) { assertWriteEnabled(); m_scaledToFit = v; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  std::string m_comments;
  double m_patternLength = 0;
  std::vector<double> m_dashes;
  bool m_scaledToFit = false;
};

class PLATFORM_API AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord);
  AcDbTextStyleTableRecord();

  Acad::ErrorStatus fileName(const char*& name) const { name = m_fileName.c_str(); return Acad::eOk; }
  const char* fileName() const { return m_fileName.c_str(); }
  Acad::ErrorStatus setFileName(const char* name);
  Acad::ErrorStatus bigFontFileName(const char*& name) const { name = m_bigFont.c_str(); return Acad::eOk; }
  const char* bigFontFileName() const { return m_bigFont.c_str(); }
  Acad::ErrorStatus setBigFontFileName(const char* name);
  double xScale() const { return m_xScale; }
  Acad::ErrorStatus setXScale(double scale);
  double obliquingAngle() const { return m_oblique; }
  Acad::ErrorStatus setObliquingAngle(double angle);
  double textSize() const { return m_textSize; }
  Acad::ErrorStatus setTextSize(double size);
  double priorSize() const { return m_priorSize; }
  Acad::ErrorStatus setPriorSize(double size);
  bool isVertical() const { return m_vertical; }
  Acad::ErrorStatus setIsVertical(bool v);
  // The typeface of a TrueType font and how it is chosen; kept through save and open.
  Acad::ErrorStatus setFont(const char* typeface, Adesk::Boolean bold, Adesk::Boolean italic, int charset,
                            int pitchAndFamily);
  // `typeface` is a copy the caller frees with delete[] (nullptr when none is set).
  Acad::ErrorStatus font(char*& typeface, Adesk::Boolean& bold, Adesk::Boolean& italic, int& charset,
                         int& pitchAndFamily) const;
  const char* typeface() const { return m_typeface.c_str(); }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  std::string m_fileName, m_bigFont, m_typeface;
  double m_xScale = 1.0, m_oblique = 0.0, m_textSize = 0.0, m_priorSize = 2.5;
  bool m_vertical = false, m_bold = false, m_italic = false;
  int m_charset = 0, m_pitchAndFamily = 0;
};

// The active view of model space (what ZOOM sets).
class PLATFORM_API AcDbViewportTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbViewportTableRecord);
  AcDbViewportTableRecord();
  AcGePoint2d centerPoint() const { return m_center; }
  void setCenterPoint(const AcGePoint2d& p);
  double height() const { return m_height; }
  void setHeight(double h);
  double width() const { return m_width; }
  void setWidth(double w);
  // True once the view was set (by ZOOM, or read from a drawing file); a new
  // drawing's view is the default one, which need not show what is drawn.
  bool isViewSet() const { return m_viewSet; }

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint2d m_center{0, 0};
  double m_height = 100, m_width = 150;
  bool m_viewSet = false;
};

class PLATFORM_API AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRegAppTableRecord);
};

class PLATFORM_API AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDimStyleTableRecord);
};

class PLATFORM_API AcDbViewTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbViewTableRecord);
};

class PLATFORM_API AcDbUCSTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbUCSTableRecord);
};

PLATFORM_DECLARE_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator, "BLOCK_RECORD")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator, "LAYER")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator, "LTYPE")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator, "STYLE")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbViewportTable, AcDbViewportTableRecord, AcDbViewportTableIterator, "VPORT")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator, "APPID")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator, "DIMSTYLE")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbViewTable, AcDbViewTableRecord, AcDbViewTableIterator, "VIEW")
PLATFORM_DECLARE_SYMBOL_TABLE(AcDbUCSTable, AcDbUCSTableRecord, AcDbUCSTableIterator, "UCS")
