#include "crt/textfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "crt/gbk.h"
#include "crt/paths.h"

namespace platform {
namespace {

// The stream's own buffer: the text file takes the stream's writes a buffer
// at a time; the disk follows at fclose.
constexpr size_t kStreamBuffer = 64 * 1024;

struct Mode {
  bool ok = false;
  char kind = 'r';  // 'r', 'w' or 'a'
  bool plus = false;
  bool binary = false;
};

Mode parseMode(const char* mode) {
  Mode m;
  if (!mode || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) return m;
  m.kind = mode[0];
  for (const char* c = mode + 1; *c && *c != ','; ++c) {
    if (*c == '+') m.plus = true;
    else if (*c == 'b') m.binary = true;
    // 't' and the Windows run time's other flag letters change nothing here.
  }
  m.ok = true;
  return m;
}

bool readAll(const std::string& path, std::string& out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char chunk[64 * 1024];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      close(fd);
      errno = e;
      return false;
    }
    if (n == 0) break;
    out.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return true;
}

bool writeAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

constexpr char kTemporarySuffix[] = ".tmp";
constexpr int kTemporaryRandom = 6;  // the X's of mkostemps

std::string folderOf(const std::string& file) {
  size_t slash = file.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : file.substr(0, slash));
}

std::string nameOf(const std::string& file) {
  size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

// The process id of a temporary file's name made for `name`, or -1 when the
// name is no temporary file of it.
long temporaryOwner(std::string_view entry, std::string_view name) {
  // "." name "." pid "." XXXXXX ".tmp"
  const std::string_view suffix = kTemporarySuffix;
  if (entry.size() < 1 + name.size() + 3 + kTemporaryRandom + suffix.size() || entry[0] != '.' ||
      entry.substr(1, name.size()) != name || entry[1 + name.size()] != '.' ||
      entry.substr(entry.size() - suffix.size()) != suffix)
    return -1;
  std::string_view middle = entry.substr(2 + name.size(), entry.size() - 2 - name.size() - suffix.size());
  if (middle.size() < kTemporaryRandom + 2 || middle[middle.size() - kTemporaryRandom - 1] != '.') return -1;
  std::string_view pid = middle.substr(0, middle.size() - kTemporaryRandom - 1);
  if (pid.empty() || pid.size() > 9) return -1;
  long value = 0;
  for (char c : pid) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Removes the temporary files of `name` in `folder` that a process which no
// longer runs left behind (it was killed while it wrote the file).
// A live writer on another host or PID namespace sharing the folder may look dead: its rename then fails, reported.
void removeStaleTemporaries(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> stale;
  while (dirent* e = readdir(dir)) {
    long owner = temporaryOwner(e->d_name, name);
    if (owner <= 0 || owner == static_cast<long>(getpid())) continue;
    if (kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH) stale.emplace_back(e->d_name);
  }
  closedir(dir);
  for (const std::string& entry : stale) unlink((folder + "/" + entry).c_str());
}

// Makes the temporary file for `target` (a Linux path, links followed) in
// its folder, after removing the stale ones of that name; its descriptor, or
// -1 with errno set.
int openTemporaryBeside(const std::string& target, std::string& temp) {
  const std::string dir = folderOf(target);
  const std::string name = nameOf(target);
  removeStaleTemporaries(dir, name);
  temp = dir + (dir.back() == '/' ? "." : "/.") + name + "." + std::to_string(getpid()) + "." +
         std::string(kTemporaryRandom, 'X') + kTemporarySuffix;
  return mkostemps(temp.data(), static_cast<int>(sizeof kTemporarySuffix - 1), O_CLOEXEC);
}

// The process's file-mode creation mask. Read from /proc, which leaves the
// mask alone; where /proc cannot be read, set and restored once, at the first
// use (another thread making a file in that moment would not see the mask).
mode_t currentUmask() {
  if (FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(f);
    if (found) return static_cast<mode_t>(mask & 0777);
  }
  static const mode_t once = [] {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
  }();
  return once;
}

// Has the folder's entries (a rename into it) on the disk. False, with errno
// set, when the disk reports a failure; a file system that cannot sync a
// folder (EINVAL) and a folder that cannot be opened count as done.
bool syncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  bool ok = fsync(fd) == 0 || errno == EINVAL;
  int e = errno;
  close(fd);
  errno = e;
  return ok;
}

// Replaces the file at `path` (a Linux path) by `bytes`: written in full to a
// temporary file in the same folder first, which then takes the file's place,
// so the old content stays until the new one is complete. A symbolic link is
// followed. A file that may not be written (write-protected) is refused, as
// opening it for writing is, and stays as it was; a replaced file keeps its
// permissions, a new one gets 0666 less the umask.
bool replaceResolvedFile(const std::string& path, std::string_view bytes, bool durable) {
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  mode_t mode = 0;
  struct stat st;
  if (stat(target.c_str(), &st) != 0) {
    mode = 0666 & ~currentUmask();  // a new file
  } else {
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;
      return false;
    }
    // The rename would replace it even so: the folder's permission decides
    // that, not the file's.
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
    mode = st.st_mode & 07777;
  }
  std::string temp;
  int fd = openTemporaryBeside(target, temp);
  if (fd < 0) return false;
  auto fail = [&] {
    int e = errno;
    unlink(temp.c_str());
    errno = e;
    return false;
  };
  if (!writeAll(fd, bytes) || (durable && fsync(fd) != 0 && errno != EINVAL)) {
    int e = errno;
    close(fd);
    errno = e;
    return fail();
  }
  fchmod(fd, mode);  // the file keeps its permissions (best effort)
  if (close(fd) != 0) return fail();
  if (rename(temp.c_str(), target.c_str()) != 0) return fail();
  // The rename itself reaches the disk with the folder.
  if (durable && !syncFolder(folderOf(target))) return false;
  return true;
}

