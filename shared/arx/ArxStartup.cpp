// The start-up and shut-down helpers shared by the modules.

#include "arx/ArxStartup.h"

#include "arx/acuiinit.h"
#include "arx/rxdynlink.h"
#include "arx/rxobject.h"
#include "mfc/winapp.h"
#include "win/winuser.h"

BOOL ExtensionLibraryEntry(ExtensionModuleState& state, HINSTANCE instance, DWORD reason) {
  if (reason == DLL_PROCESS_ATTACH) {
    state.instance = instance;
    if (!state.attached) {
      // The module's resources are found through its instance: resource
      // lookups search the running module's resources, then the platform's.
      state.resource = AfxGetResourceHandle();
      state.attached = true;
      ++state.attachCount;
    }
    InitAcUiDLL();
  } else if (reason == DLL_PROCESS_DETACH) {
    if (state.attached) {
      state.attached = false;
      state.resource = nullptr;
    }
  }
  return TRUE;
}

AcEdCommandStack* RegisteredCommandStack() {
  AcRxDictionary* registry = acrxSysRegistry();
  if (registry == nullptr) return nullptr;
  AcRxObject* object = registry->at(ACRX_COMMAND_DOCK);
  if (object == nullptr || !object->isKindOf(AcEdCommandStack::desc())) return nullptr;
  return static_cast<AcEdCommandStack*>(object);
}

Acad::ErrorStatus RegisterArxCommand(const char* group, const char* globalName, const char* localName, int flags,
                                     AcRxFunctionPtr handler, int localNameId) {
  char localBuffer[65] = "";
  if (localNameId != -1) {
    // The local name from the module's own string table, at most 64 bytes.
    if (LoadString(AfxGetInstanceHandle(), static_cast<UINT>(localNameId), localBuffer, 64) > 0)
      localName = localBuffer;
  }
  AcEdCommandStack* stack = RegisteredCommandStack();
  if (stack == nullptr) return Acad::eNullObjectPointer;
  return stack->addCommand(group, globalName, localName, flags, handler, nullptr, -1, nullptr, nullptr);
}

void RemoveCommandGroup(const char* group) {
  AcEdCommandStack* stack = RegisteredCommandStack();
  if (stack != nullptr && stack->hasGroup(group)) stack->removeGroup(group);
}

AcRx::AppRetCode ExtensionModuleEntry(AcRx::AppMsgCode msg, void* appId, BOOL (*dllMain)(HINSTANCE, DWORD, LPVOID),
                                      void (*init)(), void (*unload)()) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      dllMain(AfxGetInstanceHandle(), DLL_PROCESS_ATTACH, nullptr);
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      init();
      break;
    case AcRx::kUnloadAppMsg:
      unload();
      dllMain(AfxGetInstanceHandle(), DLL_PROCESS_DETACH, nullptr);
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}
