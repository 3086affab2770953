#pragma once
// The dynamic linker: loads the modules (shared libraries with the host's
// entry points) from the install folder, sends them the host's messages and
// unloads them again.
//
// A module exports `acrxEntryPoint(msg, appId)` and `acrxGetApiVersion()`. It
// is opened with dlopen(RTLD_NOW | RTLD_LOCAL), so what it defines stays its
// own. After loading, the host sends kInitAppMsg (1) and, since a drawing is
// always open, kLoadDwgMsg (3); before unloading it sends kUnloadDwgMsg (4)
// and kUnloadAppMsg (2). A LISP function that a module defined is invoked with
// kInvkSubrMsg (5). Commands and LISP functions that a module leaves behind
// at unload are removed by the host, so nothing points into an unloaded module.

#include <string>
#include <string_view>
#include <vector>

#include "arx/rxobject.h"

#define ACRX_DYNAMIC_LINKER "DynamicLinker"

namespace platform {
struct LoadedModule;
}

class PLATFORM_API AcRxDynamicLinker : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

  // Loads a module by name (from the install folder) or by path and sends it
  // the start-up messages. A module that is loaded already counts as loaded.
  // With `printit` a failure is shown on the command line.
  bool loadModule(const char* fileName, bool printit, bool asCmd = false);
  // Sends the shut-down messages and unloads the module. A locked module (one
  // that did not unlock itself) and a module whose code is running stay.
  bool unloadModule(const char* fileName, bool asCmd = false);
  // `appId` is the value the host passed with kInitAppMsg.
  bool unlockApplication(void* appId) const;
  bool lockApplication(void* appId) const;
  bool isApplicationLocked(const char* name) const;
  bool registerAppMDIAware(void* appId) const;
  bool registerAppNotMDIAware(void* appId) const;
};

#define acrxDynamicLinker (AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER)))

// Loads a module by name or path (Windows or Linux form). RTNORM, or RTERROR
// when it cannot be loaded (the reason goes to the command line).
PLATFORM_API int acedArxLoad(const char* app);
PLATFORM_API int acedArxUnload(const char* app);
// The path of the calling module in the Windows form, "Z:\...\install\corvane.arx".
PLATFORM_API const char* acedGetAppName();

namespace platform {

// The install folder (a Linux path). Default: the install/ folder beside the
// bin/ folder of the running program.
PLATFORM_API void setInstallFolder(std::string_view folder);
PLATFORM_API std::string installFolder();

// The file a module name or path stands for: a bare name is looked up in the
// install folder, with ".arx" added when it has no extension.
PLATFORM_API std::string moduleFileFor(std::string_view nameOrPath);

struct ModuleInfo {
  std::string name;         // file name without extension
  std::string path;         // absolute Linux path
  std::string windowsPath;  // as acedGetAppName gives it
  bool locked = true;
  bool mdiAware = false;
};

// Loads a module and sends it kInitAppMsg and kLoadDwgMsg. On failure
// `error` names the module and the cause (missing file, no entry point, a
// failed initialisation).
PLATFORM_API bool loadModule(std::string_view nameOrPath, std::string* error = nullptr);
// Sends kUnloadDwgMsg and kUnloadAppMsg and closes the module. With `force`
// a locked module is unloaded too (the host does so at its end).
PLATFORM_API bool unloadModule(std::string_view nameOrPath, std::string* error = nullptr, bool force = false);
// Unloads every module, the last loaded first. Before a module's code goes,
// its windows, timers, posted messages, window classes and resources go
// (win/winhost.h).
PLATFORM_API void unloadAllModules();
PLATFORM_API std::vector<ModuleInfo> loadedModules();
PLATFORM_API bool isModuleLoaded(std::string_view nameOrPath);

// The module whose code the host is running (a command, a message, a LISP
// function), or nullptr.
PLATFORM_API LoadedModule* currentModule();
PLATFORM_API const char* moduleName(const LoadedModule* module);
// Marks `module` as the one running for the scope's lifetime.
class PLATFORM_API ModuleCallScope {
 public:
  explicit ModuleCallScope(LoadedModule* module);
  ~ModuleCallScope();
  ModuleCallScope(const ModuleCallScope&) = delete;
  ModuleCallScope& operator=(const ModuleCallScope&) = delete;
};
// The instance handle of a module (the host's own for null): what
// AfxGetInstanceHandle gives to the module's code and what its resources are
// registered under.
PLATFORM_API HINSTANCE moduleInstance(const LoadedModule* module);
// The loaded module of an instance handle (null for the host's or an unknown one).
PLATFORM_API LoadedModule* moduleOfInstance(HINSTANCE instance);
// Sends a message to a loaded module's entry point (kRetError when it is not loaded).
PLATFORM_API AcRx::AppRetCode sendModuleMessage(LoadedModule* module, AcRx::AppMsgCode msg);

// What acedGetAppName gives to code that is not part of a loaded module (a
// test that links a module's code directly stands for that module with it).
PLATFORM_API void setDefaultAppName(std::string_view windowsPath);

}  // namespace platform
