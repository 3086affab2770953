#pragma once
// The fixture of the tests that load the test modules (built into
// RAIL_TEST_MODULE_DIR): every module is unloaded and every queue emptied
// after each test.

#include <gtest/gtest.h>

#include <string>

#include "arx/arx.h"
#include "crt/paths.h"
#include "win/answers.h"
#include "win/transcript.h"

// The Windows form of a Linux path, written out here without the platform:
// "Z:" and the path with '\' for '/'.
inline std::string windowsFormOf(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::setInstallFolder(RAIL_TEST_MODULE_DIR); }
  void TearDown() override {
    platform::unloadAllModules();
    platform::clearAnswers();
    platform::clearPromptTokens();
    platform::clearPendingCommandStrings();
    platform::setInstallFolder(RAIL_INSTALL_DIR);
  }
  static std::string modulePath(const std::string& name) {
    return std::string(RAIL_TEST_MODULE_DIR) + "/" + name + ".arx";
  }
  static std::string windowsForm(const std::string& path) { return windowsFormOf(path); }
  void load(const char* name) {
    std::string error;
    ASSERT_TRUE(platform::loadModule(name, &error)) << error;
  }
  // Where `what` first shows on the transcript (npos when it does not).
  size_t at(const std::string& what) const { return transcript.text().find(what); }
  platform::TranscriptCapture transcript;
};