// One open text file: its UTF-8 text in memory and the stream's position in it.
struct TextFile {
  std::string diskPath;
  std::string text;
  size_t pos = 0;
  bool append = false;
  bool dirty = false;  // the text differs from what is on disk
  std::unique_ptr<char[]> streamBuffer{new char[kStreamBuffer]};

  bool sync() {
    if (!replaceResolvedFile(diskPath, textToDisk(text), false)) return false;
    dirty = false;
    return true;
  }
};

ssize_t readText(void* cookie, char* buf, size_t size) {
  auto* f = static_cast<TextFile*>(cookie);
  if (f->pos >= f->text.size()) return 0;
  size_t n = std::min(size, f->text.size() - f->pos);
  std::memcpy(buf, f->text.data() + f->pos, n);
  f->pos += n;
  return static_cast<ssize_t>(n);
}

ssize_t writeText(void* cookie, const char* buf, size_t size) {
  auto* f = static_cast<TextFile*>(cookie);
  if (f->append) f->pos = f->text.size();
  if (f->pos > f->text.size()) f->text.resize(f->pos, '\0');
  size_t overlap = std::min(size, f->text.size() - f->pos);
  f->text.replace(f->pos, overlap, buf, size);
  f->pos += size;
  f->dirty = true;
  // The disk follows at fclose only: a file that a count is written into
  // after its body (a rewind, then the count) is never seen half made.
  // This is also where fflush ends: it succeeds with the text still in
  // memory. The content reaches its file only when the stream is closed (a
  // whole file, never a torn one), so a writer must fclose the stream.
  return static_cast<ssize_t>(size);
}

int seekText(void* cookie, off64_t* offset, int whence) {
  auto* f = static_cast<TextFile*>(cookie);
  long long base;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<long long>(f->pos); break;
    case SEEK_END: base = static_cast<long long>(f->text.size()); break;
    default: errno = EINVAL; return -1;
  }
  if (*offset > LLONG_MAX - base || base + *offset < 0) {
    errno = EINVAL;
    return -1;
  }
  long long target = base + *offset;
  f->pos = static_cast<size_t>(target);
  *offset = target;
  return 0;
}

int closeText(void* cookie) {
  std::unique_ptr<TextFile> f(static_cast<TextFile*>(cookie));
  if (f->dirty && !f->sync()) return -1;
  return 0;
}

}  // namespace

