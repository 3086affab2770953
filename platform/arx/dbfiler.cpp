#include "arx/dbfiler.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "arx/dbdatabase.h"
#include "arx/dbstub.h"

namespace platform {

std::string formatDouble(double v) {
  if (!std::isfinite(v)) return "0";
  if (v == 0) return "0";  // also -0
  char buf[40];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

namespace {
std::string_view trimmed(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r')) t.remove_suffix(1);
  return t;
}
}  // namespace

bool parseDouble(std::string_view text, double& v) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool parseInt64(std::string_view text, long long& v) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

TagFiler::TagFiler(AcDb::FilerType type, AcDbDatabase* db) : m_type(type), m_db(db) {}

TagFiler::TagFiler(DxfTags tags, AcDb::FilerType type, AcDbDatabase* db)
    : m_tags(std::move(tags)), m_type(type), m_db(db) {}

Acad::ErrorStatus TagFiler::fail(Acad::ErrorStatus es) {
  if (m_status == Acad::eOk) m_status = es;
  return es;
}

Acad::ErrorStatus TagFiler::put(int code, std::string value) {
  m_tags.push_back(DxfTag{code, std::move(value)});
  return m_status;
}

const DxfTag* TagFiler::take(int code) {
  if (m_status != Acad::eOk) return nullptr;
  if (m_pos >= m_tags.size()) {
    fail(Acad::eEndOfFile);
    return nullptr;
  }
  if (m_tags[m_pos].code != code) {
    fail(Acad::eFilerError);
    return nullptr;
  }
  return &m_tags[m_pos++];
}

Acad::ErrorStatus TagFiler::readInteger(int code, long long lo, long long hi, long long& out) {
  out = 0;
  const DxfTag* t = take(code);
  if (!t) return m_status;
  long long v;
  if (!parseInt64(t->value, v) || v < lo || v > hi) return fail(Acad::eFilerError);
  out = v;
  return Acad::eOk;
}

Acad::ErrorStatus TagFiler::readReal(int code, double& out) {
  out = 0;
  const DxfTag* t = take(code);
  if (!t) return m_status;
  double v;
  if (!parseDouble(t->value, v)) return fail(Acad::eFilerError);
  out = v;
  return Acad::eOk;
}

#define PLATFORM_INT_IO(NAME, TYPE, CODE, LO, HI)                          \
  Acad::ErrorStatus TagFiler::read##NAME(TYPE* value) {                    \
    long long v;                                                           \
    Acad::ErrorStatus es = readInteger(CODE, LO, HI, v);                   \
    if (value) *value = static_cast<TYPE>(v);                              \
    return es;                                                             \
  }                                                                        \
  Acad::ErrorStatus TagFiler::write##NAME(TYPE value) {                    \
    return put(CODE, std::to_string(value));                               \
  }

PLATFORM_INT_IO(Int8, Adesk::Int8, 280, -128, 127)
PLATFORM_INT_IO(UInt8, Adesk::UInt8, 280, 0, 255)
PLATFORM_INT_IO(Int16, Adesk::Int16, 70, -32768, 32767)
PLATFORM_INT_IO(UInt16, Adesk::UInt16, 70, 0, 65535)
PLATFORM_INT_IO(Int32, Adesk::Int32, 90, INT32_MIN, INT32_MAX)
PLATFORM_INT_IO(UInt32, Adesk::UInt32, 90, 0, UINT32_MAX)
PLATFORM_INT_IO(Int64, Adesk::Int64, 160, INT64_MIN, INT64_MAX)
#undef PLATFORM_INT_IO

Acad::ErrorStatus TagFiler::readUInt64(Adesk::UInt64* value) {
  if (value) *value = 0;
  const DxfTag* t = take(160);
  if (!t) return m_status;
  std::string_view s = trimmed(t->value);
  Adesk::UInt64 v = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) return fail(Acad::eFilerError);
  if (value) *value = v;
  return Acad::eOk;
}

Acad::ErrorStatus TagFiler::writeUInt64(Adesk::UInt64 value) { return put(160, std::to_string(value)); }

Acad::ErrorStatus TagFiler::readBool(Adesk::Boolean* value) {
  long long v;
  Acad::ErrorStatus es = readInteger(290, 0, 1, v);
  if (value) *value = v != 0;
  return es;
}

