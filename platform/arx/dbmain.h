#pragma once
// Database objects and entities, their opening and closing, and reactors.
//
// Opening. acdbOpenObject(obj, id, mode) gives the object of an id:
//   - kForRead: many readers at once (up to 256);
//   - kForWrite: one writer, no readers;
//   - kForNotify: while the object sends notifications to its reactors (and
//     when opened for notify explicitly).
// An open that conflicts returns the state that stands in its way:
// eWasOpenedForWrite (83) when the object is open for write,
// eWasOpenedForNotify (85) when it is open for notify (for read or write),
// eWasOpenedForRead (82) when a writer finds readers. An erased object opens
// only with openErased = true (else eWasErased). Every successful open is ended
// by one close().
//
// Notifications. When an object that was open for write and changed
// (assertWriteEnabled was called) is closed, each of its reactors gets
// modified(object) once, with the object open for notify: a reactor may read
// it but not open it for read or write (85). erase() is reported by erased()
// at the same close. A reactor that is deleted while attached is detached
// from its objects first.
//
// Writing back from a notification. A reactor that must change the object it
// is being told about (not open it again) calls upgradeFromNotify on the
// object it was given, writes, and calls downgradeToNotify. The object is then
// open for write and for notify at once; what is written in between belongs
// to the notification being sent: it sends no second one, and the reactors
// after this one in the object's list see the object as written back.
//
// An object that is not in a database (just made, or taken out) is always open
// for write; close() leaves it alone and the caller deletes it.

#include <string>
#include <vector>

#include "arx/dbfiler.h"
#include "arx/dbid.h"
#include "arx/dbtypes.h"
#include "arx/gearray.h"
#include "arx/gegeometry.h"
#include "arx/rxobject.h"

class AcDbDatabase;
class AcDbObject;
class AcDbEntity;
class AcGiWorldDraw;
class AcDbObjectReactor;

// An axis-aligned box (empty until a point is added).
class PLATFORM_API AcDbExtents {
 public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);
  const AcGePoint3d& minPoint() const { return m_min; }
  const AcGePoint3d& maxPoint() const { return m_max; }
  bool isEmpty() const { return m_min.x > m_max.x; }
  Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
  void addPoint(const AcGePoint3d& p);
  void addExt(const AcDbExtents& e);
  void expandBy(const AcGeVector3d& v);
  void transformBy(const AcGeMatrix3d& m);

 private:
  AcGePoint3d m_min, m_max;
};

