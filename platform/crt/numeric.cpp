#include "crt/numeric.h"

#include <clocale>
#include <locale.h>

namespace platform {
namespace {

locale_t cLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// Runs when libplatform is loaded, on the thread that loads it.
__attribute__((constructor)) void useCLocaleAtLoad() { useCLocaleOnThisThread(); }

}  // namespace

void useCLocaleOnThisThread() {
  if (locale_t c = cLocale()) uselocale(c);
}

}  // namespace platform
