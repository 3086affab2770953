// The demo: shows the platform at work until the host and the modules exist.
#include <cstdio>

#include "mfc/app.h"
#include "mfc/collections.h"
#include "win/answers.h"
#include "win/transcript.h"

int main() {
  CString chainage;
  chainage.Format("%s%d+%07.3lf", "DK", 12, 345.6789);
  platform::transcriptLine((CString("里程: ") + chainage).view());

  CArray<double, double> heights;
  for (int i = 0; i < 5; ++i) heights.Add(100.0 + i * 0.5);
  heights.InsertAt(2, 99.9);
  CString list;
  for (double h : heights) list.AppendFormat(" %.2f", h);
  platform::transcriptLine((CString("高程:") + list).view());

  platform::queueAnswerLine("@msg IDNO");
  int answer = AfxMessageBox("是否覆盖已有的设计结果?", MB_YESNO | MB_ICONQUESTION);
  AfxMessageBox("数据库连接失败，确认数据库是否存在!");
  return answer == IDNO ? 0 : 1;
}
