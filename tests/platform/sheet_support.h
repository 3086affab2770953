#pragma once
// Helpers of the workbook tests: the installed quantity-sheet template, and
// zip packages made and read with libzip directly (the tests' own view of a
// package, independent of the model under test).

#include <gtest/gtest.h>
#include <zip.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sheet/workbook.h"

namespace sheet {
// Shows a cell value in test failures.
inline void PrintTo(const CellValue& v, std::ostream* os) {
  static const char* const kinds[] = {"Empty", "Text", "Number", "Boolean", "Error"};
  *os << kinds[static_cast<int>(v.kind)] << " \"" << v.text << "\" " << v.number;
}
}  // namespace sheet

namespace sheettest {

inline std::string templatePath() { return std::string(RAIL_INSTALL_DIR) + "/lib/路基数量表.xlt"; }

using Parts = std::vector<std::pair<std::string, std::string>>;

// Writes a zip package holding `parts` (name, content) in that order.
inline void writePackage(const std::string& path, const Parts& parts) {
  int err = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  ASSERT_NE(za, nullptr) << path;
  for (const auto& [name, content] : parts) {
    zip_source_t* src = zip_source_buffer(za, content.data(), content.size(), 0);
    ASSERT_NE(src, nullptr);
    ASSERT_GE(zip_file_add(za, name.c_str(), src, ZIP_FL_ENC_UTF_8), 0) << name;
  }
  ASSERT_EQ(zip_close(za), 0) << path;
}

// Every entry of a package: (name, content), in archive order.
inline Parts readPackage(const std::string& path) {
  Parts parts;
  int err = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, &err);
  if (!za) {
    ADD_FAILURE() << "cannot open " << path << " as zip";
    return parts;
  }
  zip_int64_t n = zip_get_num_entries(za, 0);
  for (zip_int64_t i = 0; i < n; ++i) {
    zip_stat_t st;
    zip_stat_index(za, static_cast<zip_uint64_t>(i), 0, &st);
    std::string content(st.size, '\0');
    zip_file_t* f = zip_fopen_index(za, static_cast<zip_uint64_t>(i), 0);
    if (!f || zip_fread(f, content.data(), st.size) != static_cast<zip_int64_t>(st.size))
      ADD_FAILURE() << "cannot read " << st.name << " of " << path;
    if (f) zip_fclose(f);
    parts.emplace_back(st.name, content);
  }
  zip_discard(za);
  return parts;
}

inline std::string partOf(const Parts& parts, const std::string& name) {
  for (const auto& [n, c] : parts)
    if (n == name) return c;
  ADD_FAILURE() << "no part " << name;
  return {};
}

}  // namespace sheettest
