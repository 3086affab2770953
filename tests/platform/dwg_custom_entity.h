#pragma once
// Custom entities of the drawing tests, as a module would define them.

#include <string>
#include <vector>

#include "arx/dbmain.h"
#include "arx/gi.h"
#include "dwg_fixture.h"

// A marker: a polyline through its points with a label, filing an int, the
// points, a double and the label.
class TestMarker : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(TestMarker);
  TestMarker() = default;

  std::vector<AcGePoint3d> points;
  double value = 0;
  std::string label;

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& grips, AcDbIntArray& osnap, AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
};

// Classes whose registered DXF names cannot stand as entity types: "0" and a
// mixed-case name. They file one double.
class TestNote : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(TestNote);
  double height = 0;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
};

class TestEarth : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(TestEarth);
  double depth = 0;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
};

namespace dwgtest {
// Registers the test classes (as a module's start-up does) and removes them.
void registerTestClasses();
void unregisterTestClasses();

// A drawing test with the test classes registered while it runs.
class CustomDrawingTest : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    registerTestClasses();
  }
  void TearDown() override {
    unregisterTestClasses();
    DrawingTest::TearDown();
  }
};
}  // namespace dwgtest
