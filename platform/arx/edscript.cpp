#include "arx/edscript.h"

#include <charconv>
#include <cmath>

#include "win/answers.h"

namespace platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string withoutCarriageReturns(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n')) continue;
    out += text[i];
  }
  return out;
}

bool parseInteger(std::string_view s, long long& value) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size();
}

bool parseReal(std::string_view s, double& value) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

}  // namespace

bool parseLispForm(std::string_view form, std::vector<LispAtom>& items, std::string& error) {
  items.clear();
  size_t i = 0;
  auto skipSpace = [&] {
    while (i < form.size() && (isBlank(form[i]) || form[i] == '\n' || form[i] == '\r')) ++i;
  };
  auto fail = [&](const char* why) {
    error = why;
    items.clear();
    return false;
  };
  skipSpace();
  if (i >= form.size() || form[i] != '(') return fail("a form begins with '('");
  ++i;
  for (;;) {
    skipSpace();
    if (i >= form.size()) return fail("unbalanced parenthesis");
    char c = form[i];
    if (c == ')') {
      ++i;
      skipSpace();
      if (i < form.size()) return fail("text after the closing parenthesis");
      if (items.empty()) return fail("empty form");
      if (items.front().kind != LispAtom::Symbol) return fail("a form begins with a function name");
      return true;
    }
    if (c == '(' || c == '\'') return fail("nested lists are not accepted in a form");
    LispAtom atom;
    if (c == '"') {
      ++i;
      atom.kind = LispAtom::String;
      bool closed = false;
      while (i < form.size()) {
        char ch = form[i++];
        if (ch == '"') {
          closed = true;
          break;
        }
        if (ch != '\\') {
          atom.text += ch;
          continue;
        }
        if (i >= form.size()) break;
        char e = form[i++];
        switch (e) {
          case 'n': atom.text += '\n'; break;
          case 'r': atom.text += '\r'; break;
          case 't': atom.text += '\t'; break;
          case 'e': atom.text += '\x1b'; break;
          default:
            if (e >= '0' && e <= '7') {
              int v = e - '0';
              for (int k = 0; k < 2 && i < form.size() && form[i] >= '0' && form[i] <= '7'; ++k) v = v * 8 + (form[i++] - '0');
              atom.text += static_cast<char>(v & 0xff);
            } else {
              atom.text += e;  // \\ and \" and any other character stand for themselves
            }
        }
      }
      if (!closed) return fail("unterminated string");
    } else {
      size_t start = i;
      while (i < form.size() && !isBlank(form[i]) && form[i] != '\n' && form[i] != '\r' && form[i] != '(' &&
             form[i] != ')' && form[i] != '"')
        ++i;
      atom.text = std::string(form.substr(start, i - start));
      if (parseInteger(atom.text, atom.integer)) {
        atom.kind = LispAtom::Integer;
        atom.real = static_cast<double>(atom.integer);
      } else if (parseReal(atom.text, atom.real)) {
        atom.kind = LispAtom::Real;
      } else {
        atom.kind = LispAtom::Symbol;
      }
    }
    items.push_back(std::move(atom));
  }
}

int ScriptReader::append(std::string name, std::string text, int firstLine) {
  Source s;
  s.id = m_nextId++;
  s.name = std::move(name);
  s.line = firstLine;
  s.text = withoutCarriageReturns(std::move(text));
  m_sources.push_back(std::move(s));
  return m_sources.back().id;
}

int ScriptReader::pushFront(std::string name, std::string text, bool transient) {
  Source s;
  s.id = m_nextId++;
  s.name = std::move(name);
  s.transient = transient;
  s.text = withoutCarriageReturns(std::move(text));
  m_sources.push_front(std::move(s));
  return m_sources.front().id;
}

int ScriptReader::pushTokens(std::string name, std::vector<std::string> tokens) {
  Source s;
  s.id = m_nextId++;
  s.name = std::move(name);
  s.isTokens = true;
  s.tokens = std::move(tokens);
  m_sources.push_front(std::move(s));
  return m_sources.front().id;
}