Acad::ErrorStatus TagFiler::writeBool(Adesk::Boolean value) { return put(290, value ? "1" : "0"); }

Acad::ErrorStatus TagFiler::readDouble(double* value) {
  double v;
  Acad::ErrorStatus es = readReal(40, v);
  if (value) *value = v;
  return es;
}

Acad::ErrorStatus TagFiler::writeDouble(double value) { return put(40, formatDouble(value)); }

Acad::ErrorStatus TagFiler::readPoint2d(AcGePoint2d* value) {
  double x, y;
  readReal(10, x);
  readReal(20, y);
  // A z written with the point is passed over.
  if (m_status == Acad::eOk && m_pos < m_tags.size() && m_tags[m_pos].code == 30) ++m_pos;
  if (value) *value = m_status == Acad::eOk ? AcGePoint2d(x, y) : AcGePoint2d();
  return m_status;
}

Acad::ErrorStatus TagFiler::writePoint2d(const AcGePoint2d& value) {
  put(10, formatDouble(value.x));
  return put(20, formatDouble(value.y));
}

Acad::ErrorStatus TagFiler::readPoint3d(AcGePoint3d* value) {
  double x, y, z = 0;
  readReal(10, x);
  readReal(20, y);
  if (m_status == Acad::eOk && m_pos < m_tags.size() && m_tags[m_pos].code == 30) readReal(30, z);
  if (value) *value = m_status == Acad::eOk ? AcGePoint3d(x, y, z) : AcGePoint3d();
  return m_status;
}

Acad::ErrorStatus TagFiler::writePoint3d(const AcGePoint3d& value) {
  put(10, formatDouble(value.x));
  put(20, formatDouble(value.y));
  return put(30, formatDouble(value.z));
}

Acad::ErrorStatus TagFiler::readVector2d(AcGeVector2d* value) {
  double x, y;
  readReal(11, x);
  readReal(21, y);
  if (m_status == Acad::eOk && m_pos < m_tags.size() && m_tags[m_pos].code == 31) ++m_pos;
  if (value) *value = m_status == Acad::eOk ? AcGeVector2d(x, y) : AcGeVector2d();
  return m_status;
}

Acad::ErrorStatus TagFiler::writeVector2d(const AcGeVector2d& value) {
  put(11, formatDouble(value.x));
  return put(21, formatDouble(value.y));
}

Acad::ErrorStatus TagFiler::readVector3d(AcGeVector3d* value) {
  double x, y, z = 0;
  readReal(11, x);
  readReal(21, y);
  if (m_status == Acad::eOk && m_pos < m_tags.size() && m_tags[m_pos].code == 31) readReal(31, z);
  if (value) *value = m_status == Acad::eOk ? AcGeVector3d(x, y, z) : AcGeVector3d();
  return m_status;
}

Acad::ErrorStatus TagFiler::writeVector3d(const AcGeVector3d& value) {
  put(11, formatDouble(value.x));
  put(21, formatDouble(value.y));
  return put(31, formatDouble(value.z));
}

Acad::ErrorStatus TagFiler::readScale3d(AcGeScale3d* value) {
  double x, y, z;
  readReal(41, x);
  readReal(42, y);
  readReal(43, z);
  if (value) *value = m_status == Acad::eOk ? AcGeScale3d(x, y, z) : AcGeScale3d();
  return m_status;
}

Acad::ErrorStatus TagFiler::writeScale3d(const AcGeScale3d& value) {
  put(41, formatDouble(value.sx));
  put(42, formatDouble(value.sy));
  return put(43, formatDouble(value.sz));
}

Acad::ErrorStatus TagFiler::readString(std::string& value) {
  value.clear();
  const DxfTag* t = take(1);
  if (!t) return m_status;
  value = t->value;
  return Acad::eOk;
}

Acad::ErrorStatus TagFiler::readString(char** value) {
  std::string s;
  Acad::ErrorStatus es = readString(s);
  if (value) {
    *value = new char[s.size() + 1];
    std::memcpy(*value, s.c_str(), s.size() + 1);
  }
  return es;
}

Acad::ErrorStatus TagFiler::writeString(const char* value) { return put(1, value ? value : ""); }

