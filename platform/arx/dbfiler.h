#pragma once
// Filers: how an object files its own data (dwgOutFields) and reads it back
// (dwgInFields).
//
// The platform's filer keeps what an object files as a list of tagged values,
// the same pairs of group code and value text that a drawing file holds. Each
// filed value becomes tags by one rule, in filing order:
//
//   Bool                  290          Int64, UInt64       160
//   Int8, UInt8           280          Double              40
//   Int16, UInt16         70           Point2d             10, 20
//   Int32, UInt32         90           Point3d             10, 20, 30
//   String                1            Vector2d            11, 21
//   Bytes                 310 (hex, up to 127 bytes a tag) Vector3d  11, 21, 31
//   Scale3d               41, 42, 43   AcDbHandle          320
//   soft pointer id 330, hard pointer id 340, soft ownership id 350,
//   hard ownership id 360 (the referenced object's handle in hex; 0 for null)
//
// Doubles are written with the fewest digits that read back to the same value,
// so a value survives any number of saves and opens. Reading checks each tag's
// code against the value asked for; a mismatch or the end of the data sets the
// filer's status (eFilerError, eEndOfFile), which stays set, and the value read
// is zero.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "arx/dbid.h"
#include "arx/gegeometry.h"
#include "arx/rxobject.h"

namespace platform {
struct DxfTag {
  int code = 0;
  std::string value;
  bool operator==(const DxfTag& o) const { return code == o.code && value == o.value; }
};
using DxfTags = std::vector<DxfTag>;

// Text forms of filed numbers.
PLATFORM_API std::string formatDouble(double v);
PLATFORM_API bool parseDouble(std::string_view text, double& v);
PLATFORM_API bool parseInt64(std::string_view text, long long& v);
}  // namespace platform

class PLATFORM_API AcDbDwgFiler : public AcRxObject {
 public:
  ~AcDbDwgFiler() override;
  virtual Acad::ErrorStatus filerStatus() const = 0;
  virtual AcDb::FilerType filerType() const = 0;
  virtual void setFilerStatus(Acad::ErrorStatus es) = 0;
  virtual void resetFilerStatus() = 0;
  // The database whose ids the filed handles refer to (may be nullptr).
  virtual AcDbDatabase* database() const = 0;

