#include "TechParamsChoice.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace techparams {

namespace {

constexpr size_t kNameBytesMax = 23;  // the name and its NUL within 24 bytes
constexpr int kWideningKeys[5] = {1000, 2000, 3000, 5000, 10000};
constexpr float kWideningValues[6] = {0.4f, 0.3f, 0.2f, 0.15f, 0.1f, 0.0f};
constexpr float kSurfaceLayer = 0.6f;

// A whole number, all of the text.
bool ReadInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && end == text.c_str() + text.size();
}

// A finite number, all of the text.
bool ReadNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

}  // namespace

const char* UsageText() {
  return "usage: make-techparams --line single|double [--name TEXT] [--speed KM/H] [--roadbed M] [--spacing M] FILE\n"
         "  writes the technical parameters of a project (its data/jishucanshu.dat)\n";
}

bool ParseArguments(const std::vector<std::string>& args, Choice& choice, std::string& error) {
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool option = arg.size() > 2 && arg.compare(0, 2, "--") == 0;
    if (!option) {
      files.push_back(arg);
      continue;
    }
    if (arg != "--line" && arg != "--name" && arg != "--speed" && arg != "--roadbed" && arg != "--spacing") {
      error = "unknown option " + arg;
      return false;
    }
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (arg == "--line") {
      if (value == "single") {
        choice.lineKind = 1;
      } else if (value == "double") {
        choice.lineKind = 2;
      } else {
        error = "--line is single or double, not \"" + value + "\"";
        return false;
      }
    } else if (arg == "--name") {
      std::string gbk;
      if (!project_files::Utf8ToGbk(value, gbk)) {
        error = "--name \"" + value + "\" has no GBK form";
        return false;
      }
      if (gbk.size() > kNameBytesMax) {
        error = "--name \"" + value + "\" is " + std::to_string(gbk.size()) + " GBK bytes; the file holds " +
                std::to_string(kNameBytesMax) + " (11 Chinese characters)";
        return false;
      }
      choice.name = value;
    } else if (arg == "--speed") {
      long speed = 0;
      if (!ReadInt(value, speed) || speed < 1 || speed > 1000) {
        error = "--speed is a whole number of km/h from 1 to 1000, not \"" + value + "\"";
        return false;
      }
      choice.speed = static_cast<int>(speed);
    } else {
      double metres = 0.0;
      const bool roadbed = arg == "--roadbed";
      const double most = roadbed ? 50.0 : 20.0;
      if (!ReadNumber(value, metres) || !(metres > 0.0) || metres > most) {
        error = arg + " is a number of metres above 0 and at most " + std::to_string(static_cast<int>(most)) +
                ", not \"" + value + "\"";
        return false;
      }
      (roadbed ? choice.roadbed : choice.spacing) = metres;
    }
  }
  if (choice.lineKind == 0) {
    error = "--line single or --line double is needed";
    return false;
  }
  if (files.size() != 1) {
    error = files.empty() ? "the file to write is needed (the project's data/jishucanshu.dat)"
                          : "one file is written, not " + std::to_string(files.size());
    return false;
  }
  choice.file = files[0];
  return true;
}

project_files::TechParamsData TechParamsOf(const Choice& choice) {
  project_files::TechParamsData d;
  d.name = choice.name;
  d.speed = choice.speed;
  d.lineKind = static_cast<int16_t>(choice.lineKind);
  d.param2 = static_cast<float>(choice.spacing);
  d.subgradeThickness = kSurfaceLayer;
  d.singleSpacing[0] = d.singleSpacing[1] = static_cast<float>(choice.roadbed);
  d.doubleSpacing[0] = d.doubleSpacing[1] = static_cast<float>(choice.roadbed + choice.spacing);
  d.stepKeyCount = 5;
  for (int i = 0; i < 5; ++i) d.stepKeys[i] = kWideningKeys[i];
  for (int i = 0; i < 6; ++i) d.stepValues[i] = kWideningValues[i];
  return d;
}

}  // namespace techparams
