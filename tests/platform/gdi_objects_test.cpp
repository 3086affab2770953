// GDI objects and DC state: handle checks, selection and deletion, saved
// states, origins and clips, 3D edges, and the class library's wrappers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "mfc/dc.h"
#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/paint.h"
#include "win/sysparams.h"

namespace {

TEST(GdiObjects, HandlesAreChecked) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ stockPen = SelectObject(dc, pen);
  EXPECT_EQ(stockPen, GetStockObject(BLACK_PEN));
  // Selected: not deleted.
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
  EXPECT_EQ(SelectObject(dc, stockPen), pen);
  EXPECT_TRUE(DeleteObject(pen));
  // Gone: refused everywhere.
  SetLastError(0);
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SelectObject(dc, pen), nullptr);
  EXPECT_EQ(GetObjectType(pen), 0u);
  // A stock object survives deletion.
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  // A value that is no handle, and a DC handle given as an object.
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(uintptr_t{0x7777})));
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(dc)), nullptr);

  // A bitmap goes into one memory DC at a time, never into an image DC.
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 4);
  ASSERT_NE(bitmap, nullptr);
  HDC other = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  EXPECT_NE(oldBitmap, nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  HDC image = platform::createImageDC(4, 4);
  EXPECT_EQ(SelectObject(image, bitmap), nullptr);
  BITMAP bm{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 8);
  EXPECT_EQ(bm.bmHeight, 4);
  EXPECT_EQ(GetObjectA(bitmap, 4, &bm), 0) << "buffer too small";
  SelectObject(dc, oldBitmap);
  EXPECT_EQ(SelectObject(other, bitmap), oldBitmap) << "free again";
  // Deleting the DC lets go of what it holds.
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteDC(other));
  EXPECT_EQ(GetPixel(other, 0, 0), CLR_INVALID);

  // Sizes that cannot be.
  EXPECT_EQ(CreateCompatibleBitmap(dc, 0, 10), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 100000, 100000), nullptr);
  EXPECT_EQ(platform::createImageDC(-1, 5), nullptr);
  EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
  DeleteDC(image);
  DeleteDC(dc);
}

TEST(GdiObjects, FontsKeepTheirDescription) {
  LOGFONT lf = platform::messageFont();
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_STREQ(lf.lfFaceName, "宋体");
  lf.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectA(&lf);
  LOGFONT back{};
  EXPECT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(back.lfWeight, FW_BOLD);
  EXPECT_STREQ(back.lfFaceName, "宋体");
  DeleteObject(font);
  // A face name cut inside a character ends before that character.
  LOGFONT cut{};
  std::string face(LF_FACESIZE - 2, 'a');
  face += "\xE5\xAE\x8B";  // 宋: its last bytes fall past the buffer
  std::memcpy(cut.lfFaceName, face.data(), LF_FACESIZE);
  font = CreateFontIndirectA(&cut);
  EXPECT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(std::string(back.lfFaceName), std::string(LF_FACESIZE - 2, 'a'));
  DeleteObject(font);
}

TEST(GdiObjects, SavedStatesOriginsAndClips) {
  HDC dc = platform::createImageDC(100, 50);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  SelectObject(dc, pen);
  SetTextColor(dc, RGB(10, 20, 30));
  EXPECT_EQ(SaveDC(dc), 1);
  SetTextColor(dc, RGB(40, 50, 60));
  SetViewportOrgEx(dc, 5, 7, nullptr);
  IntersectClipRect(dc, 0, 0, 20, 10);
  RECT box;
  // The clip (5, 7, 25, 17) in device coordinates is (0, 0, 20, 10) logical.
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(SaveDC(dc), 2);
  SetWindowOrgEx(dc, 5, 7, nullptr);  // logical (5, 7) is device (5, 7) again
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 7);
  EXPECT_EQ(box.right, 25);
  EXPECT_EQ(box.bottom, 17);
  EXPECT_EQ(IntersectClipRect(dc, 100, 100, 200, 200), NULLREGION);
  EXPECT_EQ(SaveDC(dc), 3);
  // Back to the first save: colour, origin and clip as they were.
  EXPECT_FALSE(RestoreDC(dc, 0));
  EXPECT_FALSE(RestoreDC(dc, 4));
  EXPECT_TRUE(RestoreDC(dc, 1));
  EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));
  POINT org{-1, -1};
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 100);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_FALSE(RestoreDC(dc, -1)) << "no save left";
  // A clip region in device coordinates, and its removal.
  HRGN rgn = CreateRectRgn(10, 10, 30, 20);
  EXPECT_EQ(SelectClipRgn(dc, rgn), SIMPLEREGION);
  SetPixel(dc, 5, 5, RGB(255, 0, 0));
  SetPixel(dc, 15, 15, RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 5, 5), CLR_INVALID) << "outside the clip";
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255)) << "the pixel was not drawn";
  DeleteObject(rgn);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
  DeleteDC(dc);
}

