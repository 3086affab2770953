#pragma once
// The editor's windows in one include: its main frame with the drawing view
// and the command line (acedGetAcadFrame, acedGetAcadDwgView,
// acedGetAcadDockCmdLine), dock control bars, palette sets and palettes, and
// the ActiveX host with the drawing preview.

#include "arx/activex.h"
#include "arx/dockbar.h"
#include "arx/edoutput.h"
#include "arx/palettes.h"
#include "mfc/frame.h"
