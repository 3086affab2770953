// The hooks that let go of a module's objects before its windows go.
#include <algorithm>
#include <vector>

#include "win/controls_internal.h"
#include "win/winhost.h"

namespace platform {
namespace {
std::vector<ModuleReleaseHook>& hooks() {
  static std::vector<ModuleReleaseHook> all;
  return all;
}
}  // namespace

void addModuleReleaseHook(ModuleReleaseHook hook) {
  if (hook && std::find(hooks().begin(), hooks().end(), hook) == hooks().end()) hooks().push_back(hook);
}

namespace win {
void runModuleReleaseHooks(LoadedModule* module) {
  for (ModuleReleaseHook hook : std::vector<ModuleReleaseHook>(hooks())) hook(module);
}
}  // namespace win
}  // namespace platform