TEST(GdiObjects, EdgesAndFrames) {
  HDC dc = platform::createImageDC(40, 20);
  struct Probe {
    int x, y;
    COLORREF color;
  };
  const COLORREF light = GetSysColor(COLOR_3DLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
  const COLORREF white = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  RECT edge{0, 0, 10, 10};
  ASSERT_TRUE(DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(edge.left, 2);
  EXPECT_EQ(edge.top, 2);
  EXPECT_EQ(edge.right, 8);
  EXPECT_EQ(edge.bottom, 8);
  // A frame drawn by the class library: top and left red, right and bottom blue.
  CDC* cdc = CDC::FromHandle(dc);
  cdc->Draw3dRect(20, 0, 10, 10, RGB(255, 0, 0), RGB(0, 0, 255));
  const std::vector<Probe> probes = {
      {0, 5, light},  {5, 0, light},  {9, 5, dark},    {5, 9, dark},      {0, 9, dark},   {9, 0, dark},
      {1, 5, white},  {5, 1, white},  {8, 5, shadow},  {5, 8, shadow},    {5, 5, RGB(255, 255, 255)},
      {20, 0, RGB(255, 0, 0)},       {28, 0, RGB(255, 0, 0)},          {29, 0, RGB(0, 0, 255)},
      {20, 9, RGB(0, 0, 255)},       {20, 5, RGB(255, 0, 0)},          {25, 5, RGB(255, 255, 255)},
  };
  for (const Probe& p : probes) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.color) << p.x << "," << p.y;
  // FillSolidRect leaves its colour as the background colour.
  cdc->FillSolidRect(32, 0, 4, 4, RGB(0, 128, 0));
  EXPECT_EQ(GetPixel(dc, 33, 1), RGB(0, 128, 0));
  EXPECT_EQ(cdc->GetBkColor(), RGB(0, 128, 0));
  platform::deleteTemporaryDCs();
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC)) << "a temporary wrapper never deletes the DC";
  DeleteDC(dc);
}

TEST(GdiObjects, ClassLibraryWrappersOwnTheirHandles) {
  HGDIOBJ handle = nullptr;
  {
    CPen pen(PS_SOLID, 2, RGB(9, 9, 9));
    handle = pen.m_hObject;
    EXPECT_EQ(CPen::FromHandle(pen), &pen);
    LOGPEN lp{};
    EXPECT_EQ(pen.GetLogPen(&lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnWidth.x, 2);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPen* old = dc.SelectObject(&pen);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(pen.DeleteObject()) << "still selected";
    dc.SelectObject(old);
  }
  EXPECT_EQ(GetObjectType(handle), 0u) << "deleted with its CPen";
  // A temporary wrapper of a handle it does not own leaves the handle alone.
  HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
  CBrush* temp = CBrush::FromHandle(brush);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(CPen::FromHandle(reinterpret_cast<HPEN>(brush)), nullptr) << "not a pen";
  platform::deleteTemporaryGdiObjects();
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  DeleteObject(brush);
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(90, "宋体"));
  LOGFONT lf{};
  font.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -12) << "9 points at 96 dots per inch";
}

}  // namespace
