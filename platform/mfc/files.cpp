#include "mfc/files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "crt/gbk.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "mfc/app.h"

namespace {

// The last component of a path written with either separator.
std::string_view lastComponent(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  if (cut == std::string_view::npos && path.size() >= 2 && path[1] == ':') cut = 1;
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// A file name without its extension (the part from the last '.').
std::string_view withoutExtension(std::string_view name) {
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

// The full path of `asked`, in Windows form when `windows` is set.
std::string fullPathIn(std::string_view asked, bool windows) {
  if (!windows || platform::isWindowsFormPath(asked)) return platform::fullPath(asked);
  return platform::toWindowsPath(platform::fullPath(asked));
}

bool fileExists(LPCTSTR fileName) {
  if (!fileName || !*fileName) return false;
  struct stat st;
  return stat(platform::resolvePath(fileName).c_str(), &st) == 0;
}

}  // namespace

// ---------------------------------------------------------------- exceptions

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (error && maxError > 0) error[0] = '\0';
  return FALSE;
}

int CException::ReportError(UINT type, UINT) const {
  char text[512];
  if (!GetErrorMessage(text, sizeof text)) std::snprintf(text, sizeof text, "%s", "发生了未知的错误。");
  return AfxMessageBox(text, type);
}

CFileException::CFileException(int cause, LONG osError, LPCTSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

int CFileException::ErrnoToException(int errnoValue) {
  switch (errnoValue) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY:
    case ETXTBSY: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case EIO: return hardIO;
    case ESPIPE: return badSeek;
    default: return genericException;
  }
}

void CFileException::ThrowErrno(int errnoValue, LPCTSTR fileName) {
  AfxThrowFileException(ErrnoToException(errnoValue), errnoValue, fileName);
}

CString CFileException::GetMessageText() const {
  const char* reason;
  switch (m_cause) {
    case none: reason = "没有错误"; break;
    case fileNotFound: reason = "找不到文件"; break;
    case badPath: reason = "路径无效"; break;
    case tooManyOpenFiles: reason = "打开的文件太多"; break;
    case accessDenied: reason = "拒绝访问"; break;
    case invalidFile: reason = "文件未打开"; break;
    case removeCurrentDir: reason = "不能删除当前文件夹"; break;
    case directoryFull: reason = "文件夹已满"; break;
    case badSeek: reason = "文件定位出错"; break;
    case hardIO: reason = "读写文件时出现硬件错误"; break;
    case sharingViolation: reason = "文件正被使用"; break;
    case lockViolation: reason = "文件已被锁定"; break;
    case diskFull: reason = "磁盘已满，文件未能写完"; break;
    case endOfFile: reason = "已到文件末尾"; break;
    default: reason = "读写文件出错"; break;
  }
  CString text(reason);
  if (!m_strFileName.IsEmpty()) text += CString(": ") + m_strFileName;
  return text;
}

BOOL CFileException::GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (!error || maxError == 0) return FALSE;
  platform::copyTextBounded(error, maxError, GetMessageText().view());
  return TRUE;
}

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
  throw new CFileException(cause, osError, fileName);
}

// ---------------------------------------------------------------- CFile

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() = default;

