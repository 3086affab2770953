#include "mfc/wndclass.h"

#include <cstdio>
#include <set>
#include <string>

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  char name[96];
  std::snprintf(name, sizeof name, "Afx:%x:%llx:%llx:%llx", classStyle,
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(cursor)),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(background)),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(icon)));
  // The names live as long as the program, so the pointer handed out stays good.
  static std::set<std::string> names;
  const std::string& kept = *names.insert(name).first;
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, kept.c_str(), &wc)) {
    wc.style = classStyle;
    wc.lpfnWndProc = &DefWindowProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = kept.c_str();
    if (!RegisterClass(&wc)) return nullptr;
  }
  return kept.c_str();
}
