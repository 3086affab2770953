// Run-time classes of the drawing database, registered when the platform
// library is loaded, so that a module's classes find "AcDbEntity" as parent.
#include "arx/dbdict.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"
#include "arx/dbproxy.h"
#include "arx/dbsymtb.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObject, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntity, AcDbObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObjectReactor, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntityReactor, AcDbObjectReactor)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, 0, 0, 0, BLOCK_RECORD, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, 0, 0, 0, LAYER, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, 0, 0, 0, LTYPE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, 0, 0, 0, STYLE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbViewportTableRecord, AcDbSymbolTableRecord, 0, 0, 0, VPORT, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbRegAppTableRecord, AcDbSymbolTableRecord, 0, 0, 0, APPID, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbDimStyleTableRecord, AcDbSymbolTableRecord, 0, 0, 0, DIMSTYLE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbViewTableRecord, AcDbSymbolTableRecord, 0, 0, 0, VIEW, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbUCSTableRecord, AcDbSymbolTableRecord, 0, 0, 0, UCS, ObjectDBX)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbViewportTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbRegAppTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDimStyleTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbViewTable, AcDbSymbolTable)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbUCSTable, AcDbSymbolTable)
ACRX_DXF_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, 0, 0, 0, DICTIONARY, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbGroup, AcDbObject, 0, 0, 0, GROUP, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbLayout, AcDbObject, 0, 0, 0, LAYOUT, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, 0, 0, 0, LINE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, 0, 0, 0, CIRCLE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbArc, AcDbCurve, 0, 0, 0, ARC, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, 0, 0, 0, POINT, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, 0, 0, 0, TEXT, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbSolid, AcDbEntity, 0, 0, 0, SOLID, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, 0, 0, 0, INSERT, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, 0, 0, 0, LWPOLYLINE, ObjectDBX)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbVertex, AcDbEntity)
ACRX_DXF_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, 0, 0, 0, VERTEX, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, 0, 0, 0, VERTEX, ObjectDBX)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbHeavyPolyline, AcDbCurve)
ACRX_DXF_DEFINE_MEMBERS(AcDb2dPolyline, AcDbHeavyPolyline, 0, 0, 0, POLYLINE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDb3dPolyline, AcDbHeavyPolyline, 0, 0, 0, POLYLINE, ObjectDBX)
ACRX_DXF_DEFINE_MEMBERS(AcDbProxyEntity, AcDbEntity, 0, 0, 0, ACAD_PROXY_ENTITY, ObjectDBX)

namespace {

struct DrawingClasses {
  DrawingClasses() {
    AcDbObject::rxInit();
    AcDbEntity::rxInit();
    AcDbCurve::rxInit();
    AcDbObjectReactor::rxInit();
    AcDbEntityReactor::rxInit();
    AcDbSymbolTableRecord::rxInit();
    AcDbSymbolTable::rxInit();
    AcDbBlockTableRecord::rxInit();
    AcDbLayerTableRecord::rxInit();
    AcDbLinetypeTableRecord::rxInit();
    AcDbTextStyleTableRecord::rxInit();
    AcDbViewportTableRecord::rxInit();
    AcDbRegAppTableRecord::rxInit();
    AcDbDimStyleTableRecord::rxInit();
    AcDbViewTableRecord::rxInit();
    AcDbUCSTableRecord::rxInit();
    AcDbBlockTable::rxInit();
    AcDbLayerTable::rxInit();
    AcDbLinetypeTable::rxInit();
    AcDbTextStyleTable::rxInit();
    AcDbViewportTable::rxInit();
    AcDbRegAppTable::rxInit();
    AcDbDimStyleTable::rxInit();
    AcDbViewTable::rxInit();
    AcDbUCSTable::rxInit();
    AcDbDictionary::rxInit();
    AcDbGroup::rxInit();
    AcDbLayout::rxInit();
    AcDbLine::rxInit();
    AcDbCircle::rxInit();
    AcDbArc::rxInit();
    AcDbPoint::rxInit();
    AcDbText::rxInit();
    AcDbSolid::rxInit();
    AcDbBlockReference::rxInit();
    AcDbPolyline::rxInit();
    AcDbVertex::rxInit();
    AcDb2dVertex::rxInit();
    AcDb3dPolylineVertex::rxInit();
    AcDbHeavyPolyline::rxInit();
    AcDb2dPolyline::rxInit();
    AcDb3dPolyline::rxInit();
    AcDbProxyEntity::rxInit();
    acrxBuildClassHierarchy();
  }
};

const DrawingClasses registerDrawingClasses;

}  // namespace
