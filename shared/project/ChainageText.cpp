#include "project/ChainageText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "project/GbkText.h"

void ChainageText3Decimals(CString prefix, double value, char* out, size_t outSize) {
  if (!out || outSize == 0) return;

  // The number part, from the value in whole millimetres.
  char number[48];
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
    std::snprintf(number, sizeof number, "%g", value);
  } else {
    long long mm = std::llround(value * 1000.0);
    const char* sign = mm < 0 ? "-" : "";
    long long abs = mm < 0 ? -mm : mm;
    long long km = abs / 1000000;
    long long metres = abs % 1000000;
    if (metres == 0)
      std::snprintf(number, sizeof number, "%s%lld+000", sign, km);
    else
      std::snprintf(number, sizeof number, "%s%lld+%03lld.%03lld", sign, km, metres / 1000, metres % 1000);
  }

  // The prefix takes what room the number leaves.
  size_t numberLength = std::strlen(number);
  size_t prefixRoom = outSize > numberLength ? outSize - numberLength : 1;
  size_t prefixGbk = kChainageTextGbkMax > numberLength ? kChainageTextGbkMax - numberLength : 0;
  size_t used = CopyTextBounded(out, prefixRoom, prefix.GetString(), prefixGbk);
  CopyTextBounded(out + used, outSize - used, number, kChainageTextGbkMax);
}
