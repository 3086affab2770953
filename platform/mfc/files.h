#pragma once
// The class library's files: CFile (binary), CStdioFile (a C stream; text mode
// through the text-file layer, crt/textfile.h), CFileFind (a folder search
// with wildcards) and CFileException. Every path goes through the path
// resolver (crt/paths.h), so Windows-form paths work.
//
// Failures are reported the class library's way: Open and FindFile return
// FALSE (Open fills the CFileException it is given); the constructors that
// open a file, and Read, Write, Seek, Flush and Close on a file that fails,
// throw a CFileException* that the catcher frees with Delete().

#include <cstdio>
#include <string>
#include <vector>

#include "mfc/cobject.h"
#include "mfc/cstring.h"
#include "win/msgbox.h"

class PLATFORM_API CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
  // Frees an exception that was thrown by pointer.
  void Delete();
  // Copies the exception's message (bounded, cut at a character boundary).
  virtual BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = nullptr) const;
  // Shows the message in a message box; returns the box's answer.
  virtual int ReportError(UINT type = MB_ICONEXCLAMATION, UINT messageId = 0) const;

 protected:
  BOOL m_bAutoDelete;
};

class PLATFORM_API CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)

 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr);

  // The cause that stands for a C library error number (errno).
  static int ErrnoToException(int errnoValue);
  [[noreturn]] static void ThrowErrno(int errnoValue, LPCTSTR fileName = nullptr);

  BOOL GetErrorMessage(LPTSTR error, UINT maxError, UINT* helpContext = nullptr) const override;
  // The message as text: what went wrong and the file's name.
  CString GetMessageText() const;

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

// Throws a new CFileException* of that cause.
[[noreturn]] PLATFORM_API void AfxThrowFileException(int cause, LONG osError = -1, LPCTSTR fileName = nullptr);

class PLATFORM_API CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000
  };
  enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

  CFile();
  // Opens the file; throws CFileException* when it cannot.
  CFile(LPCTSTR fileName, UINT openFlags);
  // Closes the file (errors are not reported from here: call Close to see them).
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens `fileName` (Windows or Linux form). modeCreate makes or empties the
  // file (with modeNoTruncate it keeps an existing one); without it the file
  // must exist. The sharing flags are accepted and change nothing. Returns
  // FALSE, filling *error when given, when the file cannot be opened.
  virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);
  virtual void Close();
  // Closes without reporting any failure.
  virtual void Abort();

  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void Flush();

  // The path as it was given to Open (made full), its last component, and
  // that without its extension.
  virtual CString GetFilePath() const { return m_strFileName; }
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  BOOL IsOpen() const { return m_pStream != nullptr; }

  // Removes or renames a file; throws CFileException* when that fails.
  static void Remove(LPCTSTR fileName);
  static void Rename(LPCTSTR oldName, LPCTSTR newName);

  // The open stream (nullptr when closed).
  FILE* m_pStream = nullptr;

 protected:
  // Opens through the file layer with a C mode; FALSE with the cause in *error.
  BOOL OpenStream(LPCTSTR fileName, const char* mode, CFileException* error);
  [[noreturn]] void ThrowLastError(int errnoValue) const;

  CString m_strFileName;
  bool m_closeOnDelete = true;
};

class PLATFORM_API CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)

 public:
  CStdioFile() = default;
  // Wraps a stream that is already open (it is not closed by the object's
  // destruction).
  explicit CStdioFile(FILE* openStream);
  CStdioFile(LPCTSTR fileName, UINT openFlags);

  // Text mode unless typeBinary is given: GBK and CRLF on disk, UTF-8 and LF
  // in memory (crt/textfile.h). modeCreate|modeNoTruncate, and modeWrite
  // without modeCreate, write at the end of the file.
  BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;

  // Reads one line into `line` without its line end; FALSE at the end of the
  // file when nothing was left to read.
  virtual BOOL ReadString(CString& line);
  // Reads at most max - 1 bytes of one line into `buffer`, keeping the line
  // end, as fgets does; nullptr at the end of the file.
  virtual LPTSTR ReadString(LPTSTR buffer, UINT max);
  virtual void WriteString(LPCTSTR text);
};

// A search of one folder. The name given to FindFile is a folder followed by a
// file name that may hold wildcards ("D:\proj\data\*.mdb", "*.*"); the files
// are visited in name order (ASCII case ignored), "." and ".." first where the
// folder has them:
//
//   CFileFind finder;
//   BOOL more = finder.FindFile("D:\\proj\\data\\*.mdb");
//   while (more) {
//     more = finder.FindNextFile();
//     ... finder.GetFilePath() ...
//   }
class PLATFORM_API CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)

 public:
  CFileFind() = default;
  ~CFileFind() override = default;

  // Starts a search (nullptr stands for "*.*" in the current folder). TRUE
  // when at least one file matches; FindNextFile then moves to the first.
  virtual BOOL FindFile(LPCTSTR name = nullptr, DWORD unused = 0);
  // Moves to the next file; TRUE while another one follows it.
  virtual BOOL FindNextFile();
  void Close();

  // The found file's name as it is on disk; its path (the folder as it was
  // asked for, made full, in the same form: Windows form when the search was
  // asked in Windows form); its name without the extension; the folder.
  virtual CString GetFileName() const;
  virtual CString GetFilePath() const;
  virtual CString GetFileTitle() const;
  virtual CString GetRoot() const { return m_root; }
  ULONGLONG GetLength() const;
  BOOL IsDirectory() const;
  BOOL IsDots() const;
  BOOL IsReadOnly() const;
  BOOL IsHidden() const;

 private:
  struct Entry {
    std::string name;
    bool directory = false;
    bool readOnly = false;
    ULONGLONG length = 0;
  };
  const Entry* current() const;

  std::vector<Entry> m_entries;
  size_t m_next = 0;
  bool m_found = false;  // FindNextFile has moved to an entry
  CString m_root;
  char m_separator = '\\';
};
