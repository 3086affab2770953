#pragma once
// Helpers of the window-system tests: a window class whose procedure writes
// down the messages it gets, and a fixture that starts every test with no
// window, no queued message and no answer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/answers.h"
#include "win/transcript.h"
#include "win/winhost.h"
#include "win/winuser.h"

namespace windowtest {

// What the logging windows got, one entry per message: "<name> <message>"
// with the message's name, and for some messages what they carry.
inline std::vector<std::string>& messageLog() {
  static std::vector<std::string> log;
  return log;
}

inline std::string nameOf(HWND hwnd) {
  char text[64] = "";
  GetWindowText(hwnd, text, sizeof text);
  return text[0] ? text : "?";
}

inline LRESULT CALLBACK loggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH) return DefWindowProc(hwnd, msg, wParam, lParam);
  std::string me = nameOf(hwnd);
  auto& log = messageLog();
  switch (msg) {
    case WM_CREATE: log.push_back(me + " create"); break;
    case WM_DESTROY: log.push_back(me + " destroy"); break;
    case WM_NCDESTROY: log.push_back(me + " ncdestroy"); break;
    case WM_SETFOCUS:
      log.push_back(me + " setfocus from " + (wParam ? nameOf(reinterpret_cast<HWND>(wParam)) : "none"));
      break;
    case WM_KILLFOCUS:
      log.push_back(me + " killfocus to " + (wParam ? nameOf(reinterpret_cast<HWND>(wParam)) : "none"));
      break;
    case WM_TIMER: log.push_back(me + " timer " + std::to_string(wParam)); break;
    case WM_PAINT: log.push_back(me + " paint"); break;
    case WM_USER: log.push_back(me + " user " + std::to_string(wParam)); break;
    case WM_KEYDOWN: log.push_back(me + " keydown " + std::to_string(wParam)); break;
    case WM_KEYUP: log.push_back(me + " keyup " + std::to_string(wParam)); break;
    case WM_CHAR: log.push_back(me + " char " + std::to_string(wParam)); break;
    case WM_LBUTTONDOWN: log.push_back(me + " lbuttondown"); break;
    case WM_LBUTTONUP: log.push_back(me + " lbuttonup"); break;
    case WM_CAPTURECHANGED: log.push_back(me + " capturechanged"); break;
    default: break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

inline const char* loggingClass() {
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, "TestLogging", &wc)) {
    wc.lpfnWndProc = &loggingProc;
    wc.lpszClassName = "TestLogging";
    RegisterClass(&wc);
  }
  return "TestLogging";
}

// A logging window: top level (parent null) or a child.
inline HWND makeWindow(const char* name, HWND parent = nullptr, int id = 0, RECT r = RECT{0, 0, 100, 50},
                       DWORD style = WS_VISIBLE) {
  DWORD s = style | (parent ? WS_CHILD : WS_POPUP);
  return CreateWindowEx(0, loggingClass(), name, s, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
    platform::clearAnswers();
    messageLog().clear();
  }
  void TearDown() override {
    platform::resetWindowing();
    platform::clearAnswers();
    messageLog().clear();
  }
  // The log from `first` on, dropping paint messages.
  static std::vector<std::string> logWithoutPaint() {
    std::vector<std::string> out;
    for (const std::string& e : messageLog())
      if (e.size() < 6 || e.compare(e.size() - 6, 6, " paint") != 0) out.push_back(e);
    return out;
  }
  platform::TranscriptCapture transcript;
};

}  // namespace windowtest
