// Helpers of the module's dialogs.

#include "DialogSupport.h"

#include <cmath>

#include "XLDataBase.h"
#include "arx/adscodes.h"
#include "arx/edinput.h"
#include "mfc/filedialog.h"
#include "project/ChainageText.h"
#include "project/ProjectLocation.h"

bool BaselineRangeFromBreakTable(CString& start, CString& end) {
  if (!ReadProjectAndScheme()) return false;
  XLDataBase db;
  if (db.ReadTable(SchemeDatabasePath(), "断链表") != 1 || db.breakCount <= 0) return false;
  const int count = db.breakCount < XLDataBase::kMaxBreaks ? db.breakCount : XLDataBase::kMaxBreaks;
  const BreakRecord& first = db.breaks[0];
  const BreakRecord& last = db.breaks[count - 1];
  char text[kChainageTextSize];
  ChainageText3Decimals(first.prefixAfter, first.before + first.length, text);
  start = text;
  ChainageText3Decimals(last.prefixBefore, last.before, text);
  end = text;
  return true;
}

bool PickOriginWhileHidden(CDialog& dialog, const char* prompt, double& x, double& y) {
  dialog.ShowWindow(SW_HIDE);
  ads_point p = {0.0, 0.0, 0.0};
  const int rc = acedGetPoint(nullptr, prompt, p);
  dialog.ShowWindow(SW_SHOW);
  dialog.EnableWindow(TRUE);
  if (rc != RTNORM) return false;
  x = std::trunc(p[0]);
  y = std::trunc(p[1]);
  return true;
}

bool BrowseSchemeFile(CWnd* parent, const char* ext, const char* filter, CString& path) {
  ReadProjectAndScheme();
  const CString start = g_ProjectFolder + "\\data\\" + g_SchemeName + "." + ext;
  CFileDialog dialog(TRUE, ext, start, OFN_CREATEPROMPT, filter, parent);
  dialog.m_ofn.Flags = OFN_CREATEPROMPT;
  if (dialog.DoModal() != IDOK) return false;
  path = dialog.GetPathName();
  return true;
}
