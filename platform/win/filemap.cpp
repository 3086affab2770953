#include "win/filemap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

#include "crt/paths.h"
#include "crt/textfile.h"
#include "win/handles.h"

namespace {

constexpr uint64_t kAllocationGranularity = 65536;

struct FileObject {
  int fd = -1;
  bool canRead = false;
  bool canWrite = false;
};

struct MappingObject {
  int fd = -1;  // its own descriptor: the mapping outlives the file handle
  uint64_t size = 0;
  DWORD protect = 0;
};

struct HandleObject {
  bool isMapping = false;
  FileObject file;
  MappingObject mapping;
};

struct Tables {
  std::mutex lock;
  std::unordered_map<uintptr_t, HandleObject> handles;
  std::map<uintptr_t, size_t> views;  // base address -> length
};

Tables& tables() {
  static Tables t;
  return t;
}

thread_local DWORD g_lastError = ERROR_SUCCESS;

DWORD errorOfErrno(int e) {
  switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_ACCESS_DENIED;
  }
}

HANDLE addHandle(const HandleObject& object) {
  Tables& t = tables();
  std::lock_guard<std::mutex> guard(t.lock);
  uintptr_t id = platform::newHandleValue();
  t.handles.emplace(id, object);
  return reinterpret_cast<HANDLE>(id);
}

// A copy of the object behind a handle; false when the handle is not one.
bool findHandle(HANDLE h, HandleObject& out) {
  Tables& t = tables();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.handles.find(reinterpret_cast<uintptr_t>(h));
  if (it == t.handles.end()) return false;
  out = it->second;
  return true;
}

