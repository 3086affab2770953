#pragma once
// cadhost's command line:
//   cadhost [--install DIR] [--load MODULE]... [--open DRAWING] [--script FILE]...
//           [--run LINE]... [--save DRAWING.dxf] [--export-svg FILE.svg] [--svg-scale N]
//           [--pictures DIR] [--interactive] [--times]
// Every option also takes the form --option=VALUE.

#include <string>
#include <vector>

struct ScriptItem {
  bool isFile = false;  // --script FILE, or a --run LINE
  std::string value;
};

struct HostOptions {
  std::string install;               // --install
  std::vector<std::string> modules;  // --load, in order
  std::string openDrawing;           // --open
  std::vector<ScriptItem> script;    // --script and --run, in the order given
  std::string saveDrawing;           // --save
  std::string exportSvg;             // --export-svg
  double svgScale = 0;               // --svg-scale: the plot scale 1:N of --export-svg (0: none)
  std::string pictures;              // --pictures: where the windows' pictures go
  bool interactive = false;          // --interactive: the terminal mode, whatever the input is
  bool times = false;                // --times: each command's time on stderr
  bool help = false;
};

// False with the reason in `error` for an unknown option or a missing value.
bool parseOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);
const char* usageText();
