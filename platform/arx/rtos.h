#pragma once
// The host's real-to-string conversion.
//
// acdbRToS(value, unit, precision, buffer): unit 1 writes scientific notation
// ("1.2345E+03"), unit 2 plain decimal; -1 stands for the drawing's linear
// units (decimal). The precision is the number of decimals (-1: the drawing's
// default, 4; at most 8). The value is rounded to that many decimals as printf
// rounds it, and the decimal mode keeps trailing zeros: 1.5 with 2 decimals is
// "1.50", 2 with 0 decimals is "2". A result that rounds to zero has no minus
// sign.
//
// The text is written bounded by the buffer's size and always terminated.
// Returns RTNORM, or RTERROR for a unit this host does not write (the buffer
// then holds "") or a text that had to be cut to fit.

#include <cstddef>

#include "arx/adscodes.h"
#include "platform_api.h"

PLATFORM_API int acdbRToS(ads_real value, int unit, int precision, char* buffer, size_t size);

template <size_t N>
inline int acdbRToS(ads_real value, int unit, int precision, char (&buffer)[N]) {
  return acdbRToS(value, unit, precision, buffer, N);
}
