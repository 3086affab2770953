#include "arx/edinput.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "arx/edcmdline.h"
#include "arx/edlisp.h"
#include "arx/prompt_input.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace platform {
namespace {

struct InputState {
  int flags = 0;                      // acedInitGet, for the next input call only
  std::vector<std::string> keywords;  // likewise
  std::string input;                  // what acedGetInput gives
  double last[3] = {0, 0, 0};         // the last point given
};

InputState& state() {
  static InputState s;
  return s;
}

// The acedInitGet settings, taken by the input call they were made for.
struct Restrictions {
  int flags = 0;
  std::vector<std::string> keywords;
};

Restrictions takeRestrictions() {
  InputState& st = state();
  Restrictions r{st.flags, std::move(st.keywords)};
  st.flags = 0;
  st.keywords.clear();
  return r;
}

std::string upperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

// The keyword an answer stands for: the whole keyword in any case, or its
// capital letters as abbreviation ("LType": "LT", "LTY", ... "LTYPE"; "eXit":
// "X" or "EXIT").
std::optional<std::string> matchKeyword(const std::vector<std::string>& keywords, std::string_view answer) {
  std::string typed = upperAscii(answer);
  if (typed.empty()) return std::nullopt;
  for (const std::string& k : keywords)
    if (upperAscii(k) == typed) return k;
  for (const std::string& k : keywords) {
    std::string caps;
    for (char c : k)
      if (c >= 'A' && c <= 'Z') caps += c;
    bool hasLower = false;
    for (char c : k)
      if (c >= 'a' && c <= 'z') hasLower = true;
    if (caps.empty() || !hasLower) continue;
    std::string full = upperAscii(k);
    if (full.compare(0, caps.size(), caps) == 0) {
      if (typed.size() >= caps.size() && full.compare(0, typed.size(), typed) == 0) return k;
    } else if (typed == caps) {
      return k;
    }
  }
  return std::nullopt;
}

bool parseNumber(std::string_view s, double& v) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

bool parseIntegerText(std::string_view s, long long& v) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

// A point that is not finite (a relative or polar answer can leave the range
// of a double) is no point.
bool finitePoint(const double p[3]) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

bool parsePoint(std::string_view s, double out[3]) {
  const double* last = state().last;
  bool relative = !s.empty() && s.front() == '@';
  if (relative) {
    s.remove_prefix(1);
    if (s.empty()) {
      for (int i = 0; i < 3; ++i) out[i] = last[i];
      return true;
    }
  }
  double p[3] = {0, 0, 0};
  size_t lt = s.find('<');
  if (lt != std::string_view::npos) {
    double d, a;
    if (!parseNumber(s.substr(0, lt), d) || !parseNumber(s.substr(lt + 1), a)) return false;
    double rad = a * M_PI / 180.0;
    p[0] = d * std::cos(rad);
    p[1] = d * std::sin(rad);
  } else {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
      size_t comma = s.find(',', start);
      parts.push_back(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    if (parts.size() < 2 || parts.size() > 3) return false;
    for (size_t i = 0; i < parts.size(); ++i)
      if (!parseNumber(parts[i], p[i])) return false;
  }
  double made[3];
  for (int i = 0; i < 3; ++i) made[i] = relative ? last[i] + p[i] : p[i];
  if (!finitePoint(made)) return false;
  for (int i = 0; i < 3; ++i) out[i] = made[i];
  return true;
}

// Copies `text` into a caller's buffer of `size` bytes; false when it does not fit.
bool copyOut(const std::string& text, char* buffer, size_t size) {
  if (!buffer || text.size() + 1 > size) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

// An answer the prompt refuses outright (no retry): shown, and in a script
// the script's error, for what comes after it was written for a value that
// was not taken.
int refuseAnswer(const char* prompt, const std::string& answer, const char* why) {
  transcriptLine(why);
  if (scriptRunning()) {
    std::string shown = prompt ? prompt : "";
    while (!shown.empty() && (shown.front() == '\n' || shown.front() == ' ')) shown.erase(0, 1);
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == ' ')) shown.pop_back();
    std::string start = answer.size() > 40 ? answer.substr(0, 40) + "..." : answer;
    endRunWithError("the answer to \"" + shown + "\" is refused (" + why + "): \"" + start + "\", " +
                    std::to_string(answer.size()) + " bytes");
  }
  return RTERROR;
}

// The outcome of one answer for a value prompt.
enum class Outcome { Value, Enter, Keyword, Cancel, Retry };

// Reads an answer: Enter and keywords are handled here; anything else is left
// in `token` for the caller to parse.
Outcome readAnswer(const char* prompt, const Restrictions& r, std::string& token) {
  int rc = readPromptToken(prompt, token);
  if (rc == RTCAN) return Outcome::Cancel;
  if (rc == RTNONE) {
    if (r.flags & RSG_NONULL) {
      transcriptLine("Requires a value.");
      return Outcome::Retry;
    }
    return Outcome::Enter;
  }
  return Outcome::Value;
}

// A token that is no value: a keyword, any text with RSG_OTHER, or a retry.
Outcome keywordOrRetry(const Restrictions& r, const std::string& token, const char* complaint) {
  if (auto k = matchKeyword(r.keywords, token)) {
    state().input = *k;
    return Outcome::Keyword;
  }
  if (r.flags & RSG_OTHER) {
    state().input = token;
    return Outcome::Keyword;
  }
  transcriptLine(complaint);
  return Outcome::Retry;
}

// Checks a number against RSG_NOZERO and RSG_NONEG; false (with the message shown) when refused.
bool numberAllowed(const Restrictions& r, double v) {
  if ((r.flags & RSG_NOZERO) && v == 0.0) {
    transcriptLine("Value must be nonzero.");
    return false;
  }
  if ((r.flags & RSG_NONEG) && v < 0.0) {
    transcriptLine("Value must be positive.");
    return false;
  }
  return true;
}

int resultOf(Outcome a) {
  switch (a) {
    case Outcome::Value: return RTNORM;
    case Outcome::Enter: return RTNONE;
    case Outcome::Keyword: return RTKWORD;
    default: return RTCAN;
  }
}

double distanceBetween(const double a[3], const double b[3], bool flat) {
  double dx = b[0] - a[0], dy = b[1] - a[1], dz = flat ? 0.0 : b[2] - a[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

void lastPoint(ads_point p) {
  for (int i = 0; i < 3; ++i) p[i] = state().last[i];
}

void setLastPoint(const ads_point p) {
  for (int i = 0; i < 3; ++i) state().last[i] = p[i];
}

}  // namespace platform

using platform::Outcome;

int acedInitGet(int flags, const char* keywords) {
  platform::InputState& st = platform::state();
  st.flags = flags;
  st.keywords.clear();
  std::string k;
  for (const char* p = keywords ? keywords : ""; ; ++p) {
    if (*p == ' ' || *p == '\t' || *p == '\0') {
      if (!k.empty()) st.keywords.push_back(k);
      k.clear();
      if (!*p) break;
    } else {
      k += *p;
    }
  }
  return RTNORM;
}

int acedGetPoint(const ads_point, const char* prompt, ads_point result) {
  platform::Restrictions r = platform::takeRestrictions();
  if (!result) return RTERROR;
  for (;;) {
    std::string token;
    Outcome a = platform::readAnswer(prompt, r, token);
    if (a == Outcome::Value) {
      double p[3];
      if (platform::parsePoint(token, p)) {
        for (int i = 0; i < 3; ++i) result[i] = p[i];
        platform::setLastPoint(p);
        return RTNORM;
      }
      a = platform::keywordOrRetry(r, token, "Invalid point.");
    }
    if (a != Outcome::Retry) return platform::resultOf(a);
  }
}

int acedGetReal(const char* prompt, ads_real* result) {
  platform::Restrictions r = platform::takeRestrictions();
  if (!result) return RTERROR;
  for (;;) {
    std::string token;
    Outcome a = platform::readAnswer(prompt, r, token);
    if (a == Outcome::Value) {
      double v;
      if (platform::parseNumber(token, v)) {
        if (!platform::numberAllowed(r, v)) continue;
        *result = v;
        return RTNORM;
      }
      a = platform::keywordOrRetry(r, token, "Requires numeric value.");
    }
    if (a != Outcome::Retry) return platform::resultOf(a);
  }
}

int acedGetInt(const char* prompt, int* result) {
  platform::Restrictions r = platform::takeRestrictions();
  if (!result) return RTERROR;
  for (;;) {
    std::string token;
    Outcome a = platform::readAnswer(prompt, r, token);
    if (a == Outcome::Value) {
      long long v;
      if (platform::parseIntegerText(token, v)) {
        if (v < -32768 || v > 32767) {
          platform::transcriptLine("Requires an integer between -32768 and 32767.");
          continue;
        }
        if (!platform::numberAllowed(r, static_cast<double>(v))) continue;
        *result = static_cast<int>(v);
        return RTNORM;
      }
      a = platform::keywordOrRetry(r, token, "Requires an integer value.");
    }
    if (a != Outcome::Retry) return platform::resultOf(a);
  }
}

int acedGetDist(const ads_point base, const char* prompt, ads_real* result) {
  platform::Restrictions r = platform::takeRestrictions();
  if (!result) return RTERROR;
  for (;;) {
    std::string token;
    Outcome a = platform::readAnswer(prompt, r, token);
    if (a == Outcome::Value) {
      double v;
      double p[3];
      if (platform::parseNumber(token, v)) {
        if (!platform::numberAllowed(r, v)) continue;
        *result = v;
        return RTNORM;
      }
      if (platform::parsePoint(token, p)) {
        double from[3];
        if (base) {
          for (int i = 0; i < 3; ++i) from[i] = base[i];
        } else {
          // The point typed is the first of two.
          for (int i = 0; i < 3; ++i) from[i] = p[i];
          platform::setLastPoint(p);
          std::string second;
          int rc = platform::readPromptToken("Specify second point: ", second);
          if (rc != RTNORM) return rc == RTNONE ? RTNONE : RTCAN;
          if (!platform::parsePoint(second, p)) {
            platform::transcriptLine("Invalid point.");
            continue;
          }
        }
        platform::setLastPoint(p);
        v = platform::distanceBetween(from, p, (r.flags & RSG_2D) != 0);
        if (!std::isfinite(v)) {
          platform::transcriptLine("Requires numeric distance or second point.");
          continue;
        }
        if (!platform::numberAllowed(r, v)) continue;
        *result = v;
        return RTNORM;
      }
      a = platform::keywordOrRetry(r, token, "Requires numeric distance or second point.");
    }
    if (a != Outcome::Retry) return platform::resultOf(a);
  }
}

int acedGetString(int cronly, const char* prompt, char* result) {
  return acedGetString(cronly, prompt, result, ACED_INPUT_BUFFER);
}

int acedGetString(int, const char* prompt, char* result, size_t bufLen) {
  platform::takeRestrictions();
  if (!result || bufLen == 0) return RTERROR;
  std::string token;
  int rc = platform::readPromptToken(prompt, token);
  if (rc == RTCAN) return RTCAN;
  if (!platform::copyOut(token, result, bufLen)) return platform::refuseAnswer(prompt, token, "String too long.");
  return RTNORM;
}

int acedGetKword(const char* prompt, char* result) { return acedGetKword(prompt, result, ACED_INPUT_BUFFER); }

int acedGetKword(const char* prompt, char* result, size_t bufLen) {
  platform::Restrictions r = platform::takeRestrictions();
  if (!result || bufLen == 0) return RTERROR;
  for (;;) {
    std::string token;
    Outcome a = platform::readAnswer(prompt, r, token);
    if (a == Outcome::Value) a = platform::keywordOrRetry(r, token, "Invalid option keyword.");
    if (a == Outcome::Retry) continue;
    if (a == Outcome::Keyword) {
      if (!platform::copyOut(platform::state().input, result, bufLen))
        return platform::refuseAnswer(prompt, platform::state().input, "String too long.");
      return RTNORM;
    }
    if (a == Outcome::Enter) result[0] = '\0';
    return platform::resultOf(a);
  }
}

int acedGetInput(char* result) { return acedGetInput(result, ACED_INPUT_BUFFER); }

int acedGetInput(char* result, size_t bufLen) {
  return platform::copyOut(platform::state().input, result, bufLen) ? RTNORM : RTERROR;
}

int acedGetFileD(const char* title, const char* defaultName, const char* ext, int, resbuf* result) {
  if (!result) return RTERROR;
  std::optional<std::string> path = platform::answerFileDialog(title && *title ? title : "Select file",
                                                               defaultName ? defaultName : "", ext ? ext : "");
  if (!path) {
    result->restype = RTNONE;
    return RTCAN;
  }
  char* copy = acutNewString(path->c_str());
  if (!copy) return RTERROR;
  result->restype = RTSTR;
  result->resval.rstring = copy;
  return RTNORM;
}
