#pragma once
// Plain entities: lines, circles, arcs, points, texts, solids and block
// references. Angles are in radians, counter-clockwise from the x axis.

#include <string>

#include "arx/dbmain.h"

class PLATFORM_API AcDbLine : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLine);
  AcDbLine();
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);

  AcGePoint3d startPoint() const { assertReadEnabled(); return m_start; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& p);
  AcGePoint3d endPoint() const { assertReadEnabled(); return m_end; }
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& p);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);

  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_start, m_end;
  AcGeVector3d m_normal{0, 0, 1};
  double m_thickness = 0;
};

class PLATFORM_API AcDbCircle : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCircle);
  AcDbCircle();
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

  AcGePoint3d center() const { assertReadEnabled(); return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c);
  double radius() const { assertReadEnabled(); return m_radius; }
  // A radius must be positive (eInvalidInput).
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  Adesk::Boolean isClosed() const override { return true; }
  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_center;
  AcGeVector3d m_normal{0, 0, 1};
  double m_radius = 1.0;
  double m_thickness = 0;
};

class PLATFORM_API AcDbArc : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbArc);
  AcDbArc();
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
          double endAngle);

  AcGePoint3d center() const { assertReadEnabled(); return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c);
  double radius() const { assertReadEnabled(); return m_radius; }
  Acad::ErrorStatus setRadius(double r);
  // Angles are kept in [0, 2*pi); the arc runs counter-clockwise from start to end.
  double startAngle() const { assertReadEnabled(); return m_start; }
  Acad::ErrorStatus setStartAngle(double a);
  double endAngle() const { assertReadEnabled(); return m_end; }
  Acad::ErrorStatus setEndAngle(double a);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  // The counter-clockwise sweep from the start to the end angle, in (0, 2*pi].
  double sweepAngle() const;

  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_center;
  AcGeVector3d m_normal{0, 0, 1};
  double m_radius = 1.0, m_start = 0, m_end = 0;
  double m_thickness = 0;
};

class PLATFORM_API AcDbPoint : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPoint);
  AcDbPoint();
  explicit AcDbPoint(const AcGePoint3d& position);
  AcGePoint3d position() const { assertReadEnabled(); return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_position;
  double m_thickness = 0;
};

// A single-line text. With horizontal mode kTextLeft and vertical mode
// kTextBase the position is where the text starts; with any other alignment
// the alignment point is where it is anchored, and the position (the start of
// its base line) follows from the text's estimated width (half the height per
// GBK byte, times the width factor) each time the text, the height, the
// width factor, the rotation or the alignment changes. kTextAlign and kTextFit
// run from the position to the alignment point.
class PLATFORM_API AcDbText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbText);
  AcDbText();
  AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style = AcDbObjectId::kNull,
           double height = 0, double rotation = 0);

  AcGePoint3d position() const { assertReadEnabled(); return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  AcGePoint3d alignmentPoint() const { assertReadEnabled(); return m_alignment; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
  bool isDefaultAlignment() const { return m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase; }
  // The text (UTF-8), valid while the entity lives and the text is unchanged.
  const char* textString() const { assertReadEnabled(); return m_text.c_str(); }
  const char* textStringConst() const { return m_text.c_str(); }
  Acad::ErrorStatus setTextString(const char* text);
  double height() const { assertReadEnabled(); return m_height; }
  Acad::ErrorStatus setHeight(double h);
  double rotation() const { assertReadEnabled(); return m_rotation; }
  Acad::ErrorStatus setRotation(double a);
  double widthFactor() const { assertReadEnabled(); return m_widthFactor; }
  Acad::ErrorStatus setWidthFactor(double f);
  double oblique() const { assertReadEnabled(); return m_oblique; }
  Acad::ErrorStatus setOblique(double a);
  AcDbObjectId textStyle() const { assertReadEnabled(); return m_style; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId style);
  AcDb::TextHorzMode horizontalMode() const { assertReadEnabled(); return m_horz; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const { assertReadEnabled(); return m_vert; }
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  bool isMirroredInX() const { return m_mirrorX; }
  Acad::ErrorStatus mirrorInX(Adesk::Boolean on);
  bool isMirroredInY() const { return m_mirrorY; }
  Acad::ErrorStatus mirrorInY(Adesk::Boolean on);
  // Recomputes the position from the alignment point.
  Acad::ErrorStatus adjustAlignment(const AcDbDatabase* db = nullptr);

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  void realign();
  AcGePoint3d m_position, m_alignment;
  std::string m_text;
  double m_height = 0, m_rotation = 0, m_widthFactor = 1.0, m_oblique = 0, m_thickness = 0;
  AcDbObjectId m_style;
  AcDb::TextHorzMode m_horz = AcDb::kTextLeft;
  AcDb::TextVertMode m_vert = AcDb::kTextBase;
  AcGeVector3d m_normal{0, 0, 1};
  bool m_mirrorX = false, m_mirrorY = false;
};

// A filled area of three or four corners. The corners are kept in the order
// given (the fourth equals the third for a triangle); the area is the
// quadrilateral 0-1-3-2.
class PLATFORM_API AcDbSolid : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSolid);
  AcDbSolid();
  AcDbSolid(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3);
  AcDbSolid(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2);
  // Index 0..3 (eInvalidIndex otherwise).
  Acad::ErrorStatus getPointAt(Adesk::UInt16 index, AcGePoint3d& p) const;
  Acad::ErrorStatus setPointAt(Adesk::UInt16 index, const AcGePoint3d& p);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_pts[4];
  AcGeVector3d m_normal{0, 0, 1};
  double m_thickness = 0;
};

// An insertion of a block: the block's entities scaled, turned by the
// rotation and moved to the position (in that order).
class PLATFORM_API AcDbBlockReference : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockReference);
  AcDbBlockReference();
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);

  AcDbObjectId blockTableRecord() const { assertReadEnabled(); return m_block; }
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
  AcGePoint3d position() const { assertReadEnabled(); return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  AcGeScale3d scaleFactors() const { assertReadEnabled(); return m_scale; }
  // Scale factors may not be 0 (eInvalidInput).
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& s);
  double rotation() const { assertReadEnabled(); return m_rotation; }
  Acad::ErrorStatus setRotation(double a);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  // The matrix that takes the block's coordinates to the drawing's.
  AcGeMatrix3d blockTransform() const;

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcDbObjectId m_block;
  AcGePoint3d m_position;
  AcGeScale3d m_scale;
  double m_rotation = 0;
  AcGeVector3d m_normal{0, 0, 1};
};
