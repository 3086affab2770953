#include "mfc/collections.h"

namespace platform::detail {
void collectionIndexFault(const char* what, long long index, long long size) {
  std::fprintf(stderr, "%s: index %lld outside an array of %lld elements\n", what, index, size);
  std::abort();
}
}  // namespace platform::detail