  virtual Acad::ErrorStatus readBool(Adesk::Boolean* value) = 0;
  virtual Acad::ErrorStatus writeBool(Adesk::Boolean value) = 0;
  virtual Acad::ErrorStatus readInt8(Adesk::Int8* value) = 0;
  virtual Acad::ErrorStatus writeInt8(Adesk::Int8 value) = 0;
  virtual Acad::ErrorStatus readUInt8(Adesk::UInt8* value) = 0;
  virtual Acad::ErrorStatus writeUInt8(Adesk::UInt8 value) = 0;
  virtual Acad::ErrorStatus readInt16(Adesk::Int16* value) = 0;
  virtual Acad::ErrorStatus writeInt16(Adesk::Int16 value) = 0;
  virtual Acad::ErrorStatus readUInt16(Adesk::UInt16* value) = 0;
  virtual Acad::ErrorStatus writeUInt16(Adesk::UInt16 value) = 0;
  virtual Acad::ErrorStatus readInt32(Adesk::Int32* value) = 0;
  virtual Acad::ErrorStatus writeInt32(Adesk::Int32 value) = 0;
  virtual Acad::ErrorStatus readUInt32(Adesk::UInt32* value) = 0;
  virtual Acad::ErrorStatus writeUInt32(Adesk::UInt32 value) = 0;
  virtual Acad::ErrorStatus readInt64(Adesk::Int64* value) = 0;
  virtual Acad::ErrorStatus writeInt64(Adesk::Int64 value) = 0;
  virtual Acad::ErrorStatus readUInt64(Adesk::UInt64* value) = 0;
  virtual Acad::ErrorStatus writeUInt64(Adesk::UInt64 value) = 0;
  virtual Acad::ErrorStatus readDouble(double* value) = 0;
  virtual Acad::ErrorStatus writeDouble(double value) = 0;
  virtual Acad::ErrorStatus readPoint2d(AcGePoint2d* value) = 0;
  virtual Acad::ErrorStatus writePoint2d(const AcGePoint2d& value) = 0;
  virtual Acad::ErrorStatus readPoint3d(AcGePoint3d* value) = 0;
  virtual Acad::ErrorStatus writePoint3d(const AcGePoint3d& value) = 0;
  virtual Acad::ErrorStatus readVector2d(AcGeVector2d* value) = 0;
  virtual Acad::ErrorStatus writeVector2d(const AcGeVector2d& value) = 0;
  virtual Acad::ErrorStatus readVector3d(AcGeVector3d* value) = 0;
  virtual Acad::ErrorStatus writeVector3d(const AcGeVector3d& value) = 0;
  virtual Acad::ErrorStatus readScale3d(AcGeScale3d* value) = 0;
  virtual Acad::ErrorStatus writeScale3d(const AcGeScale3d& value) = 0;
  // Reads a string into a new char array that the caller frees with delete[].
  virtual Acad::ErrorStatus readString(char** value) = 0;
  virtual Acad::ErrorStatus readString(std::string& value) = 0;
  virtual Acad::ErrorStatus writeString(const char* value) = 0;
  virtual Acad::ErrorStatus readBytes(void* buffer, Adesk::UInt32 size) = 0;
  virtual Acad::ErrorStatus writeBytes(const void* buffer, Adesk::UInt32 size) = 0;
  virtual Acad::ErrorStatus readAcDbHandle(AcDbHandle* value) = 0;
  virtual Acad::ErrorStatus writeAcDbHandle(const AcDbHandle& value) = 0;
  virtual Acad::ErrorStatus readHardOwnershipId(AcDbHardOwnershipId* id) = 0;
  virtual Acad::ErrorStatus writeHardOwnershipId(const AcDbHardOwnershipId& id) = 0;
  virtual Acad::ErrorStatus readSoftOwnershipId(AcDbSoftOwnershipId* id) = 0;
  virtual Acad::ErrorStatus writeSoftOwnershipId(const AcDbSoftOwnershipId& id) = 0;
  virtual Acad::ErrorStatus readHardPointerId(AcDbHardPointerId* id) = 0;
  virtual Acad::ErrorStatus writeHardPointerId(const AcDbHardPointerId& id) = 0;
  virtual Acad::ErrorStatus readSoftPointerId(AcDbSoftPointerId* id) = 0;
  virtual Acad::ErrorStatus writeSoftPointerId(const AcDbSoftPointerId& id) = 0;
};

namespace platform {

// The platform's filer: writes append tags, reads consume them from the start.
class PLATFORM_API TagFiler : public AcDbDwgFiler {
 public:
  explicit TagFiler(AcDb::FilerType type = AcDb::kFileFiler, AcDbDatabase* db = nullptr);
  // A filer that reads `tags`.
  TagFiler(DxfTags tags, AcDb::FilerType type, AcDbDatabase* db);

  const DxfTags& tags() const { return m_tags; }
  // Appends tags as they are (a proxy's kept data).
  void appendTags(const DxfTags& tags) { m_tags.insert(m_tags.end(), tags.begin(), tags.end()); }
  // The tags not read yet, taken out.
  DxfTags takeRemaining() {
    DxfTags rest(m_tags.begin() + static_cast<long>(std::min(m_pos, m_tags.size())), m_tags.end());
    m_pos = m_tags.size();
    return rest;
  }
  DxfTags takeTags() { return std::move(m_tags); }
  // True when every tag has been read.
  bool atEnd() const { return m_pos >= m_tags.size(); }
  size_t position() const { return m_pos; }

  Acad::ErrorStatus filerStatus() const override { return m_status; }
  AcDb::FilerType filerType() const override { return m_type; }
  void setFilerStatus(Acad::ErrorStatus es) override { m_status = es; }
  void resetFilerStatus() override { m_status = Acad::eOk; }
  AcDbDatabase* database() const override { return m_db; }

