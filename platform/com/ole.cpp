// OLE's start and end, counted per thread.
#include "com/ole.h"

namespace {
thread_local int g_oleCount = 0;
}

HRESULT OleInitialize(LPVOID /*reserved*/) { return g_oleCount++ == 0 ? S_OK : S_FALSE; }

void OleUninitialize() {
  if (g_oleCount > 0) --g_oleCount;
}

namespace platform {
bool oleInitialized() { return g_oleCount > 0; }
}  // namespace platform
