#pragma once
// The status that the host's object functions return (Acad::ErrorStatus).
// eOk is 0; every other value names a failure. The drawing database adds the
// values of its own open and filing statuses here.

namespace Acad {
enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eKeyNotFound = 30,
  eDuplicateKey = 31,
  eLockViolation = 60,
  eNotLocked = 61,
};
}  // namespace Acad
