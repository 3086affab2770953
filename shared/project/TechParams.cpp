#include "project/TechParams.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "crt/textfile.h"
#include "project/GbkText.h"
#include "project/ProjectLocation.h"
#include "win/transcript.h"

unsigned char g_TechBlockA[kTechBlockASize];
unsigned char g_TechBlockB[kTechBlockBSize];

namespace {

constexpr size_t kNameSize = 24;
constexpr size_t kSpeedAt = 24;
constexpr size_t kLineKindAt = 28;
constexpr size_t kParam2At = 32;
constexpr size_t kSubgradeAt = 540;
constexpr size_t kSingleSpacingAt = 548;
constexpr size_t kDoubleSpacingAt = 556;
constexpr size_t kStepCountAt = 564;
constexpr size_t kStepKeysAt = 568;
constexpr size_t kStepValuesAt = 588;

uint32_t U32At(size_t at) {
  const unsigned char* p = g_TechBlockB + at;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
int32_t I32At(size_t at) { return static_cast<int32_t>(U32At(at)); }
int16_t I16At(size_t at) {
  const unsigned char* p = g_TechBlockB + at;
  return static_cast<int16_t>(uint16_t{p[0]} | uint16_t(p[1] << 8));
}
double F32At(size_t at) {
  uint32_t bits = U32At(at);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

int StoredStepKeyCount() { return I16At(kStepCountAt); }

// Reads up to `size` bytes into `block`; bytes the file does not reach keep
// their contents. Returns the number read.
size_t ReadInto(FILE* file, unsigned char* block, size_t size) {
  unsigned char scratch[kTechBlockBSize];
  size_t got = std::fread(scratch, 1, size, file);
  std::memcpy(block, scratch, got);
  return got;
}

}  // namespace

int ReadTechParams() {
  ReadProjectAndScheme();
  if (g_ProjectFolder.IsEmpty()) return 0;
  CString path = TechParamsFilePath();
  FILE* file = platform::openFile(path, "rb");
  if (!file) return 0;
  unsigned char header[kTechHeaderSize];
  if (ReadInto(file, header, kTechHeaderSize) == kTechHeaderSize &&
      ReadInto(file, g_TechBlockA, kTechBlockASize) == kTechBlockASize)
    ReadInto(file, g_TechBlockB, kTechBlockBSize);
  std::fclose(file);

  int stored = StoredStepKeyCount();
  if (stored < 0 || stored > kTechStepKeysMax) {
    CString line;
    line.Format("技术参数文件%s的分级表键数%d超出0至%d, 按%d计", path.GetString(), stored, kTechStepKeysMax,
                TechStepKeyCount());
    platform::transcriptLine(line.view());
  }
  return 1;
}

int TechStepKeyCount() {
  int count = StoredStepKeyCount();
  if (count < 0) return 0;
  return count > kTechStepKeysMax ? kTechStepKeysMax : count;
}

double LookupParamStepTable(double x) {
  int count = TechStepKeyCount();
  int i = 0;
  while (i < count && !(I32At(kStepKeysAt + 4 * i) > x)) ++i;
  return F32At(kStepValuesAt + 4 * i);
}

CString TechParamName() {
  return GbkBytesToUtf8(reinterpret_cast<const char*>(g_TechBlockB), kNameSize);
}

int TechDesignSpeed() { return I32At(kSpeedAt); }
int TechLineKind() { return I16At(kLineKindAt); }

CString LineKindOfScheme() {
  ReadTechParams();
  switch (TechLineKind()) {
    case 1: return "单线";
    case 2: return "双线";
    default: return "预留二线";
  }
}
double TechParam2() { return F32At(kParam2At); }
double TechSubgradeSurfaceThickness() { return F32At(kSubgradeAt); }

double TechSingleLineSpacing(int side) { return F32At(kSingleSpacingAt + (side == 1 ? 4 : 0)); }
double TechDoubleLineSpacing(int side) { return F32At(kDoubleSpacingAt + (side == 1 ? 4 : 0)); }
