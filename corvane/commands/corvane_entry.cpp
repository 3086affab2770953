// Entry points of the corvane module.

#include "CorvaneStartup.h"
#include "arx/arx.h"

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  return ExtensionModuleEntry(msg, appId, &DllMain, &InitApplication, &UnloadApplication);
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
