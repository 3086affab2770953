#pragma once
// Painting of windows: the device contexts of a window (BeginPaint, GetDC,
// GetWindowDC) and pictures of windows.
//
// Every top-level window has a picture the size of its window rectangle (its
// frame included), made when it is first drawn on. A window's DC draws on the
// picture of its top-level window, at the window's place: logical and device
// coordinates are the window's client coordinates (GetWindowDC: its window
// rectangle's), and the DC never draws outside the window's client area (the
// window rectangle for GetWindowDC), nor outside its parents' client areas.
// A child window thus paints into its parent's picture, over what the parent
// painted there.
//
// BeginPaint takes the window's update rectangle (the whole client area when
// nothing was invalidated) and validates the window; its DC is clipped to that
// rectangle. When the frame needs painting it sends WM_NCPAINT first (the
// default draws the border, the caption bar with the caption and the scroll
// bars in the classic look); when the background needs erasing it sends
// WM_ERASEBKGND with the DC (the default fills the client area with the class
// brush; a dialog's with its WM_CTLCOLORDLG brush, button face by default) and
// sets fErase when nothing erased it. EndPaint releases the DC.

#include <string>

#include "win/canvas.h"
#include "win/winuser.h"

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

PLATFORM_API HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
PLATFORM_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// The client area's DC (NULL: a DC of the screen, which draws nothing and
// serves to measure text).
PLATFORM_API HDC GetDC(HWND hwnd);
// The DC of the whole window rectangle (frame included).
PLATFORM_API HDC GetWindowDC(HWND hwnd);
// Frees a DC that GetDC, GetWindowDC or BeginPaint gave; 1 when it was one.
PLATFORM_API int ReleaseDC(HWND hwnd, HDC dc);

namespace platform {

// Records every operation drawn on the picture of `hwnd`'s top-level window
// (by any of its windows) into `recorder` (null: stops recording). The
// recorder must outlive the DCs made meanwhile. Operations are in picture
// coordinates: the top-level window's rectangle has its top-left at (0, 0).
PLATFORM_API void recordWindowPaint(HWND hwnd, GdiRecorder* recorder);

// Paints `hwnd` as it shows now into a new picture of its window rectangle:
// its frame (WM_NCPAINT), background (WM_ERASEBKGND) and client area
// (WM_PAINT), then each visible child, bottom of the z-order first, through
// its own messages at its place, clipped to it, and their children in turn.
// The window itself is painted whether it is visible or not. Answers an image
// DC holding the picture (win/gdiimage.h; freed by DeleteDC), NULL for a
// handle that is no window or a window of no size.
PLATFORM_API HDC renderWindowPicture(HWND hwnd);
// renderWindowPicture saved as a PNG file (through the path resolver); false,
// with a line on the transcript, when it cannot be.
PLATFORM_API bool saveWindowPicture(HWND hwnd, const std::string& path);

// Pictures of a run: with a folder set, every dialog and every visible
// top-level window is saved as a PNG as it is destroyed, and
// saveOpenWindowPictures saves those open now. Files are named by the order
// of saving, the dialog's template id (0 for other windows) and the caption
// made safe for a file name: "003-2005-横断面自动设计.png". An empty folder
// stops the saving on destruction.
PLATFORM_API void setPictureFolder(const std::string& folder);
PLATFORM_API std::string pictureFolder();
// Saves the dialogs and visible top-level windows open now, oldest first, in
// the picture folder ("." when none is set); answers how many were saved.
PLATFORM_API int saveOpenWindowPictures();
// The file name a picture gets (without the folder): "<order>-<id>-<caption>.png",
// the order in three digits at least; characters that no file name may hold
// become '_', and a caption longer than 60 bytes is cut (whole characters).
PLATFORM_API std::string pictureFileName(int order, unsigned templateId, const std::string& caption);

}  // namespace platform
