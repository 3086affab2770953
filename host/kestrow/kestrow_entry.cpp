// The Kestrow stand-in. The real plug-in (the technical standards) is outside
// the system; this module only registers its command QUIB, which says that it
// ran, so that the navigator's loading of it and the command it sends can be
// seen working.
#include "arx/arx.h"

namespace {

const char* const kGroup = "KESTROW";

void OnCmdQuib() { acutPrintf("Kestrow stand-in: QUIB ran.\n"); }

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      if (AcRxDynamicLinker* linker = acrxDynamicLinker) {
        linker->unlockApplication(appId);
        linker->registerAppMDIAware(appId);
      }
      if (AcEdCommandStack* stack = acedRegCmds)
        stack->addCommand(kGroup, "QUIB", "QUIB", ACRX_CMD_TRANSPARENT, &OnCmdQuib);
      break;
    case AcRx::kUnloadAppMsg:
      if (AcEdCommandStack* stack = acedRegCmds) stack->removeGroup(kGroup);
      break;
    default: break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
