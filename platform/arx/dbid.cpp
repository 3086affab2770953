#include "arx/dbid.h"

#include <cstdio>
#include <cstring>

#include "arx/dbmain.h"
#include "arx/dbstub.h"

const AcDbObjectId AcDbObjectId::kNull;

AcDbHandle::AcDbHandle(const char* hex) {
  if (!hex) return;
  uint64_t v = 0;
  int digits = 0;
  for (const char* c = hex; *c; ++c) {
    int d;
    if (*c >= '0' && *c <= '9') d = *c - '0';
    else if (*c >= 'a' && *c <= 'f') d = *c - 'a' + 10;
    else if (*c >= 'A' && *c <= 'F') d = *c - 'A' + 10;
    else return;  // not hex: null handle
    if (++digits > 16) return;
    v = (v << 4) | static_cast<uint64_t>(d);
  }
  m_value = v;
}

bool AcDbHandle::getIntoAsciiBuffer(char* buffer, size_t size) const {
  if (!buffer || size == 0) return false;
  char tmp[20];
  int n = std::snprintf(tmp, sizeof tmp, "%llX", static_cast<unsigned long long>(m_value));
  if (n < 0 || static_cast<size_t>(n) >= size) {
    buffer[0] = 0;
    return false;
  }
  std::memcpy(buffer, tmp, static_cast<size_t>(n) + 1);
  return true;
}

bool AcDbObjectId::isValid() const { return m_stub && m_stub->object; }

bool AcDbObjectId::isErased() const { return m_stub && m_stub->object && m_stub->object->isErased(); }

AcDbDatabase* AcDbObjectId::database() const { return m_stub ? m_stub->database : nullptr; }

AcDbHandle AcDbObjectId::handle() const { return m_stub ? AcDbHandle(m_stub->handle) : AcDbHandle(); }

AcRxClass* AcDbObjectId::objectClass() const {
  return (m_stub && m_stub->object) ? m_stub->object->isA() : nullptr;
}

const char* acadErrorStatusText(Acad::ErrorStatus es) {
  switch (es) {
#define CASE(n) \
  case Acad::n: \
    return #n;
    CASE(eOk) CASE(eNotImplementedYet) CASE(eNotApplicable) CASE(eInvalidInput) CASE(eOutOfMemory)
    CASE(eKeyNotFound) CASE(eDuplicateKey) CASE(eInvalidIndex) CASE(eDuplicateIndex) CASE(eAlreadyInDb)
    CASE(eNullHandle) CASE(eNullObjectId) CASE(eNullObjectPointer) CASE(eNullEntityPointer)
    CASE(eNotInDatabase) CASE(eWrongDatabase) CASE(eNotThatKindOfClass) CASE(eInvalidSymbolTableName)
    CASE(eDuplicateRecordName) CASE(eUnknownHandle) CASE(eHandleInUse) CASE(eNoDatabase)
    CASE(eInvalidDxfCode) CASE(eBadDxfSequence) CASE(eFilerError) CASE(eEndOfFile) CASE(eFileNotFound)
    CASE(eFileAccessErr) CASE(eNotADrawing) CASE(eNonPlanarEntity) CASE(eDegenerateGeometry)
    CASE(eInvalidExtents) CASE(eIllegalEntityType) CASE(eIllegalReplacement) CASE(eMakeMeProxy)
    CASE(eInvalidKey) CASE(eNoInputFiler) CASE(eHadMultipleReaders) CASE(eNotOpenForRead)
    CASE(eNotOpenForWrite) CASE(eNotOpenForNotify) CASE(eWasErased) CASE(eWasNotErased)
    CASE(eWasOpenedForRead) CASE(eWasOpenedForWrite) CASE(eWasOpenedForUndo) CASE(eWasOpenedForNotify)
    CASE(eAtMaxReaders) CASE(eWasNotOpenForWrite) CASE(eUndefinedLineType) CASE(eLockViolation) CASE(eNotLocked)
#undef CASE
  }
  return "eUnknownStatus";
}