bool ScriptReader::nextIsFromScript() const {
  for (const Source& s : m_sources)
    if (!exhausted(s)) return !s.isTokens && !s.transient;
  return false;
}

bool ScriptReader::contains(int id) const {
  for (const Source& s : m_sources)
    if (s.id == id) return true;
  return false;
}

void ScriptReader::dropThrough(int id) {
  if (!contains(id)) return;
  while (!m_sources.empty()) {
    int front = m_sources.front().id;
    m_sources.pop_front();
    if (front == id) break;
  }
}

bool ScriptReader::exhausted(const Source& s) {
  return s.isTokens ? s.index >= s.tokens.size() : s.pos >= s.text.size();
}

bool ScriptReader::takeAnswerLines(Source& s, ScriptToken& error, bool tokenRead) {
  // The answer lines met here stand together under the line above them.
  int group = 0;
  while (s.atLineStart && s.pos < s.text.size()) {
    size_t end = s.text.find('\n', s.pos);
    if (end == std::string::npos) end = s.text.size();
    size_t first = s.pos;
    while (first < end && isBlank(s.text[first])) ++first;
    // A comment line ("// ...") is left out, its line end with it: it gives
    // no token and does not part a line from its answers.
    if (s.text.compare(first, 2, "//") == 0 && first + 2 <= end) {
      s.pos = end < s.text.size() ? end + 1 : end;
      if (end < s.text.size()) ++s.line;
      continue;
    }
    if (first >= end || s.text[first] != '@') return true;
    std::string why;
    if (group == 0) group = newAnswerGroup();
    if (!queueAnswerLine(std::string_view(s.text).substr(first, end - first), &why,
                         s.name + ":" + std::to_string(s.line), group)) {
      error.kind = ScriptToken::Error;
      error.where = s.name + ":" + std::to_string(s.line);
      error.text = why;
      return false;
    }
    if (!tokenRead) {
      // Nothing above it raises a question: it would serve whatever asks
      // first, which is not what it was written for.
      error.kind = ScriptToken::Error;
      error.where = s.name + ":" + std::to_string(s.line);
      std::string_view line = std::string_view(s.text).substr(first, end - first);
      while (!line.empty() && (line.back() == '\r' || isBlank(line.back()))) line.remove_suffix(1);
      error.text = "the answer line \"" + std::string(line) + "\" comes before any command: it answers a question of the line above it";
      s.pos = end < s.text.size() ? end + 1 : end;
      return false;
    }
    s.pos = end < s.text.size() ? end + 1 : end;
    if (end < s.text.size()) ++s.line;
  }
  return true;
}

bool ScriptReader::takeAnswerLinesAhead(ScriptToken& error) {
  for (Source& s : m_sources) {
    if (!s.isTokens) {
      if (!s.atLineStart) return true;
      if (!takeAnswerLines(s, error, m_tokenRead)) return false;
    }
    if (!exhausted(s)) return true;  // a token comes first
  }
  return true;
}

void ScriptReader::endToken(Source& s) {
  if (s.pos >= s.text.size()) return;
  char c = s.text[s.pos];
  if (isBlank(c)) {
    ++s.pos;
  } else if (c == '\n') {
    ++s.pos;
    ++s.line;
    s.atLineStart = true;
  }
}

