// CMemFile and CSharedFile.
#include "mfc/memfile.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

namespace {
constexpr SIZE_T kLargest = SIZE_T{1} << 30;
}

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) : m_nGrowBytes(growBytes) {
  Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
}

BYTE* CMemFile::Alloc(SIZE_T bytes) { return static_cast<BYTE*>(std::malloc(bytes ? bytes : 1)); }
BYTE* CMemFile::Realloc(BYTE* buffer, SIZE_T bytes) {
  return static_cast<BYTE*>(std::realloc(buffer, bytes ? bytes : 1));
}
void CMemFile::Free(BYTE* buffer) { std::free(buffer); }

void CMemFile::GrowFile(SIZE_T newLength) {
  if (newLength <= m_nBufferSize) return;
  if (m_nGrowBytes == 0 || newLength > kLargest) AfxThrowFileException(CFileException::diskFull);
  SIZE_T size = m_nBufferSize;
  while (size < newLength) size += m_nGrowBytes;
  if (size > kLargest) size = newLength;
  BYTE* grown = nullptr;
  if (m_lpBuffer && m_bAutoDelete) {
    grown = Realloc(m_lpBuffer, size);
  } else {
    // A caller's buffer is copied into one of the file's own.
    grown = Alloc(size);
    if (grown && m_lpBuffer) std::memcpy(grown, m_lpBuffer, m_nFileSize);
  }
  if (!grown) AfxThrowFileException(CFileException::diskFull);
  m_lpBuffer = grown;
  m_nBufferSize = size;
  m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (count == 0 || m_nPosition >= m_nFileSize) return 0;
  if (!buffer) AfxThrowFileException(CFileException::genericException);
  SIZE_T n = std::min<SIZE_T>(count, m_nFileSize - m_nPosition);
  std::memcpy(buffer, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  if (!buffer) AfxThrowFileException(CFileException::genericException);
  SIZE_T end = m_nPosition + count;
  if (end > m_nBufferSize) GrowFile(end);
  // Bytes between the old end and a position sought past it read as zero.
  if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  std::memcpy(m_lpBuffer + m_nPosition, buffer, count);
  m_nPosition = end;
  if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
  LONGLONG base = from == begin ? 0 : from == current ? static_cast<LONGLONG>(m_nPosition)
                                                      : static_cast<LONGLONG>(m_nFileSize);
  LONGLONG target = base + offset;
  if (from > end || target < 0 || static_cast<ULONGLONG>(target) > kLargest)
    AfxThrowFileException(CFileException::badSeek);
  m_nPosition = static_cast<SIZE_T>(target);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG length) {
  if (length > kLargest) AfxThrowFileException(CFileException::diskFull);
  SIZE_T n = static_cast<SIZE_T>(length);
  if (n > m_nBufferSize) GrowFile(n);
  if (n > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, n - m_nFileSize);
  m_nFileSize = n;
  if (m_nPosition > n) m_nPosition = n;
}

void CMemFile::Close() {
  if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
}

void CMemFile::Abort() { Close(); }

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes) {
  Close();
  m_lpBuffer = buffer;
  m_nBufferSize = buffer ? size : 0;
  m_nFileSize = growBytes == 0 ? m_nBufferSize : 0;
  m_nGrowBytes = growBytes;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* b = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  return b;
}

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes) : CMemFile(growBytes), m_nAllocFlags(allocFlags) {}

CSharedFile::~CSharedFile() { Close(); }

void CSharedFile::Close() {
  if (m_hGlobalMemory && m_bAutoDelete) Free(m_lpBuffer);
  m_hGlobalMemory = nullptr;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
}

BYTE* CSharedFile::Alloc(SIZE_T bytes) {
  m_hGlobalMemory = GlobalAlloc(m_nAllocFlags | GMEM_MOVEABLE, bytes ? bytes : 1);
  return m_hGlobalMemory ? static_cast<BYTE*>(GlobalLock(m_hGlobalMemory)) : nullptr;
}

BYTE* CSharedFile::Realloc(BYTE* /*buffer*/, SIZE_T bytes) {
  if (!m_bAllowGrow) return nullptr;
  GlobalUnlock(m_hGlobalMemory);
  HGLOBAL grown = GlobalReAlloc(m_hGlobalMemory, bytes ? bytes : 1, GMEM_MOVEABLE);
  if (!grown) {
    GlobalLock(m_hGlobalMemory);
    return nullptr;
  }
  m_hGlobalMemory = grown;
  return static_cast<BYTE*>(GlobalLock(m_hGlobalMemory));
}

void CSharedFile::Free(BYTE* /*buffer*/) {
  if (!m_hGlobalMemory) return;
  GlobalUnlock(m_hGlobalMemory);
  GlobalFree(m_hGlobalMemory);
  m_hGlobalMemory = nullptr;
}

HGLOBAL CSharedFile::Detach() {
  HGLOBAL block = m_hGlobalMemory;
  if (block) {
    GlobalUnlock(block);
    // The block leaves sized to the data.
    if (HGLOBAL fitted = GlobalReAlloc(block, m_nFileSize, GMEM_MOVEABLE)) block = fitted;
  }
  m_hGlobalMemory = nullptr;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  return block;
}

void CSharedFile::SetHandle(HGLOBAL block, BOOL allowGrow) {
  Close();
  if (!platform::isGlobalBlock(block)) return;
  m_hGlobalMemory = block;
  m_nBufferSize = m_nFileSize = GlobalSize(block);
  m_lpBuffer = m_nBufferSize ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
  if (!m_lpBuffer) m_nBufferSize = m_nFileSize = 0;
  m_bAllowGrow = allowGrow;
  m_bAutoDelete = TRUE;
}
