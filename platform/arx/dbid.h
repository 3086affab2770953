#pragma once
// Handles and object ids.
//
// Every object of a database has a handle (a 64-bit number, written in hex in
// drawing files, unique and never reused within the database) and an object id
// (the in-memory reference that the open functions take). An id stays valid as
// long as its database lives, also after the object is erased.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "arx/dbtypes.h"
#include "arx/gearray.h"

class AcDbDatabase;
class AcDbObject;
class AcRxClass;
struct AcDbStub;

class PLATFORM_API AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(uint64_t value) : m_value(value) {}
  // From a hex text ("2A"); a text that is not hex gives the null handle.
  explicit AcDbHandle(const char* hex);

  bool isNull() const { return m_value == 0; }
  void setNull() { m_value = 0; }
  uint64_t value() const { return m_value; }
  Adesk::UInt32 low() const { return static_cast<Adesk::UInt32>(m_value); }
  Adesk::UInt32 high() const { return static_cast<Adesk::UInt32>(m_value >> 32); }
  // Writes the handle in upper-case hex, without leading zeros ("0" for null).
  // `size` is the buffer's size (17 holds every handle).
  bool getIntoAsciiBuffer(char* buffer, size_t size = 17) const;
  AcDbHandle& operator++() { ++m_value; return *this; }
  AcDbHandle operator++(int) { AcDbHandle h(*this); ++m_value; return h; }
  AcDbHandle& increment() { ++m_value; return *this; }
  bool operator==(const AcDbHandle& o) const { return m_value == o.m_value; }
  bool operator!=(const AcDbHandle& o) const { return m_value != o.m_value; }
  bool operator<(const AcDbHandle& o) const { return m_value < o.m_value; }

 private:
  uint64_t m_value = 0;
};

class PLATFORM_API AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(AcDbStub* stub) : m_stub(stub) {}
  static const AcDbObjectId kNull;

  bool isNull() const { return m_stub == nullptr; }
  void setNull() { m_stub = nullptr; }
  // Not null and the object still exists (erased or not).
  bool isValid() const;
  bool isErased() const;
  AcDbDatabase* database() const;
  AcDbHandle handle() const;
  // The class of the object (nullptr for a null id).
  AcRxClass* objectClass() const;

  // The id as a number (for interfaces that carry ids as integers) and back.
  // setFromOldId takes only a number that asOldId gave for a live database.
  Adesk::IntDbId asOldId() const { return reinterpret_cast<Adesk::IntDbId>(m_stub); }
  AcDbObjectId& setFromOldId(Adesk::IntDbId oldId) {
    m_stub = reinterpret_cast<AcDbStub*>(oldId);
    return *this;
  }

  AcDbStub* stub() const { return m_stub; }
  bool operator==(const AcDbObjectId& o) const { return m_stub == o.m_stub; }
  bool operator!=(const AcDbObjectId& o) const { return m_stub != o.m_stub; }
  bool operator<(const AcDbObjectId& o) const { return std::less<const AcDbStub*>()(m_stub, o.m_stub); }
  bool operator>(const AcDbObjectId& o) const { return o < *this; }

 private:
  AcDbStub* m_stub = nullptr;
};

template <>
struct std::hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept { return std::hash<const void*>()(id.stub()); }
};

// Ids as the filer reads and writes them: the kind says whether the object
// owns the referenced one and whether the reference keeps it alive.
class PLATFORM_API AcDbHardOwnershipId : public AcDbObjectId {
 public:
  AcDbHardOwnershipId() = default;
  AcDbHardOwnershipId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};
class PLATFORM_API AcDbSoftOwnershipId : public AcDbObjectId {
 public:
  AcDbSoftOwnershipId() = default;
  AcDbSoftOwnershipId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};
class PLATFORM_API AcDbHardPointerId : public AcDbObjectId {
 public:
  AcDbHardPointerId() = default;
  AcDbHardPointerId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};
class PLATFORM_API AcDbSoftPointerId : public AcDbObjectId {
 public:
  AcDbSoftPointerId() = default;
  AcDbSoftPointerId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};

typedef AcArray<AcDbObjectId> AcDbObjectIdArray;
typedef AcArray<int> AcDbIntArray;
typedef AcArray<void*> AcDbVoidPtrArray;
typedef AcArray<double> AcDbDoubleArray;
