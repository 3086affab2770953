#include "arx/rxdynlink.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>
#include <list>
#include <memory>

#include "arx/adscodes.h"
#include "arx/edcommand.h"
#include "arx/rxinternal.h"
#include "crt/paths.h"
#include "win/transcript.h"
#include "win/winhost.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)

namespace platform {
namespace {

namespace fs = std::filesystem;

struct LinkerState {
  std::list<std::unique_ptr<LoadedModule>> modules;  // in load order
  std::vector<LoadedModule*> calls;                  // modules whose code is running, innermost last
  std::string installFolder;
  std::string defaultAppName;
};

LinkerState& state() {
  static LinkerState* s = new LinkerState();  // lives for the whole process
  return *s;
}

std::string upperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

// The last component of a Windows or Linux path.
std::string_view lastComponent(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool hasExtension(std::string_view path) {
  std::string_view name = lastComponent(path);
  size_t dot = name.rfind('.');
  return dot != std::string_view::npos && dot > 0;
}

bool hasFolder(std::string_view nameOrPath) {
  return nameOrPath.find_first_of("/\\") != std::string_view::npos ||
         (nameOrPath.size() >= 2 && nameOrPath[1] == ':');
}

std::string defaultInstallFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "install";
  return (exe.parent_path().parent_path() / "install").string();
}

bool isRunning(const LoadedModule* m) {
  for (const LoadedModule* c : state().calls)
    if (c == m) return true;
  return false;
}

LoadedModule* findLoaded(std::string_view nameOrPath) {
  std::error_code ec;
  std::string file = moduleFileFor(nameOrPath);
  for (auto& m : state().modules)
    if (fs::equivalent(m->path, file, ec)) return m.get();
  // A name that differs from the file name in case only.
  std::string_view name = lastComponent(nameOrPath);
  if (hasExtension(name)) name = name.substr(0, name.rfind('.'));
  for (auto& m : state().modules)
    if (upperAscii(m->name) == upperAscii(name)) return m.get();
  return nullptr;
}

LoadedModule* findByAppId(const void* appId) {
  for (auto& m : state().modules)
    if (m.get() == appId) return m.get();
  return nullptr;
}

LoadedModule* moduleContaining(const void* address) {
  Dl_info info{};
  if (!address || !dladdr(address, &info)) return nullptr;
  for (auto& m : state().modules)
    if (m->base == info.dli_fbase) return m.get();
  return nullptr;
}

// Takes away what the module left registered and closes it.
void discard(LoadedModule* m) {
  // Its windows go while its code is there to answer their last messages.
  releaseModuleWindowing(m);
  commandStack()->removeModuleCommands(m);
  removeModuleLispFunctions(m);
  void* handle = m->handle;
  auto& list = state().modules;
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->get() == m) {
      list.erase(it);
      break;
    }
  if (handle) dlclose(handle);
}

}  // namespace

void setInstallFolder(std::string_view folder) { state().installFolder = std::string(folder); }

std::string installFolder() {
  if (state().installFolder.empty()) state().installFolder = defaultInstallFolder();
  return state().installFolder;
}

std::string moduleFileFor(std::string_view nameOrPath) {
  std::string raw = hasFolder(nameOrPath) ? std::string(nameOrPath) : installFolder() + "/" + std::string(nameOrPath);
  if (!hasExtension(raw)) raw += ".arx";
  return resolvePath(raw);
}

bool loadModule(std::string_view nameOrPath, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "cannot load module \"" + std::string(nameOrPath) + "\": " + why;
    return false;
  };
  if (nameOrPath.empty()) return fail("no module named");
  std::error_code ec;
  fs::path file = fs::absolute(moduleFileFor(nameOrPath), ec).lexically_normal();
  for (auto& m : state().modules)
    if (fs::equivalent(m->path, file, ec)) return true;  // loaded already
  if (!fs::is_regular_file(file, ec)) return fail("no such file " + file.string());

  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    return fail(why ? why : "the file is not a loadable module");
  }
  const void* base = nullptr;
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map) base = reinterpret_cast<const void*>(map->l_addr);
  // The entry points must be the module's own, not ones found in a library it uses.
  auto own = [&](const char* symbol) -> void* {
    void* p = dlsym(handle, symbol);
    Dl_info info{};
    if (!p || !dladdr(p, &info) || info.dli_fbase != base) return nullptr;
    return p;
  };
  void* entry = own("acrxEntryPoint");
  void* version = own("acrxGetApiVersion");
  if (!entry || !version) {
    dlclose(handle);
    return fail(std::string("no entry point ") + (entry ? "acrxGetApiVersion" : "acrxEntryPoint") + " in " +
                file.string());
  }

  auto record = std::make_unique<LoadedModule>();
  record->name = file.stem().string();
  record->path = file.string();
  record->windowsPath = toWindowsPath(file.string());
  record->handle = handle;
  record->entry = reinterpret_cast<ModuleEntryPoint>(entry);
  record->base = base;
  LoadedModule* m = record.get();
  state().modules.push_back(std::move(record));

  if (sendModuleMessage(m, AcRx::kInitAppMsg) != AcRx::kRetOK) {
    discard(m);
    return fail("its initialisation failed");
  }
  sendModuleMessage(m, AcRx::kLoadDwgMsg);
  return true;
}

