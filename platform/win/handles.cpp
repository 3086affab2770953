#include "win/handles.h"

#include <atomic>

namespace platform {

uintptr_t newHandleValue() {
  static std::atomic<uintptr_t> next{0x1000};
  return next.fetch_add(4);
}

}  // namespace platform
