// The ground-line text import (the layout of the .dmx files): any bytes read
// as such a file by the input dialog's import, its file dialog answered with
// the file. An import either takes the whole file or leaves the record list
// as it was; the records it takes come in left/right pairs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "GroundLineInput.h"
#include "win/answers.h"
#include "fuzz/scratch_input.h"
#include "win/transcript.h"

namespace {

std::filesystem::path g_file;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  const auto dir = FuzzScratchFolder("dmx");
  g_file = dir / "ground.dmx";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFuzzInput(g_file, data, size);
  GroundLineInput input;
  input.lineNames.Add("基线");
  input.lineNameSelection = 0;
  input.lineNameText = "基线";
  platform::queueAnswer("file", g_file.string());
  input.OnImportText();
  // Left and right records stand in pairs, whatever the file held.
  if (input.db.rockLayers.GetSize() % 2 != 0) std::abort();
  platform::clearAnswers();
  return 0;
}
