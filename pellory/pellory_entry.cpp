// Entry points of the pellory module: its command and LISP-function tables
// and the host's messages passed to the application object.
#include "PelloryApp.h"

__attribute__((used, section("ARXCOMMA"))) static ArxCommandEntry* hdmdmxCommandSlot = &g_PelloryHdmdmxCommand;
__attribute__((used, section("ADSSYMBO"))) static AdsFunctionEntry* hdmdmxFunctionSlot = &g_PelloryHdmdmxFunction;

ARX_APP_ENTRY_POINT(GetPelloryApp())
