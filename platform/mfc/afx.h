#pragma once
// The class library in one include: strings, collections, run-time classes,
// application services and message boxes, files.

#include "mfc/app.h"
#include "mfc/cobject.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"
#include "mfc/files.h"
#include "win/msgbox.h"
#include "win/wintypes.h"
