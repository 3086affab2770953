#pragma once
// Chainage text with three decimals: prefix, kilometres, '+', metres with
// three integer digits and three decimals ("AK1+234.500"); a whole kilometre
// is written without metres ("AK2+000").

#include <cstddef>

#include "mfc/cstring.h"

// Chainage texts travel in buffers that the records size at 40 GBK bytes, and
// prefixes in buffers of 8 (7 characters of ASCII and the terminator). In
// UTF-8 they are given twice that (see project/GbkText.h).
constexpr size_t kChainageTextGbkMax = 39;
constexpr size_t kChainageTextSize = 2 * (kChainageTextGbkMax + 1);
constexpr size_t kChainPrefixGbkMax = 7;
constexpr size_t kChainPrefixSize = 2 * (kChainPrefixGbkMax + 1);

// Writes the chainage text of `value` with `prefix` into `out` (room for
// `outSize` bytes). The value is rounded to whole millimetres first, so the
// metres never show 1000 and their padding follows the rounded value; a
// negative value keeps its metres ("K-0+050.000"). The text stays within
// kChainageTextGbkMax GBK bytes and the buffer: a prefix too long for them is
// cut at a character boundary, the number never.
void ChainageText3Decimals(CString prefix, double value, char* out, size_t outSize = kChainageTextSize);
