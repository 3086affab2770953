// The clipboard of the process.
#include "win/clipboard.h"

#include <cstring>
#include <map>
#include <memory>

#include "win/winhost.h"

namespace {

struct Clipboard {
  bool open = false;
  HWND opener = nullptr;
  HWND owner = nullptr;
  std::map<UINT, HGLOBAL> data;
  std::unique_ptr<platform::ClipboardKeepsake> keepsake;
};

Clipboard& clipboard() {
  static auto* c = new Clipboard;
  return *c;
}

void release(HGLOBAL block) {
  platform::setGlobalBlockHeld(block, false);
  GlobalFree(block);
}

void emptyData(Clipboard& c) {
  for (auto& [format, block] : c.data) release(block);
  c.data.clear();
  c.keepsake.reset();
}

BOOL notOpen() {
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return FALSE;
}

// The edit controls cut, copy and paste through this clipboard.
bool readText(std::string& text) {
  std::optional<std::string> t = platform::clipboardText();
  if (!t) return false;
  text = std::move(*t);
  return true;
}

bool writeText(const std::string& text) { return platform::setClipboardText(text); }

struct Hooks {
  Hooks() { platform::setClipboardTextHooks(&readText, &writeText); }
};
const Hooks g_hooks;

}  // namespace

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = clipboard();
  if (c.open && c.opener != owner) return FALSE;
  c.open = true;
  c.opener = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = clipboard();
  if (!c.open) return notOpen();
  c.open = false;
  c.opener = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard& c = clipboard();
  if (!c.open) return notOpen();
  emptyData(c);
  c.owner = c.opener;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Clipboard& c = clipboard();
  if (!c.open) {
    notOpen();
    return nullptr;
  }
  if (!platform::isGlobalBlock(data) || format == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto it = c.data.find(format);
  if (it != c.data.end() && it->second != data) release(it->second);
  c.data[format] = data;
  platform::setGlobalBlockHeld(data, true);
  return data;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = clipboard();
  if (!c.open) {
    notOpen();
    return nullptr;
  }
  auto it = c.data.find(format);
  return it == c.data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) { return clipboard().data.count(format) ? TRUE : FALSE; }

int CountClipboardFormats() { return static_cast<int>(clipboard().data.size()); }

namespace platform {

bool setClipboardText(std::string_view text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, text.size() + 1);
  bool ok = false;
  if (block) {
    char* p = static_cast<char*>(GlobalLock(block));
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = 0;
    GlobalUnlock(block);
    ok = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!ok) GlobalFree(block);
  }
  CloseClipboard();
  return ok;
}

std::optional<std::string> clipboardText() {
  auto& data = clipboard().data;
  auto it = data.find(CF_TEXT);
  if (it == data.end()) return std::nullopt;
  SIZE_T size = GlobalSize(it->second);
  const char* p = static_cast<const char*>(GlobalLock(it->second));
  std::string text = p ? std::string(p, strnlen(p, size)) : std::string();
  if (p) GlobalUnlock(it->second);
  return text;
}

void keepWithClipboard(ClipboardKeepsake* object) {
  Clipboard& c = clipboard();
  if (c.keepsake.get() != object) c.keepsake.reset(object);
}

void takeBackFromClipboard(ClipboardKeepsake* object) {
  Clipboard& c = clipboard();
  if (object && c.keepsake.get() == object) (void)c.keepsake.release();
}

}  // namespace platform
