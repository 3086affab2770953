#pragma once
// Helpers of the drawing-base tests of every build: a fresh working drawing
// with a scratch folder, reading entities and table records back, the
// module path of a test, and the ezdxf read-back of a saved drawing.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <strings.h>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "arx/arx.h"
#include "crt/paths.h"
#include "fixtures/run_command.h"
#include "project/ModulePath.h"

namespace drawbasetest {

// A fresh working drawing and a scratch folder for each test.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setCurrentDrawing(nullptr);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::path(::testing::TempDir()) /
            (std::string("drawbase_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(m_dir);
    platform::setCurrentDrawing(nullptr);
  }
  static AcDbDatabase* db() { return acdbHostApplicationServices()->workingDatabase(); }
  std::filesystem::path m_dir;
};

// Makes the module path of the code under test `<folder>\<file>` (Windows
// form) while it lives.
class ModulePathScope {
 public:
  ModulePathScope(const std::filesystem::path& folder, const char* file) {
    const CString path = CString(platform::toWindowsPath(folder.string()).c_str()) + "\\" + file;
    m_previous = SetModulePathSource([path]() { return path; });
  }
  ~ModulePathScope() { SetModulePathSource(m_previous); }
  ModulePathScope(const ModulePathScope&) = delete;
  ModulePathScope& operator=(const ModulePathScope&) = delete;

