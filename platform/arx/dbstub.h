#pragma once
// What an object id refers to: the slot of one object in its database.

#include <cstdint>

class AcDbObject;
class AcDbDatabase;

struct AcDbStub {
  AcDbObject* object = nullptr;      // nullptr once the object is gone
  AcDbDatabase* database = nullptr;
  uint64_t handle = 0;
  bool subObject = false;            // owned (and deleted) by another object
};
