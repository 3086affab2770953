// Start-up and unload of the module.

#include "CorvaneStartup.h"

#include "CorvaneCommands.h"
#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "SectionEntityClasses.h"
#include "SectionReactorLists.h"
#include "SlopeEdit.h"
#include "dialogs/SectionBrowserDlg.h"
#include "resources/CorvaneResources.h"

namespace {
ExtensionModuleState g_extension;
}

BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return ExtensionLibraryEntry(g_extension, instance, reason);
}

const ExtensionModuleState& CorvaneExtensionModule() { return g_extension; }

void InitApplication() {
  RegisterCorvaneResources();
  RegisterSectionEntityClasses();

  struct Command {
    const char* name;
    AcRxFunctionPtr handler;
  } const commands[] = {
      {"HDMDES", &OnCmdHDMDES},   {"CALTSF", &OnCmdCALTSF},     {"CALTWB", &OnCmdCALTWB},
      {"CALHDMDMX", &OnCmdCALHDMDMX}, {"FINDDM", &OnCmdFINDDM}, {"DRAWHDM", &OnCmdDRAWHDM},
      {"EDITBP", &OnCmdEDITBP},   {"SAVEFILE", &OnCmdSAVEFILE}, {"PRINTHDM", &OnCmdPRINTHDM},
  };
  for (const Command& c : commands)
    RegisterArxCommand(kCorvaneCommandGroup, c.name, c.name, ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, c.handler,
                       -1);
}

void UnloadApplication() {
  RemoveCommandGroup(kCorvaneCommandGroup);
  g_BaselineDesigner.FreeTables();
  CloseSectionBrowser();
  // Every reactor goes with the module, whether or not a drawing is open:
  // none may stay attached to a line once the module's code is gone.
  ReleaseSectionReactors();
  DesignLineList.clear();
  UnregisterSectionEntityClasses();
}
