// Global memory, the clipboard, OLE data transfer and drag and drop.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "com/ole.h"
#include "mfc/afxole.h"
#include "mfc/memfile.h"
#include "win/clipboard.h"
#include "win/globalmem.h"

namespace {

// Two rows of a grid's copy: tab-separated cells, rows apart by "\n", a
// Chinese header and an empty cell shown as one blank.
const std::string kGridText = "桩号\t左宽\t右宽\nDK1+000\t \t4.00";

TEST(GlobalMemory, EdgeCases) {
  // A moveable block of 0 bytes has a handle and no memory.
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  EXPECT_EQ(GlobalFree(empty), nullptr);

  // A fixed block is its own address.
  HGLOBAL fixed = GlobalAlloc(GPTR, 16);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed);
  EXPECT_EQ(GlobalSize(fixed), 16u);
  const char* bytes = static_cast<const char*>(fixed);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0) << "zero-initialised";
  EXPECT_EQ(GlobalReAlloc(fixed, 64, 0), nullptr) << "a fixed block cannot move";
  EXPECT_EQ(GlobalFree(fixed), nullptr);

  // Locks are counted.
  HGLOBAL block = GlobalAlloc(GHND, 8);
  char* p = static_cast<char*>(GlobalLock(block));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GlobalLock(block), p);
  EXPECT_TRUE(GlobalUnlock(block)) << "still locked once";
  SetLastError(1234);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), 0u) << "the last lock went";
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

  // Growing keeps the content and clears the new bytes.
  p = static_cast<char*>(GlobalLock(block));
  std::memcpy(p, "abcdefgh", 8);
  GlobalUnlock(block);
  ASSERT_EQ(GlobalReAlloc(block, 12, GMEM_ZEROINIT), block);
  EXPECT_EQ(GlobalSize(block), 12u);
  p = static_cast<char*>(GlobalLock(block));
  EXPECT_EQ(std::string(p, 8), "abcdefgh");
  EXPECT_EQ(std::string(p + 8, 4), std::string(4, '\0'));
  // A locked block only moves when the caller allows it.
  EXPECT_EQ(GlobalReAlloc(block, 4096, 0), nullptr);
  EXPECT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE), block);
  GlobalUnlock(block);

  // Freed handles and values that are none are refused and returned.
  EXPECT_EQ(GlobalFree(block), nullptr);
  SetLastError(0);
  EXPECT_EQ(GlobalFree(block), block);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  // Too large.
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(Clipboard, MultiLineTextWithTabsRoundTrip) {
  // Put the way a program does it: a moveable shared block as CF_TEXT.
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, kGridText.size() + 1);
  char* p = static_cast<char*>(GlobalLock(block));
  std::memcpy(p, kGridText.c_str(), kGridText.size() + 1);
  GlobalUnlock(block);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  EXPECT_EQ(GlobalFree(block), block) << "the clipboard holds it now";
  ASSERT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "closed";
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(GlobalSize(got), kGridText.size() + 1);
  const char* text = static_cast<const char*>(GlobalLock(got));
  EXPECT_EQ(std::string(text), kGridText);
  GlobalUnlock(got);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(platform::clipboardText(), kGridText);

  // The script helper puts a text the same way.
  ASSERT_TRUE(platform::setClipboardText("1.5,2.5\n\n3.5"));
  EXPECT_EQ(platform::clipboardText(), "1.5,2.5\n\n3.5");
}

TEST(Clipboard, OneOpenerAtATime) {
  HWND a = reinterpret_cast<HWND>(uintptr_t{0x10});
  HWND b = reinterpret_cast<HWND>(uintptr_t{0x20});
  EXPECT_FALSE(CloseClipboard());
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_TEXT, GlobalAlloc(GMEM_MOVEABLE, 1)), nullptr);
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_TRUE(OpenClipboard(a)) << "the same owner again";
  EXPECT_FALSE(OpenClipboard(b));
  EXPECT_FALSE(platform::setClipboardText("x"));
  EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(uintptr_t{0x4242})), nullptr) << "no block";
  ASSERT_TRUE(CloseClipboard());
  EXPECT_TRUE(OpenClipboard(b));
  EXPECT_TRUE(CloseClipboard());
}