 private:
  ModulePathSource m_previous;
};

// Opens an object of class T for read for the scope's lifetime.
template <class T>
class Reader {
 public:
  explicit Reader(AcDbObjectId id) {
    if (acdbOpenObject(m_obj, id, AcDb::kForRead) != Acad::eOk) m_obj = nullptr;
  }
  ~Reader() {
    if (m_obj) m_obj->close();
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
  explicit operator bool() const { return m_obj != nullptr; }
  const T* operator->() const { return m_obj; }
  const T& operator*() const { return *m_obj; }

 private:
  T* m_obj = nullptr;
};

// The vertices of a 2d polyline: their positions and bulges, in order.
struct Vertex2d {
  AcGePoint3d position;
  double bulge = 0.0;
};
inline std::vector<Vertex2d> Polyline2dVertices(const AcDb2dPolyline& polyline) {
  std::vector<Vertex2d> vertices;
  AcDbObjectIterator* it = polyline.vertexIterator();
  for (it->start(); !it->done(); it->step()) {
    AcDb2dVertex* v = nullptr;
    if (polyline.openVertex(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    vertices.push_back({polyline.vertexPosition(*v), v->bulge()});
    v->close();
  }
  delete it;
  return vertices;
}

// The common properties of an entity, for comparing with a table row.
struct EntityFacts {
  std::string type;  // run-time class name ("AcDbLine")
  std::string layer;
  int colour = -1;
  int lineWeight = 0;
  std::string linetype;
  bool operator==(const EntityFacts&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const EntityFacts& f) {
  return out << "{" << f.type << ", layer " << f.layer << ", colour " << f.colour << ", weight " << f.lineWeight
             << ", linetype " << f.linetype << "}";
}

inline EntityFacts FactsOf(AcDbObjectId id) {
  EntityFacts facts;
  Reader<AcDbEntity> e(id);
  if (!e) return facts;
  facts.type = e->isA()->name();
  facts.layer = e->layer();
  facts.colour = e->colorIndex();
  facts.lineWeight = static_cast<int>(e->lineWeight());
  facts.linetype = e->linetype();
  return facts;
}

// Ids of the model space of the working drawing, erased entities left out.
inline std::vector<AcDbObjectId> ModelSpaceIds() {
  std::vector<AcDbObjectId> ids;
  Reader<AcDbBlockTableRecord> ms(acdbHostApplicationServices()->workingDatabase()->modelSpaceId());
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    ids.push_back(id);
  }
  delete it;
  return ids;
}

// Layers of the model-space entities, in drawing order.
inline std::vector<std::string> ModelSpaceLayers() {
  std::vector<std::string> layers;
  for (AcDbObjectId id : ModelSpaceIds()) layers.push_back(FactsOf(id).layer);
  return layers;
}

// How many records of a symbol table carry `name` (ASCII letters without case).
template <class Table>
int CountRecords(AcDbObjectId tableId, const char* name) {
  Reader<Table> table(tableId);
  AcDbSymbolTableIterator* it = nullptr;
  table->newIterator(it);
  int count = 0;
  for (; !it->done(); it->step()) {
    AcDbSymbolTableRecord* record = nullptr;
    if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    if (strcasecmp(record->name(), name) == 0) ++count;
    record->close();
  }
  delete it;
  return count;
}
inline int LayerCount(const char* name) {
  return CountRecords<AcDbLayerTable>(acdbHostApplicationServices()->workingDatabase()->layerTableId(), name);
}
inline int TextStyleCount(const char* name) {
  return CountRecords<AcDbTextStyleTable>(acdbHostApplicationServices()->workingDatabase()->textStyleTableId(), name);
}

// What a text style holds.
struct StyleFacts {
  std::string name, fileName, bigFont, typeface;
  int charset = -1, pitchAndFamily = -1;
  double xScale = 0;
};
inline StyleFacts StyleOf(AcDbObjectId styleId) {
  StyleFacts facts;
  Reader<AcDbTextStyleTableRecord> style(styleId);
  if (!style) return facts;
  facts.name = style->name();
  facts.fileName = style->fileName();
  facts.bigFont = style->bigFontFileName();
  char* typeface = nullptr;
  Adesk::Boolean bold = false, italic = false;
  style->font(typeface, bold, italic, facts.charset, facts.pitchAndFamily);
  if (typeface) facts.typeface = typeface;
  delete[] typeface;
  facts.xScale = style->xScale();
  return facts;
}

// The id of a layer or line type of the working drawing (null when missing).
inline AcDbObjectId LayerIdOf(const char* name) {
  AcDbLayerTable* table = nullptr;
  AcDbObjectId id;
  acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForRead);
  if (table->getAt(name, id) != Acad::eOk) id = AcDbObjectId::kNull;
  table->close();
  return id;
}
inline bool HasLinetype(const char* name) {
  AcDbLinetypeTable* table = nullptr;
  acdbHostApplicationServices()->workingDatabase()->getLinetypeTable(table, AcDb::kForRead);
  const bool has = table->has(name);
  table->close();
  return has;
}

// Adds a layer with a colour to the working drawing (or finds it).
inline AcDbObjectId AddTestLayer(const char* name, int colour) {
  AcDbLayerTable* table = nullptr;
  acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForWrite);
  AcDbObjectId id;
  if (table->getAt(name, id) != Acad::eOk) {
    auto* record = new AcDbLayerTableRecord();
    record->setName(name);
    record->setColorIndex(static_cast<Adesk::UInt16>(colour));
    table->add(id, record);
    record->close();
  }
  table->close();
  return id;
}

// Appends a line on a layer directly (not through the code under test).
inline AcDbObjectId AddTestLine(const char* layer, double x) {
  AddTestLayer(layer, 7);
  auto* line = new AcDbLine(AcGePoint3d(x, 0, 0), AcGePoint3d(x, 10, 0));
  line->setLayer(layer);
  AcDbBlockTable* blocks = nullptr;
  acdbHostApplicationServices()->workingDatabase()->getBlockTable(blocks, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  blocks->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  blocks->close();
  AcDbObjectId id;
  ms->appendAcDbEntity(id, line);
  ms->close();
  line->close();
  return id;
}

// Saves a drawing of its own (a block drawing) holding `entities`, which it
// takes over, as `file`.
inline Acad::ErrorStatus SaveBlockDrawing(const std::string& file, std::initializer_list<AcDbEntity*> entities) {
  AcDbDatabase side(true, true);
  AcDbBlockTable* blocks = nullptr;
  side.getBlockTable(blocks, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  blocks->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  blocks->close();
  for (AcDbEntity* e : entities) {
    ms->appendAcDbEntity(e);
    e->close();
  }
  ms->close();
  return side.saveAs(file.c_str());
}

// Whether Debian's python3 with ezdxf is there.
inline bool EzdxfAvailable() { return std::system("/usr/bin/python3 -c 'import ezdxf' > /dev/null 2>&1") == 0; }

// The lines that the read-back script prints for a saved drawing.
inline std::vector<std::string> EzdxfReadBack(const std::string& file) {
  return fixtures::OutputLines(std::string("/usr/bin/python3 ") + RAIL_SOURCE_DIR +
                               "/tests/shared/drawbase_readback.py '" + file + "'");
}

using fixtures::WithPrefix;

}  // namespace drawbasetest