ScriptToken ScriptReader::readForm(Source& s, const std::string& where) {
  ScriptToken t;
  t.where = where;
  size_t start = s.pos;
  int depth = 0;
  bool inString = false;
  int lines = 0;
  size_t i = s.pos;
  for (; i < s.text.size(); ++i) {
    char c = s.text[i];
    if (c == '\n') ++lines;
    if (inString) {
      if (c == '\\' && i + 1 < s.text.size()) {
        if (s.text[i + 1] == '\n') ++lines;
        ++i;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') inString = true;
    else if (c == '(') ++depth;
    else if (c == ')' && --depth == 0) break;
  }
  if (i >= s.text.size()) {
    t.kind = ScriptToken::Error;
    t.text = "unbalanced parenthesis in " + s.text.substr(start, 40);
    s.pos = s.text.size();
    return t;
  }
  s.pos = i + 1;
  s.line += lines;
  t.text = s.text.substr(start, s.pos - start);
  std::string why;
  if (!parseLispForm(t.text, t.items, why)) {
    t.kind = ScriptToken::Error;
    t.text = why + " in " + t.text;
    return t;
  }
  t.kind = ScriptToken::Form;
  endToken(s);
  return t;
}

bool ScriptReader::readWindowLine(Source& s, ScriptToken& t) {
  size_t end = s.text.find('\n', s.pos);
  if (end == std::string::npos) end = s.text.size();
  size_t first = s.pos;
  while (first < end && isBlank(s.text[first])) ++first;
  if (first >= end || s.text[first] != '>') return false;
  size_t a = first + 1, b = end;
  while (a < b && isBlank(s.text[a])) ++a;
  while (b > a && isBlank(s.text[b - 1])) --b;
  t.kind = ScriptToken::Window;
  t.text = s.text.substr(a, b - a);
  s.pos = end;
  endToken(s);
  return true;
}

ScriptToken ScriptReader::readToken(Source& s) {
  ScriptToken t;
  t.where = s.name + ":" + std::to_string(s.line);
  if (s.atLineStart && readWindowLine(s, t)) return t;
  s.atLineStart = false;
  char c = s.text[s.pos];
  if (c == '(') return readForm(s, t.where);
  if (c == '"') {
    size_t close = s.text.find_first_of("\"\n", s.pos + 1);
    if (close == std::string::npos || s.text[close] != '"') {
      t.kind = ScriptToken::Error;
      t.text = "unterminated quoted string";
      size_t end = s.text.find('\n', s.pos);
      s.pos = end == std::string::npos ? s.text.size() : end;
      return t;
    }
    t.text = s.text.substr(s.pos + 1, close - s.pos - 1);
    t.quoted = true;
    t.kind = t.text.empty() ? ScriptToken::Enter : ScriptToken::Word;
    s.pos = close + 1;
    if (s.pos < s.text.size() && !isBlank(s.text[s.pos]) && s.text[s.pos] != '\n') {
      t.kind = ScriptToken::Error;
      t.text = "text after a closing quote";
      return t;
    }
    endToken(s);
    return t;
  }
  size_t end = s.pos;
  while (end < s.text.size() && !isBlank(s.text[end]) && s.text[end] != '\n') ++end;
  t.text = s.text.substr(s.pos, end - s.pos);
  s.pos = end;
  endToken(s);
  t.kind = (t.text.empty() || t.text == ";") ? ScriptToken::Enter : ScriptToken::Word;
  if (t.kind == ScriptToken::Enter) t.text.clear();
  return t;
}

ScriptToken ScriptReader::next(int boundary) {
  for (;;) {
    if (boundary && !contains(boundary)) return ScriptToken{};
    if (m_sources.empty()) return ScriptToken{};
    Source& s = m_sources.front();
    ScriptToken error;
    if (!s.isTokens && !takeAnswerLines(s, error, m_tokenRead)) return error;
    if (exhausted(s)) {
      int id = s.id;
      m_sources.pop_front();
      if (id == boundary) return ScriptToken{};
      continue;
    }
    if (s.isTokens) {
      ScriptToken t;
      t.where = s.name;
      t.text = s.tokens[s.index++];
      t.quoted = true;
      t.kind = t.text.empty() ? ScriptToken::Enter : ScriptToken::Word;
      if (t.kind == ScriptToken::Word) m_tokenRead = true;
      return t;
    }
    ScriptToken t = readToken(s);
    if (t.kind == ScriptToken::Word || t.kind == ScriptToken::Form || t.kind == ScriptToken::Window)
      m_tokenRead = true;
    if (t.kind != ScriptToken::Error && !takeAnswerLinesAhead(error)) return error;
    return t;
  }
}

}  // namespace platform
