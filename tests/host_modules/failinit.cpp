// A module whose initialisation fails after it registered a command: the host
// must not keep the command of a module it could not load.
#include "arx/arx.h"

namespace {
void FailCmd() { acutPrintf("failinit: must not run\n"); }
}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void*) {
  if (msg != AcRx::kInitAppMsg) return AcRx::kRetOK;
  acedRegCmds->addCommand("TM_FAIL", "FAILCMD", "FAILCMD", ACRX_CMD_MODAL, &FailCmd);
  return AcRx::kRetError;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
