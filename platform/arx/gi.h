#pragma once
// What an entity draws with: AcGiWorldDraw hands an entity's worldDraw the
// geometry to draw on and the traits (colour, layer, line type, fill) of what
// it draws next.
//
// The platform's drawing context records what is drawn (platform::GiRecorder,
// gidrawing.h); the records serve the extents of custom entities, picking,
// intersections, the SVG view and the export that replaces custom entities by
// plain ones.

#include "arx/dbid.h"
#include "arx/dbtypes.h"
#include "arx/gegeometry.h"

class AcDbPolyline;
class AcDbDatabase;

enum AcGiFillType { kAcGiFillAlways = 1, kAcGiFillNever = 2 };
enum AcGiArcType { kAcGiArcSimple = 0, kAcGiArcSector = 1, kAcGiArcChord = 2 };
enum AcGiRegenType {
  eAcGiRegenTypeInvalid = 0,
  kAcGiStandardDisplay = 2,
  kAcGiHideOrShadeCommand = 3,
  kAcGiRenderCommand = 4,
  kAcGiForExplode = 5,
  kAcGiSaveWorldDrawForProxy = 6,
};

// Font and size of drawn text.
class PLATFORM_API AcGiTextStyle {
 public:
  AcGiTextStyle() = default;
  double textSize() const { return m_size; }
  void setTextSize(double size) { m_size = size; }
  double xScale() const { return m_xScale; }
  void setXScale(double scale) { m_xScale = scale; }
  double obliquingAngle() const { return m_oblique; }
  void setObliquingAngle(double angle) { m_oblique = angle; }
  const char* fileName() const { return m_file; }
  void setFileName(const char* name) { m_file = name ? name : ""; }
  const char* bigFontFileName() const { return m_bigFont; }
  void setBigFontFileName(const char* name) { m_bigFont = name ? name : ""; }
  // The style's own name in the drawing (when it comes from a text style record).
  AcDbObjectId styleId() const { return m_style; }
  void setStyleId(AcDbObjectId id) { m_style = id; }

 private:
  double m_size = 1.0, m_xScale = 1.0, m_oblique = 0.0;
  const char* m_file = "";
  const char* m_bigFont = "";
  AcDbObjectId m_style;
};

class PLATFORM_API AcGiSubEntityTraits {
 public:
  virtual ~AcGiSubEntityTraits();
  // 0 by block, 1..255, 256 by layer.
  virtual void setColor(Adesk::UInt16 color) = 0;
  virtual Adesk::UInt16 color() const = 0;
  virtual void setLayer(AcDbObjectId layerId) = 0;
  virtual AcDbObjectId layerId() const = 0;
  virtual void setLineType(AcDbObjectId linetypeId) = 0;
  virtual AcDbObjectId lineTypeId() const = 0;
  virtual void setSelectionMarker(Adesk::GsMarker marker) = 0;
  virtual void setFillType(AcGiFillType type) = 0;
  virtual AcGiFillType fillType() const = 0;
  virtual void setLineWeight(AcDb::LineWeight weight) = 0;
  virtual AcDb::LineWeight lineWeight() const = 0;
  virtual void setLineTypeScale(double scale) = 0;
  virtual double lineTypeScale() const = 0;
};

class PLATFORM_API AcGiWorldGeometry {
 public:
  virtual ~AcGiWorldGeometry();
  virtual Adesk::Boolean circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) const = 0;
  // The circle through three points (nothing when they lie on a line).
  virtual Adesk::Boolean circle(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) const;
  // An arc from `startVector` turning counter-clockwise about `normal` by
  // `sweepAngle` (clockwise when negative).
  virtual Adesk::Boolean circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                     const AcGeVector3d& startVector, double sweepAngle,
                                     AcGiArcType arcType = kAcGiArcSimple) const = 0;
  // The arc from `start` through `point` to `end`.
  virtual Adesk::Boolean circularArc(const AcGePoint3d& start, const AcGePoint3d& point, const AcGePoint3d& end,
                                     AcGiArcType arcType = kAcGiArcSimple) const;
  virtual Adesk::Boolean polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* pVertexList,
                                  const AcGeVector3d* pNormal = nullptr,
                                  Adesk::LongPtr lBaseSubEntMarker = -1) const = 0;
  // A closed area, filled when the fill type is kAcGiFillAlways.
  virtual Adesk::Boolean polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* pVertexList) const = 0;
  // Text from `position` (the left end of its base line) along `direction`;
  // `width` is the width factor.
  virtual Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal,
                              const AcGeVector3d& direction, double height, double width, double oblique,
                              const char* pMsg) const = 0;
  virtual Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal,
                              const AcGeVector3d& direction, const char* pMsg, Adesk::Int32 length,
                              Adesk::Boolean raw, const AcGiTextStyle& textStyle) const = 0;
  // A lightweight polyline with its bulges and widths (segments from
  // `fromIndex`, `numSegs` of them; 0 means all).
  virtual Adesk::Boolean pline(const AcDbPolyline& lwBuf, Adesk::UInt32 fromIndex = 0,
                               Adesk::UInt32 numSegs = 0) const = 0;
  // What is drawn until the matching pop goes through `xform` first.
  virtual Adesk::Boolean pushModelTransform(const AcGeMatrix3d& xform) = 0;
  virtual Adesk::Boolean popModelTransform() = 0;
};

class PLATFORM_API AcGiContext {
 public:
  virtual ~AcGiContext();
  virtual AcDbDatabase* database() const = 0;
  virtual Adesk::Boolean isPsOut() const { return false; }
  virtual Adesk::Boolean isPlotGeneration() const { return false; }
};

class PLATFORM_API AcGiWorldDraw {
 public:
  virtual ~AcGiWorldDraw();
  virtual AcGiWorldGeometry& geometry() const = 0;
  virtual AcGiSubEntityTraits& subEntityTraits() const = 0;
  virtual AcGiRegenType regenType() const = 0;
  virtual Adesk::Boolean regenAbort() const { return false; }
  virtual Adesk::Boolean isDragging() const { return false; }
  virtual AcGiContext* context() = 0;
  virtual Adesk::UInt32 numberOfIsolines() const { return 4; }
  virtual double deviation(int /*type*/, const AcGePoint3d& /*p*/) const { return 0.0; }
};
