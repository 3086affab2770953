#pragma once
// The host's run-time class system: AcRxObject, AcRxClass, the class
// dictionary and the system registry.
//
// A class is described by one AcRxClass object, registered under its name in
// the "ClassDictionary" of the system registry. Classes of the drawing database
// are registered by the platform itself; a module registers its own with
// rxInit() (ACRX_DXF_DEFINE_MEMBERS) and removes them with deleteAcRxClass.

#include <map>
#include <string>

#include "win/wintypes.h"

class AcRxClass;

namespace AcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

class PLATFORM_API AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  static AcRxObject* cast(const AcRxObject* p) { return const_cast<AcRxObject*>(p); }
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* cls) const;
};

typedef AcRxObject* (*AppNameChangeFuncPtr)(const AcRxClass*, char*&, int);
typedef AcRxObject* (*AcRxPseudoConstructor)();

class PLATFORM_API AcRxClass : public AcRxObject {
 public:
  static AcRxClass* desc();
  static AcRxClass* cast(const AcRxObject* p);
  AcRxClass* isA() const override;

  const char* name() const { return m_name.c_str(); }
  const char* dxfName() const { return m_dxfName.c_str(); }
  const char* appName() const { return m_appName.c_str(); }
  const char* parentName() const { return m_parentName.c_str(); }
  // The parent class once acrxBuildClassHierarchy has linked it (the root has none).
  AcRxClass* myParent() const { return m_parent; }
  int proxyFlags() const { return m_proxyFlags; }
  int dwgVersion() const { return m_dwgVersion; }
  int maintenanceVersion() const { return m_maintVersion; }
  bool isDerivedFrom(const AcRxClass* other) const;
  // A new object of the class from its pseudo-constructor, or nullptr.
  AcRxObject* create() const { return m_constructor ? m_constructor() : nullptr; }
  AcRxPseudoConstructor constructor() const { return m_constructor; }

  // Where a module keeps its pointer to this class (cleared when the class is deleted).
  void setOwnerSlot(AcRxClass** slot) { m_ownerSlot = slot; }

 private:
  friend PLATFORM_API AcRxClass* newAcRxClass(const char*, const char*, int, int, int, AcRxPseudoConstructor,
                                              const char*, const char*);
  friend PLATFORM_API void deleteAcRxClass(AcRxClass*);
  friend PLATFORM_API void acrxBuildClassHierarchy();
  AcRxClass() = default;
  std::string m_name, m_parentName, m_dxfName, m_appName;
  AcRxClass* m_parent = nullptr;
  int m_dwgVersion = 0, m_maintVersion = 0, m_proxyFlags = 0;
  AcRxPseudoConstructor m_constructor = nullptr;
  AcRxClass** m_ownerSlot = nullptr;
};

// A keyed collection of objects (the system registry, the class dictionary).
class PLATFORM_API AcRxDictionary : public AcRxObject {
 public:
  static AcRxClass* desc();
  static AcRxDictionary* cast(const AcRxObject* p);
  AcRxClass* isA() const override;
  ~AcRxDictionary() override;

  AcRxObject* at(const char* key) const;
  // Puts `obj` under `key`; returns the object that was there before (or nullptr).
  AcRxObject* atPut(const char* key, AcRxObject* obj);
  // Takes the entry out without deleting it; returns it.
  AcRxObject* remove(const char* key);
  bool has(const char* key) const { return at(key) != nullptr; }
  int numEntries() const { return static_cast<int>(m_entries.size()); }
  const std::map<std::string, AcRxObject*>& entries() const { return m_entries; }

 private:
  std::map<std::string, AcRxObject*> m_entries;  // not owned
};

#define ACRX_CLASS_DICTIONARY "ClassDictionary"

PLATFORM_API AcRxDictionary* acrxSysRegistry();
PLATFORM_API AcRxDictionary* acrxClassDictionaryPtr();
#define acrxClassDictionary (acrxClassDictionaryPtr())

