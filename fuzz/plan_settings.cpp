// The plan's settings file (.pmcs): any bytes as the file the settings dialog
// loads. A file is either refused, with the settings left as they were, or
// taken whole; settings that were taken are saved again and that file loads
// to the same settings (the numbers to the six decimals they are written
// with).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "PlanDialogSettings.h"
#include "fuzz/scratch_input.h"
#include "win/transcript.h"

namespace {

std::filesystem::path g_file, g_saved;

bool Same(const PlanDialogSettings& a, const PlanDialogSettings& b) {
  return a.databasePath == b.databasePath && a.startChainage == b.startChainage && a.endChainage == b.endChainage &&
         a.drawingMode == b.drawingMode && a.direction == b.direction && a.plotScale == b.plotScale &&
         a.basePrefix == b.basePrefix && a.leftPrefix == b.leftPrefix && a.rightPrefix == b.rightPrefix &&
         a.chainagePrecision == b.chainagePrecision && a.bridges == b.bridges && a.tunnels == b.tunnels &&
         a.stations == b.stations && a.traverse == b.traverse && a.benchMarks == b.benchMarks &&
         a.allCulverts == b.allCulverts && a.labelPosition == b.labelPosition &&
         a.chainageStyle == b.chainageStyle && std::fabs(a.textHeight - b.textHeight) <= 5e-7 &&
         std::fabs(a.centerlineWidth - b.centerlineWidth) <= 5e-7 && a.colour == b.colour &&
         a.crossingCulverts == b.crossingCulverts && a.showDatabase == b.showDatabase &&
         a.flagPrecision == b.flagPrecision && a.deflectionPrecision == b.deflectionPrecision &&
         a.benchLevelPrecision == b.benchLevelPrecision;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  const auto dir = FuzzScratchFolder("pmcs");
  g_file = dir / "plan.pmcs";
  g_saved = dir / "saved.pmcs";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFuzzInput(g_file, data, size);
  const PlanDialogSettings before;
  PlanDialogSettings loaded = before;
  if (!LoadPlanSettingsFile(g_file.c_str(), loaded)) {
    if (!Same(loaded, before)) {
      std::fprintf(stderr, "a refused settings file changed the settings\n");
      std::abort();
    }
    return 0;
  }
  if (!SavePlanSettingsFile(g_saved.c_str(), loaded)) {
    std::fprintf(stderr, "settings that were loaded cannot be saved\n");
    std::abort();
  }
  PlanDialogSettings again;
  if (!LoadPlanSettingsFile(g_saved.c_str(), again)) {
    std::fprintf(stderr, "a settings file saved from loaded settings is refused\n");
    std::abort();
  }
  if (!Same(again, loaded)) {
    std::fprintf(stderr, "a settings file saved from loaded settings loads to other settings\n");
    std::abort();
  }
  return 0;
}
