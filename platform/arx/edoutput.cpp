#include "arx/edoutput.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "arx/adscodes.h"
#include "win/msgbox.h"
#include "win/transcript.h"

int acutPrintf(const char* format, ...) {
  if (!format) return 0;
  va_list ap;
  va_start(ap, format);
  va_list copy;
  va_copy(copy, ap);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) {
    va_end(ap);
    return n;
  }
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, ap);
  va_end(ap);
  text.resize(static_cast<size_t>(n));
  platform::transcriptWrite(text);
  return n;
}

int acedAlert(const char* message) {
  platform::showMessageBox(message ? message : "", "AutoCAD", MB_OK | MB_ICONEXCLAMATION);
  return RTNORM;
}

int acedSetStatusBarProgressMeter(const char* label, int minPos, int maxPos) {
  platform::progressBegin(label ? label : "", minPos, maxPos);
  return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
  platform::progressSet(pos);
  return 0;
}

void acedRestoreStatusBar() { platform::progressEnd(); }

