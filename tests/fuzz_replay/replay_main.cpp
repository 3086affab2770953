// Replays inputs through a fuzz target's entry point, without the fuzzer:
// each argument is a file, or a folder whose files are replayed in name
// order. The target's own checks abort on a fault and the sanitizers stop the
// program at one, so a replay that returns 0 found none. Each file is named
// on stderr before it runs, so a failure says which input it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Not every target has a set-up of its own.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    // Absolute, as a target may move into a folder of its own when it sets up.
    const fs::path arg = fs::absolute(argv[i]);
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
      std::vector<fs::path> inside;
      for (const fs::directory_entry& e : fs::directory_iterator(arg, ec))
        if (e.is_regular_file()) inside.push_back(e.path());
      std::sort(inside.begin(), inside.end());
      files.insert(files.end(), inside.begin(), inside.end());
    } else if (fs::is_regular_file(arg, ec)) {
      files.push_back(arg);
    } else {
      std::fprintf(stderr, "replay: no such file or folder: %s\n", argv[i]);
      return 2;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "replay: no input to replay\n");
    return 2;
  }
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", file.c_str(), bytes.size());
    // An empty input is handed over as the fuzzer hands it: no bytes.
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::fprintf(stderr, "replay: %zu input(s), no fault\n", files.size());
  return 0;
}