class PLATFORM_API AcDbObject : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObject);
  AcDbObject();
  ~AcDbObject() override;
  AcDbObject(const AcDbObject&) = delete;
  AcDbObject& operator=(const AcDbObject&) = delete;

  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const { return m_owner; }
  virtual Acad::ErrorStatus setOwnerId(AcDbObjectId owner);
  void getAcDbHandle(AcDbHandle& handle) const;
  AcDbHandle handle() const;
  AcDbDatabase* database() const;
  // The database of this object, else the working database.
  AcDbDatabase* databaseToUse() const;

  Acad::ErrorStatus close();
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();
  // While the object sends its notifications: makes it writable too
  // (eNotOpenForNotify at any other time). `wasWritable` tells whether it was
  // writable already (a nested upgrade), for the matching downgrade.
  Acad::ErrorStatus upgradeFromNotify(Adesk::Boolean& wasWritable);
  // Ends the upgrade (nothing when `wasWritable`); the changes made since it
  // send no notification of their own (eWasNotOpenForWrite without one).
  Acad::ErrorStatus downgradeToNotify(Adesk::Boolean wasWritable);
  // Erases (or, with false, unerases) the object; it must be open for write.
  Acad::ErrorStatus erase(Adesk::Boolean erasing = true);

  bool isErased() const { return m_erased; }
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const;
  bool isNotifying() const { return m_notifying; }
  bool isModified() const { return m_modified; }
  // In a database (has an id).
  bool isPersistent() const { return m_stub != nullptr; }
  bool isNewObject() const { return m_stub == nullptr; }
  AcDb::OpenMode openMode() const;

  // Checks that the object may be read (written); a failing check is reported
  // on stderr and the call goes on. assertWriteEnabled marks the object
  // changed, so its reactors hear of it when it is closed.
  void assertReadEnabled() const;
  void assertWriteEnabled(Adesk::Boolean autoUndo = true, Adesk::Boolean recordModified = true);
  void assertNotifyEnabled() const;

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const;

  // Transient reactors (not owned, not saved).
  virtual void addReactor(AcDbObjectReactor* reactor) const;
  virtual void removeReactor(AcDbObjectReactor* reactor) const;
  const std::vector<AcDbObjectReactor*>& reactors() const { return m_reactors; }

  // A new object of the same class with the same data (not in a database).
  virtual AcRxObject* clone() const;
  // Prints the object's data on the command line.
  virtual void list() const;

  // ---- used by the database ----
  AcDbStub* stub() const { return m_stub; }
  void attachStub(AcDbStub* stub) { m_stub = stub; }
  void setOwnerDirect(AcDbObjectId owner) { m_owner = owner; }
  void setErasedDirect(bool erased) { m_erased = erased; }
  // Lets the database's own readers and writers file an object that is not open.
  struct FilingScope {
    explicit FilingScope(const AcDbObject* o) : obj(o) { ++obj->m_filing; }
    ~FilingScope() { --obj->m_filing; }
    FilingScope(const FilingScope&) = delete;
    FilingScope& operator=(const FilingScope&) = delete;
    const AcDbObject* obj;
  };
  // Opens without the erased check (the open functions check it).
  Acad::ErrorStatus openAs(AcDb::OpenMode mode);
  // Called when the object is being replaced or the database goes: detaches reactors.
  void detachAllReactors();
  // Objects this one owns and files with itself (a polyline's vertices).
  virtual void getSubObjects(std::vector<AcDbObject*>& subObjects) const;

 protected:
  // Subclasses that own sub-objects (polyline vertices) copy or file them here.
  virtual void subClose() {}

 private:
  friend class AcDbObjectReactor;
  void sendNotifications();

  AcDbStub* m_stub = nullptr;
  AcDbObjectId m_owner;
  int m_readers = 0;
  int m_notifyOpens = 0;
  mutable int m_filing = 0;
  bool m_writer = false;
  bool m_notifying = false;
  bool m_erased = false;
  bool m_modified = false;
  bool m_eraseChanged = false;
  mutable std::vector<AcDbObjectReactor*> m_reactors;
};

class PLATFORM_API AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity);
  AcDbEntity();
  ~AcDbEntity() override;

  AcDbObjectId blockId() const { return ownerId(); }

  AcCmColor color() const;
  Acad::ErrorStatus setColor(const AcCmColor& color, Adesk::Boolean doSubents = true);
  Adesk::UInt16 colorIndex() const { return m_color; }
  // 0 by block, 1..255, 256 by layer; other values are refused (eInvalidInput).
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, Adesk::Boolean doSubents = true);

  // The layer's name ("" while the entity has no layer yet); valid while the entity lives.
  const char* layer() const;
  AcDbObjectId layerId() const { return m_layer; }
  // A layer of the entity's database (else the working database); eKeyNotFound when it has none of that name.
  Acad::ErrorStatus setLayer(const char* layerName, Adesk::Boolean doSubents = true);
  Acad::ErrorStatus setLayer(AcDbObjectId layerId, Adesk::Boolean doSubents = true);

  // The line type's name ("ByLayer", "Continuous", ...).
  const char* linetype() const;
  AcDbObjectId linetypeId() const { return m_linetype; }
  Acad::ErrorStatus setLinetype(const char* name, Adesk::Boolean doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId linetypeId, Adesk::Boolean doSubents = true);
  double linetypeScale() const { return m_ltscale; }
  Acad::ErrorStatus setLinetypeScale(double scale, Adesk::Boolean doSubents = true);
  AcDb::LineWeight lineWeight() const { return m_lineweight; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight, Adesk::Boolean doSubents = true);
  AcDb::Visibility visibility() const { return m_visible ? AcDb::kVisible : AcDb::kInvisible; }
  Acad::ErrorStatus setVisibility(AcDb::Visibility v, Adesk::Boolean doSubents = true);
  // Gives every property not set yet the database's current value (layer,
  // line type by layer, colour by layer, ...).
  void setDatabaseDefaults(AcDbDatabase* db = nullptr);
  // Copies layer, colour, line type, line-type scale, line weight and visibility.
  Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* other, Adesk::Boolean doSubents = true);

  // Draws the entity's geometry. The built-in entities draw themselves; a
  // custom entity draws what it shows.
  virtual Adesk::Boolean worldDraw(AcGiWorldDraw* wd);
  // The box around what worldDraw draws (eInvalidExtents when it draws nothing).
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  // The entity's geometry moved by `xform` (eNotApplicable when it cannot follow it).
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const;
  virtual Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                          AcDbIntArray& geomIds) const;
  virtual Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset);
  // The points where this entity meets `other`, appended to `points`.
  // Order: along this entity from its start (a line from its start point, a
  // polyline vertex by vertex, an arc or circle counter-clockwise from its
  // start angle, a circle from angle 0); points along the same place of this
  // entity in the order of `other`. A point where two pieces of one entity
  // meet (a polyline vertex) is given once. Pieces that overlap give no point.
  // kExtendThis/kExtendArg/kExtendBoth extend lines to infinite lines and arcs
  // to circles (polylines are never extended).
  virtual Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect intType,
                                          AcGePoint3dArray& points, Adesk::GsMarker thisGsMarker = 0,
                                          Adesk::GsMarker otherGsMarker = 0) const;
  // Plain entities that together show this one (new objects owned by the caller).
  virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const;
  void list() const override;

  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  AcRxObject* clone() const override;

  // ---- used by the database ----
  void setLayerDirect(AcDbObjectId id) { m_layer = id; }
  void setLinetypeDirect(AcDbObjectId id) { m_linetype = id; }
  void setColorDirect(Adesk::UInt16 c) { m_color = c; }
  void setLineWeightDirect(AcDb::LineWeight w) { m_lineweight = w; }
  void setLinetypeScaleDirect(double s) { m_ltscale = s; }
  void setVisibleDirect(bool v) { m_visible = v; }

 private:
  AcDbObjectId m_layer;
  AcDbObjectId m_linetype;
  Adesk::UInt16 m_color = 256;
  AcDb::LineWeight m_lineweight = AcDb::kLnWtByLayer;
  double m_ltscale = 1.0;
  bool m_visible = true;
};

