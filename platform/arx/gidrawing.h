#pragma once
// The platform's drawing context: records what entities draw.
//
// Each record carries its resolved traits: the colour (by layer and by block
// already resolved to an index 1..255 when `resolveColors` is set), layer,
// line type, line weight and fill. Geometry is in world coordinates (model
// transforms applied).

#include <string>
#include <vector>

#include "arx/dbmain.h"
#include "arx/gi.h"

class AcDbBlockTableRecord;
class AcDbPolyline;

namespace platform {

struct GiPrimitive {
  enum Kind { kPolyline, kPolygon, kCircle, kArc, kText };
  Kind kind = kPolyline;
  // kPolyline, kPolygon: the vertices. kPolyline from a lightweight polyline:
  // `bulges` and `widths` (start, end per segment) may be filled too.
  std::vector<AcGePoint3d> points;
  std::vector<double> bulges;
  std::vector<double> widths;
  bool closed = false;
  // kCircle, kArc: centre, radius, normal; an arc starts at `startVector` and
  // sweeps `sweep` radians counter-clockwise about the normal.
  AcGePoint3d center;
  double radius = 0;
  AcGeVector3d normal{0, 0, 1};
  AcGeVector3d startVector{1, 0, 0};
  double sweep = 0;
  // kText: base-line start, direction (unit), height, width factor, oblique, style.
  AcGePoint3d position;
  AcGeVector3d direction{1, 0, 0};
  double height = 0, widthFactor = 1, oblique = 0;
  std::string text;
  AcDbObjectId textStyle;
  // Traits.
  Adesk::UInt16 color = 256;
  AcDbObjectId layer;
  AcDbObjectId linetype;
  AcDb::LineWeight lineWeight = AcDb::kLnWtByLayer;
  double linetypeScale = 1.0;
  bool filled = false;
};

// The box around recorded geometry; texts count as their estimated box.
PLATFORM_API void addPrimitiveExtents(const GiPrimitive& p, AcDbExtents& ext);
// Estimated advance of a text: half the height per byte of its GBK form
// (a Chinese character is as wide as it is high), times the width factor.
PLATFORM_API double estimatedTextWidth(const std::string& text, double height, double widthFactor);
// Distance from `p` to the primitive in the xy plane (texts: to their box).
PLATFORM_API double primitiveDistance(const GiPrimitive& prim, const AcGePoint3d& p);
// Plain entities that show the primitives (new objects, not in a database):
// a point, a line, a lightweight polyline, a solid (filled areas of three or
// four corners; larger ones as a fan of solids), a circle, an arc, a text. Each
// takes its primitive's colour, layer, line type and line weight.
PLATFORM_API void entitiesFromPrimitives(const std::vector<GiPrimitive>& prims, std::vector<AcDbEntity*>& out);

class GiRecorder;
// Records what model space of `db` shows: every entity that is not erased and
// whose layer is neither off nor frozen (proxies of classes registered since
// are revived first).
PLATFORM_API void drawModelSpace(AcDbDatabase& db, GiRecorder& rec);

class PLATFORM_API GiRecorder : public AcGiWorldDraw,
                                public AcGiWorldGeometry,
                                public AcGiSubEntityTraits,
                                public AcGiContext {
 public:
  explicit GiRecorder(AcDbDatabase* db = nullptr, AcGiRegenType type = kAcGiStandardDisplay);
  ~GiRecorder() override;

  // When set, colours by layer and by block become the index they stand for.
  void setResolveColors(bool on) { m_resolve = on; }
  // When set, what is drawn only widens `extents` and is not kept.
  void setExtentsOnly(AcDbExtents* extents) { m_extentsOnly = extents; }
  // Draws `entity` (its worldDraw) with its own traits; block references draw
  // their block's entities (at most 16 levels deep).
  void drawEntity(const AcDbEntity* entity);
  const std::vector<GiPrimitive>& primitives() const { return m_prims; }
  std::vector<GiPrimitive> takePrimitives() { return std::move(m_prims); }
  void clear() { m_prims.clear(); }

  // AcGiWorldDraw
  AcGiWorldGeometry& geometry() const override { return const_cast<GiRecorder&>(*this); }
  AcGiSubEntityTraits& subEntityTraits() const override { return const_cast<GiRecorder&>(*this); }
  AcGiRegenType regenType() const override { return m_type; }
  AcGiContext* context() override { return this; }
  // AcGiContext
  AcDbDatabase* database() const override { return m_db; }

  // AcGiWorldGeometry
  Adesk::Boolean circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) const override;
  using AcGiWorldGeometry::circle;
  Adesk::Boolean circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                             const AcGeVector3d& startVector, double sweepAngle,
                             AcGiArcType arcType = kAcGiArcSimple) const override;
  using AcGiWorldGeometry::circularArc;
  Adesk::Boolean polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* pVertexList, const AcGeVector3d* pNormal = nullptr,
                          Adesk::LongPtr lBaseSubEntMarker = -1) const override;
  Adesk::Boolean polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* pVertexList) const override;
  Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                      double height, double width, double oblique, const char* pMsg) const override;
  Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                      const char* pMsg, Adesk::Int32 length, Adesk::Boolean raw,
                      const AcGiTextStyle& textStyle) const override;
  Adesk::Boolean pline(const AcDbPolyline& lwBuf, Adesk::UInt32 fromIndex = 0,
                       Adesk::UInt32 numSegs = 0) const override;
  Adesk::Boolean pushModelTransform(const AcGeMatrix3d& xform) override;
  Adesk::Boolean popModelTransform() override;

  // AcGiSubEntityTraits
  void setColor(Adesk::UInt16 color) override { m_traits.color = color; }
  Adesk::UInt16 color() const override { return m_traits.color; }
  void setLayer(AcDbObjectId layerId) override { m_traits.layer = layerId; }
  AcDbObjectId layerId() const override { return m_traits.layer; }
  void setLineType(AcDbObjectId linetypeId) override { m_traits.linetype = linetypeId; }
  AcDbObjectId lineTypeId() const override { return m_traits.linetype; }
  void setSelectionMarker(Adesk::GsMarker) override {}
  void setFillType(AcGiFillType type) override { m_traits.filled = type == kAcGiFillAlways; }
  AcGiFillType fillType() const override { return m_traits.filled ? kAcGiFillAlways : kAcGiFillNever; }
  void setLineWeight(AcDb::LineWeight weight) override { m_traits.lineWeight = weight; }
  AcDb::LineWeight lineWeight() const override { return m_traits.lineWeight; }
  void setLineTypeScale(double scale) override { m_traits.linetypeScale = scale; }
  double lineTypeScale() const override { return m_traits.linetypeScale; }

 private:
  struct Traits {
    Adesk::UInt16 color = 256;
    AcDbObjectId layer, linetype;
    AcDb::LineWeight lineWeight = AcDb::kLnWtByLayer;
    double linetypeScale = 1.0;
    bool filled = false;
  };
  struct Frame {  // a block reference being drawn
    Adesk::UInt16 color;
    AcDbObjectId layer;
    const AcDbBlockTableRecord* block;
  };
  void add(GiPrimitive p) const;
  Adesk::UInt16 resolveColor(Adesk::UInt16 c, AcDbObjectId layer) const;

  AcDbDatabase* m_db;
  AcGiRegenType m_type;
  bool m_resolve = false;
  AcDbExtents* m_extentsOnly = nullptr;
  Traits m_traits;
  std::vector<AcGeMatrix3d> m_xforms;
  std::vector<Frame> m_frames;
  mutable std::vector<GiPrimitive> m_prims;
};

}  // namespace platform
