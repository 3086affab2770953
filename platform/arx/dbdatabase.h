#pragma once
// The drawing database and the host's application services.
//
// A database lives in memory. It holds the symbol tables (blocks with
// "*Model_Space" and "*Paper_Space", layers with "0", line types with
// "ByBlock", "ByLayer" and "Continuous", text styles with "Standard", and the
// viewport, view, UCS, application-name and dimension-style tables), the
// named-object dictionary with the group dictionary ("ACAD_GROUP") and the
// layouts, and the header values. Drawings are saved and opened as DXF
// (AC1015, code page ANSI_936); see dxffile.h.
//
// The working database is the one the editor has open:
// acdbHostApplicationServices()->workingDatabase(). A drawing is made empty
// on first use unless the host has opened one (platform::setCurrentDrawing)
// or closed it (platform::closeCurrentDrawing, after which there is none).

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "arx/dbdict.h"
#include "arx/dbmain.h"
#include "arx/dbstub.h"
#include "arx/dbsymtb.h"

// Sharing modes of readDwgFile (kept for callers; files are always read whole).
#ifndef _SH_DENYRW
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#endif

class PLATFORM_API AcDbDatabase : public AcRxObject {
 public:
  // With buildDefaultDrawing false the database is empty until a file is read
  // into it (readDwgFile gives it what a drawing needs in either case).
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  // ---- tables and dictionaries ----
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getViewportTable(AcDbViewportTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getDimStyleTable(AcDbDimStyleTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getViewTable(AcDbViewTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getUCSTable(AcDbUCSTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& t, AcDb::OpenMode m = AcDb::kForRead) { return getBlockTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& t, AcDb::OpenMode m = AcDb::kForRead) { return getLayerTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& t, AcDb::OpenMode m = AcDb::kForRead) {
    return getLinetypeTable(t, m);
  }
  Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& t, AcDb::OpenMode m = AcDb::kForRead) {
    return getTextStyleTable(t, m);
  }
  Acad::ErrorStatus getSymbolTable(AcDbViewportTable*& t, AcDb::OpenMode m = AcDb::kForRead) {
    return getViewportTable(t, m);
  }
  Acad::ErrorStatus getSymbolTable(AcDbRegAppTable*& t, AcDb::OpenMode m = AcDb::kForRead) {
    return getRegAppTable(t, m);
  }
  Acad::ErrorStatus getSymbolTable(AcDbDimStyleTable*& t, AcDb::OpenMode m = AcDb::kForRead) {
    return getDimStyleTable(t, m);
  }
  AcDbObjectId blockTableId() const { return m_blockTable; }
  AcDbObjectId layerTableId() const { return m_layerTable; }
  AcDbObjectId linetypeTableId() const { return m_linetypeTable; }
  AcDbObjectId textStyleTableId() const { return m_textStyleTable; }
  AcDbObjectId viewportTableId() const { return m_viewportTable; }
  AcDbObjectId regAppTableId() const { return m_regAppTable; }
  AcDbObjectId dimStyleTableId() const { return m_dimStyleTable; }
  AcDbObjectId viewTableId() const { return m_viewTable; }
  AcDbObjectId UCSTableId() const { return m_ucsTable; }

  Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode = AcDb::kForRead);
  Acad::ErrorStatus getLayoutDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode = AcDb::kForRead);
  AcDbObjectId namedObjectsDictionaryId() const { return m_namedObjects; }
  AcDbObjectId groupDictionaryId() const { return m_groupDict; }
  AcDbObjectId layoutDictionaryId() const { return m_layoutDict; }

  AcDbObjectId modelSpaceId() const { return m_modelSpace; }
  AcDbObjectId paperSpaceId() const { return m_paperSpace; }
  AcDbObjectId currentSpaceId() const { return m_modelSpace; }
  AcDbObjectId byLayerLinetype() const { return m_byLayer; }
  AcDbObjectId byBlockLinetype() const { return m_byBlock; }
  AcDbObjectId continuousLinetype() const { return m_continuous; }

