#pragma once
// What the parts of the host runtime share among themselves (not for modules).

#include <string>

#include "arx/rxobject.h"

namespace platform {

typedef AcRx::AppRetCode (*ModuleEntryPoint)(AcRx::AppMsgCode, void*);

struct LoadedModule {
  std::string name;         // file name without extension
  std::string path;         // absolute Linux path
  std::string windowsPath;  // what acedGetAppName gives
  void* handle = nullptr;   // from dlopen
  ModuleEntryPoint entry = nullptr;
  const void* base = nullptr;  // load address, to tell which module an address lies in
  bool locked = true;
  bool mdiAware = false;
};

// Removes the LISP functions that `module` defined (edlisp.cpp).
int removeModuleLispFunctions(const LoadedModule* module);

}  // namespace platform
