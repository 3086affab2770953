// Jet column types and the reading of Jet SQL into SQLite statements.
#include "com/jetsql.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "crt/ascii.h"

namespace platform::jet {
namespace {

bool isWordStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }
bool isWordChar(unsigned char c) { return isWordStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// ---- Column types ---------------------------------------------------------

struct TypeName {
  const char* words;
  Kind kind;
};

// Jet's type names, as one or two lower-case words.
constexpr TypeName kTypeNames[] = {
    {"counter", Kind::Counter},        {"identity", Kind::Counter},       {"autoincrement", Kind::Counter},
    {"long", Kind::Long},              {"integer", Kind::Long},           {"int", Kind::Long},
    {"integer4", Kind::Long},          {"int4", Kind::Long},              {"short", Kind::Short},
    {"smallint", Kind::Short},         {"integer2", Kind::Short},         {"int2", Kind::Short},
    {"byte", Kind::Byte},              {"tinyint", Kind::Byte},           {"integer1", Kind::Byte},
    {"single", Kind::Single},          {"real", Kind::Single},            {"float4", Kind::Single},
    {"ieeesingle", Kind::Single},      {"double", Kind::Double},          {"double precision", Kind::Double},
    {"float", Kind::Double},           {"float8", Kind::Double},          {"ieeedouble", Kind::Double},
    {"number", Kind::Double},          {"currency", Kind::Currency},      {"money", Kind::Currency},
    {"decimal", Kind::Decimal},        {"numeric", Kind::Decimal},        {"dec", Kind::Decimal},
    {"datetime", Kind::DateTime},      {"date", Kind::DateTime},          {"time", Kind::DateTime},
    {"timestamp", Kind::DateTime},     {"yesno", Kind::YesNo},            {"bit", Kind::YesNo},
    {"logical", Kind::YesNo},          {"logical1", Kind::YesNo},         {"boolean", Kind::YesNo},
    {"text", Kind::Text},              {"varchar", Kind::Text},           {"char", Kind::Text},
    {"character", Kind::Text},         {"string", Kind::Text},            {"alphanumeric", Kind::Text},
    {"nvarchar", Kind::Text},          {"nchar", Kind::Text},             {"char varying", Kind::Text},
    {"character varying", Kind::Text}, {"national char", Kind::Text},     {"national character", Kind::Text},
    {"memo", Kind::Memo},              {"longtext", Kind::Memo},          {"longchar", Kind::Memo},
    {"note", Kind::Memo},              {"ntext", Kind::Memo},
};

// Reads a Jet type from its words (lower case). "INTEGER identity" is a
// counter; the size applies to text types.
bool typeFromWords(const std::vector<std::string>& words, int size, ColumnType& out) {
  if (words.empty()) return false;
  bool counter = false;
  std::vector<std::string> rest;
  for (const std::string& w : words) {
    if (w == "identity" || w == "counter" || w == "autoincrement") counter = true;
    else rest.push_back(w);
  }
  if (counter) {
    // Only an integer type may stand beside the counter word.
    if (rest.size() > 1 || (rest.size() == 1 && rest[0] != "integer" && rest[0] != "int" && rest[0] != "long"))
      return false;
    out = {Kind::Counter, 0, false};
    return true;
  }
  std::string joined;
  for (const std::string& w : rest) joined += (joined.empty() ? "" : " ") + w;
  for (const TypeName& t : kTypeNames) {
    if (joined == t.words) {
      out.kind = t.kind;
      out.fixed = joined == "char" || joined == "nchar" || joined == "character" || joined == "national char" ||
                  joined == "national character";
      out.size = t.kind == Kind::Text ? (size > 0 ? size : 255) : 0;
      return true;
    }
  }
  return false;
}

std::string declaredTypeOf(const ColumnType& t) {
  switch (t.kind) {
    case Kind::Counter: return "INTEGER";
    case Kind::Long: return "INTEGER";
    case Kind::Short: return "SMALLINT";
    case Kind::Byte: return "TINYINT";
    case Kind::Single: return "REAL";
    case Kind::Double: return "DOUBLE";
    case Kind::Currency: return "CURRENCY";
    case Kind::Decimal: return "DECIMAL";
    case Kind::DateTime: return "DATETIME";
    case Kind::YesNo: return "BIT";
    case Kind::Text: return (t.fixed ? "CHAR(" : "VARCHAR(") + std::to_string(t.size) + ")";
    case Kind::Memo: return "LONGTEXT";
    case Kind::Variant: return "";
  }
  return "";
}

bool isTextKind(Kind k) { return k == Kind::Text || k == Kind::Memo; }

// ---- Tokens -----------------------------------------------------------------

enum class Tok { Word, Name, Number, String, Date, Op, End };

struct Token {
  Tok kind = Tok::End;
  std::string text;
};

bool tokenize(std::string_view s, std::vector<Token>& out, std::string& error) {
  size_t i = 0, n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    Token t;
    if (c == '[' || c == '`') {
      char close = c == '[' ? ']' : '`';
      size_t e = s.find(close, i + 1);
      if (e == std::string_view::npos) {
        error = "Invalid bracketing of name '" + std::string(s.substr(i)) + "'.";
        return false;
      }
      t.kind = Tok::Name;
      t.text = std::string(s.substr(i + 1, e - i - 1));
      i = e + 1;
    } else if (c == '\'' || c == '"') {
      t.kind = Tok::String;
      size_t j = i + 1;
      bool closed = false;
      while (j < n) {
        if (s[j] == static_cast<char>(c)) {
          if (j + 1 < n && s[j + 1] == static_cast<char>(c)) {
            t.text += s[j];
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        t.text += s[j++];
      }
      if (!closed) {
        error = "Syntax error in string in query expression '" + std::string(s.substr(i)) + "'.";
        return false;
      }
      i = j;
    } else if (c == '#') {
      size_t e = s.find('#', i + 1);
      if (e == std::string_view::npos) {
        error = "Syntax error in date in query expression '" + std::string(s.substr(i)) + "'.";
        return false;
      }
      t.kind = Tok::Date;
      t.text = std::string(s.substr(i + 1, e - i - 1));
      i = e + 1;
    } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(static_cast<unsigned char>(s[i + 1])))) {
      size_t j = i;
      while (j < n && isWordChar(static_cast<unsigned char>(s[j]))) ++j;
      std::string_view run = s.substr(i, j - i);
      bool allDigits = !run.empty();
      for (char d : run) allDigits = allDigits && isDigit(static_cast<unsigned char>(d));
      // A run like "100年水位高程" or "3号" is a name; digits, an optional
      // fraction and an optional exponent make a number.
      size_t epos = run.find_first_of("eE");
      bool exponentForm = false;
      if (!allDigits && epos != std::string_view::npos && epos > 0) {
        bool before = true, after = true;
        for (size_t k = 0; k < epos; ++k) before = before && isDigit(static_cast<unsigned char>(run[k]));
        for (size_t k = epos + 1; k < run.size(); ++k) after = after && isDigit(static_cast<unsigned char>(run[k]));
        exponentForm = before && after;
      }
      if (c != '.' && !allDigits && !exponentForm) {
        t.kind = Tok::Word;
        t.text = std::string(run);
        i = j;
      } else {
        t.kind = Tok::Number;
        size_t k = i;
        while (k < n && isDigit(static_cast<unsigned char>(s[k]))) ++k;
        if (k < n && s[k] == '.') {
          ++k;
          while (k < n && isDigit(static_cast<unsigned char>(s[k]))) ++k;
        }
        if (k < n && (s[k] == 'e' || s[k] == 'E')) {
          size_t m = k + 1;
          if (m < n && (s[m] == '+' || s[m] == '-')) ++m;
          if (m < n && isDigit(static_cast<unsigned char>(s[m]))) {
            while (m < n && isDigit(static_cast<unsigned char>(s[m]))) ++m;
            k = m;
          }
        }
        if (k < n && isWordChar(static_cast<unsigned char>(s[k]))) {
          error = "Syntax error in number in query expression '" + std::string(s.substr(i)) + "'.";
          return false;
        }
        t.text = std::string(s.substr(i, k - i));
        i = k;
      }
    } else if (isWordStart(c)) {
      size_t j = i;
      while (j < n && isWordChar(static_cast<unsigned char>(s[j]))) ++j;
      t.kind = Tok::Word;
      t.text = std::string(s.substr(i, j - i));
      i = j;
    } else {
      t.kind = Tok::Op;
      static const char* const two[] = {"<=", ">=", "<>", "!="};
      bool matched = false;
      for (const char* op : two) {
        if (s.substr(i, 2) == std::string_view(op)) {
          t.text = op;
          i += 2;
          matched = true;
          break;
        }
      }
      if (!matched) {
        if (std::strchr("=<>(),*.;+-/&\\", static_cast<char>(c)) == nullptr || c == 0) {
          error = "Syntax error: unexpected character '" + std::string(1, static_cast<char>(c)) + "'.";
          return false;
        }
        t.text = std::string(1, static_cast<char>(c));
        ++i;
      }
    }
    out.push_back(std::move(t));
  }
  out.push_back(Token{Tok::End, ""});
  return true;
}

std::string quoteText(std::string_view s) {
  std::string r = "'";
  for (char c : s) {
    if (c == '\'') r += '\'';
    r += c;
  }
  return r + "'";
}

// ---- Parser -----------------------------------------------------------------

class Parser {
 public:
  Parser(std::vector<Token> tokens, std::string_view text) : m_t(std::move(tokens)), m_text(text) {}

