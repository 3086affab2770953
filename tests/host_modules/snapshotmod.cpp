// A test module that copies a folder while a script runs: SNAPSHOT <from>
// <to> copies the folder <from> (all of it, recursively) to <to>, replacing
// what is there. Scripts use it to keep the state of a project after each
// step of a longer run.
#include <filesystem>
#include <system_error>

#include "arx/arx.h"

namespace {

void Snapshot() {
  char from[ACED_INPUT_BUFFER] = "", to[ACED_INPUT_BUFFER] = "";
  if (acedGetString(0, "Copy folder: ", from) != RTNORM) return;
  if (acedGetString(0, "To folder: ", to) != RTNORM) return;
  std::error_code ec;
  std::filesystem::remove_all(to, ec);
  std::filesystem::create_directories(to, ec);
  if (!ec)
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing,
                          ec);
  if (ec) acutPrintf("snapshot: cannot copy %s to %s: %s\n", from, to, ec.message().c_str());
  else acutPrintf("snapshot: %s\n", to);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acedRegCmds->addCommand("TM_SNAPSHOT", "SNAPSHOT", "SNAPSHOT", ACRX_CMD_MODAL, &Snapshot);
      break;
    case AcRx::kUnloadAppMsg: acedRegCmds->removeGroup("TM_SNAPSHOT"); break;
    default: break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
