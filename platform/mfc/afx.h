#pragma once
// The class library in one include: strings, collections, run-time classes,
// application services and message boxes, files (on disk and in memory),
// points and rectangles, GDI objects and device contexts, OLE data transfer.

#include "mfc/afxgdi.h"
#include "mfc/afxole.h"
#include "mfc/app.h"
#include "mfc/atltypes.h"
#include "mfc/cobject.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"
#include "mfc/dc.h"
#include "mfc/files.h"
#include "mfc/memfile.h"
#include "win/msgbox.h"
#include "win/wintypes.h"