TEST(Clipboard, SharedFileAndOleDataRoundTrip) {
  // Written the way the grid copies: a growing shared memory file, a zero
  // byte, then handed to a data source that goes on the clipboard.
  CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 4);
  file.Write(kGridText.data(), static_cast<UINT>(kGridText.size()));
  char zero = 0;
  file.Write(&zero, 1);
  EXPECT_EQ(file.GetLength(), kGridText.size() + 1);
  HGLOBAL block = file.Detach();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), kGridText.size() + 1) << "sized to what was written";
  EXPECT_EQ(file.GetLength(), 0u);
  auto* source = new COleDataSource;
  source->CacheGlobalData(CF_TEXT, block);
  source->SetClipboard();  // the clipboard owns the source now

  COleDataObject data;
  ASSERT_TRUE(data.AttachClipboard());
  ASSERT_TRUE(data.IsDataAvailable(CF_TEXT));
  EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
  HGLOBAL copy = data.GetGlobalData(CF_TEXT);
  ASSERT_NE(copy, nullptr);
  // Read back through a shared file over the copy.
  CSharedFile reader;
  reader.SetHandle(copy);
  std::string back(static_cast<size_t>(reader.GetLength()), '\0');
  EXPECT_EQ(reader.Read(back.data(), static_cast<UINT>(back.size())), back.size());
  EXPECT_EQ(back, kGridText + std::string(1, '\0'));
  EXPECT_EQ(data.GetGlobalData(CF_BITMAP), nullptr);
  // Emptying the clipboard frees the source it kept.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
}

TEST(MemFile, GrowsSeeksAndRefuses) {
  CMemFile file(3);
  file.Write("abcdef", 6);
  EXPECT_EQ(file.GetLength(), 6u);
  file.Seek(8, CFile::begin);
  file.Write("x", 1);
  EXPECT_EQ(file.GetLength(), 9u);
  file.SeekToBegin();
  char buf[16] = {};
  EXPECT_EQ(file.Read(buf, sizeof buf), 9u);
  EXPECT_EQ(std::string(buf, 9), std::string("abcdef\0\0x", 9)) << "the gap reads as zeros";
  EXPECT_THROW(
      {
        try {
          file.Seek(-1, CFile::begin);
        } catch (CFileException* e) {
          EXPECT_EQ(e->m_cause, CFileException::badSeek);
          e->Delete();
          throw 1;
        }
      },
      int);
  // A caller's buffer without growth is a fixed-size file.
  BYTE fixed[4] = {'w', 'x', 'y', 'z'};
  CMemFile view(fixed, 4);
  EXPECT_EQ(view.GetLength(), 4u);
  view.Seek(0, CFile::end);
  EXPECT_THROW(
      {
        try {
          view.Write("!", 1);
        } catch (CFileException* e) {
          e->Delete();
          throw 1;
        }
      },
      int);
}

TEST(Ole, InitialisedTwice) {
  ASSERT_FALSE(platform::oleInitialized());
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE) << "already initialised";
  EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  OleUninitialize();
  OleUninitialize();
  EXPECT_TRUE(platform::oleInitialized()) << "one call still unmatched";
  OleUninitialize();
  EXPECT_FALSE(platform::oleInitialized());
  OleUninitialize();  // one too many: nothing
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  OleUninitialize();
}

// A drop target that takes text: copy with Ctrl, move without, and keeps a
// log of the calls it had.
class TextTarget : public platform::DropTarget {
 public:
  std::vector<std::string> log;
  std::string dropped;

