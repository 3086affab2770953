#pragma once
// CSectionBrowserDlg: the modeless section browser (dialog 2222
// "横断面追踪显示"). It steps through the drawn sections (首断面, 上一个,
// 下一个, 末断面) of one line over a chainage range, or of all lines (the
// baseline, then each left and each right detour section), and zooms the view
// onto each: it writes the zoom to "c:\tmp.scr" and sends
// "(command \"script\" \"c:\\\\tmp\")" to the command line.
//
// One browser at a time is reachable through SectionBrowser(); it deletes
// itself when its window is destroyed.

#include <vector>

#include "mfc/afxwin.h"

class CrossSectionDesigner;

class CSectionBrowserDlg : public CDialog {
 public:
  CSectionBrowserDlg();
  ~CSectionBrowserDlg() override;

  // One drawn section the browser can show.
  struct Stop {
    CrossSectionDesigner* designer = nullptr;
    int index = 0;
    int line = 0;         // 0 baseline, -1 left line, +1 right line
    int detourIndex = -1; // the detour designer of that side
  };

  // Starts over one line (`line` an entry of the line list: 0 the baseline,
  // then the left, then the right detours) between two chainage texts (an
  // empty text: the line's first or last section), or over all lines.
  void BrowseLine(int line, const CString& start, const CString& end);
  void BrowseAllLines();

  const std::vector<Stop>& Stops() const { return m_stops; }
  int Current() const { return m_current; }
  void ShowStop(int position);

  BOOL OnInitDialog() override;
  void OnCancel() override;
  void PostNcDestroy() override;

  afx_msg void OnFirst();
  afx_msg void OnPrevious();
  afx_msg void OnNext();
  afx_msg void OnLast();
  afx_msg void OnApply();
  afx_msg void OnMode();
  afx_msg void OnLineChange();
  DECLARE_MESSAGE_MAP()

 private:
  struct LineEntry {
    CrossSectionDesigner* designer = nullptr;
    int line = 0;
    int detourIndex = -1;
  };
  std::vector<LineEntry> m_lines;
  std::vector<Stop> m_stops;
  int m_current = -1;
  void FillLines();
  void AddStops(const LineEntry& line, double from, double to);
  void ProposeRange(int line);
};

// The browser reachable now (null when none is open).
CSectionBrowserDlg* SectionBrowser();

// FINDDM: activates the open browser, closes it, and opens a new one over all
// drawn lines. Null when it cannot be created.
CSectionBrowserDlg* OpenSectionBrowser();

// Closes the open browser, if any (before a design replaces what it shows,
// and at unload).
void CloseSectionBrowser();
