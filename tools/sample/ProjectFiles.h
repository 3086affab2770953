#pragma once
// The small files of a project that programs outside the system write and the
// system only reads: the install folder's `workdir`, the project's `project`
// (or `PROJECT`) and the technical-parameter file data\jishucanshu.dat.
//
// Text files are written through the system's file opener in text mode, so on
// disk they are GBK with CRLF line ends, as the Windows programs write them.
// jishucanshu.dat is binary, little-endian, 880 bytes:
//
//   0    12 bytes   header: "JSCS" and a version (int32 1); not read
//   12  256 bytes   block A (kept whole, not interpreted)
//   268 612 bytes   block B:
//     B+0    name, GBK, NUL-terminated within 24 bytes
//     B+24   int32    design speed (km/h)
//     B+28   int16    line kind (1 single, 2 double, other: reserved second line)
//     B+32   float32  reference value taken off the double-line values (the
//                     line spacing of the double line)
//     B+540  float32  subgrade surface-layer thickness
//     B+548  float32×2  single-line values (left, right)
//     B+556  float32×2  double-line values (left, right)
//     B+564  int16    number of keys of the step table (0..5)
//     B+568  int32×5  step-table keys, ascending
//     B+588  float32×6  step-table values (one more than the keys)
//   Bytes no field covers are zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace project_files {

// The fields of jishucanshu.dat.
struct TechParamsData {
  std::array<unsigned char, 256> blockA{};  // stored as it is
  std::string name;                         // UTF-8; stored as GBK, cut to 24 bytes
  int32_t speed = 0;
  int16_t lineKind = 0;
  float param2 = 0.0f;
  float subgradeThickness = 0.0f;
  float singleSpacing[2] = {0.0f, 0.0f};
  float doubleSpacing[2] = {0.0f, 0.0f};
  int16_t stepKeyCount = 0;
  int32_t stepKeys[5] = {0, 0, 0, 0, 0};
  float stepValues[6] = {0, 0, 0, 0, 0, 0};
};

constexpr size_t kTechParamsFileSize = 880;

// UTF-8 to GBK. False, with the reason in `error`, for a text that has no
// GBK form.
bool Utf8ToGbk(const std::string& utf8, std::string& gbk, std::string* error = nullptr);

// The 880 bytes of the file. A name longer than 24 GBK bytes is cut at a
// character boundary (a NUL still ends it when it is shorter). False when the
// name has no GBK form.
bool TechParamsBytes(const TechParamsData& data, std::vector<unsigned char>& bytes, std::string* error = nullptr);

// Writes jishucanshu.dat at `linuxPath` (folders are made); `length` below
// 880 writes only the first bytes (a short file, for tests). False, with the
// reason, when the file cannot be written.
bool WriteTechParamsFile(const std::string& linuxPath, const TechParamsData& data, std::string* error = nullptr,
                         size_t length = kTechParamsFileSize);

// Writes a text file through the system's file opener in text mode (folders
// are made).
bool WriteTextFile(const std::string& linuxPath, const std::string& utf8Text, std::string* error = nullptr);

// `workdir` in `installDir`: the project folder with every blank written as
// '$', then `trailing` (more words, which the reader ignores), then a line end.
bool WriteWorkdir(const std::string& installDir, const std::string& projectFolder, const std::string& trailing = "",
                  std::string* error = nullptr);

// The file naming the current scheme in `projectDir`: "project" as the outside
// programs write it, or "PROJECT" as the navigator does.
bool WriteProjectFile(const std::string& projectDir, const std::string& scheme,
                      const std::string& fileName = "project", std::string* error = nullptr);

}  // namespace project_files
