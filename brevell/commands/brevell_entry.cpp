// Entry points of the brevell module: at start-up its resources and its
// commands, at unload its windows and objects.
#include "PlanCommands.h"
#include "arx/arx.h"
#include "resources/PlanResources.h"

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      RegisterPlanResources();
      RegisterPlanCommands();
      break;
    case AcRx::kUnloadAppMsg:
      UnloadApplication();
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
