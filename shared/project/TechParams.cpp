#include "project/TechParams.h"

#include <algorithm>
#include <cmath>
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

// What the last read found wrong with the file ("" when it was whole and
// sound), and whether it reached the line kind.
CString g_problem = "没有读过技术参数文件";
bool g_lineKindRead = false;
bool g_damaged = false;

// Says what is wrong with the file, once for each new fault.
void Report(const CString& problem) {
  if (problem == g_problem) return;
  g_problem = problem;
  if (!problem.IsEmpty()) platform::transcriptLine(problem.view());
}

// A fault of block B read from `bytes`: a number that is not finite or out of
// its range, or "" for none. Only the fields the bytes reach are looked at.
CString BlockBFault(const unsigned char* b, size_t reached) {
  auto f32 = [b](size_t at) {
    uint32_t bits = uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  };
  auto i32 = [b](size_t at) {
    return static_cast<int32_t>(uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
                                uint32_t{b[at + 3]} << 24);
  };
  CString fault;
  if (reached >= kSpeedAt + 4 && (i32(kSpeedAt) < 0 || i32(kSpeedAt) > 1000))
    fault.Format("设计速度%d不在0至1000之间", i32(kSpeedAt));
  struct Field {
    size_t at;
    const char* name;
  };
  const Field floats[] = {{kParam2At, "第二参数"},           {kSubgradeAt, "基床表层厚度"},
                          {kSingleSpacingAt, "单线线间距(左)"}, {kSingleSpacingAt + 4, "单线线间距(右)"},
                          {kDoubleSpacingAt, "双线线间距(左)"}, {kDoubleSpacingAt + 4, "双线线间距(右)"}};
  for (const Field& field : floats)
    if (fault.IsEmpty() && reached >= field.at + 4 && !std::isfinite(f32(field.at)))
      fault.Format("%s不是有限的数", field.name);
  for (int i = 0; i <= kTechStepKeysMax && fault.IsEmpty(); ++i)
    if (reached >= kStepValuesAt + 4 * i + 4 && !std::isfinite(f32(kStepValuesAt + 4 * i)))
      fault.Format("分级表第%d个值不是有限的数", i + 1);
  return fault;
}

}  // namespace

int ReadTechParams() {
  ReadProjectAndScheme();
  g_damaged = false;
  if (g_ProjectFolder.IsEmpty()) {
    g_lineKindRead = false;
    g_problem = "没有项目";
    return 0;
  }
  CString path = TechParamsFilePath();
  FILE* file = platform::openFile(path, "rb");
  if (!file) {
    g_lineKindRead = false;
    CString text;
    text.Format("没有技术参数文件%s", path.GetString());
    Report(text);
    return 0;
  }
  // The whole file first: a damaged one is refused and changes nothing.
  unsigned char bytes[kTechHeaderSize + kTechBlockASize + kTechBlockBSize];
  const size_t got = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  const size_t blockBAt = kTechHeaderSize + kTechBlockASize;
  const size_t reachedB = got > blockBAt ? got - blockBAt : 0;
  CString fault = BlockBFault(bytes + blockBAt, reachedB);
  if (!fault.IsEmpty()) {
    g_lineKindRead = false;
    g_damaged = true;
    CString text;
    text.Format("技术参数文件%s已损坏(%s), 未读入", path.GetString(), fault.GetString());
    Report(text);
    return 0;
  }
  if (got > kTechHeaderSize) std::memcpy(g_TechBlockA, bytes + kTechHeaderSize, std::min(got - kTechHeaderSize, kTechBlockASize));
  if (reachedB > 0) std::memcpy(g_TechBlockB, bytes + blockBAt, reachedB);
  g_lineKindRead = reachedB >= kLineKindAt + 2;
  CString problem;
  if (got < sizeof bytes)
    problem.Format("技术参数文件%s只有%d字节, 不足%d字节, 未读到的参数沿用原值", path.GetString(),
                   static_cast<int>(got), static_cast<int>(sizeof bytes));
  Report(problem);

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

CString TechParamsProblem() { return g_problem; }
bool TechParamsDamaged() { return g_damaged; }

CString LineKindOfScheme() {
  ReadTechParams();
  if (!g_lineKindRead) return CString();
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