CFile::CFile(LPCTSTR fileName, UINT openFlags) {
  CFileException error;
  if (!CFile::Open(fileName, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (m_pStream && m_closeOnDelete) Abort();
}

BOOL CFile::OpenStream(LPCTSTR fileName, const char* mode, CFileException* error) {
  Abort();
  FILE* fp = (fileName && *fileName) ? platform::openFile(fileName, mode) : nullptr;
  if (!fp) {
    int e = (fileName && *fileName) ? errno : ENOENT;
    if (error) {
      error->m_cause = CFileException::ErrnoToException(e);
      error->m_lOsError = e;
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  m_pStream = fp;
  m_closeOnDelete = true;
  m_strFileName = fullPathIn(fileName, platform::isWindowsFormPath(fileName)).c_str();
  return TRUE;
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
  UINT access = openFlags & 3;
  bool create = (openFlags & modeCreate) != 0;
  bool keep = (openFlags & modeNoTruncate) != 0;
  const char* mode;
  if (create && !(keep && fileExists(fileName)))
    mode = "w+b";  // made or emptied
  else if (access == modeRead)
    mode = "rb";
  else
    mode = "r+b";  // an existing file, written from its start
  return OpenStream(fileName, mode, error);
}

void CFile::ThrowLastError(int errnoValue) const { CFileException::ThrowErrno(errnoValue, m_strFileName); }

void CFile::Close() {
  if (!m_pStream) return;
  FILE* fp = m_pStream;
  m_pStream = nullptr;
  if (std::fclose(fp) != 0) ThrowLastError(errno);
}

void CFile::Abort() {
  if (!m_pStream) return;
  std::fclose(m_pStream);
  m_pStream = nullptr;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  if (count == 0) return 0;
  size_t n = std::fread(buffer, 1, count, m_pStream);
  if (n < count && std::ferror(m_pStream)) {
    int e = errno;
    std::clearerr(m_pStream);
    ThrowLastError(e);
  }
  return static_cast<UINT>(n);
}

void CFile::Write(const void* buffer, UINT count) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  if (count == 0) return;
  if (std::fwrite(buffer, 1, count, m_pStream) != count) {
    int e = errno;
    std::clearerr(m_pStream);
    ThrowLastError(e ? e : EIO);
  }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
  if (fseeko(m_pStream, static_cast<off_t>(offset), whence) != 0)
    AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
  return static_cast<ULONGLONG>(ftello(m_pStream));
}

ULONGLONG CFile::GetPosition() const {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  off_t pos = ftello(m_pStream);
  if (pos < 0) AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
  return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
  off_t pos = static_cast<off_t>(GetPosition());
  if (fseeko(m_pStream, 0, SEEK_END) != 0) AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
  off_t length = ftello(m_pStream);
  fseeko(m_pStream, pos, SEEK_SET);
  return static_cast<ULONGLONG>(length < 0 ? 0 : length);
}

void CFile::Flush() {
  if (!m_pStream) return;
  if (std::fflush(m_pStream) != 0) ThrowLastError(errno);
}

CString CFile::GetFileName() const { return CString(lastComponent(m_strFileName.view())); }

CString CFile::GetFileTitle() const { return CString(withoutExtension(lastComponent(m_strFileName.view()))); }

void CFile::Remove(LPCTSTR fileName) {
  std::string path = platform::resolvePath(fileName ? fileName : "");
  if (path.empty() || std::remove(path.c_str()) != 0) CFileException::ThrowErrno(path.empty() ? ENOENT : errno, fileName);
}

void CFile::Rename(LPCTSTR oldName, LPCTSTR newName) {
  std::string from = platform::resolvePath(oldName ? oldName : "");
  std::string to = platform::resolvePath(newName ? newName : "");
  if (from.empty() || to.empty() || std::rename(from.c_str(), to.c_str()) != 0)
    CFileException::ThrowErrno(from.empty() || to.empty() ? ENOENT : errno, oldName);
}

// ---------------------------------------------------------------- CStdioFile

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile(FILE* openStream) {
  m_pStream = openStream;
  m_closeOnDelete = false;
}

CStdioFile::CStdioFile(LPCTSTR fileName, UINT openFlags) {
  CFileException error;
  if (!CStdioFile::Open(fileName, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

BOOL CStdioFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
  if (openFlags & typeBinary) return CFile::Open(fileName, openFlags, error);
  UINT access = openFlags & 3;
  char mode[4] = {};
  if (openFlags & modeCreate)
    mode[0] = (openFlags & modeNoTruncate) ? 'a' : 'w';
  else
    mode[0] = access == modeWrite ? 'a' : 'r';
  bool reads = access != modeWrite;
  bool writes = access != modeRead;
  if ((mode[0] == 'r' && writes) || (mode[0] != 'r' && reads)) mode[1] = '+';
  std::strcat(mode, "t");
  return OpenStream(fileName, mode, error);
}

BOOL CStdioFile::ReadString(CString& line) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  std::string text;
  bool any = false;
  char chunk[512];
  while (std::fgets(chunk, sizeof chunk, m_pStream)) {
    any = true;
    size_t n = std::strlen(chunk);
    if (n > 0 && chunk[n - 1] == '\n') {
      text.append(chunk, n - 1);
      line = text;
      return TRUE;
    }
    text.append(chunk, n);
  }
  if (std::ferror(m_pStream)) {
    int e = errno;
    std::clearerr(m_pStream);
    ThrowLastError(e ? e : EIO);
  }
  line = text;
  return any ? TRUE : FALSE;
}

LPTSTR CStdioFile::ReadString(LPTSTR buffer, UINT max) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  if (!buffer || max == 0) return nullptr;
  if (max > static_cast<UINT>(INT32_MAX)) max = INT32_MAX;
  char* result = std::fgets(buffer, static_cast<int>(max), m_pStream);
  if (!result && std::ferror(m_pStream)) {
    int e = errno;
    std::clearerr(m_pStream);
    ThrowLastError(e ? e : EIO);
  }
  return result;
}

void CStdioFile::WriteString(LPCTSTR text) {
  if (!m_pStream) AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
  if (!text || !*text) return;
  if (std::fputs(text, m_pStream) == EOF) {
    int e = errno;
    std::clearerr(m_pStream);
    ThrowLastError(e ? e : EIO);
  }
}

// ---------------------------------------------------------------- CFileFind

IMPLEMENT_DYNAMIC(CFileFind, CObject)

void CFileFind::Close() {
  m_entries.clear();
  m_next = 0;
  m_found = false;
  m_root.Empty();
}

BOOL CFileFind::FindFile(LPCTSTR name, DWORD) {
  Close();
  bool given = name && *name;
  std::string pattern = given ? name : "*.*";
  // With no name given, the folder is reported in Windows form, the form the
  // platform hands paths in.
  bool windows = !given || platform::isWindowsFormPath(pattern);
  m_separator = windows ? '\\' : '/';

  size_t cut = pattern.find_last_of("/\\");
  std::string folder;
  std::string mask;
  if (cut != std::string::npos) {
    folder = pattern.substr(0, cut + 1);
    mask = pattern.substr(cut + 1);
  } else if (pattern.size() >= 2 && pattern[1] == ':') {
    folder = pattern.substr(0, 2);
    mask = pattern.substr(2);
  } else {
    mask = pattern;
  }
  if (mask.empty()) return FALSE;
  if (folder.empty()) folder.push_back('.');

  std::string root = fullPathIn(folder, windows);
  std::string dir = platform::resolvePath(folder);
  DIR* d = opendir(dir.c_str());
  if (!d) return FALSE;
  // A drive's root has no "." and ".." entries.
  bool atRoot = root == "/" || (root.size() == 3 && root[1] == ':');
  while (dirent* e = readdir(d)) {
    std::string entryName = e->d_name;
    bool dots = entryName == "." || entryName == "..";
    if (dots && atRoot) continue;
    if (!platform::wildcardMatch(mask, entryName)) continue;
    std::string full = dir + (dir.back() == '/' ? "" : "/") + entryName;
    struct stat st;
    Entry entry;
    entry.name = entryName;
    if (stat(full.c_str(), &st) == 0 || lstat(full.c_str(), &st) == 0) {
      entry.directory = S_ISDIR(st.st_mode);
      entry.readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
      entry.length = entry.directory ? 0 : static_cast<ULONGLONG>(st.st_size);
    }
    m_entries.push_back(std::move(entry));
  }
  closedir(d);

  auto rank = [](const std::string& n) { return n == "." ? 0 : n == ".." ? 1 : 2; };
  std::sort(m_entries.begin(), m_entries.end(), [&](const Entry& a, const Entry& b) {
    if (rank(a.name) != rank(b.name)) return rank(a.name) < rank(b.name);
    int folded = CString(a.name).CompareNoCase(b.name.c_str());
    return folded != 0 ? folded < 0 : a.name < b.name;
  });
  m_root = root.c_str();
  return m_entries.empty() ? FALSE : TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_next >= m_entries.size()) return FALSE;
  ++m_next;
  m_found = true;
  return m_next < m_entries.size() ? TRUE : FALSE;
}

const CFileFind::Entry* CFileFind::current() const {
  return m_found && m_next >= 1 && m_next <= m_entries.size() ? &m_entries[m_next - 1] : nullptr;
}

CString CFileFind::GetFileName() const {
  const Entry* e = current();
  return e ? CString(e->name) : CString();
}

CString CFileFind::GetFilePath() const {
  const Entry* e = current();
  if (!e) return CString();
  CString path = m_root;
  char last = path.IsEmpty() ? '\0' : path[path.GetLength() - 1];
  if (last != '\\' && last != '/') path += m_separator;
  path += e->name.c_str();
  return path;
}

CString CFileFind::GetFileTitle() const {
  const Entry* e = current();
  return e ? CString(withoutExtension(e->name)) : CString();
}

ULONGLONG CFileFind::GetLength() const {
  const Entry* e = current();
  return e ? e->length : 0;
}

BOOL CFileFind::IsDirectory() const {
  const Entry* e = current();
  return e && e->directory ? TRUE : FALSE;
}

BOOL CFileFind::IsDots() const {
  const Entry* e = current();
  return e && e->directory && (e->name == "." || e->name == "..") ? TRUE : FALSE;
}

BOOL CFileFind::IsReadOnly() const {
  const Entry* e = current();
  return e && e->readOnly ? TRUE : FALSE;
}

BOOL CFileFind::IsHidden() const {
  const Entry* e = current();
  return e && e->name.size() > 1 && e->name[0] == '.' && e->name != ".." ? TRUE : FALSE;
}