  bool statement(Statement& st) {
    if (isKw("select")) return select(st);
    if (isKw("delete")) return deleteFrom(st);
    if (isKw("create")) return createTable(st);
    if (isKw("drop")) return dropTable(st);
    if (isKw("insert")) return insert(st);
    if (isKw("update")) return update(st);
    return fail("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
  }

  const std::string& error() const { return m_error; }

 private:
  const Token& cur() const { return m_t[m_pos]; }
  const Token& peek(size_t k = 1) const { return m_t[std::min(m_pos + k, m_t.size() - 1)]; }
  void next() {
    if (m_pos + 1 < m_t.size()) ++m_pos;
  }
  bool isKw(const char* kw) const { return cur().kind == Tok::Word && lowerAscii(cur().text) == kw; }
  bool isOp(const char* op) const { return cur().kind == Tok::Op && cur().text == op; }
  bool acceptKw(const char* kw) {
    if (!isKw(kw)) return false;
    next();
    return true;
  }
  bool acceptOp(const char* op) {
    if (!isOp(op)) return false;
    next();
    return true;
  }
  bool fail(std::string message) {
    if (m_error.empty()) m_error = std::move(message);
    return false;
  }
  bool failSyntax(const char* where) {
    return fail(std::string("Syntax error in ") + where + ".");
  }
  // The end: an optional ';' and nothing after it.
  bool end(const char* where) {
    acceptOp(";");
    if (cur().kind != Tok::End) return failSyntax(where);
    return true;
  }

  bool name(std::string& out) {
    if (cur().kind == Tok::Name || (cur().kind == Tok::Word && !isReserved())) {
      out = cur().text;
      next();
      return true;
    }
    return false;
  }
  bool isReserved() const {
    static const char* const reserved[] = {"select", "from", "where", "order", "by", "and", "or", "not", "null",
                                           "is", "like", "between", "in", "as", "distinct", "group", "having",
                                           "values", "set", "into", "table", "top"};
    std::string w = lowerAscii(cur().text);
    for (const char* r : reserved)
      if (w == r) return true;
    return false;
  }

  // -- statements --

  bool createTable(Statement& st) {
    st.kind = StatementKind::CreateTable;
    next();
    if (!acceptKw("table")) return failSyntax("CREATE TABLE statement");
    if (!name(st.table)) return failSyntax("CREATE TABLE statement");
    if (!acceptOp("(")) return failSyntax("CREATE TABLE statement");
    do {
      ColumnDef col;
      if (!columnDef(col)) return false;
      st.columns.push_back(std::move(col));
    } while (acceptOp(","));
    if (!acceptOp(")")) return failSyntax("CREATE TABLE statement");
    int counters = 0;
    for (const ColumnDef& c : st.columns) counters += c.type.kind == Kind::Counter;
    if (counters > 1) return fail("Resultant table not allowed to have more than one AutoNumber field.");
    for (size_t a = 0; a < st.columns.size(); ++a)
      for (size_t b = a + 1; b < st.columns.size(); ++b)
        if (sameName(st.columns[a].name, st.columns[b].name))
          return fail("Field '" + st.columns[b].name + "' is defined more than once.");
    return end("CREATE TABLE statement");
  }

  bool columnDef(ColumnDef& col) {
    if (!name(col.name)) return failSyntax("field definition");
    std::vector<std::string> words;
    int size = 0;
    while (cur().kind == Tok::Word) {
      std::string w = lowerAscii(cur().text);
      if (w == "not" || w == "null" || w == "primary" || w == "unique" || w == "constraint") break;
      words.push_back(w);
      next();
      if (acceptOp("(")) {
        // text(n); counter(seed, step) takes its numbers and ignores them.
        if (cur().kind != Tok::Number) return failSyntax("field definition");
        size = std::atoi(cur().text.c_str());
        next();
        if (acceptOp(",")) {
          if (cur().kind != Tok::Number) return failSyntax("field definition");
          next();
        }
        if (!acceptOp(")")) return failSyntax("field definition");
      }
    }
    if (!typeFromWords(words, size, col.type)) return failSyntax("field definition");
    for (;;) {
      if (acceptKw("not")) {
        if (!acceptKw("null")) return failSyntax("field definition");
        col.notNull = true;
      } else if (acceptKw("null")) {
      } else if (acceptKw("primary")) {
        if (!acceptKw("key")) return failSyntax("field definition");
        col.primaryKey = true;
      } else if (acceptKw("unique")) {
        col.unique = true;
      } else {
        break;
      }
    }
    return true;
  }

  bool dropTable(Statement& st) {
    st.kind = StatementKind::DropTable;
    next();
    if (!acceptKw("table") || !name(st.table)) return failSyntax("DROP TABLE or DROP INDEX");
    return end("DROP TABLE or DROP INDEX");
  }

  bool deleteFrom(Statement& st) {
    st.kind = StatementKind::Delete;
    next();
    acceptOp("*");
    if (!acceptKw("from") || !name(st.table)) return failSyntax("FROM clause");
    if (acceptKw("where") && !condition(st.where)) return false;
    return end("DELETE statement");
  }

  bool select(Statement& st) {
    st.kind = StatementKind::Select;
    next();
    if (acceptKw("distinct") || acceptKw("distinctrow")) st.distinct = true;
    else acceptKw("all");
    if (acceptKw("top")) {
      if (cur().kind != Tok::Number) return failSyntax("SELECT statement");
      st.top = std::atoll(cur().text.c_str());
      next();
    }
    do {
      SelectItem item;
      if (!selectItem(item)) return false;
      st.items.push_back(std::move(item));
    } while (acceptOp(","));
    if (!acceptKw("from")) return fail("The SELECT statement includes a reserved word or an argument name that is misspelled or missing, or the punctuation is incorrect.");
    if (!name(st.table)) return failSyntax("FROM clause");
    if (acceptKw("as")) {
      if (!name(st.alias)) return failSyntax("FROM clause");
    } else if (cur().kind == Tok::Name || (cur().kind == Tok::Word && !isReserved())) {
      name(st.alias);
    }
    if (isOp(",") || isKw("inner") || isKw("left") || isKw("right") || isKw("join"))
      return fail("Queries over more than one table are not supported.");
    if (acceptKw("where") && !condition(st.where)) return false;
    if (acceptKw("order")) {
      if (!acceptKw("by")) return failSyntax("ORDER BY clause");
      do {
        std::string e;
        if (!expression(e)) return false;
        if (acceptKw("desc")) e += " DESC";
        else if (acceptKw("asc")) e += " ASC";
        st.orderBy += (st.orderBy.empty() ? "" : ", ") + e;
      } while (acceptOp(","));
    }
    return end("SELECT statement");
  }

  bool selectItem(SelectItem& item) {
    if (acceptOp("*")) {
      item.star = true;
      return true;
    }
    if ((cur().kind == Tok::Name || cur().kind == Tok::Word) && peek().kind == Tok::Op && peek().text == "." &&
        peek(2).kind == Tok::Op && peek(2).text == "*") {
      next();
      next();
      next();
      item.star = true;
      return true;
    }
    size_t start = m_pos;
    m_aggregate = false;
    if (!expression(item.sql)) return false;
    item.aggregate = m_aggregate;
    // A bare name, or table.name, is a column of the table.
    if (m_pos == start + 1 && (m_t[start].kind == Tok::Name || m_t[start].kind == Tok::Word)) {
      item.plain = true;
      item.column = m_t[start].text;
    } else if (m_pos == start + 3 && m_t[start + 1].kind == Tok::Op && m_t[start + 1].text == "." &&
               (m_t[start + 2].kind == Tok::Name || m_t[start + 2].kind == Tok::Word)) {
      item.plain = true;
      item.column = m_t[start + 2].text;
    }
    if (acceptKw("as") && !name(item.alias)) return failSyntax("SELECT statement");
    return true;
  }

  bool insert(Statement& st) {
    st.kind = StatementKind::Insert;
    next();
    if (!acceptKw("into") || !name(st.table)) return failSyntax("INSERT INTO statement");
    if (acceptOp("(")) {
      do {
        std::string c;
        if (!name(c)) return failSyntax("INSERT INTO statement");
        st.targetColumns.push_back(c);
      } while (acceptOp(","));
      if (!acceptOp(")")) return failSyntax("INSERT INTO statement");
    }
    if (!acceptKw("values") || !acceptOp("(")) return failSyntax("INSERT INTO statement");
    do {
      ValueExpr v;
      if (!valueExpr(v)) return false;
      st.values.push_back(std::move(v));
    } while (acceptOp(","));
    if (!acceptOp(")")) return failSyntax("INSERT INTO statement");
    if (!st.targetColumns.empty() && st.targetColumns.size() != st.values.size())
      return fail("Number of query values and destination fields are not the same.");
    return end("INSERT INTO statement");
  }

  bool update(Statement& st) {
    st.kind = StatementKind::Update;
    next();
    if (!name(st.table) || !acceptKw("set")) return failSyntax("UPDATE statement");
    do {
      std::string c;
      if (!name(c) || !acceptOp("=")) return failSyntax("UPDATE statement");
      ValueExpr v;
      if (!valueExpr(v)) return false;
      st.targetColumns.push_back(c);
      st.values.push_back(std::move(v));
    } while (acceptOp(","));
    if (acceptKw("where") && !condition(st.where)) return false;
    return end("UPDATE statement");
  }

  // A literal (with an optional sign) or an expression.
  bool valueExpr(ValueExpr& v) {
    size_t save = m_pos;
    bool negative = false;
    if (isOp("-") || isOp("+")) {
      negative = cur().text == "-";
      next();
    }
    const Token& t = cur();
    const Token& after = peek();
    bool single = after.kind == Tok::End || (after.kind == Tok::Op && (after.text == "," || after.text == ")" ||
                                                                        after.text == ";")) ||
                  (after.kind == Tok::Word && lowerAscii(after.text) == "where");
    if (single && t.kind == Tok::Number) {
      double d = std::strtod(t.text.c_str(), nullptr);
      v.literal = true;
      v.value = negative ? -d : d;
      next();
      return true;
    }
    if (single && !negative && t.kind == Tok::String) {
      v.literal = true;
      v.value = t.text;
      next();
      return true;
    }
    if (single && !negative && t.kind == Tok::Word && lowerAscii(t.text) == "null") {
      v.literal = true;
      v.value.Clear();
      v.value.vt = VT_NULL;
      next();
      return true;
    }
    m_pos = save;
    return expression(v.sql);
  }

  // -- expressions --

  bool condition(std::string& out) {
    size_t start = m_pos;
    if (!expression(out)) {
      // Name the expression, as Jet does.
      if (m_error.empty() || m_error.rfind("Syntax error (missing operator)", 0) == 0) {
        std::string text;
        for (size_t k = start; k < m_t.size() && m_t[k].kind != Tok::End; ++k) text += (text.empty() ? "" : " ") + m_t[k].text;
        m_error = "Syntax error (missing operator) in query expression '" + text + "'.";
      }
      return false;
    }
    return true;
  }

  bool expression(std::string& out) { return orExpr(out); }

  bool orExpr(std::string& out) {
    if (!andExpr(out)) return false;
    while (acceptKw("or")) {
      std::string r;
      if (!andExpr(r)) return false;
      out = "(" + out + " OR " + r + ")";
    }
    return true;
  }

  bool andExpr(std::string& out) {
    if (!notExpr(out)) return false;
    while (acceptKw("and")) {
      std::string r;
      if (!notExpr(r)) return false;
      out = "(" + out + " AND " + r + ")";
    }
    return true;
  }

  bool notExpr(std::string& out) {
    if (acceptKw("not")) {
      if (!notExpr(out)) return false;
      out = "(NOT " + out + ")";
      return true;
    }
    return predicate(out);
  }

  bool predicate(std::string& out) {
    if (!additive(out)) return false;
    static const char* const ops[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
    for (const char* op : ops) {
      if (isOp(op)) {
        next();
        std::string r;
        if (!additive(r)) return false;
        out = "(" + out + " " + (std::strcmp(op, "!=") == 0 ? "<>" : op) + " " + r + ")";
        return true;
      }
    }
    if (acceptKw("is")) {
      bool negated = acceptKw("not");
      if (!acceptKw("null")) return fail("Syntax error (missing operator) in query expression.");
      out = "(" + out + (negated ? " IS NOT NULL)" : " IS NULL)");
      return true;
    }
    bool negated = false;
    if (isKw("not") && peek().kind == Tok::Word) {
      std::string w = lowerAscii(peek().text);
      if (w == "like" || w == "between" || w == "in") {
        negated = true;
        next();
      }
    }
    if (acceptKw("like")) {
      std::string pattern;
      if (cur().kind == Tok::String) {
        // Jet's wildcards * and ? are SQL's % and _.
        std::string p = cur().text;
        for (char& c : p) {
          if (c == '*') c = '%';
          else if (c == '?') c = '_';
        }
        pattern = quoteText(p);
        next();
      } else if (!additive(pattern)) {
        return false;
      }
      out = "(" + out + (negated ? " NOT LIKE " : " LIKE ") + pattern + ")";
      return true;
    }
    if (acceptKw("between")) {
      std::string lo, hi;
      if (!additive(lo) || !acceptKw("and") || !additive(hi)) return fail("Between operator without And in query expression.");
      out = "(" + out + (negated ? " NOT BETWEEN " : " BETWEEN ") + lo + " AND " + hi + ")";
      return true;
    }
    if (acceptKw("in")) {
      if (!acceptOp("(")) return fail("Syntax error (missing operator) in query expression.");
      std::string list;
      do {
        std::string e;
        if (!additive(e)) return false;
        list += (list.empty() ? "" : ", ") + e;
      } while (acceptOp(","));
      if (!acceptOp(")")) return fail("Syntax error (missing operator) in query expression.");
      out = "(" + out + (negated ? " NOT IN (" : " IN (") + list + "))";
      return true;
    }
    if (negated) return fail("Syntax error (missing operator) in query expression.");
    return true;
  }

  bool additive(std::string& out) {
    if (!multiplicative(out)) return false;
    for (;;) {
      const char* op = isOp("+") ? "+" : isOp("-") ? "-" : isOp("&") ? "||" : nullptr;
      if (!op) return true;
      next();
      std::string r;
      if (!multiplicative(r)) return false;
      out = "(" + out + " " + op + " " + r + ")";
    }
  }

  bool multiplicative(std::string& out) {
    if (!unary(out)) return false;
    for (;;) {
      std::string op;
      if (isOp("*")) op = "*";
      else if (isOp("/")) op = "/";
      else if (isKw("mod")) op = "%";
      else if (isOp("\\")) op = "\\";
      else return true;
      next();
      std::string r;
      if (!unary(r)) return false;
      if (op == "\\") out = "CAST((" + out + ") / (" + r + ") AS INTEGER)";
      else if (op == "/") out = "(CAST(" + out + " AS REAL) / " + r + ")";
      else out = "(" + out + " " + op + " " + r + ")";
    }
  }

  bool unary(std::string& out) {
    if (acceptOp("-")) {
      if (!unary(out)) return false;
      out = "(-" + out + ")";
      return true;
    }
    if (acceptOp("+")) return unary(out);
    return primary(out);
  }

  bool primary(std::string& out) {
    const Token t = cur();
    switch (t.kind) {
      case Tok::Number:
        out = t.text;
        next();
        return true;
      case Tok::String:
        out = quoteText(t.text);
        next();
        return true;
      case Tok::Date: {
        VARIANT src;
        VariantInit(&src);
        src.vt = VT_BSTR;
        src.bstrVal = SysAllocString(t.text.c_str());
        VARIANT d;
        VariantInit(&d);
        HRESULT hr = VariantChangeType(&d, &src, 0, VT_DATE);
        VariantClear(&src);
        if (FAILED(hr)) return fail("Syntax error in date in query expression '#" + t.text + "#'.");
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", d.date);
        out = buf;
        next();
        return true;
      }
      case Tok::Op:
        if (t.text == "(") {
          next();
          std::string inner;
          if (!expression(inner)) return false;
          if (!acceptOp(")")) return fail("Syntax error (missing operator) in query expression.");
          out = "(" + inner + ")";
          return true;
        }
        return fail("Syntax error (missing operator) in query expression.");
      case Tok::Word: {
        std::string w = lowerAscii(t.text);
        if (w == "null") {
          out = "NULL";
          next();
          return true;
        }
        if (w == "true" || w == "yes" || w == "on") {
          out = "-1";
          next();
          return true;
        }
        if (w == "false" || w == "no" || w == "off") {
          out = "0";
          next();
          return true;
        }
        if (peek().kind == Tok::Op && peek().text == "(") return call(out);
        if (isReserved()) return fail("Syntax error (missing operator) in query expression.");
        return columnRef(out);
      }
      case Tok::Name:
        return columnRef(out);
      case Tok::End:
        return fail("Syntax error (missing operator) in query expression.");
    }
    return false;
  }

  bool columnRef(std::string& out) {
    std::string first = cur().text;
    next();
    if (isOp(".") && (peek().kind == Tok::Name || peek().kind == Tok::Word)) {
      next();
      std::string second = cur().text;
      next();
      out = quoteName(first) + "." + quoteName(second);
      return true;
    }
    out = quoteName(first);
    return true;
  }

  bool call(std::string& out) {
    std::string fn = lowerAscii(cur().text);
    std::string original = cur().text;
    next();  // name
    next();  // (
    std::vector<std::string> args;
    if (acceptOp("*")) {
      args.push_back("*");
    } else if (!isOp(")")) {
      do {
        std::string a;
        if (!expression(a)) return false;
        args.push_back(a);
      } while (acceptOp(","));
    }
    if (!acceptOp(")")) return fail("Syntax error (missing operator) in query expression.");
    auto join = [&] {
      std::string r;
      for (const std::string& a : args) r += (r.empty() ? "" : ", ") + a;
      return r;
    };
    auto need = [&](size_t k) { return args.size() == k; };
    if (fn == "count" || fn == "sum" || fn == "avg" || fn == "min" || fn == "max") {
      if (!need(1) || (args[0] == "*" && fn != "count")) return fail("Wrong number of arguments used with function in query expression.");
      m_aggregate = true;
      out = fn + "(" + args[0] + ")";
      return true;
    }
    if (args.size() == 1 && args[0] == "*") return fail("Syntax error (missing operator) in query expression.");
    struct Simple {
      const char* jet;
      const char* sqlite;
      size_t arity;
    };
    static const Simple simple[] = {{"abs", "abs", 1},     {"len", "length", 1}, {"ucase", "upper", 1},
                                    {"lcase", "lower", 1}, {"trim", "trim", 1},  {"ltrim", "ltrim", 1},
                                    {"rtrim", "rtrim", 1}};
    for (const Simple& s : simple) {
      if (fn == s.jet) {
        if (!need(s.arity)) return fail("Wrong number of arguments used with function in query expression.");
        out = std::string(s.sqlite) + "(" + join() + ")";
        return true;
      }
    }
    if (fn == "mid" && (need(2) || need(3))) {
      out = "substr(" + join() + ")";
      return true;
    }
    if ((fn == "val" || fn == "cdbl") && need(1)) {
      out = "CAST(" + args[0] + " AS REAL)";
      return true;
    }
    if ((fn == "clng" || fn == "cint") && need(1)) {
      out = "CAST(round(" + args[0] + ") AS INTEGER)";
      return true;
    }
    if (fn == "cstr" && need(1)) {
      out = "CAST(" + args[0] + " AS TEXT)";
      return true;
    }
    return fail("Undefined function '" + original + "' in expression.");
  }

  std::vector<Token> m_t;
  std::string_view m_text;
  size_t m_pos = 0;
  std::string m_error;
  bool m_aggregate = false;
};

}  // namespace

std::string quoteName(std::string_view name) {
  std::string r = "\"";
  for (char c : name) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

bool sameName(std::string_view a, std::string_view b) { return equalNoCase(a, b); }

bool parseStatement(std::string_view sql, Statement& out, std::string& error) {
  std::vector<Token> tokens;
  if (!tokenize(sql, tokens, error)) return false;
  Parser p(std::move(tokens), sql);
  Statement st;
  if (!p.statement(st)) {
    error = p.error();
    return false;
  }
  out = std::move(st);
  return true;
}

std::string sqliteColumnDefinition(const ColumnDef& c, bool rowidAlias) {
  std::string def = quoteName(c.name) + " " + declaredTypeOf(c.type);
  if (rowidAlias) def += " PRIMARY KEY";
  if (isTextKind(c.type.kind)) def += " COLLATE NOCASE";
  if (c.notNull) def += " NOT NULL";
  if ((c.unique || c.primaryKey) && !rowidAlias) def += " UNIQUE";
  if (c.primaryKey && !rowidAlias) def += " NOT NULL";
  return def;
}

ColumnType typeFromDeclared(std::string_view declared, bool rowidAlias) {
  std::string d = lowerAscii(declared);
  if (rowidAlias) return {Kind::Counter, 0, false};
  ColumnType t;
  int size = 0;
  size_t paren = d.find('(');
  if (paren != std::string::npos) {
    size = std::atoi(d.c_str() + paren + 1);
    d = d.substr(0, paren);
  }
  while (!d.empty() && d.back() == ' ') d.pop_back();
  // Our own canonical names first.
  if (d == "integer") return {Kind::Long, 0, false};
  if (d == "smallint") return {Kind::Short, 0, false};
  if (d == "tinyint") return {Kind::Byte, 0, false};
  if (d == "real") return {Kind::Single, 0, false};
  if (d == "double") return {Kind::Double, 0, false};
  if (d == "currency") return {Kind::Currency, 0, false};
  if (d == "decimal") return {Kind::Decimal, 0, false};
  if (d == "datetime") return {Kind::DateTime, 0, false};
  if (d == "bit") return {Kind::YesNo, 0, false};
  if (d == "varchar") return {Kind::Text, size > 0 ? size : 255, false};
  if (d == "char") return {Kind::Text, size > 0 ? size : 255, true};
  if (d == "longtext") return {Kind::Memo, 0, false};
  // A declared type from elsewhere: SQLite's affinity rules.
  if (d.find("int") != std::string::npos) return {Kind::Long, 0, false};
  if (d.find("char") != std::string::npos || d.find("clob") != std::string::npos ||
      d.find("text") != std::string::npos)
    return {Kind::Memo, 0, false};
  if (d.find("real") != std::string::npos || d.find("floa") != std::string::npos ||
      d.find("doub") != std::string::npos)
    return {Kind::Double, 0, false};
  return t;
}

VARTYPE variantTypeOf(Kind kind) {
  switch (kind) {
    case Kind::Counter:
    case Kind::Long: return VT_I4;
    case Kind::Short: return VT_I2;
    case Kind::Byte: return VT_UI1;
    case Kind::Single: return VT_R4;
    case Kind::Double: return VT_R8;
    case Kind::Currency: return VT_CY;
    case Kind::Decimal: return VT_DECIMAL;
    case Kind::DateTime: return VT_DATE;
    case Kind::YesNo: return VT_BOOL;
    case Kind::Text:
    case Kind::Memo: return VT_BSTR;
    case Kind::Variant: return VT_VARIANT;
  }
  return VT_VARIANT;
}

DataTypeEnum adoTypeOf(const ColumnType& type) {
  switch (type.kind) {
    case Kind::Counter:
    case Kind::Long: return adInteger;
    case Kind::Short: return adSmallInt;
    case Kind::Byte: return adUnsignedTinyInt;
    case Kind::Single: return adSingle;
    case Kind::Double: return adDouble;
    case Kind::Currency: return adCurrency;
    case Kind::Decimal: return adNumeric;
    case Kind::DateTime: return adDate;
    case Kind::YesNo: return adBoolean;
    case Kind::Text: return type.fixed ? adWChar : adVarWChar;
    case Kind::Memo: return adLongVarWChar;
    case Kind::Variant: return adVariant;
  }
  return adVariant;
}

LONG definedSizeOf(const ColumnType& type) {
  switch (type.kind) {
    case Kind::Counter:
    case Kind::Long:
    case Kind::Single: return 4;
    case Kind::Short:
    case Kind::YesNo: return 2;
    case Kind::Byte: return 1;
    case Kind::Double:
    case Kind::Currency:
    case Kind::DateTime: return 8;
    case Kind::Decimal: return 16;
    case Kind::Text: return type.size;
    case Kind::Memo: return 536870910;
    case Kind::Variant: return 0;
  }
  return 0;
}

const char* jetTypeName(Kind kind) {
  switch (kind) {
    case Kind::Counter: return "COUNTER";
    case Kind::Long: return "LONG";
    case Kind::Short: return "SHORT";
    case Kind::Byte: return "BYTE";
    case Kind::Single: return "SINGLE";
    case Kind::Double: return "DOUBLE";
    case Kind::Currency: return "CURRENCY";
    case Kind::Decimal: return "DECIMAL";
    case Kind::DateTime: return "DATETIME";
    case Kind::YesNo: return "YESNO";
    case Kind::Text: return "TEXT";
    case Kind::Memo: return "MEMO";
    case Kind::Variant: return "VALUE";
  }
  return "VALUE";
}

HRESULT convertForColumn(const VARIANT& value, const ColumnType& type, _variant_t& out) {
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) {
    out.Clear();
    out.vt = VT_NULL;
    return S_OK;
  }
  if (type.kind == Kind::Variant) {
    out = value;
    return S_OK;
  }
  VARTYPE target = variantTypeOf(type.kind);
  // Texts get "True"/"False" for a boolean, as Jet stores them.
  USHORT flags = target == VT_BSTR ? VARIANT_ALPHABOOL : 0;
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr = VariantChangeType(&converted, &value, flags, target);
  if (FAILED(hr)) return hr;
  out.Attach(converted);
  return S_OK;
}

}  // namespace platform::jet
