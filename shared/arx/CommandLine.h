#pragma once
// The host's docked command line as the modules' windows use it.

#include "arx/edoutput.h"
#include "mfc/wnd.h"

// Gives the keyboard focus to the host's command line (nothing when the host
// shows none), so that what is typed next goes to a command.
inline void FocusCommandLine() {
  if (CWnd* commandLine = acedGetAcadDockCmdLine()) commandLine->SetFocus();
}
