#pragma once
// The one place where the runs that draw the sections (the HDMDES run and
// the drawing run of DRAWHDM and PRINTHDM) hand over to the section browser
// (CSectionBrowserDlg, dialog 2222 "横断面追踪显示", dialogs/SectionBrowserDlg.cpp
// defines this hand-over).

class CrossSectionDesigner;

// Called once the sections of `designer` (the baseline designer) are drawn:
// closes the section browser that is open, if any, and opens a new one over
// the drawn lines: for a "单线" design with the chainages of the first and
// the last section as its range, otherwise over all lines.
void ReplaceSectionBrowser(CrossSectionDesigner& designer);
