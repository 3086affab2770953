#include "project/ModulePath.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <utility>

#include "arx/rxdynlink.h"
#include "crt/paths.h"

namespace {

ModulePathSource& Source() {
  static ModulePathSource source;
  return source;
}

// The file of the shared object (or program) that holds this function.
CString PathOfThisObject() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&PathOfThisObject), &info) || !info.dli_fname || !*info.dli_fname)
    return CString();
  std::string path = info.dli_fname;
  char full[PATH_MAX];
  if (realpath(path.c_str(), full)) path = full;
  return CString(platform::toWindowsPath(path));
}

}  // namespace

const char* ModuleFileName() {
#if defined(CORVANE_BUILD)
  return "\\CORVANE.ARX";
#elif defined(PELLORY_BUILD)
  return "\\PELLORY.ARX";
#elif defined(BREVELL_BUILD)
  return "\\BREVELL.ARX";
#elif defined(QUORRA_BUILD)
  return "\\TAMSEL.ARX";
#else
#error "shared/project is compiled into a module: define its build macro"
#endif
}

CString ModulePath() {
  const ModulePathSource& source = Source();
  if (source) return source();
  // The host tells a loaded module its own path; code outside a loaded module
  // (a test program) falls back to the file that holds it.
  const char* fromHost = acedGetAppName();
  return fromHost && *fromHost ? CString(fromHost) : PathOfThisObject();
}

ModulePathSource SetModulePathSource(ModulePathSource source) {
  return std::exchange(Source(), std::move(source));
}

CString InstallFolderOf(const CString& modulePath) {
  CString folder = modulePath;
  folder.MakeUpper();
  folder.Replace(ModuleFileName(), "");
  return folder;
}

CString InstallFolder() { return InstallFolderOf(ModulePath()); }
