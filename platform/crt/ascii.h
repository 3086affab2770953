#pragma once
// ASCII case folding used across the platform. Names of tables, fields,
// commands, symbols, files and package parts compare without regard to the
// case of the letters A-Z only; every other byte (the bytes of a Chinese
// character among them) compares as it stands.

#include <string>
#include <string_view>

namespace platform {

constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The text with its letters A-Z made lower case.
inline std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = asciiLower(c);
  return out;
}

// True when the two texts are equal once their letters A-Z are folded.
constexpr bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

constexpr bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && equalNoCase(s.substr(0, prefix.size()), prefix);
}

constexpr bool endsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && equalNoCase(s.substr(s.size() - suffix.size()), suffix);
}

}  // namespace platform
