// Entry points of the quorra module (tamsel.arx).

#include "NavigatorStartup.h"
#include "arx/arx.h"
#include "mfc/winapp.h"

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      // The loader calls no library entry: the module attaches itself here.
      DllMain(AfxGetInstanceHandle(), DLL_PROCESS_ATTACH, nullptr);
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      InitApplication();
      break;
    case AcRx::kUnloadAppMsg:
      UnloadApplication();
      DllMain(AfxGetInstanceHandle(), DLL_PROCESS_DETACH, nullptr);
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
