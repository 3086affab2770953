#pragma once
// Reading a ground-line file back the way the ground-line palette's text
// import reads it: a stream of blank-separated tokens (line ends carry no
// meaning): the line name; then per station its chainage token, the centre
// elevation and the layer count, and per layer the rock type, the left
// (distance, height) pairs ended by a distance of 999 (within 0.01) and the
// right pairs ended the same way; the token "999" in place of a station ends
// the file. A chainage token splits into the prefix (up to and including the
// last K or k) and the number (the digits before and after '+', joined), cut
// down to whole millimetres.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "crt/textfile.h"

namespace dmx_test {

struct Layer {
  int rockType = 0;
  std::vector<std::pair<double, double>> left, right;
};

struct Station {
  std::string token;
  std::string prefix;
  double chainage = 0.0;
  double elevation = 0.0;
  std::vector<Layer> layers;
};

struct File {
  bool read = false;  // the file opened and ended with 999
  std::string lineName;
  std::vector<Station> stations;
};

inline void SplitChainage(const std::string& token, std::string& prefix, double& chainage) {
  size_t k = std::string::npos;
  for (size_t i = 0; i < token.size(); ++i)
    if (token[i] == 'K' || token[i] == 'k') k = i;
  prefix = k == std::string::npos ? "" : token.substr(0, k + 1);
  const std::string rest = token.substr(k == std::string::npos ? 0 : k + 1);
  std::string digits;
  for (char c : rest)
    if (c != '+' && c != ' ') digits += c;
  chainage = std::floor(std::atof(digits.c_str()) * 1000.0) * 0.001;
}

inline File ReadFile(const std::string& path) {
  File file;
  FILE* f = platform::openFile(path.c_str(), "r");
  if (f == nullptr) return file;
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);

  std::istringstream in(text);
  if (!(in >> file.lineName)) return file;
  auto isEnd = [](double d) { return std::fabs(d - 999.0) <= 0.01; };
  auto side = [&](std::vector<std::pair<double, double>>& pairs) {
    double d = 0.0, h = 0.0;
    while (in >> d) {
      if (isEnd(d)) return true;
      if (!(in >> h)) return false;
      pairs.emplace_back(d, h);
    }
    return false;
  };
  std::string token;
  while (in >> token) {
    if (token == "999") {
      file.read = true;
      return file;
    }
    Station s;
    s.token = token;
    SplitChainage(token, s.prefix, s.chainage);
    int layers = 0;
    if (!(in >> s.elevation >> layers)) return file;
    for (int l = 0; l < layers; ++l) {
      Layer layer;
      if (!(in >> layer.rockType) || !side(layer.left) || !side(layer.right)) return file;
      s.layers.push_back(layer);
    }
    file.stations.push_back(s);
  }
  return file;
}

// The raw bytes of a file.
inline std::string Bytes(const std::string& linuxPath) {
  std::string bytes;
  FILE* f = std::fopen(linuxPath.c_str(), "rb");
  if (f == nullptr) return bytes;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

}  // namespace dmx_test
