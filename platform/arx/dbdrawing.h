#pragma once
// The drawing database in one include: geometry, objects and entities, symbol
// tables, dictionaries and groups, filers, reactors, proxies, drawing
// (AcGi), selection and drawing files.

#include "arx/dbdatabase.h"
#include "arx/dbdict.h"
#include "arx/dbents.h"
#include "arx/dbfiler.h"
#include "arx/dbid.h"
#include "arx/dbmain.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"
#include "arx/dbproxy.h"
#include "arx/dbsymtb.h"
#include "arx/dbtypes.h"
#include "arx/dxffile.h"
#include "arx/gearray.h"
#include "arx/gegeometry.h"
#include "arx/gi.h"
#include "arx/selection.h"
