#include "dialog_support.h"

namespace dialogtest {

BEGIN_MESSAGE_MAP(CLogDlg, CDialog)
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

}  // namespace dialogtest
