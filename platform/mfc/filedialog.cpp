#include "mfc/filedialog.h"

#include <algorithm>
#include <cstring>

#include "crt/gbk.h"
#include "win/answers.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent, DWORD, BOOL)
    : CDialog(static_cast<UINT>(0), parent),
      m_ofn{},
      m_bOpenFileDialog(openFileDialog),
      m_defExt(defExt ? defExt : ""),
      m_filter(filter ? filter : "") {
  m_ofn.lStructSize = sizeof(OPENFILENAME);
  m_ofn.lpstrFile = m_fileBuffer;
  m_ofn.nMaxFile = sizeof m_fileBuffer;
  m_ofn.Flags = flags;
  m_ofn.lpstrDefExt = m_defExt.IsEmpty() ? nullptr : m_defExt.GetString();
  m_ofn.lpstrFilter = m_filter.IsEmpty() ? nullptr : m_filter.GetString();
  if (fileName) platform::copyTextBounded(m_fileBuffer, sizeof m_fileBuffer, fileName);
}

INT_PTR CFileDialog::DoModal() {
  const char* title =
      m_ofn.lpstrTitle && *m_ofn.lpstrTitle ? m_ofn.lpstrTitle : (m_bOpenFileDialog ? "Open" : "Save As");
  const char* initial = m_ofn.lpstrFile ? m_ofn.lpstrFile : "";
  std::optional<std::string> path =
      platform::answerFileDialog(title, initial, m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : "");
  if (!path) return IDCANCEL;
  m_path = CString(*path);
  if (m_ofn.lpstrFile && m_ofn.nMaxFile > 0) platform::copyTextBounded(m_ofn.lpstrFile, m_ofn.nMaxFile, *path);
  return IDOK;
}

CString CFileDialog::GetPathName() const { return m_path; }

CString CFileDialog::GetFileName() const {
  int cut = std::max(m_path.ReverseFind('\\'), m_path.ReverseFind('/'));
  return m_path.Mid(cut + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}
