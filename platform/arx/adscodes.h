#pragma once
// Result codes and value types of the host's editor functions, and the result
// buffer (resbuf) in which the LISP interface passes lists of values.

#include "platform_api.h"

#define RTNONE 5000
#define RTREAL 5001
#define RTPOINT 5002
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007
#define RTORINT 5008
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016
#define RTLE 5017
#define RTDOTE 5018
#define RTNIL 5019
#define RTDXF0 5020
#define RTT 5021
#define RTRESBUF 5023
#define RTNORM 5100

#define RTERROR (-5001)
#define RTCAN (-5002)
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTKWORD (-5005)

// What a LISP function handler returns to the host.
#define RSRSLT 1
#define RSERR 3

// Input restrictions of acedInitGet (they hold for the next input call only).
#define RSG_NONULL 0x0001   // Enter is not accepted
#define RSG_NOZERO 0x0002   // zero is not accepted
#define RSG_NONEG 0x0004    // negative values are not accepted
#define RSG_NOLIM 0x0008    // drawing limits are not checked
#define RSG_GETZ 0x0010     // a point keeps its Z
#define RSG_DASH 0x0020     // rubber band drawn dashed (no effect here)
#define RSG_2D 0x0040       // distances ignore Z
#define RSG_OTHER 0x0080    // any text is accepted and given back as a keyword

typedef double ads_real;
typedef ads_real ads_point[3];
typedef long ads_name[2];
typedef ads_real ads_matrix[4][4];
typedef ads_real* ads_pointp;
typedef long* ads_namep;

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
};

// One value of a list. Strings (RTSTR) are owned by the buffer: acutRelRb
// frees them with free().
struct resbuf {
  resbuf* rbnext;
  short restype;
  ads_u_val resval;
};

// A new zeroed buffer of `type` (nullptr when out of memory).
PLATFORM_API resbuf* acutNewRb(int type);
// Frees a whole list, with the strings its RTSTR buffers own.
PLATFORM_API int acutRelRb(resbuf* rb);
// A list from (type, value) pairs ended by 0 or RTNONE: RTSTR takes a
// const char*, RTREAL/RTANG/RTORINT a double, RTSHORT an int, RTLONG a long,
// RTPOINT/RT3DPOINT an ads_point, RTENAME/RTPICKS an ads_name, RTLB/RTLE/RTDOTE/
// RTNIL/RTT/RTVOID nothing. Returns nullptr for an unknown type.
PLATFORM_API resbuf* acutBuildList(int type, ...);
