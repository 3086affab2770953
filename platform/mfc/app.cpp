#include "mfc/app.h"

#include <string>

namespace platform {
namespace {
std::string& appName() {
  static std::string name = "cadhost";
  return name;
}
}  // namespace

void setApplicationName(const char* name) { appName() = name ? name : ""; }
const char* applicationName() { return appName().c_str(); }
}  // namespace platform

const char* AfxGetAppName() { return platform::applicationName(); }

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  return platform::showMessageBox(text, platform::applicationName(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT) {
  CString text;
  if (!text.LoadString(promptId)) text.Format("(string %u)", promptId);
  return platform::showMessageBox(text, platform::applicationName(), type);
}
