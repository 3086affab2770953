#pragma once
// The clipboard, within the process (nothing is exchanged with other
// programs on this platform). Text is UTF-8.
//
// The clipboard is opened by one owner at a time (the window handle given to
// OpenClipboard is only compared, never used; NULL is an owner too): a second
// OpenClipboard fails until CloseClipboard, unless it is the same owner's.
// EmptyClipboard, SetClipboardData and GetClipboardData need it open. The
// data handed to SetClipboardData is a global memory block (win/globalmem.h)
// that the clipboard then holds: it frees it when the data is replaced or
// emptied, and GlobalFree refuses it meanwhile.

#include <optional>
#include <string>
#include <string_view>

#include "win/globalmem.h"

typedef WORD CLIPFORMAT;

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_OEMTEXT 7
#define CF_UNICODETEXT 13

#define ERROR_CLIPBOARD_NOT_OPEN 1418

PLATFORM_API BOOL OpenClipboard(HWND owner);
PLATFORM_API BOOL CloseClipboard();
// Frees what the clipboard holds; the opener becomes its owner.
PLATFORM_API BOOL EmptyClipboard();
// Puts a global block on the clipboard under `format`; answers the block, or
// NULL when the clipboard is not open or the block names none.
PLATFORM_API HANDLE SetClipboardData(UINT format, HANDLE data);
// The block held for `format` (still the clipboard's), or NULL.
PLATFORM_API HANDLE GetClipboardData(UINT format);
PLATFORM_API BOOL IsClipboardFormatAvailable(UINT format);
PLATFORM_API int CountClipboardFormats();

namespace platform {
// Puts `text` on the clipboard as CF_TEXT (what a script's paste then
// pastes); false when the clipboard is open elsewhere.
PLATFORM_API bool setClipboardText(std::string_view text);
// The CF_TEXT on the clipboard up to its first zero byte; nothing when it
// holds none.
PLATFORM_API std::optional<std::string> clipboardText();
// Hands an object to the clipboard to keep until the clipboard is emptied
// (OLE data sources put on the clipboard are owned by it).
class ClipboardKeepsake {
 public:
  virtual ~ClipboardKeepsake() = default;
};
PLATFORM_API void keepWithClipboard(ClipboardKeepsake* object);
// Takes `object` back from the clipboard's keeping without deleting it (when
// the clipboard keeps it).
PLATFORM_API void takeBackFromClipboard(ClipboardKeepsake* object);
}  // namespace platform
