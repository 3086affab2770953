#pragma once
// Selection: entity names, selection sets and picking an entity. Filter lists
// are result buffers (arx/adscodes.h).
//
// An entity name (ads_name) is { handle, database serial }: it stays valid as
// long as its entity's database lives. A selection set name is
// { set number, 0x5353 }; a set lives until acedSSFree.
//
// acedSSGet modes:
//   "X"        every entity of model and paper space (in drawing order) that
//              passes the filter;
//   "W", "C"   entities inside (W) or touching (C) the box of pt1 and pt2;
//   "L"        the last entity drawn;
//   "P"        the previous selection set's entities;
//   nullptr/"" entities answered on the command line: "#<handle>" (hex),
//              "x,y[,z]" (the entity nearest that point), "ALL", "L" (last),
//              "P" (previous set), or an entity or selection-set name as
//              acedCommand passes it ("<ename:..>", "<picks:..>"), until an
//              empty answer.
// Filters are lists of result buffers: 0 (or RTDXF0) entity type ("LINE", "TEXT",
// "LWPOLYLINE", "POLYLINE", "INSERT", a custom class's DXF name, ...), 8
// layer, 6 line type, 62 colour, 2 block name, 7 text style, 1 text, 67
// paper space; names match as wild-card patterns ("*", "?", "#", "@", ".",
// "[..]", "~", "," between alternatives; ASCII letters without case).
// Groups -4 "<AND" "AND>", "<OR" "OR>", "<NOT" "NOT>" combine tests. An
// empty selection, an unknown mode or a malformed filter gives RTERROR.
//
// acedEntSel takes its answer from the script through the prompt queue:
// "#<handle>" picks that entity, "x,y[,z]" the visible entity nearest to the
// point; an empty answer or a miss gives RTERROR, no answer left RTCAN.

#include "arx/adscodes.h"
#include "arx/dbid.h"
#include "platform_api.h"

PLATFORM_API int acedSSGet(const char* str, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss);
PLATFORM_API int acedSSLength(const ads_name ss, long* len);
PLATFORM_API int acedSSName(const ads_name ss, long i, ads_name entres);
PLATFORM_API int acedSSFree(const ads_name ss);
// Adds an entity to a set (a new set when `ss` is nullptr or null).
PLATFORM_API int acedSSAdd(const ads_name ename, const ads_name ss, ads_name result);
PLATFORM_API int acedSSDel(const ads_name ename, const ads_name ss);
PLATFORM_API int acedSSMemb(const ads_name ename, const ads_name ss);

PLATFORM_API int acedEntSel(const char* prompt, ads_name entres, ads_point ptres);
// The last entity of model space that is not erased.
PLATFORM_API int acdbEntLast(ads_name result);

PLATFORM_API Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name ename);
PLATFORM_API Acad::ErrorStatus acdbGetAdsName(ads_name& ename, AcDbObjectId id);

namespace platform {
// The ids of a selection set (empty for an invalid set).
PLATFORM_API AcDbObjectIdArray selectionSetIds(const ads_name ss);
// Makes a selection set of ids; returns RTNORM.
PLATFORM_API int makeSelectionSet(const AcDbObjectIdArray& ids, ads_name ss);
// Wild-card match as acedSSGet's filters use it.
PLATFORM_API bool wildcardMatch(const char* text, const char* pattern);
// Number of selection sets not freed yet.
PLATFORM_API int openSelectionSets();
}  // namespace platform
