#pragma once
// Files in memory: CMemFile (a growing buffer) and CSharedFile (a CMemFile
// over a global memory block, the form in which clipboard and OLE data are
// handed over).
//
// Reading stops at the end of the data; writing past it grows the buffer by
// at least the growth step (a file made with a growth step of 0 cannot grow:
// writing past its end throws CFileException diskFull). Seeking before the start throws
// CFileException badSeek; seeking past the end is allowed (the file grows
// when written there).

#include "mfc/files.h"
#include "win/globalmem.h"

class PLATFORM_API CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)

 public:
  explicit CMemFile(UINT growBytes = 1024);
  // Over a buffer of the caller's (not freed by the file); it grows (into a
  // buffer of the file's own) only when growBytes is not 0.
  CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
  ~CMemFile() override;

  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  ULONGLONG GetLength() const override { return m_nFileSize; }
  // Sets the length (the buffer grows when needed); the position is kept
  // within it.
  virtual void SetLength(ULONGLONG length);
  void Flush() override {}
  // Frees the buffer when the file owns it; the file is then empty.
  void Close() override;
  void Abort() override;

  void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
  // Hands the buffer to the caller (who frees it as the file would have); the
  // file is then empty.
  BYTE* Detach();

 protected:
  // How the buffer is had, grown and freed (CSharedFile uses global memory).
  virtual BYTE* Alloc(SIZE_T bytes);
  virtual BYTE* Realloc(BYTE* buffer, SIZE_T bytes);
  virtual void Free(BYTE* buffer);
  virtual void GrowFile(SIZE_T newLength);

  UINT m_nGrowBytes;
  SIZE_T m_nPosition = 0;
  SIZE_T m_nBufferSize = 0;
  SIZE_T m_nFileSize = 0;
  BYTE* m_lpBuffer = nullptr;
  BOOL m_bAutoDelete = TRUE;
};

class PLATFORM_API CSharedFile : public CMemFile {
  DECLARE_DYNAMIC(CSharedFile)

 public:
  explicit CSharedFile(UINT allocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT growBytes = 4096);
  ~CSharedFile() override;

  // The global block holding the data, sized to the data's length, for the
  // caller to keep (the file is then empty); NULL when nothing was written.
  HGLOBAL Detach();
  // Takes a global block as the file's content (its whole size); with
  // allowGrow the file may grow it when written past its end.
  void SetHandle(HGLOBAL block, BOOL allowGrow = TRUE);
  void Close() override;

 protected:
  BYTE* Alloc(SIZE_T bytes) override;
  BYTE* Realloc(BYTE* buffer, SIZE_T bytes) override;
  void Free(BYTE* buffer) override;

  UINT m_nAllocFlags;
  HGLOBAL m_hGlobalMemory = nullptr;
  BOOL m_bAllowGrow = TRUE;
};
