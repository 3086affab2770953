#pragma once
// The class library's windows in one include: message maps, CWnd, CDialog,
// dialog data exchange, the standard controls, trees, menus, tool tips,
// frames and control bars, hosted controls, the file dialogs and the
// application object, with the class library's basics (mfc/afx.h).

#include "mfc/afx.h"
#include "mfc/cmdtarget.h"
#include "mfc/cmdui.h"
#include "mfc/controls.h"
#include "mfc/dc.h"
#include "mfc/ddx.h"
#include "mfc/dialog.h"
#include "mfc/filedialog.h"
#include "mfc/frame.h"
#include "mfc/menu.h"
#include "mfc/olecontrol.h"
#include "mfc/tooltip.h"
#include "mfc/treectrl.h"
#include "mfc/winapp.h"
#include "mfc/wnd.h"
#include "mfc/wndclass.h"
#include "win/resources.h"
#include "win/winuser.h"