  // Adds an object without owner (the caller closes it); eAlreadyInDb for one already in a database.
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* obj);
  // The id of the object with handle `handle` (eUnknownHandle when there is none).
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound, const AcDbHandle& handle,
                                    Adesk::UInt32 xRefId = 0);
  AcDbHandle handseed() const { return AcDbHandle(m_handseed); }
  Adesk::Int32 approxNumObjects() const;

  // ---- header values ----
  double ltscale() const { return m_ltscale; }
  // Must be positive (eInvalidInput).
  Acad::ErrorStatus setLtscale(double scale);
  double celtscale() const { return m_celtscale; }
  Acad::ErrorStatus setCeltscale(double scale);
  AcDbObjectId clayer() const { return m_clayer; }
  Acad::ErrorStatus setClayer(AcDbObjectId layerId);
  AcDbObjectId celtype() const { return m_celtype; }
  Acad::ErrorStatus setCeltype(AcDbObjectId linetypeId);
  AcDbObjectId textstyle() const { return m_textstyle; }
  Acad::ErrorStatus setTextstyle(AcDbObjectId styleId);
  double textsize() const { return m_textsize; }
  Acad::ErrorStatus setTextsize(double size);
  AcGePoint3d insbase() const { return m_insbase; }
  Acad::ErrorStatus setInsbase(const AcGePoint3d& p);
  AcGePoint3d extmin() const { return m_extmin; }
  AcGePoint3d extmax() const { return m_extmax; }
  // Recomputes the drawing extents from model space. While model space holds
  // proxies that cannot draw themselves, the extents read from the file are kept within.
  Acad::ErrorStatus updateExt(bool bestFit = false);
  void setExtentsDirect(const AcGePoint3d& min, const AcGePoint3d& max) {
    m_extmin = min;
    m_extmax = max;
  }

  // ---- files ----
  // Reads a drawing (DXF) into this database, replacing what it held. A path
  // ending in ".dwg" whose file does not exist reads the ".dxf" of the same
  // name; a binary DWG file is refused with eNotADrawing. Failures are named
  // on the transcript with the file.
  Acad::ErrorStatus readDwgFile(const char* fileName, int shmode = _SH_DENYWR, bool allowCPConversion = false,
                                const char* password = nullptr);
  // Saves as DXF. A name ending in ".dwg" is saved as the ".dxf" of the same name.
  Acad::ErrorStatus saveAs(const char* fileName);
  Acad::ErrorStatus dxfOut(const char* fileName, int precision = 16, bool saveThumbnail = false);
  Acad::ErrorStatus dxfIn(const char* fileName, const char* logFilename = nullptr);
  // The file this database was read from or last saved to.
  Acad::ErrorStatus getFilename(const char*& name) const;
  const char* filename() const { return m_filename.c_str(); }

  // Loads line type `ltName` ("*" for all) from a line-type file. A file name
  // without a folder is looked for in the install folder's lib/ (then lib/ of
  // the current folder). eFileNotFound when there is no such file,
  // eUndefinedLineType (162) when the file does not hold the type. A type the
  // database holds already is kept as it is (eOk).
  Acad::ErrorStatus loadLineTypeFile(const char* ltName, const char* filename);

  // Makes model space of `source` a block of this database named `blockName`
  // (an existing block of that name gets the new contents). Layers, line
  // types, text styles and blocks that the entities use and this database
  // lacks are copied by name.
  Acad::ErrorStatus insert(AcDbObjectId& blockId, const char* blockName, AcDbDatabase* source,
                           bool preserveSourceDatabase = true);

  // ---- used by the platform ----
  // Makes `obj` resident with a new handle (or `handle` when it is free).
  AcDbStub* addObjectDirect(AcDbObject* obj, AcDbObjectId owner, uint64_t handle = 0, bool subObject = false);
  // The objects' stubs, in the order they were added.
  const std::vector<AcDbStub*>& allStubs() const { return m_stubs; }
  AcDbStub* stubForHandle(uint64_t handle) const;
  // Replaces the object of a stub (the old one leaves the database).
  void replaceObjectDirect(AcDbStub* stub, AcDbObject* newObj);
  // Empties the database completely.
  void clearDirect();
  // Builds whatever a drawing needs and is missing (tables, layer "0", ...):
  // the tables and their standard records, then the dictionaries and layouts.
  void ensureDefaults();
  void ensureTables();
  void ensureDictionaries();
  void setHandseedDirect(uint64_t seed);
  // Room for `count` more objects (a file being read knows how many it holds).
  void reserveObjectsDirect(size_t count);
  // Takes a handle for a mark that is no object (`wanted` when it is free).
  uint64_t reserveHandleDirect(uint64_t wanted = 0);
  void releaseHandleDirect(uint64_t h) { m_reserved.erase(h); }
  // The largest handle in use (by an object or a mark).
  uint64_t highestHandle() const;
  void setFilenameDirect(std::string name) { m_filename = std::move(name); }
  // Serial number of this database (distinct for every database of a run).
  long serial() const { return m_serial; }
  void setTableIdsDirect();
  // Takes `dict` as the named-objects dictionary when there is none yet: a
  // file being read names its root dictionary (the first it holds), and the
  // look-up over every object is spared.
  void setNamedObjectsDictionaryDirect(AcDbStub* dict) {
    if (m_namedObjects.isNull() && dict) m_namedObjects = AcDbObjectId(dict);
  }

 private:
  void reserveMarkHandles(AcDbObject* obj);
  template <class T>
  Acad::ErrorStatus openTable(AcDbObjectId id, T*& table, AcDb::OpenMode mode);

  std::deque<AcDbStub> m_stubStore;
  std::vector<AcDbStub*> m_stubs;
  std::unordered_map<uint64_t, AcDbStub*> m_byHandle;
  std::unordered_set<uint64_t> m_reserved;
  uint64_t m_handseed = 1;
  long m_serial;

  AcDbObjectId m_blockTable, m_layerTable, m_linetypeTable, m_textStyleTable, m_viewportTable, m_regAppTable,
      m_dimStyleTable, m_viewTable, m_ucsTable;
  AcDbObjectId m_namedObjects, m_groupDict, m_layoutDict;
  AcDbObjectId m_modelSpace, m_paperSpace, m_byLayer, m_byBlock, m_continuous;
  AcDbObjectId m_clayer, m_celtype, m_textstyle;
  double m_ltscale = 1.0, m_celtscale = 1.0, m_textsize = 2.5;
  AcGePoint3d m_insbase, m_extmin{1e20, 1e20, 1e20}, m_extmax{-1e20, -1e20, -1e20};
  std::string m_filename;
};