  DROPEFFECT effectFor(COleDataObject& data, DWORD keyState) {
    if (!data.IsDataAvailable(CF_TEXT)) return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  }
  DROPEFFECT DragEnter(HWND, COleDataObject& data, DWORD keyState, POINT p) override {
    log.push_back("enter " + std::to_string(p.x));
    return effectFor(data, keyState);
  }
  DROPEFFECT DragOver(HWND, COleDataObject& data, DWORD keyState, POINT p) override {
    log.push_back("over " + std::to_string(p.x));
    return effectFor(data, keyState);
  }
  void DragLeave(HWND) override { log.push_back("leave"); }
  BOOL Drop(HWND, COleDataObject& data, DROPEFFECT effect, POINT) override {
    log.push_back("drop " + std::to_string(effect));
    HGLOBAL block = data.GetGlobalData(CF_TEXT);
    if (!block) return FALSE;
    dropped = static_cast<const char*>(GlobalLock(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return TRUE;
  }
};

TEST(DragAndDrop, CopyWithCtrlMoveWithout) {
  HWND grid = reinterpret_cast<HWND>(uintptr_t{0x100});
  HWND plain = reinterpret_cast<HWND>(uintptr_t{0x200});
  TextTarget target;
  ASSERT_TRUE(platform::registerDropTarget(grid, &target));
  EXPECT_FALSE(platform::registerDropTarget(grid, &target)) << "one target a window";
  auto source = [] {
    auto* s = new COleDataSource;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(block), "7.5", 4);
    GlobalUnlock(block);
    s->CacheGlobalData(CF_TEXT, block);
    return std::unique_ptr<COleDataSource>(s);
  };
  struct Case {
    const char* what;
    DWORD keys;
    DROPEFFECT allowed;
    DROPEFFECT result;
  };
  const std::vector<Case> cases = {
      {"Ctrl held: copy", MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
      {"no Ctrl: move", MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
      {"a move the source does not allow", MK_LBUTTON, DROPEFFECT_COPY, DROPEFFECT_NONE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    target.log.clear();
    target.dropped.clear();
    auto data = source();
    platform::DragSession drag(*data, c.allowed);
    EXPECT_EQ(drag.MoveTo(plain, POINT{1, 1}, c.keys), DROPEFFECT_NONE) << "no target there";
    EXPECT_EQ(drag.MoveTo(grid, POINT{10, 5}, c.keys), c.result);
    EXPECT_EQ(drag.MoveTo(grid, POINT{20, 5}, c.keys), c.result);
    EXPECT_EQ(drag.Drop(), c.result);
    std::vector<std::string> expected = {"enter 10", "over 20"};
    expected.push_back(c.result == DROPEFFECT_NONE ? "leave" : "drop " + std::to_string(c.result));
    EXPECT_EQ(target.log, expected);
    EXPECT_EQ(target.dropped, c.result == DROPEFFECT_NONE ? "" : "7.5");
  }
  // Leaving the window, and a drag given up.
  {
    target.log.clear();
    auto data = source();
    platform::DragSession drag(*data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    drag.MoveTo(grid, POINT{3, 3}, MK_LBUTTON);
    drag.MoveTo(plain, POINT{3, 3}, MK_LBUTTON);
    drag.MoveTo(grid, POINT{4, 4}, MK_LBUTTON);
    drag.Cancel();
    EXPECT_EQ(drag.Drop(), DROPEFFECT_NONE);
    EXPECT_EQ(target.log, (std::vector<std::string>{"enter 3", "leave", "enter 4", "leave"}));
  }
  // Data without text is refused by the target.
  {
    target.log.clear();
    COleDataSource empty;
    platform::DragSession drag(empty, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(drag.MoveTo(grid, POINT{1, 1}, MK_LBUTTON | MK_CONTROL), DROPEFFECT_NONE);
    EXPECT_EQ(drag.Drop(), DROPEFFECT_NONE);
    EXPECT_EQ(target.log, (std::vector<std::string>{"enter 1", "leave"}));
  }
  EXPECT_TRUE(platform::revokeDropTarget(grid));
  EXPECT_FALSE(platform::revokeDropTarget(grid));
}

}  // namespace