  Acad::ErrorStatus readBool(Adesk::Boolean* value) override;
  Acad::ErrorStatus writeBool(Adesk::Boolean value) override;
  Acad::ErrorStatus readInt8(Adesk::Int8* value) override;
  Acad::ErrorStatus writeInt8(Adesk::Int8 value) override;
  Acad::ErrorStatus readUInt8(Adesk::UInt8* value) override;
  Acad::ErrorStatus writeUInt8(Adesk::UInt8 value) override;
  Acad::ErrorStatus readInt16(Adesk::Int16* value) override;
  Acad::ErrorStatus writeInt16(Adesk::Int16 value) override;
  Acad::ErrorStatus readUInt16(Adesk::UInt16* value) override;
  Acad::ErrorStatus writeUInt16(Adesk::UInt16 value) override;
  Acad::ErrorStatus readInt32(Adesk::Int32* value) override;
  Acad::ErrorStatus writeInt32(Adesk::Int32 value) override;
  Acad::ErrorStatus readUInt32(Adesk::UInt32* value) override;
  Acad::ErrorStatus writeUInt32(Adesk::UInt32 value) override;
  Acad::ErrorStatus readInt64(Adesk::Int64* value) override;
  Acad::ErrorStatus writeInt64(Adesk::Int64 value) override;
  Acad::ErrorStatus readUInt64(Adesk::UInt64* value) override;
  Acad::ErrorStatus writeUInt64(Adesk::UInt64 value) override;
  Acad::ErrorStatus readDouble(double* value) override;
  Acad::ErrorStatus writeDouble(double value) override;
  Acad::ErrorStatus readPoint2d(AcGePoint2d* value) override;
  Acad::ErrorStatus writePoint2d(const AcGePoint2d& value) override;
  Acad::ErrorStatus readPoint3d(AcGePoint3d* value) override;
  Acad::ErrorStatus writePoint3d(const AcGePoint3d& value) override;
  Acad::ErrorStatus readVector2d(AcGeVector2d* value) override;
  Acad::ErrorStatus writeVector2d(const AcGeVector2d& value) override;
  Acad::ErrorStatus readVector3d(AcGeVector3d* value) override;
  Acad::ErrorStatus writeVector3d(const AcGeVector3d& value) override;
  Acad::ErrorStatus readScale3d(AcGeScale3d* value) override;
  Acad::ErrorStatus writeScale3d(const AcGeScale3d& value) override;
  Acad::ErrorStatus readString(char** value) override;
  Acad::ErrorStatus readString(std::string& value) override;
  Acad::ErrorStatus writeString(const char* value) override;
  Acad::ErrorStatus readBytes(void* buffer, Adesk::UInt32 size) override;
  Acad::ErrorStatus writeBytes(const void* buffer, Adesk::UInt32 size) override;
  Acad::ErrorStatus readAcDbHandle(AcDbHandle* value) override;
  Acad::ErrorStatus writeAcDbHandle(const AcDbHandle& value) override;
  Acad::ErrorStatus readHardOwnershipId(AcDbHardOwnershipId* id) override;
  Acad::ErrorStatus writeHardOwnershipId(const AcDbHardOwnershipId& id) override;
  Acad::ErrorStatus readSoftOwnershipId(AcDbSoftOwnershipId* id) override;
  Acad::ErrorStatus writeSoftOwnershipId(const AcDbSoftOwnershipId& id) override;
  Acad::ErrorStatus readHardPointerId(AcDbHardPointerId* id) override;
  Acad::ErrorStatus writeHardPointerId(const AcDbHardPointerId& id) override;
  Acad::ErrorStatus readSoftPointerId(AcDbSoftPointerId* id) override;
  Acad::ErrorStatus writeSoftPointerId(const AcDbSoftPointerId& id) override;

 private:
  Acad::ErrorStatus put(int code, std::string value);
  // The next tag when its code is `code`; nullptr (status set) otherwise.
  const DxfTag* take(int code);
  Acad::ErrorStatus readInteger(int code, long long lo, long long hi, long long& out);
  Acad::ErrorStatus readReal(int code, double& out);
  Acad::ErrorStatus readId(int code, AcDbObjectId& id);
  Acad::ErrorStatus writeId(int code, const AcDbObjectId& id);
  Acad::ErrorStatus fail(Acad::ErrorStatus es);

  DxfTags m_tags;
  size_t m_pos = 0;
  Acad::ErrorStatus m_status = Acad::eOk;
  AcDb::FilerType m_type;
  AcDbDatabase* m_db;
};

}  // namespace platform
