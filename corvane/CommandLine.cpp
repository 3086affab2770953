#include "CommandLine.h"

#include <cstdarg>

#include "mfc/cstring.h"
#include "win/transcript.h"

void CommandLinePrintf(const char* format, ...) {
  CString text;
  va_list args;
  va_start(args, format);
  text.FormatV(format, args);
  va_end(args);
  platform::transcriptWrite(text.view());
}