BOOL fail(DWORD error) {
  g_lastError = error;
  return FALSE;
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/,
                   LPSECURITY_ATTRIBUTES /*security*/, DWORD creationDisposition,
                   DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
  if (!fileName || !*fileName) {
    g_lastError = ERROR_PATH_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  bool canRead = (desiredAccess & GENERIC_READ) != 0;
  bool canWrite = (desiredAccess & GENERIC_WRITE) != 0;
  int flags = O_CLOEXEC;
  flags |= canWrite ? (canRead ? O_RDWR : O_WRONLY) : O_RDONLY;
  switch (creationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: g_lastError = ERROR_INVALID_PARAMETER; return INVALID_HANDLE_VALUE;
  }
  if ((flags & O_TRUNC) && !canWrite) {
    g_lastError = ERROR_INVALID_PARAMETER;
    return INVALID_HANDLE_VALUE;
  }
  std::string path = platform::resolvePath(fileName);
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    g_lastError = errorOfErrno(errno);
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    g_lastError = ERROR_ACCESS_DENIED;  // a folder is not a file
    return INVALID_HANDLE_VALUE;
  }
  HandleObject object;
  object.file = {fd, canRead, canWrite};
  g_lastError = ERROR_SUCCESS;
  return addHandle(object);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
  if (read) *read = 0;
  HandleObject object;
  if (!findHandle(file, object) || object.isMapping) return fail(ERROR_INVALID_HANDLE);
  if (overlapped || (!buffer && toRead > 0)) return fail(ERROR_INVALID_PARAMETER);
  if (!object.file.canRead) return fail(ERROR_ACCESS_DENIED);
  DWORD total = 0;
  char* out = static_cast<char*>(buffer);
  while (total < toRead) {
    ssize_t n = ::read(object.file.fd, out + total, toRead - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (read) *read = total;
      return fail(errorOfErrno(errno));
    }
    if (n == 0) break;
    total += static_cast<DWORD>(n);
  }
  if (read) *read = total;
  g_lastError = ERROR_SUCCESS;
  return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  HandleObject object;
  if (!findHandle(file, object) || object.isMapping) {
    g_lastError = ERROR_INVALID_HANDLE;
    return INVALID_FILE_SIZE;
  }
  struct stat st;
  if (::fstat(object.file.fd, &st) != 0) {
    g_lastError = errorOfErrno(errno);
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  g_lastError = ERROR_SUCCESS;
  return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES /*security*/, DWORD protect,
                          DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCSTR /*name*/) {
  HandleObject object;
  if (!findHandle(file, object) || object.isMapping) {
    g_lastError = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  const FileObject& f = object.file;
  bool needsWrite = protect == PAGE_READWRITE;
  if (protect != PAGE_READONLY && protect != PAGE_READWRITE && protect != PAGE_WRITECOPY) {
    g_lastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  if (!f.canRead || (needsWrite && !f.canWrite)) {
    g_lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  struct stat st;
  if (::fstat(f.fd, &st) != 0) {
    g_lastError = errorOfErrno(errno);
    return nullptr;
  }
  uint64_t fileSize = static_cast<uint64_t>(st.st_size);
  uint64_t size = (static_cast<uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
  if (size == 0) size = fileSize;
  if (size == 0) {
    g_lastError = ERROR_FILE_INVALID;  // an empty file cannot be mapped
    return nullptr;
  }
  if (size > fileSize) {
    // Only a writable mapping may grow its file.
    if (!needsWrite || ::ftruncate(f.fd, static_cast<off_t>(size)) != 0) {
      g_lastError = ERROR_ACCESS_DENIED;
      return nullptr;
    }
  }
  int fd = ::fcntl(f.fd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) {
    g_lastError = errorOfErrno(errno);
    return nullptr;
  }
  HandleObject mapping;
  mapping.isMapping = true;
  mapping.mapping = {fd, size, protect};
  g_lastError = ERROR_SUCCESS;
  return addHandle(mapping);
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                     SIZE_T bytes) {
  HandleObject object;
  if (!findHandle(mapping, object) || !object.isMapping) {
    g_lastError = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  const MappingObject& m = object.mapping;
  uint64_t offset = (static_cast<uint64_t>(offsetHigh) << 32) | offsetLow;
  if (offset % kAllocationGranularity != 0) {
    g_lastError = ERROR_MAPPED_ALIGNMENT;
    return nullptr;
  }
  if (offset >= m.size || (bytes != 0 && bytes > m.size - offset)) {
    g_lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  size_t length = bytes != 0 ? bytes : static_cast<size_t>(m.size - offset);
  bool copy = (desiredAccess & FILE_MAP_COPY) != 0 && (desiredAccess & FILE_MAP_WRITE) == 0;
  bool write = (desiredAccess & FILE_MAP_WRITE) != 0;
  if ((write && m.protect != PAGE_READWRITE) || (desiredAccess & (FILE_MAP_READ | FILE_MAP_WRITE | FILE_MAP_COPY)) == 0) {
    g_lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  int prot = PROT_READ;
  int flags = MAP_SHARED;
  if (write) {
    prot |= PROT_WRITE;
  } else if (copy || m.protect == PAGE_WRITECOPY) {
    prot |= PROT_WRITE;
    flags = MAP_PRIVATE;
  }
  void* base = ::mmap(nullptr, length, prot, flags, m.fd, static_cast<off_t>(offset));
  if (base == MAP_FAILED) {
    g_lastError = errorOfErrno(errno);
    return nullptr;
  }
  Tables& t = tables();
  {
    std::lock_guard<std::mutex> guard(t.lock);
    t.views[reinterpret_cast<uintptr_t>(base)] = length;
  }
  g_lastError = ERROR_SUCCESS;
  return base;
}

BOOL UnmapViewOfFile(LPCVOID baseAddress) {
  Tables& t = tables();
  size_t length = 0;
  {
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.views.find(reinterpret_cast<uintptr_t>(baseAddress));
    if (it == t.views.end()) return fail(ERROR_INVALID_ADDRESS);
    length = it->second;
    t.views.erase(it);
  }
  ::munmap(const_cast<void*>(baseAddress), length);
  g_lastError = ERROR_SUCCESS;
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  Tables& t = tables();
  int fd = -1;
  {
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.handles.find(reinterpret_cast<uintptr_t>(object));
    if (it == t.handles.end()) return fail(ERROR_INVALID_HANDLE);
    fd = it->second.isMapping ? it->second.mapping.fd : it->second.file.fd;
    t.handles.erase(it);
  }
  if (fd >= 0) ::close(fd);
  g_lastError = ERROR_SUCCESS;
  return TRUE;
}

BOOL CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists) {
  if (!existingFile || !newFile || !*existingFile || !*newFile) return fail(ERROR_INVALID_PARAMETER);
  const std::string from = platform::resolvePath(existingFile);
  const std::string to = platform::resolvePath(newFile);
  struct stat source {};
  if (::stat(from.c_str(), &source) != 0) return fail(errorOfErrno(errno));
  if (S_ISDIR(source.st_mode)) return fail(ERROR_ACCESS_DENIED);
  const std::string::size_type slash = to.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : to.substr(0, slash));
  struct stat target {};
  if (::stat(folder.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) return fail(ERROR_PATH_NOT_FOUND);
  if (failIfExists && ::access(to.c_str(), F_OK) == 0) return fail(ERROR_FILE_EXISTS);

  // The copy is written beside the target and renamed over it when complete.
  std::string temporary;
  const int out = platform::createTemporaryFile(to, temporary);
  if (out < 0) return fail(errorOfErrno(errno));
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  bool ok = in >= 0;
  int error = ok ? 0 : errno;
  char buffer[65536];
  while (ok) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      error = errno;
      break;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        ok = false;
        error = errno;
        break;
      }
      done += w;
    }
  }
  if (in >= 0) ::close(in);
  if (ok) ::fchmod(out, source.st_mode & 0777);
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temporary.c_str(), to.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return fail(errorOfErrno(error));
  }
  g_lastError = ERROR_SUCCESS;
  return TRUE;
}

DWORD GetLastError() { return g_lastError; }

void SetLastError(DWORD error) { g_lastError = error; }
