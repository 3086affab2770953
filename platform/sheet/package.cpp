#include "sheet/package.h"

#include <zip.h>

#include <cstring>

#include "crt/ascii.h"

namespace sheet {
namespace {

// Bounds on what a package may hold: a part larger than this, or a package
// whose parts add up to more, is not a workbook we can hold in memory (and is
// most likely a damaged or hostile archive).
constexpr zip_uint64_t kMaxPartSize = 256ull << 20;
constexpr zip_uint64_t kMaxTotalSize = 1ull << 30;
constexpr zip_int64_t kMaxEntries = 100000;

std::string zipErrorText(zip_error_t* e) { return zip_error_strerror(e); }

std::string archiveError(zip_t* za) { return zip_strerror(za); }

// Reads entry `index` whole; checks its size and checksum.
bool readEntry(zip_t* za, zip_uint64_t index, std::string* content, std::string* error) {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(za, index, 0, &st) != 0) {
    *error = archiveError(za);
    return false;
  }
  const char* name = st.name ? st.name : "?";
  if ((st.valid & ZIP_STAT_SIZE) && st.size > kMaxPartSize) {
    *error = std::string(name) + ": part too large";
    return false;
  }
  zip_file_t* f = zip_fopen_index(za, index, 0);
  if (!f) {
    *error = std::string(name) + ": " + archiveError(za);
    return false;
  }
  std::string data;
  size_t got = 0;  // bytes read, kept or only counted
  char buf[65536];
  bool ok = true;
  for (;;) {
    zip_int64_t n = zip_fread(f, buf, sizeof buf);
    if (n < 0) {
      *error = std::string(name) + ": " + zip_file_strerror(f);
      ok = false;
      break;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
    if (got > kMaxPartSize) {
      *error = std::string(name) + ": part too large";
      ok = false;
      break;
    }
    if (content) data.append(buf, static_cast<size_t>(n));
  }
  zip_fclose(f);
  if (ok && (st.valid & ZIP_STAT_SIZE) && got != st.size) {
    *error = std::string(name) + ": truncated";
    ok = false;
  }
  if (ok && content) *content = std::move(data);
  return ok;
}

}  // namespace

std::unique_ptr<Package> Package::open(std::string bytes, std::string* error) {
  std::unique_ptr<Package> p(new Package);
  p->m_bytes = std::move(bytes);
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* src = zip_source_buffer_create(p->m_bytes.data(), p->m_bytes.size(), 0, &ze);
  if (!src) {
    *error = zipErrorText(&ze);
    zip_error_fini(&ze);
    return nullptr;
  }
  p->m_zip = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &ze);
  if (!p->m_zip) {
    *error = zipErrorText(&ze);
    zip_error_fini(&ze);
    zip_source_free(src);
    return nullptr;
  }
  zip_error_fini(&ze);

  zip_int64_t count = zip_get_num_entries(p->m_zip, 0);
  if (count <= 0 || count > kMaxEntries) {
    *error = count <= 0 ? "no entries" : "too many entries";
    return nullptr;
  }
  zip_uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(p->m_zip, static_cast<zip_uint64_t>(i), 0);
    if (!name) {
      *error = archiveError(p->m_zip);
      return nullptr;
    }
    p->m_names.emplace_back(name);
    if (p->m_names.back().ends_with('/')) continue;  // a folder entry
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(p->m_zip, static_cast<zip_uint64_t>(i), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
      total += st.size;
      if (total > kMaxTotalSize) {
        *error = "package too large";
        return nullptr;
      }
    }
    if (!readEntry(p->m_zip, static_cast<zip_uint64_t>(i), nullptr, error)) return nullptr;
  }
  return p;
}

Package::~Package() {
  if (m_zip) zip_discard(m_zip);
}

bool Package::sameName(std::string_view a, std::string_view b) { return platform::equalNoCase(a, b); }

std::optional<size_t> Package::indexOf(std::string_view partName) const {
  for (size_t i = 0; i < m_names.size(); ++i)
    if (!m_removed.contains(i) && sameName(m_names[i], partName)) return i;
  return std::nullopt;
}

std::optional<std::string> Package::find(std::string_view partName) const {
  if (std::optional<size_t> i = indexOf(partName)) return m_names[*i];
  return std::nullopt;
}

bool Package::read(std::string_view partName, std::string* content, std::string* error) const {
  std::optional<size_t> i = indexOf(partName);
  if (!i) {
    *error = std::string(partName) + ": missing";
    return false;
  }
  if (auto r = m_replaced.find(*i); r != m_replaced.end()) {
    *content = r->second;
    return true;
  }
  return readEntry(m_zip, *i, content, error);
}

void Package::replace(std::string_view partName, std::string content) {
  std::optional<size_t> i = indexOf(partName);
  if (!i) {
    m_names.emplace_back(partName);
    i = m_names.size() - 1;
  }
  m_replaced[*i] = std::move(content);
}

void Package::remove(std::string_view partName) {
  if (std::optional<size_t> i = indexOf(partName)) m_removed.insert(*i);
}

bool Package::write(std::string* bytes, std::string* error) const {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &ze);
  if (!target) {
    *error = zipErrorText(&ze);
    zip_error_fini(&ze);
    return false;
  }
  zip_t* out = zip_open_from_source(target, ZIP_TRUNCATE, &ze);
  zip_error_fini(&ze);
  if (!out) {
    *error = "cannot build the archive";
    zip_source_free(target);
    return false;
  }
  zip_source_keep(target);  // the archive's bytes are read from it after zip_close
  auto fail = [&](zip_t* za) {
    *error = archiveError(za);
    zip_discard(za);
    zip_source_free(target);
    return false;
  };

  for (size_t i = 0; i < m_names.size(); ++i) {
    if (m_removed.contains(i)) continue;
    const std::string& name = m_names[i];
    zip_int64_t added;
    if (auto r = m_replaced.find(i); r != m_replaced.end()) {
      zip_source_t* s = zip_source_buffer(out, r->second.data(), r->second.size(), 0);
      if (!s) return fail(out);
      added = zip_file_add(out, name.c_str(), s, ZIP_FL_ENC_UTF_8);
      if (added < 0) {
        zip_source_free(s);
        return fail(out);
      }
      zip_set_file_compression(out, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 0);
    } else if (name.ends_with('/')) {
      if (zip_dir_add(out, name.c_str(), ZIP_FL_ENC_UTF_8) < 0) return fail(out);
      continue;
    } else {
      // The whole entry: its compressed data are copied untouched.
      zip_source_t* s = zip_source_zip(out, m_zip, i, 0, 0, -1);
      if (!s) return fail(out);
      added = zip_file_add(out, name.c_str(), s, ZIP_FL_ENC_UTF_8);
      if (added < 0) {
        zip_source_free(s);
        return fail(out);
      }
      zip_stat_t st;
      zip_stat_init(&st);
      if (zip_stat_index(m_zip, i, 0, &st) == 0 && (st.valid & ZIP_STAT_MTIME))
        zip_file_set_mtime(out, static_cast<zip_uint64_t>(added), st.mtime, 0);
    }
  }
  if (zip_close(out) != 0) return fail(out);

  bool ok = false;
  if (zip_source_open(target) == 0) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(target, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
      bytes->resize(st.size);
      zip_int64_t n = zip_source_read(target, bytes->data(), st.size);
      ok = n >= 0 && static_cast<zip_uint64_t>(n) == st.size;
    }
    zip_source_close(target);
  }
  if (!ok) *error = "cannot read back the archive built";
  zip_source_free(target);
  return ok;
}

}  // namespace sheet
