#pragma once
// The command stack: every command the editor knows, in named groups. The
// system registry holds it under "ACAD_REGISTERED_COMMANDS".
//
// A command is found by its global or its local name, ASCII case-insensitively.
// The host's own commands (SCRIPT, QUIT and the drawing commands) are in the
// group "ACAD_MAIN" and are found first; among the other groups the one added
// last is searched first.

#include <memory>
#include <string>
#include <vector>

#include "arx/errorstatus.h"
#include "arx/rxobject.h"

#define ACRX_COMMAND_DOCK "ACAD_REGISTERED_COMMANDS"

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_SESSION 0x00200000

typedef void (*AcRxFunctionPtr)();
class AcEdUIContext;

namespace platform {
struct LoadedModule;
}

class PLATFORM_API AcEdCommand : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcEdCommand);

  const char* groupName() const { return m_group.c_str(); }
  const char* globalName() const { return m_global.c_str(); }
  const char* localName() const { return m_local.c_str(); }
  int commandFlags() const { return m_flags; }
  AcRxFunctionPtr functionAddr() const { return m_function; }
  AcEdUIContext* commandUIContext() const { return m_uiContext; }
  int functionCode() const { return m_fcode; }
  HINSTANCE resourceHandle() const { return m_resource; }
  // The module that registered the command (nullptr for the host's own).
  platform::LoadedModule* module() const { return m_module; }

 private:
  friend class AcEdCommandStack;
  std::string m_group, m_global, m_local;
  int m_flags = 0;
  AcRxFunctionPtr m_function = nullptr;
  AcEdUIContext* m_uiContext = nullptr;
  int m_fcode = -1;
  HINSTANCE m_resource = nullptr;
  platform::LoadedModule* m_module = nullptr;
};

class PLATFORM_API AcEdCommandStack : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);
  AcEdCommandStack();
  ~AcEdCommandStack() override;

  // eInvalidInput for a missing group, global name or function, or a name with
  // a blank in it; eDuplicateKey when the group has a command of that global
  // name. A null or empty local name is the global name.
  Acad::ErrorStatus addCommand(const char* groupName, const char* globalName, const char* localName, int flags,
                               AcRxFunctionPtr function, AcEdUIContext* uiContext = nullptr, int fcode = -1,
                               HINSTANCE resourceHandle = nullptr, AcEdCommand** cmdPtrRet = nullptr);
  // eKeyNotFound when there is no such command or group.
  Acad::ErrorStatus removeCmd(const char* groupName, const char* globalName);
  Acad::ErrorStatus removeGroup(const char* groupName);

  AcEdCommand* lookupGlobalCmd(const char* globalName) const;
  AcEdCommand* lookupLocalCmd(const char* localName) const;
  AcEdCommand* lookupCmd(const char* name, bool globalFlag) const;
  // By global name first, then by local name (how a typed command is found).
  AcEdCommand* findCommand(const char* name) const;

  bool hasGroup(const char* groupName) const;
  // Group names in search order.
  std::vector<std::string> groupNames() const;
  // The commands of a group in registration order (empty for an unknown group).
  std::vector<const AcEdCommand*> commandsOf(const char* groupName) const;
  // Removes every command that `module` registered (the host does this when
  // the module is unloaded). Returns how many were removed.
  int removeModuleCommands(const platform::LoadedModule* module);

 private:
  struct Group {
    std::string name;
    std::vector<std::unique_ptr<AcEdCommand>> commands;
  };
  Group* findGroup(const char* name) const;
  std::vector<const Group*> searchOrder() const;
  std::vector<std::unique_ptr<Group>> m_groups;  // in the order they were added
};

#define acedRegCmds (AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK)))

namespace platform {

// The group of the host's own commands.
inline constexpr const char* kHostCommandGroup = "ACAD_MAIN";

// The command stack (the object the system registry holds).
PLATFORM_API AcEdCommandStack* commandStack();

// Adds one of the host's own commands (SCRIPT, QUIT, LINE, ZOOM, ...).
PLATFORM_API Acad::ErrorStatus registerBuiltinCommand(const char* name, AcRxFunctionPtr function,
                                                      int flags = ACRX_CMD_MODAL);

// Registers a built-in command when the library that defines it is loaded:
//   static platform::BuiltinCommand lineCommand("LINE", &cmdLine);
struct PLATFORM_API BuiltinCommand {
  BuiltinCommand(const char* name, AcRxFunctionPtr function, int flags = ACRX_CMD_MODAL);
};

}  // namespace platform
