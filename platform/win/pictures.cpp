// The pictures of a run: a PNG of every dialog and top-level window as it is
// destroyed, and of those open now, named by order, template id and caption.
#include <cstdio>
#include <string>

#include "win/transcript.h"
#include "win/window_internal.h"
#include "win/winpaint.h"

namespace platform {
namespace {

constexpr size_t kCaptionBytes = 60;

struct Pictures {
  std::string folder;
  int saved = 0;
};

Pictures& pictures() {
  static auto* p = new Pictures;  // lives for the whole process
  return *p;
}

// Dialogs always (a modal dialog is hidden by the time it goes); other
// windows when they show and have a size.
bool worthAPicture(HWND hwnd) {
  win::Window* w = win::find(hwnd);
  if (!w || (w->style & WS_CHILD)) return false;
  if (w->rect.right <= w->rect.left || w->rect.bottom <= w->rect.top) return false;
  return w->dialog || (w->style & WS_VISIBLE);
}

bool savePicture(HWND hwnd, const std::string& folder) {
  win::Window* w = win::find(hwnd);
  if (!w) return false;
  Pictures& p = pictures();
  std::string name = pictureFileName(++p.saved, dialogTemplateId(hwnd), w->text);
  std::string path = folder.empty() ? name : folder + "/" + name;
  return saveWindowPicture(hwnd, path);
}

// A window about to be destroyed, pictured as it was shown: a window's
// close often disables it just before it goes (so that nothing reaches it
// meanwhile), which would grey every control in the picture, so its own
// disabled state is set aside while it is painted. Controls that were
// disabled themselves still show so.
void onClosing(HWND hwnd) {
  const std::string& folder = pictures().folder;
  if (folder.empty() || !worthAPicture(hwnd)) return;
  win::Window* w = win::find(hwnd);
  const bool disabled = w && (w->style & WS_DISABLED);
  if (disabled) w->style &= ~static_cast<DWORD>(WS_DISABLED);
  savePicture(hwnd, folder);
  if (disabled && (w = win::find(hwnd))) w->style |= WS_DISABLED;
}

}  // namespace

std::string pictureFileName(int order, unsigned templateId, const std::string& caption) {
  std::string safe;
  for (unsigned char c : caption) {
    bool bad = c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
               c == '<' || c == '>' || c == '|';
    safe += bad ? '_' : static_cast<char>(c);
  }
  if (safe.size() > kCaptionBytes) {
    // A long caption keeps its beginning and its end (a window's title ends
    // with the file it shows) and loses its middle, marked by an ellipsis;
    // both cuts fall between UTF-8 characters.
    const std::string mark = "\xE2\x80\xA6";  // …
    const size_t room = kCaptionBytes - mark.size();
    size_t head = room / 3;
    while (head > 0 && (static_cast<unsigned char>(safe[head]) & 0xC0) == 0x80) --head;
    size_t tail = safe.size() - (room - head);
    while (tail < safe.size() && (static_cast<unsigned char>(safe[tail]) & 0xC0) == 0x80) ++tail;
    safe = safe.substr(0, head) + mark + safe.substr(tail);
  }
  while (!safe.empty() && (safe.back() == ' ' || safe.back() == '.')) safe.pop_back();
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%03d-%u", order, templateId);
  return std::string(prefix) + (safe.empty() ? "" : "-" + safe) + ".png";
}

void setPictureFolder(const std::string& folder) {
  pictures().folder = folder;
  win::setTopLevelClosingHook(folder.empty() ? nullptr : &onClosing);
}

std::string pictureFolder() { return pictures().folder; }

int saveOpenWindowPictures() {
  std::string folder = pictures().folder.empty() ? "." : pictures().folder;
  int count = 0;
  for (HWND h : win::allWindows())
    if (worthAPicture(h) && savePicture(h, folder)) ++count;
  return count;
}

}  // namespace platform
