#pragma once
// Palette sets and palettes: CAdUiPaletteSet, a dock bar that holds
// palettes (one shown at a time, filling the set's client area), and
// CAdUiPalette, a window that a module fills with its own children (a dialog).
// The set paints a title bar with its name above the palette it shows.
//
// Both belong to the host once created: a palette set and its palettes are
// deleted when their windows go (with the frame, with the module that made
// them at its unload, or by DestroyWindow), and a palette's children go with
// it. Every set made is a new one.
//
// A floating set keeps its size within GetMinimumSize and GetMaximumSize
// (virtual: a derived set gives its own); a docked one keeps its minimum and
// takes what the dock gives it, across a left or right dock at least the
// width that shows the whole of its palette's children. A set has an opacity (100: opaque) and the palette-set
// styles; with PSS_CLOSE_BUTTON its close command hides it. A floating set
// rolls up to its title bar (RollUp) and out again (RollOut).

#include "arx/dockbar.h"

#define PSS_AUTO_ROLLUP 0x00000002
#define PSS_PROPERTIES_MENU 0x00000004
#define PSS_CLOSE_BUTTON 0x00000008
#define PSS_EDIT_NAME 0x00000010
#define PSS_SNAP 0x00000020
#define PSS_SINGLE_PALETTE_TAB 0x00000040
#define PSS_USE_TITLEBAR 0x00000080

#define PS_EDIT_NAME 0x00000001

class CAdUiPaletteSet;

class PLATFORM_API CAdUiPalette : public CWnd {
  DECLARE_DYNAMIC(CAdUiPalette)

 public:
  CAdUiPalette();
  ~CAdUiPalette() override;

  // The palette's window, a child of `parent` (its set) until it is added.
  using CWnd::Create;
  virtual BOOL Create(DWORD style, LPCTSTR name, CAdUiPaletteSet* parent, DWORD paletteStyle = 0);
  CString GetName() const { return m_name; }
  void SetName(LPCTSTR name) { m_name = name ? name : ""; }
  DWORD GetPaletteStyle() const { return m_paletteStyle; }
  void SetPaletteStyle(DWORD style) { m_paletteStyle = style; }
  CAdUiPaletteSet* GetPaletteSet() const { return m_set; }
  // The state of the palette kept between runs; nothing is kept here.
  virtual BOOL Load(IUnknown* state);
  virtual BOOL Save(IUnknown* state);
  // Whether the frame may take the keyboard focus from the palette.
  virtual BOOL CanFrameworkTakeFocus();

  void PostNcDestroy() override;

 private:
  friend class CAdUiPaletteSet;
  CString m_name;
  DWORD m_paletteStyle = 0;
  CAdUiPaletteSet* m_set = nullptr;
};

class PLATFORM_API CAdUiPaletteSet : public CAdUiDockControlBar {
  DECLARE_DYNAMIC(CAdUiPaletteSet)

 public:
  explicit CAdUiPaletteSet(int flags = 0);
  ~CAdUiPaletteSet() override;

  // The set's window (hidden until shown or docked), a child of `parent`,
  // the main frame.
  virtual BOOL Create(LPCTSTR name, DWORD style, const RECT& rect, CWnd* parent,
                      DWORD paletteSetStyle = PSS_PROPERTIES_MENU | PSS_AUTO_ROLLUP | PSS_CLOSE_BUTTON);
  using CAdUiDockControlBar::Create;
  DWORD GetPaletteSetStyle() const { return m_setStyle; }
  void SetPaletteSetStyle(DWORD style) { m_setStyle = style; }
  CString GetName() const;
  void SetName(LPCTSTR name);

  // Adds a palette (its window becomes the set's child); the first one added
  // is the one shown. The index, -1 on failure.
  int AddPalette(CAdUiPalette* palette);
  BOOL RemovePalette(CAdUiPalette* palette);
  int GetPaletteCount() const;
  CAdUiPalette* GetPalette(int index) const;
  BOOL SetActivePalette(CAdUiPalette* palette);
  CAdUiPalette* GetActivePalette() const;

  // 0 (transparent) to 100 (opaque).
  BOOL SetOpacity(int opacity);
  int GetOpacity() const { return m_opacity; }
  virtual void GetMinimumSize(CSize& size);
  virtual void GetMaximumSize(CSize& size);
  BOOL RollOut();
  BOOL RollUp();
  BOOL IsRolledUp() const { return m_rolledUp; }
  BOOL GetAutoRollup() const { return (m_setStyle & PSS_AUTO_ROLLUP) != 0; }

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  BOOL OnClosing() override;

 private:
  void layoutPalettes();
  int dockedWidth() const;
  std::vector<HWND> m_palettes;
  HWND m_active = nullptr;
  DWORD m_setStyle = 0;
  int m_opacity = 100;
  bool m_rolledUp = false;
  int m_unrolledHeight = 0;

  DECLARE_MESSAGE_MAP()
};
