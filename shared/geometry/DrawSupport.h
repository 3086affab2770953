#pragma once
// What the drawing members of BAS_DRAW_FUN share: layers and text styles on
// demand, entity properties, line types and layer selections. Everything
// works on the working drawing.

#include <string>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbid.h"
#include "arx/gearray.h"

namespace drawsupport {

// Character set (GB2312) and pitch and family of every text style these
// members create.
inline constexpr int kChineseCharset = 134;
inline constexpr int kPitchAndFamily = 2;

// The working drawing; nullptr when none is open.
AcDbDatabase* WorkingDatabase();

// The id of layer `name` ("0" when null), added with default properties when
// the drawing lacks it; null when there is no drawing or the name cannot name
// a layer.
AcDbObjectId LayerId(const char* name);

// Entity properties. A negative colour leaves the entity's colour as it is
// (by layer); a null layer id leaves the layer to the drawing's default.
void SetColour(AcDbEntity* entity, int colour);
void SetLineWeight(AcDbEntity* entity, int lineWeight);
void SetLayer(AcDbEntity* entity, AcDbObjectId layerId);

// Loads line type `name` from a line-type file into the working drawing
// (eOk at once when the drawing holds it).
Acad::ErrorStatus LoadLinetype(const char* name, const char* file);
// Sets the line type when the drawing holds it (a null name sets none).
void SetLinetype(AcDbEntity* entity, const char* name);

// A line with colour, line weight, layer and a line type loaded from
// "acadiso.lin", appended to model space.
AcDbObjectId AppendLine(const AcGePoint3d& p1, const AcGePoint3d& p2, int colour, int lineWeight,
                        AcDbObjectId layerId, const char* linetype);

// How a text style is made when the drawing lacks it.
struct TextStyleSpec {
  const char* fileName;  // font file, nullptr for none
  const char* typeface;  // typeface name
  const char* bigFont;   // big-font file, nullptr for none
  double xScale;
};
// The id of text style `name`, added as `spec` says when missing.
AcDbObjectId TextStyleId(const char* name, const TextStyleSpec& spec);

// The drawing's current text style (null when there is no drawing).
AcDbObjectId CurrentTextStyle();

// Places a text at `position`: as its insertion point for kTextLeft, as its
// alignment point for every other horizontal mode.
void PlaceText(AcDbText* text, const AcGePoint3d& position, AcDb::TextHorzMode mode);

// A text in style `style` (null: the drawing's current style), which is made
// when missing with that name as font file and typeface, the big font
// `bigFont` (null for none) and x scale `xScale`. Mode 1 left (the position is
// the insertion point), 2 centre, any other right (the position is the
// alignment point). On the drawing's current layer unless a layer is given.
AcDbObjectId AppendStyledText(const AcGePoint3d& position, const char* text, double rotation, double height,
                              int colour, int mode, const char* style, const char* bigFont, double xScale,
                              AcDbObjectId layerId = AcDbObjectId::kNull);

// A filled triangle standing on its apex p: the solid's corners p,
// (x − 0.1·size, y + 0.15·size), (x + 0.1·size, y + 0.15·size), p. On the
// current layer.
AcDbObjectId AppendMarkTriangle(const AcGePoint3d& p, double size, int colour);

// A simple open 2d polyline (elevation 0, no bulges) through x, y of the
// points with default start and end widths, its colour and layer (null: the
// drawing's current layer). Null id for fewer than two points.
AcDbObjectId Append2dPolyline(const AcGePoint3dArray& points, double startWidth, double endWidth, int colour,
                              AcDbObjectId layerId);

// The layer name as a selection filter pattern that matches that layer only
// (wild-card characters escaped); "0" when null.
std::string LayerFilterPattern(const char* name);

}  // namespace drawsupport
