#include "crt/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "crt/gbk.h"
#include "crt/paths.h"

namespace platform {
namespace {

// The stream's own buffer. A text file sees the stream's writes as whole
// buffers while the stream runs full, and as a smaller amount when it is
// flushed (fflush, fseek, rewind, fclose): that is when the disk follows.
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

bool writeAll(int fd, const std::string& bytes) {
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

// Replaces the file at `path` by `bytes`: written in full to a temporary file
// in the same folder first, which then takes the file's place, so the old
// content stays until the new one is complete. A symbolic link is followed.
bool replaceFile(const std::string& path, const std::string& bytes) {
  std::string target = path;
  if (char* real = realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  mode_t mode = 0644;
  struct stat st;
  if (stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = dir + (dir.back() == '/' ? "." : "/.") + name + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  auto fail = [&] {
    int e = errno;
    unlink(temp.c_str());
    errno = e;
    return false;
  };
  if (!writeAll(fd, bytes)) {
    int e = errno;
    close(fd);
    errno = e;
    return fail();
  }
  fchmod(fd, mode);  // the file keeps its permissions (best effort)
  if (close(fd) != 0) return fail();
  if (rename(temp.c_str(), target.c_str()) != 0) return fail();
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
    if (!replaceFile(diskPath, textToDisk(text))) return false;
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
  // The text is kept whatever happens on disk; a failed disk write leaves the
  // file dirty and is tried again (and reported) at fclose.
  if (size % kStreamBuffer != 0) f->sync();
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
    // "w" and "a" make the file at once, as the run time does.
    int fd = open(resolved.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    close(fd);
  } else {
    if (m.kind != 'r' || m.plus) {
      int fd = open(resolved.c_str(), O_WRONLY | O_CLOEXEC);  // may we write it?
      if (fd < 0) return nullptr;
      close(fd);
    }
    if (m.kind == 'w') {
      file->dirty = true;  // emptied on disk at the first flush or at fclose
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
