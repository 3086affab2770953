#pragma once
// Selection: entity names, selection sets, picking an entity, and the result
// buffers that filter lists are made of.
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
//              "x,y[,z]" (the entity nearest that point) or "ALL", until an
//              empty answer.
// Filters are lists of result buffers: 0 entity type ("LINE", "TEXT",
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

struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  char* rstring;
  long rlname[2];
  long rlong;
  ads_binary rbinary;
  unsigned char ihandle[8];
};

struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union ads_u_val resval;
};

// A list of result buffers: pairs of a type code and a value, ended by 0
// (RTDXF0 stands for group 0). Strings are copied. nullptr for a code it
// does not know.
PLATFORM_API resbuf* acutBuildList(int rtype, ...);
PLATFORM_API resbuf* acutNewRb(int type);
PLATFORM_API int acutRelRb(resbuf* rb);

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
