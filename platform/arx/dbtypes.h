#pragma once
// Basic types, status codes and enumerations of the drawing database.

#include <cstdint>

#include "arx/errorstatus.h"
#include "platform_api.h"

namespace Adesk {
typedef int8_t Int8;
typedef uint8_t UInt8;
typedef int16_t Int16;
typedef uint16_t UInt16;
typedef int32_t Int32;
typedef uint32_t UInt32;
typedef int64_t Int64;
typedef uint64_t UInt64;
typedef bool Boolean;
typedef intptr_t LongPtr;
typedef uintptr_t ULongPtr;
typedef intptr_t IntDbId;
typedef intptr_t GsMarker;
inline constexpr bool kTrue = true;
inline constexpr bool kFalse = false;
}  // namespace Adesk


// The name of a status ("eWasOpenedForWrite").
PLATFORM_API const char* acadErrorStatusText(Acad::ErrorStatus es);

namespace AcDb {
enum OpenMode { kNotOpen = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };

// Line weights in hundredths of a millimetre; negative values are by layer,
// by block and the default.
enum LineWeight {
  kLnWt000 = 0, kLnWt005 = 5, kLnWt009 = 9, kLnWt013 = 13, kLnWt015 = 15, kLnWt018 = 18,
  kLnWt020 = 20, kLnWt025 = 25, kLnWt030 = 30, kLnWt035 = 35, kLnWt040 = 40, kLnWt050 = 50,
  kLnWt053 = 53, kLnWt060 = 60, kLnWt070 = 70, kLnWt080 = 80, kLnWt090 = 90, kLnWt100 = 100,
  kLnWt106 = 106, kLnWt120 = 120, kLnWt140 = 140, kLnWt158 = 158, kLnWt200 = 200, kLnWt211 = 211,
  kLnWtByLayer = -1, kLnWtByBlock = -2, kLnWtByLwDefault = -3,
};

enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

// Which operands intersectWith extends: lines to infinite lines, arcs to circles.
enum Intersect { kOnBothOperands = 0, kExtendThis = 1, kExtendArg = 2, kExtendBoth = 3 };

enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Vertex2dType { k2dVertex = 0, k2dSplineCtlVertex = 1, k2dSplineFitVertex = 2, k2dCurveFitVertex = 3 };
enum Vertex3dType { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };

enum FilerType { kFileFiler = 0, kCopyFiler = 1, kUndoFiler = 2, kBagFiler = 3, kIdXlateFiler = 4,
                 kPageFiler = 5, kDeepCloneFiler = 6, kIdFiler = 7, kPurgeFiler = 8, kWblockCloneFiler = 9 };

enum Visibility { kVisible = 0, kInvisible = 1 };

// Colour indexes with a meaning of their own.
enum { kByBlock = 0, kByLayer = 256 };
}  // namespace AcDb

// A colour given by its index (1..255; 0 by block, 256 by layer).
class PLATFORM_API AcCmColor {
 public:
  AcCmColor() = default;
  Adesk::UInt16 colorIndex() const { return m_index; }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index) {
    if (index > 256) return Acad::eInvalidInput;
    m_index = index;
    return Acad::eOk;
  }
  bool isByLayer() const { return m_index == 256; }
  bool isByBlock() const { return m_index == 0; }
  Acad::ErrorStatus setByLayer() { m_index = 256; return Acad::eOk; }
  Acad::ErrorStatus setByBlock() { m_index = 0; return Acad::eOk; }
  bool operator==(const AcCmColor& o) const { return m_index == o.m_index; }
  bool operator!=(const AcCmColor& o) const { return m_index != o.m_index; }

 private:
  Adesk::UInt16 m_index = 256;
};

// Names of the two layout blocks.
#define ACDB_MODEL_SPACE "*Model_Space"
#define ACDB_PAPER_SPACE "*Paper_Space"
