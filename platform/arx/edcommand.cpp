#include "arx/edcommand.h"

#include <algorithm>
#include <cstring>

#include "arx/rxdynlink.h"
#include "crt/ascii.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

namespace {

bool validName(const char* name) {
  if (!name || !*name) return false;
  for (const char* p = name; *p; ++p)
    if (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') return false;
  return true;
}

}  // namespace

AcEdCommandStack::AcEdCommandStack() = default;
AcEdCommandStack::~AcEdCommandStack() = default;

AcEdCommandStack::Group* AcEdCommandStack::findGroup(const char* name) const {
  if (!name) return nullptr;
  for (const auto& g : m_groups)
    if (platform::equalNoCase(g->name, name)) return g.get();
  return nullptr;
}

std::vector<const AcEdCommandStack::Group*> AcEdCommandStack::searchOrder() const {
  std::vector<const Group*> order;
  for (const auto& g : m_groups)
    if (platform::equalNoCase(g->name, platform::kHostCommandGroup)) order.push_back(g.get());
  for (auto it = m_groups.rbegin(); it != m_groups.rend(); ++it)
    if (!platform::equalNoCase((*it)->name, platform::kHostCommandGroup)) order.push_back(it->get());
  return order;
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* groupName, const char* globalName, const char* localName,
                                               int flags, AcRxFunctionPtr function, AcEdUIContext* uiContext,
                                               int fcode, HINSTANCE resourceHandle, AcEdCommand** cmdPtrRet) {
  if (cmdPtrRet) *cmdPtrRet = nullptr;
  if (!groupName || !*groupName || !validName(globalName) || !function) return Acad::eInvalidInput;
  if (localName && *localName && !validName(localName)) return Acad::eInvalidInput;
  Group* group = findGroup(groupName);
  if (group) {
    for (const auto& c : group->commands)
      if (platform::equalNoCase(c->m_global, globalName)) return Acad::eDuplicateKey;
  } else {
    m_groups.push_back(std::make_unique<Group>());
    group = m_groups.back().get();
    group->name = groupName;
  }
  auto cmd = std::make_unique<AcEdCommand>();
  cmd->m_group = group->name;
  cmd->m_global = globalName;
  cmd->m_local = localName && *localName ? localName : globalName;
  cmd->m_flags = flags;
  cmd->m_function = function;
  cmd->m_uiContext = uiContext;
  cmd->m_fcode = fcode;
  cmd->m_resource = resourceHandle;
  cmd->m_module = platform::currentModule();
  if (cmdPtrRet) *cmdPtrRet = cmd.get();
  group->commands.push_back(std::move(cmd));
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const char* groupName, const char* globalName) {
  Group* group = findGroup(groupName);
  if (!group || !globalName) return Acad::eKeyNotFound;
  auto& cmds = group->commands;
  auto it = std::find_if(cmds.begin(), cmds.end(), [&](const auto& c) { return platform::equalNoCase(c->m_global, globalName); });
  if (it == cmds.end()) return Acad::eKeyNotFound;
  cmds.erase(it);
  if (cmds.empty()) {
    m_groups.erase(std::find_if(m_groups.begin(), m_groups.end(), [&](const auto& g) { return g.get() == group; }));
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* groupName) {
  Group* group = findGroup(groupName);
  if (!group) return Acad::eKeyNotFound;
  m_groups.erase(std::find_if(m_groups.begin(), m_groups.end(), [&](const auto& g) { return g.get() == group; }));
  return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const char* name, bool globalFlag) const {
  if (!name || !*name) return nullptr;
  for (const Group* g : searchOrder())
    for (const auto& c : g->commands)
      if (platform::equalNoCase(globalFlag ? c->m_global : c->m_local, name)) return c.get();
  return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const char* globalName) const { return lookupCmd(globalName, true); }
AcEdCommand* AcEdCommandStack::lookupLocalCmd(const char* localName) const { return lookupCmd(localName, false); }

AcEdCommand* AcEdCommandStack::findCommand(const char* name) const {
  if (AcEdCommand* c = lookupCmd(name, true)) return c;
  return lookupCmd(name, false);
}

bool AcEdCommandStack::hasGroup(const char* groupName) const { return findGroup(groupName) != nullptr; }

std::vector<std::string> AcEdCommandStack::groupNames() const {
  std::vector<std::string> names;
  for (const Group* g : searchOrder()) names.push_back(g->name);
  return names;
}

std::vector<const AcEdCommand*> AcEdCommandStack::commandsOf(const char* groupName) const {
  std::vector<const AcEdCommand*> result;
  if (const Group* g = findGroup(groupName))
    for (const auto& c : g->commands) result.push_back(c.get());
  return result;
}

int AcEdCommandStack::removeModuleCommands(const platform::LoadedModule* module) {
  if (!module) return 0;
  int removed = 0;
  for (auto& g : m_groups) {
    auto& cmds = g->commands;
    size_t before = cmds.size();
    cmds.erase(std::remove_if(cmds.begin(), cmds.end(), [&](const auto& c) { return c->m_module == module; }),
               cmds.end());
    removed += static_cast<int>(before - cmds.size());
  }
  m_groups.erase(std::remove_if(m_groups.begin(), m_groups.end(), [](const auto& g) { return g->commands.empty(); }),
                 m_groups.end());
  return removed;
}

namespace platform {

AcEdCommandStack* commandStack() {
  // Made on first use and kept for the whole process, so that a built-in
  // command registered by any part of the library finds it.
  static AcEdCommandStack* stack = [] {
    AcEdCommand::rxInit();
    AcEdCommandStack::rxInit();
    acrxBuildClassHierarchy();
    auto* s = new AcEdCommandStack();
    acrxSysRegistry()->atPut(ACRX_COMMAND_DOCK, s);
    return s;
  }();
  return stack;
}

Acad::ErrorStatus registerBuiltinCommand(const char* name, AcRxFunctionPtr function, int flags) {
  ModuleCallScope hostScope(nullptr);
  return commandStack()->addCommand(kHostCommandGroup, name, name, flags, function);
}

BuiltinCommand::BuiltinCommand(const char* name, AcRxFunctionPtr function, int flags) {
  registerBuiltinCommand(name, function, flags);
}

namespace {
// The registry holds the command stack from the moment the library is loaded.
const bool g_stackRegistered = commandStack() != nullptr;
}  // namespace

}  // namespace platform
