#pragma once
// The fixture of the tests of the drawn-section entities and the design-line
// reactor: the five classes registered (as the module's start-up will), a
// fresh drawing, and the reactor lists, the drawn-entity tables and the
// global designers emptied again after each test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignLine.h"
#include "DesignLineReactor.h"
#include "DesignerGlobals.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"
#include "SectionEntityTable.h"
#include "SectionReactorLists.h"
#include "entity_classes.h"
#include "arx/dbdatabase.h"
#include "arx/dbsymtb.h"
#include "corvane/data/detour_support.h"

namespace entity_test {

inline AcDbDatabase* Drawing() { return acdbHostApplicationServices()->workingDatabase(); }

// Appends an entity to model space of `db` (the working drawing by default)
// and closes it.
inline AcDbObjectId Append(AcDbEntity* e, AcDbDatabase* db = nullptr) {
  if (db == nullptr) db = Drawing();
  AcDbBlockTableRecord* ms = nullptr;
  EXPECT_EQ(acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(ms->appendAcDbEntity(id, e), Acad::eOk);
  ms->close();
  e->close();
  return id;
}

// "#<handle>" of an entity, as a script picks it.
inline std::string Pick(AcDbObjectId id) {
  char h[20];
  id.handle().getIntoAsciiBuffer(h, sizeof h);
  return std::string("#") + h;
}

class SectionEntityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setCurrentDrawing(nullptr);
    RegisterSectionEntityClasses();
    g_DrawingFactor = 5.0;
  }
  void TearDown() override {
    ReleaseSectionReactors();
    SectionEntityTable.clear();
    LeftDetourEntityList.clear();
    RightDetourEntityList.clear();
    g_BaselineDesigner.FreeTables();
    g_BaselineDesigner.sections.clear();
    detour_test::ResetDetourDesigners();
    platform::setCurrentDrawing(nullptr);
    UnregisterSectionEntityClasses();
    g_DrawingFactor = 5.0;
  }
  // Opens an entity of class T by id (nullptr with a test failure otherwise).
  template <class T>
  T* Open(AcDbObjectId id, AcDb::OpenMode mode = AcDb::kForRead) {
    T* e = nullptr;
    EXPECT_EQ(acdbOpenObject(e, id, mode), Acad::eOk);
    return e;
  }
};

}  // namespace entity_test
