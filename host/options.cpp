#include "options.h"

#include <cstring>

#include "arx/dxffile.h"

namespace {

struct OptionSpec {
  const char* name;
  bool repeatable;
};

}  // namespace

const char* usageText() {
  return "usage: cadhost [--install DIR] [--load MODULE]... [--open DRAWING] [--script FILE]...\n"
         "               [--run LINE]... [--save DRAWING.dxf] [--export-svg FILE.svg] [--svg-scale N]\n"
         "               [--pictures DIR] [--interactive] [--times]\n"
         "  --install DIR     the install folder (default: install/ beside bin/)\n"
         "  --load MODULE     load a module of the install folder by its file name without\n"
         "                    extension (corvane, pellory, brevell, tamsel, kestrow), or by path\n"
         "  --open DRAWING    open a drawing before the script runs\n"
         "  --script FILE     run a script file\n"
         "  --run LINE        run one script line (--run and --script are read as one script,\n"
         "                    in the order given)\n"
         "  --save FILE.dxf   save the drawing after the script\n"
         "  --export-svg FILE save an SVG of the drawing after the script\n"
         "  --svg-scale N     draw that SVG at the plot scale 1:N (also written 1:N): one\n"
         "                    drawing unit is 1000/N mm (default: fitted into 1000 pixels)\n"
         "  --pictures DIR    save a PNG of every dialog and window as it closes (and at the\n"
         "                    script command PICTURES, of those open) in DIR\n"
         "  --interactive     read the commands from the standard input as typed at a terminal\n"
         "                    (the default when there is no --script or --run and the input is a\n"
         "                    terminal): a prompt waits for the next line, and a dialog or\n"
         "                    message box with no answer queued lists its controls or buttons\n"
         "                    and reads its words or button (an empty line: the default button)\n"
         "  --times           write each command's time to stderr (\"time <command> <seconds>\")\n"
         "Exit status 0 when the script ran to its end, 1 when it could not.\n";
}

bool parseOptions(int argc, const char* const* argv, HostOptions& options, std::string& error) {
  options = HostOptions{};
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--interactive") {
      options.interactive = true;
      continue;
    }
    if (arg == "--times") {
      options.times = true;
      continue;
    }
    std::string name = arg, value;
    bool hasValue = false;
    size_t eq = arg.find('=');
    if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasValue = true;
    }
    static const char* const known[] = {"--install", "--load", "--open", "--script", "--run", "--save", "--export-svg",
                                        "--svg-scale", "--pictures"};
    bool isKnown = false;
    for (const char* k : known)
      if (name == k) isKnown = true;
    if (!isKnown) {
      error = "unknown option " + arg;
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= argc) {
        error = "option " + name + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (name == "--install") options.install = value;
    else if (name == "--load") options.modules.push_back(value);
    else if (name == "--open") options.openDrawing = value;
    else if (name == "--script") options.script.push_back({true, value});
    else if (name == "--run") options.script.push_back({false, value});
    else if (name == "--save") options.saveDrawing = value;
    else if (name == "--pictures") options.pictures = value;
    else if (name == "--svg-scale") {
      if (!platform::parsePlotScale(value, true, options.svgScale)) {
        error = "option --svg-scale needs a plot scale, N or 1:N with N a positive number: " + value;
        return false;
      }
    } else options.exportSvg = value;
  }
  if (options.interactive && !options.script.empty()) {
    error = "--interactive cannot go with --script or --run";
    return false;
  }
  return true;
}
