// Global memory blocks.
#include "win/globalmem.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "win/handles.h"

namespace {

constexpr SIZE_T kLargest = SIZE_T{1} << 30;

struct Block {
  char* data = nullptr;  // malloc'd; null for a moveable block of 0 bytes
  SIZE_T size = 0;
  bool moveable = false;
  int locks = 0;
  bool held = false;  // by the clipboard
};

std::unordered_map<uintptr_t, Block>& blocks() {
  static auto* b = new std::unordered_map<uintptr_t, Block>;
  return *b;
}

Block* find(HGLOBAL h) {
  auto it = blocks().find(reinterpret_cast<uintptr_t>(h));
  return it == blocks().end() ? nullptr : &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (bytes > kLargest) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Block b;
  b.moveable = (flags & GMEM_MOVEABLE) != 0;
  b.size = bytes;
  if (bytes > 0 || !b.moveable) {
    // A fixed block of 0 bytes still needs an address to be its handle.
    b.data = static_cast<char*>((flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1)
                                                        : std::malloc(bytes ? bytes : 1));
    if (!b.data) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  uintptr_t id = b.moveable ? platform::newHandleValue() : reinterpret_cast<uintptr_t>(b.data);
  blocks().emplace(id, b);
  return reinterpret_cast<HGLOBAL>(id);
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
  Block* b = find(handle);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (bytes > kLargest) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // A fixed block's address is its handle, and a locked block's address is
  // in use: neither may move unless the caller allows it.
  bool mayMove = b->moveable ? (b->locks == 0 || (flags & GMEM_MOVEABLE)) : false;
  if (bytes > b->size && !mayMove) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (bytes > b->size || (b->moveable && b->locks == 0)) {
    char* grown = static_cast<char*>(std::realloc(b->data, bytes ? bytes : 1));
    if (!grown) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    b->data = grown;
  }
  if (bytes > b->size && (flags & GMEM_ZEROINIT)) std::memset(b->data + b->size, 0, bytes - b->size);
  b->size = bytes;
  return handle;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  Block* b = find(handle);
  if (!b || b->held) {
    SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  std::free(b->data);
  blocks().erase(reinterpret_cast<uintptr_t>(handle));
  return nullptr;
}

LPVOID GlobalLock(HGLOBAL handle) {
  Block* b = find(handle);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!b->moveable) return b->data;
  if (b->size == 0) return nullptr;  // a block without memory
  ++b->locks;
  return b->data;
}

BOOL GlobalUnlock(HGLOBAL handle) {
  Block* b = find(handle);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!b->moveable || b->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--b->locks > 0) return TRUE;
  SetLastError(0);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  Block* b = find(handle);
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return b->size;
}

namespace platform {

bool isGlobalBlock(HGLOBAL block) { return find(block) != nullptr; }

HGLOBAL copyGlobalBlock(HGLOBAL block) {
  Block* b = find(block);
  if (!b) return nullptr;
  SIZE_T size = b->size;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy || size == 0) return copy;
  Block* c = find(copy);
  std::memcpy(c->data, find(block)->data, size);
  return copy;
}

void setGlobalBlockHeld(HGLOBAL block, bool held) {
  if (Block* b = find(block)) b->held = held;
}

}  // namespace platform