// Entities with a start and an end: lines, arcs, circles, polylines.
class PLATFORM_API AcDbCurve : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCurve);
  virtual Adesk::Boolean isClosed() const { return false; }
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const;
  // The point of the curve nearest to `given` (with extend, lines and arcs count as infinite).
  virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest,
                                              Adesk::Boolean extend = false) const;
  // The length along the curve.
  virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& p, double& dist) const;
};

class PLATFORM_API AcDbObjectReactor : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObjectReactor);
  AcDbObjectReactor() = default;
  ~AcDbObjectReactor() override;
  AcDbObjectReactor(const AcDbObjectReactor&) = delete;
  AcDbObjectReactor& operator=(const AcDbObjectReactor&) = delete;

  virtual void cancelled(const AcDbObject*) {}
  virtual void copied(const AcDbObject*, const AcDbObject*) {}
  virtual void erased(const AcDbObject*, Adesk::Boolean /*erasing*/ = true) {}
  virtual void goodbye(const AcDbObject*) {}
  virtual void openedForModify(const AcDbObject*) {}
  virtual void modified(const AcDbObject*) {}
  virtual void subObjModified(const AcDbObject*, const AcDbObject*) {}
  virtual void modifyUndone(const AcDbObject*) {}
  virtual void modifiedXData(const AcDbObject*) {}
  virtual void unappended(const AcDbObject*) {}
  virtual void reappended(const AcDbObject*) {}
  virtual void objectClosed(const AcDbObjectId) {}

  // Whether the reactor is attached to any object (an object that goes
  // detaches its reactors, so a reactor of objects that are gone is not).
  bool isAttached() const { return !m_attached.empty(); }

 private:
  friend class AcDbObject;
  std::vector<const AcDbObject*> m_attached;
};

class PLATFORM_API AcDbEntityReactor : public AcDbObjectReactor {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntityReactor);
  virtual void modifiedGraphics(const AcDbEntity*) {}
};

// Opening by id (see the top of this file).
PLATFORM_API Acad::ErrorStatus acdbOpenObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                              bool openErased = false);
PLATFORM_API Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                                  bool openErased = false);
PLATFORM_API Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode,
                                                  bool openErased = false);

// Opens an object of class T (or derived); eNotThatKindOfClass leaves it closed.
template <class T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
  obj = nullptr;
  AcDbObject* p = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(p, id, mode, openErased);
  if (es != Acad::eOk) return es;
  obj = T::cast(p);
  if (!obj) {
    p->close();
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

// Whether an id refers to an object that exists (erased or not).
PLATFORM_API bool acdbIsValidId(AcDbObjectId id);
