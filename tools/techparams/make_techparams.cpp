// make-techparams --line single|double [options] FILE: writes the technical
// parameters of a project of one's own (TechParamsChoice.h says which).
#include <cstdio>
#include <string>
#include <vector>

#include "TechParamsChoice.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(techparams::UsageText(), stdout);
    return 0;
  }
  techparams::Choice choice;
  std::string error;
  if (!techparams::ParseArguments(args, choice, error)) {
    std::fprintf(stderr, "make-techparams: %s\n%s", error.c_str(), techparams::UsageText());
    return 2;
  }
  if (!project_files::WriteTechParamsFile(choice.file, techparams::TechParamsOf(choice), &error)) {
    std::fprintf(stderr, "make-techparams: %s\n", error.c_str());
    return 1;
  }
  char tracks[64] = "";
  if (choice.lineKind == 2) std::snprintf(tracks, sizeof tracks, ", tracks %.2f m apart", choice.spacing);
  std::printf("make-techparams: %s line, %d km/h, formation of a track %.2f m%s: %s\n",
              choice.lineKind == 1 ? "single-track" : "double-track", choice.speed, choice.roadbed, tracks,
              choice.file.c_str());
  return 0;
}
