// The application object of the ground-line input module, its command and
// its LISP function.

#include "PelloryApp.h"

#include "PelloryPalette.h"
#include "arx/adscodes.h"
#include "arx/edlisp.h"
#include "resources/PelloryResources.h"

ArxCommandEntry g_PelloryHdmdmxCommand = {
    "Pellory", "HDMDMX", "HDMDMX", ACRX_CMD_TRANSPARENT, &OnCmdHDMDMX, nullptr, static_cast<UINT>(-1)};
AdsFunctionEntry g_PelloryHdmdmxFunction = {"hdmdmx", &LispHdmdmx, false, static_cast<UINT>(-1)};

CPelloryApp& GetPelloryApp() {
  static CPelloryApp app;
  return app;
}

AcRx::AppRetCode CPelloryApp::OnInitApp(void* pkt) {
  RegisterPelloryResources();
  return AcRxArxApp::OnInitApp(pkt);
}

AcRx::AppRetCode CPelloryApp::OnUnloadApp(void* pkt) {
  const AcRx::AppRetCode result = AcRxArxApp::OnUnloadApp(pkt);
  // The palettes hold windows of this module's code: they go before it does.
  CloseGroundLinePalettes();
  return result;
}

void CPelloryApp::RegisterComponents() {}

void OnCmdHDMDMX() { CreateGroundLinePalette(); }

int LispHdmdmx() {
  acedGetArgs();
  acedRetVoid();
  return RSRSLT;
}
