#pragma once
// The start-up and shut-down helpers that every module of the suite shares:
// the extension-library entry (the module's instance, its resource chain, the
// host's user-interface library) and the registration of the module's
// commands in the host's command stack.
//
// A module keeps one ExtensionModuleState and calls ExtensionLibraryEntry from
// its DllMain. The loader of this platform calls no library entry itself, so
// a module calls its DllMain with DLL_PROCESS_ATTACH first thing when the host
// sends kInitAppMsg (AfxGetInstanceHandle() is then the module's instance) and
// with DLL_PROCESS_DETACH last thing when it sends kUnloadAppMsg:
//
//   ExtensionModuleState g_extension;
//   BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
//     return ExtensionLibraryEntry(g_extension, instance, reason);
//   }
//   // kInitAppMsg:
//   DllMain(AfxGetInstanceHandle(), DLL_PROCESS_ATTACH, nullptr);
//   RegisterArxCommand("GROUP", "MYCMD", "MYCMD", ACRX_CMD_TRANSPARENT, &OnCmdMy);
//   // kUnloadAppMsg:
//   RemoveCommandGroup("GROUP");
//   DllMain(AfxGetInstanceHandle(), DLL_PROCESS_DETACH, nullptr);

#include "arx/edcommand.h"
#include "arx/errorstatus.h"
#include "arx/rxobject.h"
#include "win/wintypes.h"

#ifndef DLL_PROCESS_DETACH
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#endif

// The extension-library state of one module.
struct ExtensionModuleState {
  bool attached = false;         // initialised (at most once until detached)
  HINSTANCE instance = nullptr;  // the module's own instance
  HINSTANCE resource = nullptr;  // the resource handle current at attach
  int attachCount = 0;           // how many attaches initialised the module
};

// The library entry: on DLL_PROCESS_ATTACH stores the instance, initialises
// the module as an extension library once (remembering the current resource
// handle) and calls InitAcUiDLL; on DLL_PROCESS_DETACH ends the extension
// library when it was initialised and clears the attached flag. Other reasons
// do nothing. Always TRUE.
BOOL ExtensionLibraryEntry(ExtensionModuleState& state, HINSTANCE instance, DWORD reason);

// The host's command stack, looked up in the system registry under
// "ACAD_REGISTERED_COMMANDS"; null when the registry holds none or holds an
// object that is not a command stack.
AcEdCommandStack* RegisteredCommandStack();

// Adds one command to `group`. When `localNameId` is not -1 the local name
// is the module's string of that id (at most 64 bytes) instead of
// `localName`. The result is the command stack's (eNullObjectPointer when
// there is no command stack).
Acad::ErrorStatus RegisterArxCommand(const char* group, const char* globalName, const char* localName, int flags,
                                     AcRxFunctionPtr handler, int localNameId = -1);

// Removes the module's command group (nothing when there is no stack or no
// such group).
void RemoveCommandGroup(const char* group);

// The host's messages to a module that attaches itself as an extension
// library. kInitAppMsg: `dllMain` with DLL_PROCESS_ATTACH (the loader calls no
// library entry), the application unlocked and registered as MDI-aware, then
// `init`. kUnloadAppMsg: `unload`, then `dllMain` with DLL_PROCESS_DETACH.
// Other messages do nothing. Always kRetOK.
AcRx::AppRetCode ExtensionModuleEntry(AcRx::AppMsgCode msg, void* appId, BOOL (*dllMain)(HINSTANCE, DWORD, LPVOID),
                                      void (*init)(), void (*unload)());