class PLATFORM_API AcDbHostApplicationServices : public AcRxObject {
 public:
  enum FindFileHint {
    kDefault = 0, kFontFile, kCompiledShapeFile, kTrueTypeFontFile, kEmbeddedImageFile, kXRefDrawing,
    kPatternFile, kARXApplication, kFontMapFile, kUnderlayFile, kLinetypeFile
  };
  AcDbDatabase* workingDatabase() const;
  void setWorkingDatabase(AcDbDatabase* db);
  // Finds a support file: a path as given (through the path resolver), else
  // the name in the install folder's lib/ and dwg/, the install folder, and
  // lib/ of the current folder. Writes the Linux path into `fileOut`
  // (eFileNotFound when it is nowhere, eInvalidInput when it does not fit).
  Acad::ErrorStatus findFile(char* fileOut, int bufferLength, const char* fileName, AcDbDatabase* db = nullptr,
                             FindFileHint hint = kDefault);
};

PLATFORM_API AcDbHostApplicationServices* acdbHostApplicationServices();

namespace platform {
// The drawing the editor has open (made empty on first use unless closed).
PLATFORM_API AcDbDatabase* currentDrawing();
// Makes `db` the open drawing and the working database (taking ownership;
// the previous drawing is deleted). nullptr opens a new empty drawing.
PLATFORM_API void setCurrentDrawing(AcDbDatabase* db);
// Closes the open drawing: there is no working database until one is set.
PLATFORM_API void closeCurrentDrawing();
// The Linux path of a support file (see AcDbHostApplicationServices::findFile); "" when not found.
PLATFORM_API std::string findSupportFile(std::string_view name);
// Every database that exists now.
PLATFORM_API std::vector<AcDbDatabase*> liveDatabases();
// The database with a serial number, or nullptr.
PLATFORM_API AcDbDatabase* databaseBySerial(long serial);
}  // namespace platform
