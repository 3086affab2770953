// The start-up call of the host's user-interface library.

#include "arx/acuiinit.h"

namespace {
int g_initCount = 0;
}

void InitAcUiDLL() { ++g_initCount; }

namespace platform {
int acUiInitCount() { return g_initCount; }
}  // namespace platform
