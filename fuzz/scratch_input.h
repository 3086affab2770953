#pragma once
// A fuzz input handed to a reader that takes a file: a scratch folder of the
// process's own under the temporary folder, and the input written whole into
// a file there before each run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// The folder rail-fuzz-<target>-<pid> under the temporary folder, made.
inline std::filesystem::path FuzzScratchFolder(const char* target) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("rail-fuzz-" + std::string(target) + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

// Writes the input as the whole of `file`.
inline void WriteFuzzInput(const std::filesystem::path& file, const uint8_t* data, size_t size) {
  if (FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}