// Registers a class under `className`. When a class of that name is registered
// already, that class is returned and nothing is created.
PLATFORM_API AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int dwgVersion,
                                     int maintVersion, int proxyFlags, AcRxPseudoConstructor constructor,
                                     const char* dxfName = nullptr, const char* appName = nullptr);
PLATFORM_API AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int proxyFlags = 0,
                                     AcRxPseudoConstructor constructor = nullptr, const char* dxfName = nullptr,
                                     const char* appName = nullptr);
// Removes the class from the class dictionary and deletes it.
PLATFORM_API void deleteAcRxClass(AcRxClass* cls);
// Links every registered class to its parent by the parent's name.
PLATFORM_API void acrxBuildClassHierarchy();

namespace platform {
// Stops the host with exit status 1 and "Class mismatch: <name>" on stderr: a
// class object other than the one registered under `className` is being
// registered under that name.
[[noreturn]] PLATFORM_API void classMismatch(const char* className);
}  // namespace platform

// Members of a class that takes part in the run-time class system.
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                         \
 private:                                                                       \
  static AcRxClass* gpDesc;                                                     \
                                                                                \
 public:                                                                        \
  static AcRxClass* desc();                                                     \
  static CLASS_NAME* cast(const AcRxObject* p) {                               \
    return (p && p->isKindOf(CLASS_NAME::desc())) ? (CLASS_NAME*)(p) : nullptr; \
  }                                                                             \
  AcRxClass* isA() const override;                                              \
  static void rxInit();

#define ACRX_DEFINE_MEMBERS_COMMON_(CLASS_NAME)                \
  AcRxClass* CLASS_NAME::gpDesc = nullptr;                     \
  AcRxClass* CLASS_NAME::desc() { return gpDesc; }             \
  AcRxClass* CLASS_NAME::isA() const { return gpDesc; }

// Registers CLASS_NAME with its parent, versions, proxy flags, DXF name and
// application name; the pseudo-constructor makes a `new CLASS_NAME`.
#define ACRX_DXF_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS, DWG_VERSION, MAINT_VERSION, PROXY_FLAGS, DXF_NAME, \
                                APP)                                                                       \
  ACRX_DEFINE_MEMBERS_COMMON_(CLASS_NAME)                                                                  \
  static AcRxObject* make##CLASS_NAME() { return new CLASS_NAME(); }                                       \
  void CLASS_NAME::rxInit() {                                                                              \
    AcRxObject* known = acrxClassDictionary->at(#CLASS_NAME);                                             \
    if (known) {                                                                                           \
      if (known != gpDesc) platform::classMismatch(#CLASS_NAME);                                           \
      return;                                                                                              \
    }                                                                                                      \
    gpDesc = newAcRxClass(#CLASS_NAME, #PARENT_CLASS, DWG_VERSION, MAINT_VERSION, PROXY_FLAGS,            \
                          make##CLASS_NAME, #DXF_NAME, #APP);                                             \
    gpDesc->setOwnerSlot(&gpDesc);                                                                         \
  }

// Registers an abstract class (no pseudo-constructor, no DXF name).
#define ACRX_NO_CONS_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS)                             \
  ACRX_DEFINE_MEMBERS_COMMON_(CLASS_NAME)                                                 \
  void CLASS_NAME::rxInit() {                                                             \
    AcRxObject* known = acrxClassDictionary->at(#CLASS_NAME);                            \
    if (known) {                                                                          \
      if (known != gpDesc) platform::classMismatch(#CLASS_NAME);                          \
      return;                                                                             \
    }                                                                                     \
    gpDesc = newAcRxClass(#CLASS_NAME, #PARENT_CLASS, 0, 0, 0, nullptr, nullptr, nullptr); \
    gpDesc->setOwnerSlot(&gpDesc);                                                        \
  }
