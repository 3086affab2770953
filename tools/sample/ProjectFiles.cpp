#include "ProjectFiles.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "crt/textfile.h"

namespace fs = std::filesystem;

namespace project_files {

namespace {

constexpr size_t kHeader = 12;
constexpr size_t kBlockA = 12;   // block A in the file
constexpr size_t kBlockB = 268;  // block B in the file
constexpr size_t kNameBytes = 24;

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

void Put32(std::vector<unsigned char>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void PutI32(std::vector<unsigned char>& bytes, size_t at, int32_t v) { Put32(bytes, at, static_cast<uint32_t>(v)); }
void PutI16(std::vector<unsigned char>& bytes, size_t at, int16_t v) {
  const uint16_t u = static_cast<uint16_t>(v);
  bytes[at] = static_cast<unsigned char>(u & 0xFF);
  bytes[at + 1] = static_cast<unsigned char>(u >> 8);
}
void PutF32(std::vector<unsigned char>& bytes, size_t at, float v) {
  uint32_t u;
  std::memcpy(&u, &v, sizeof u);
  Put32(bytes, at, u);
}

// The longest prefix of a GBK text within `limit` bytes that does not split a
// two-byte character.
size_t GbkCut(const std::string& gbk, size_t limit) {
  size_t at = 0;
  while (at < gbk.size()) {
    const size_t step = static_cast<unsigned char>(gbk[at]) >= 0x81 ? 2 : 1;
    if (at + step > limit) break;
    at += step;
  }
  return at;
}

bool MakeParentFolder(const std::string& path, std::string* error) {
  std::error_code ec;
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  if (ec) return Fail(error, "cannot make the folder " + parent.string() + ": " + ec.message());
  return true;
}

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string& gbk, std::string* error) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return Fail(error, "no UTF-8 to GBK converter");
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return Fail(error, "text has no GBK form: " + utf8);
  out.resize(out.size() - outLeft);
  gbk = out;
  return true;
}

bool TechParamsBytes(const TechParamsData& d, std::vector<unsigned char>& bytes, std::string* error) {
  std::string name;
  if (!Utf8ToGbk(d.name, name, error)) return false;
  bytes.assign(kTechParamsFileSize, 0);
  std::memcpy(bytes.data(), "JSCS", 4);
  PutI32(bytes, 4, 1);
  static_assert(kBlockA == kHeader);
  std::memcpy(bytes.data() + kBlockA, d.blockA.data(), d.blockA.size());
  std::memcpy(bytes.data() + kBlockB, name.data(), GbkCut(name, kNameBytes));
  PutI32(bytes, kBlockB + 24, d.speed);
  PutI16(bytes, kBlockB + 28, d.lineKind);
  PutF32(bytes, kBlockB + 32, d.param2);
  PutF32(bytes, kBlockB + 540, d.subgradeThickness);
  PutF32(bytes, kBlockB + 548, d.singleSpacing[0]);
  PutF32(bytes, kBlockB + 552, d.singleSpacing[1]);
  PutF32(bytes, kBlockB + 556, d.doubleSpacing[0]);
  PutF32(bytes, kBlockB + 560, d.doubleSpacing[1]);
  PutI16(bytes, kBlockB + 564, d.stepKeyCount);
  for (int i = 0; i < 5; ++i) PutI32(bytes, kBlockB + 568 + 4 * i, d.stepKeys[i]);
  for (int i = 0; i < 6; ++i) PutF32(bytes, kBlockB + 588 + 4 * i, d.stepValues[i]);
  return true;
}

bool WriteTechParamsFile(const std::string& linuxPath, const TechParamsData& data, std::string* error,
                         size_t length) {
  std::vector<unsigned char> bytes;
  if (!TechParamsBytes(data, bytes, error)) return false;
  if (length < bytes.size()) bytes.resize(length);
  if (!MakeParentFolder(linuxPath, error)) return false;
  std::ofstream out(linuxPath, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) return Fail(error, "cannot write " + linuxPath);
  return true;
}

bool WriteTextFile(const std::string& linuxPath, const std::string& utf8Text, std::string* error) {
  if (!MakeParentFolder(linuxPath, error)) return false;
  FILE* f = platform::openFile(linuxPath.c_str(), "w");
  if (!f) return Fail(error, "cannot write " + linuxPath + ": " + std::strerror(errno));
  const bool written = std::fputs(utf8Text.c_str(), f) >= 0;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) return Fail(error, "cannot write " + linuxPath);
  return true;
}

bool WriteWorkdir(const std::string& installDir, const std::string& projectFolder, const std::string& trailing,
                  std::string* error) {
  std::string word = projectFolder;
  for (char& c : word)
    if (c == ' ') c = '$';
  return WriteTextFile(installDir + "/workdir", word + trailing + "\n", error);
}

bool WriteProjectFile(const std::string& projectDir, const std::string& scheme, const std::string& fileName,
                      std::string* error) {
  return WriteTextFile(projectDir + "/" + fileName, scheme + "\n", error);
}

}  // namespace project_files