bool replaceFile(const char* path, std::string_view bytes, bool durable) {
  if (!path || !*path) {
    errno = ENOENT;
    return false;
  }
  return replaceResolvedFile(resolvePath(path), bytes, durable);
}

int createTemporaryFile(const std::string& target, std::string& temp) {
  return openTemporaryBeside(target, temp);
}

bool isTemporaryFile(std::string_view name) {
  const std::string_view suffix = kTemporarySuffix;
  if (name.size() < 2 + 3 + kTemporaryRandom + suffix.size() || name[0] != '.' ||
      name.substr(name.size() - suffix.size()) != suffix)
    return false;
  // ".<target>.<pid>.XXXXXX.tmp": take the target from the dots before the pid.
  std::string_view head = name.substr(0, name.size() - suffix.size() - kTemporaryRandom - 1);
  size_t dot = head.rfind('.');
  if (dot == std::string_view::npos || dot < 2) return false;
  return temporaryOwner(name, name.substr(1, dot - 1)) > 0;
}

std::string textFromDisk(std::string_view bytes) {
  std::string decoded = decodeFileText(bytes);
  std::string text;
  text.reserve(decoded.size());
  for (size_t i = 0; i < decoded.size(); ++i) {
    if (decoded[i] == '\r' && i + 1 < decoded.size() && decoded[i + 1] == '\n') continue;
    text += decoded[i];
  }
  return text;
}

std::string textToDisk(std::string_view text) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (size_t from = 0; from < text.size();) {
    size_t lf = text.find('\n', from);
    if (lf == std::string_view::npos) {
      crlf.append(text.substr(from));
      break;
    }
    crlf.append(text.substr(from, lf - from));
    crlf += "\r\n";
    from = lf + 1;
  }
  return utf8ToGbk(crlf);
}

FILE* openFile(const char* path, const char* mode) {
  Mode m = parseMode(mode);
  if (!path || !m.ok) {
    errno = EINVAL;
    return nullptr;
  }
  if (!*path) {
    errno = ENOENT;
    return nullptr;
  }
  std::string resolved = resolvePath(path);
  if (m.binary) {
    std::string fopenMode(1, m.kind);
    if (m.plus) fopenMode += '+';
    fopenMode += 'b';
    return std::fopen(resolved.c_str(), fopenMode.c_str());
  }

  auto file = std::make_unique<TextFile>();
  file->diskPath = resolved;
  struct stat st;
  bool exists = stat(resolved.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return nullptr;
  }
  if (!exists) {
    if (m.kind == 'r') {
      errno = ENOENT;
      return nullptr;
    }
    // "w" and "a" make the file, whole, at fclose: until then it is not
    // there. Its folder must be there and writable now.
    struct stat folder;
    const std::string dir = folderOf(resolved);
    if (stat(dir.c_str(), &folder) != 0) return nullptr;
    if (!S_ISDIR(folder.st_mode)) {
      errno = ENOTDIR;
      return nullptr;
    }
    if (access(dir.c_str(), W_OK) != 0) return nullptr;
    file->dirty = true;
  } else {
    if (m.kind != 'r' || m.plus) {
      int fd = open(resolved.c_str(), O_WRONLY | O_CLOEXEC);  // may we write it?
      if (fd < 0) return nullptr;
      close(fd);
    }
    if (m.kind == 'w') {
      file->dirty = true;  // emptied on disk at fclose
    } else {
      std::string bytes;
      if (!readAll(resolved, bytes)) return nullptr;
      file->text = textFromDisk(bytes);
    }
  }
  file->append = m.kind == 'a';
  file->pos = m.kind == 'a' && !m.plus ? file->text.size() : 0;

  char cookieMode[3] = {m.kind, m.plus ? '+' : '\0', '\0'};
  cookie_io_functions_t io{readText, writeText, seekText, closeText};
  FILE* fp = fopencookie(file.get(), cookieMode, io);
  if (!fp) return nullptr;
  TextFile* f = file.release();
  setvbuf(fp, f->streamBuffer.get(), _IOFBF, kStreamBuffer);
  return fp;
}

}  // namespace platform
