#pragma once
// CPelloryApp: the application object of the ground-line input module. It
// answers the host's messages 0 to 15 as AcRxArxApp does (start-up registers
// the command table, drawings define the LISP functions) and, at unload,
// closes the palettes HDMDMX made. The module's tables:
//   command  group "Pellory", "HDMDMX" (global and local name), transparent,
//            OnCmdHDMDMX: opens a new ground-line palette;
//   LISP     "hdmdmx", LispHdmdmx: does nothing and returns.
// pellory_entry.cpp puts the two entries into the module's tables and passes
// the host's messages to GetPelloryApp().

#include "arx/arxapp.h"

class CPelloryApp : public AcRxArxApp {
 public:
  AcRx::AppRetCode OnInitApp(void* pkt) override;
  AcRx::AppRetCode OnUnloadApp(void* pkt) override;
  void RegisterComponents() override;
};

CPelloryApp& GetPelloryApp();

void OnCmdHDMDMX();
int LispHdmdmx();

// The module's table entries.
extern ArxCommandEntry g_PelloryHdmdmxCommand;
extern AdsFunctionEntry g_PelloryHdmdmxFunction;
