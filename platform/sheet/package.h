#pragma once
// The zip archive of an Office Open XML package, held in memory. Parts are
// named by their entry names ("xl/workbook.xml"), matched without regard to
// ASCII case as part names are. A part can be replaced or removed; writing the
// package copies every other entry as it was read, compressed data included,
// in the original order.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct zip;
struct zip_source;

namespace sheet {

class Package {
 public:
  // Opens the archive held in `bytes`. Every entry is read through once, so a
  // damaged archive (a bad checksum, a truncated entry, an encrypted entry) is
  // found here. On failure returns null and says why in *error.
  static std::unique_ptr<Package> open(std::string bytes, std::string* error);
  ~Package();
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  // The entry name of a part, or nullopt when the package has none.
  std::optional<std::string> find(std::string_view partName) const;
  // The content of a part (as replaced, when it was). False, with the reason
  // in *error, when it is missing or cannot be read.
  bool read(std::string_view partName, std::string* content, std::string* error) const;
  // Replaces a part, or adds it at the end when the package has none.
  void replace(std::string_view partName, std::string content);
  void remove(std::string_view partName);

  // The zip bytes of the package as it now stands.
  bool write(std::string* bytes, std::string* error) const;

 private:
  Package() = default;
  static bool sameName(std::string_view a, std::string_view b);
  std::optional<size_t> indexOf(std::string_view partName) const;

  std::string m_bytes;  // the archive read; the zip handle reads from it
  zip* m_zip = nullptr;
  std::vector<std::string> m_names;  // entry names in archive order, then added parts
  std::map<size_t, std::string> m_replaced;  // content of replaced or added parts, by index
  std::set<size_t> m_removed;
};

}  // namespace sheet