bool unloadModule(std::string_view nameOrPath, std::string* error, bool force) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "cannot unload module \"" + std::string(nameOrPath) + "\": " + why;
    return false;
  };
  LoadedModule* m = findLoaded(nameOrPath);
  if (!m) return fail("it is not loaded");
  if (isRunning(m)) return fail("its code is running");
  if (m->locked && !force) return fail("it is locked");
  sendModuleMessage(m, AcRx::kUnloadDwgMsg);
  sendModuleMessage(m, AcRx::kUnloadAppMsg);
  discard(m);
  return true;
}

void unloadAllModules() {
  auto& list = state().modules;
  while (!list.empty()) {
    LoadedModule* m = list.back().get();
    if (isRunning(m)) break;
    sendModuleMessage(m, AcRx::kUnloadDwgMsg);
    sendModuleMessage(m, AcRx::kUnloadAppMsg);
    discard(m);
  }
}

std::vector<ModuleInfo> loadedModules() {
  std::vector<ModuleInfo> result;
  for (auto& m : state().modules) result.push_back({m->name, m->path, m->windowsPath, m->locked, m->mdiAware});
  return result;
}

bool isModuleLoaded(std::string_view nameOrPath) { return findLoaded(nameOrPath) != nullptr; }

LoadedModule* currentModule() { return state().calls.empty() ? nullptr : state().calls.back(); }

const char* moduleName(const LoadedModule* module) { return module ? module->name.c_str() : ""; }

ModuleCallScope::ModuleCallScope(LoadedModule* module) {
  state().calls.push_back(module);
}

ModuleCallScope::~ModuleCallScope() { state().calls.pop_back(); }

AcRx::AppRetCode sendModuleMessage(LoadedModule* module, AcRx::AppMsgCode msg) {
  if (!module || !findByAppId(module) || !module->entry) return AcRx::kRetError;
  ModuleCallScope scope(module);
  try {
    return module->entry(msg, module);
  } catch (...) {
    return AcRx::kRetError;  // nothing may leave a module by an exception
  }
}

void setDefaultAppName(std::string_view windowsPath) { state().defaultAppName = std::string(windowsPath); }

HINSTANCE moduleInstance(const LoadedModule* module) {
  static char host;  // the host's own instance
  return module ? reinterpret_cast<HINSTANCE>(const_cast<LoadedModule*>(module))
                : reinterpret_cast<HINSTANCE>(&host);
}

LoadedModule* moduleOfInstance(HINSTANCE instance) { return findByAppId(instance); }

}  // namespace platform

// --- the dynamic linker object -------------------------------------------------

bool AcRxDynamicLinker::loadModule(const char* fileName, bool printit, bool) {
  std::string error;
  bool ok = platform::loadModule(fileName ? fileName : "", &error);
  if (!ok && printit) platform::transcriptLine(error);
  return ok;
}

bool AcRxDynamicLinker::unloadModule(const char* fileName, bool) {
  std::string error;
  bool ok = platform::unloadModule(fileName ? fileName : "", &error);
  if (!ok) platform::transcriptLine(error);
  return ok;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) const {
  platform::LoadedModule* m = platform::findByAppId(appId);
  if (!m) return false;
  m->locked = false;
  return true;
}

bool AcRxDynamicLinker::lockApplication(void* appId) const {
  platform::LoadedModule* m = platform::findByAppId(appId);
  if (!m) return false;
  m->locked = true;
  return true;
}

bool AcRxDynamicLinker::isApplicationLocked(const char* name) const {
  platform::LoadedModule* m = platform::findLoaded(name ? name : "");
  return m && m->locked;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
  platform::LoadedModule* m = platform::findByAppId(appId);
  if (!m) return false;
  m->mdiAware = true;
  return true;
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
  platform::LoadedModule* m = platform::findByAppId(appId);
  if (!m) return false;
  m->mdiAware = false;
  return true;
}

namespace {
AcRxDynamicLinker* dynamicLinker() {
  static AcRxDynamicLinker* linker = [] {
    AcRxDynamicLinker::rxInit();
    acrxBuildClassHierarchy();
    auto* l = new AcRxDynamicLinker();
    acrxSysRegistry()->atPut(ACRX_DYNAMIC_LINKER, l);
    return l;
  }();
  return linker;
}
// The registry holds the linker from the moment the library is loaded.
const bool g_linkerRegistered = dynamicLinker() != nullptr;
}  // namespace

int acedArxLoad(const char* app) {
  std::string error;
  if (platform::loadModule(app ? app : "", &error)) return RTNORM;
  platform::transcriptLine(error);
  return RTERROR;
}

int acedArxUnload(const char* app) {
  std::string error;
  if (platform::unloadModule(app ? app : "", &error)) return RTNORM;
  platform::transcriptLine(error);
  return RTERROR;
}

const char* acedGetAppName() {
  if (platform::LoadedModule* m = platform::moduleContaining(__builtin_return_address(0)))
    return m->windowsPath.c_str();
  if (platform::LoadedModule* m = platform::currentModule()) return m->windowsPath.c_str();
  return platform::state().defaultAppName.c_str();
}