Acad::ErrorStatus TagFiler::readBytes(void* buffer, Adesk::UInt32 size) {
  auto* out = static_cast<unsigned char*>(buffer);
  Adesk::UInt32 done = 0;
  auto hexValue = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  while (done < size) {
    const DxfTag* t = take(310);
    if (!t) break;
    const std::string& h = t->value;
    if (h.size() % 2 != 0 || h.size() / 2 > size - done) return fail(Acad::eFilerError);
    for (size_t i = 0; i < h.size(); i += 2) {
      int hi = hexValue(h[i]), lo = hexValue(h[i + 1]);
      if (hi < 0 || lo < 0) return fail(Acad::eFilerError);
      if (out) out[done] = static_cast<unsigned char>(hi * 16 + lo);
      ++done;
    }
    if (h.empty()) return fail(Acad::eFilerError);
  }
  if (out && done < size) std::memset(out + done, 0, size - done);
  return m_status;
}

Acad::ErrorStatus TagFiler::writeBytes(const void* buffer, Adesk::UInt32 size) {
  static const char* digits = "0123456789ABCDEF";
  const auto* in = static_cast<const unsigned char*>(buffer);
  for (Adesk::UInt32 start = 0; start < size; start += 127) {
    Adesk::UInt32 n = std::min<Adesk::UInt32>(127, size - start);
    std::string h;
    h.reserve(n * 2);
    for (Adesk::UInt32 i = 0; i < n; ++i) {
      unsigned char b = in ? in[start + i] : 0;
      h += digits[b >> 4];
      h += digits[b & 15];
    }
    put(310, std::move(h));
  }
  return m_status;
}

Acad::ErrorStatus TagFiler::readAcDbHandle(AcDbHandle* value) {
  if (value) value->setNull();
  const DxfTag* t = take(320);
  if (!t) return m_status;
  AcDbHandle h(t->value.c_str());
  if (value) *value = h;
  return Acad::eOk;
}

Acad::ErrorStatus TagFiler::writeAcDbHandle(const AcDbHandle& value) {
  char buf[20];
  value.getIntoAsciiBuffer(buf, sizeof buf);
  return put(320, buf);
}

Acad::ErrorStatus TagFiler::readId(int code, AcDbObjectId& id) {
  id.setNull();
  const DxfTag* t = take(code);
  if (!t) return m_status;
  AcDbHandle h(t->value.c_str());
  if (h.isNull() || !m_db) return Acad::eOk;
  // A handle this database does not know leaves the id null.
  if (AcDbStub* s = m_db->stubForHandle(h.value())) id = AcDbObjectId(s);
  return Acad::eOk;
}

Acad::ErrorStatus TagFiler::writeId(int code, const AcDbObjectId& id) {
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf, sizeof buf);
  return put(code, buf);
}

Acad::ErrorStatus TagFiler::readHardOwnershipId(AcDbHardOwnershipId* id) {
  AcDbObjectId v;
  Acad::ErrorStatus es = readId(360, v);
  if (id) *id = v;
  return es;
}
Acad::ErrorStatus TagFiler::writeHardOwnershipId(const AcDbHardOwnershipId& id) { return writeId(360, id); }
Acad::ErrorStatus TagFiler::readSoftOwnershipId(AcDbSoftOwnershipId* id) {
  AcDbObjectId v;
  Acad::ErrorStatus es = readId(350, v);
  if (id) *id = v;
  return es;
}
Acad::ErrorStatus TagFiler::writeSoftOwnershipId(const AcDbSoftOwnershipId& id) { return writeId(350, id); }
Acad::ErrorStatus TagFiler::readHardPointerId(AcDbHardPointerId* id) {
  AcDbObjectId v;
  Acad::ErrorStatus es = readId(340, v);
  if (id) *id = v;
  return es;
}
Acad::ErrorStatus TagFiler::writeHardPointerId(const AcDbHardPointerId& id) { return writeId(340, id); }
Acad::ErrorStatus TagFiler::readSoftPointerId(AcDbSoftPointerId* id) {
  AcDbObjectId v;
  Acad::ErrorStatus es = readId(330, v);
  if (id) *id = v;
  return es;
}
Acad::ErrorStatus TagFiler::writeSoftPointerId(const AcDbSoftPointerId& id) { return writeId(330, id); }

}  // namespace platform

AcDbDwgFiler::~AcDbDwgFiler() = default;
