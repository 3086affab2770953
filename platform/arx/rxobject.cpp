#include "arx/rxobject.h"

#include <cstdio>
#include <cstdlib>

#include "arx/dbproxy.h"

namespace {

struct Registry {
  AcRxDictionary sys;
  AcRxDictionary classes;
  AcRxClass* objectClass = nullptr;
  AcRxClass* classClass = nullptr;
  AcRxClass* dictionaryClass = nullptr;
  Registry() {
    sys.atPut(ACRX_CLASS_DICTIONARY, &classes);
  }
};

Registry& registry();

void registerRootClasses(Registry& r) {
  r.objectClass = newAcRxClass("AcRxObject", "", 0, 0, 0, nullptr);
  r.classClass = newAcRxClass("AcRxClass", "AcRxObject", 0, 0, 0, nullptr);
  r.dictionaryClass = newAcRxClass("AcRxDictionary", "AcRxObject", 0, 0, 0, nullptr);
  acrxBuildClassHierarchy();
}

Registry& registry() {
  static Registry* r = new Registry();  // lives for the whole process
  // The root classes register through newAcRxClass, which comes back here:
  // the flag is set first so that the second call returns at once.
  static bool rooted = false;
  if (!rooted) {
    rooted = true;
    registerRootClasses(*r);
  }
  return *r;
}

}  // namespace

AcRxObject::~AcRxObject() = default;
AcRxClass* AcRxObject::desc() { return registry().objectClass; }
AcRxClass* AcRxObject::isA() const { return desc(); }

bool AcRxObject::isKindOf(const AcRxClass* cls) const {
  const AcRxClass* mine = isA();
  return cls && mine && mine->isDerivedFrom(cls);
}

AcRxClass* AcRxClass::desc() { return registry().classClass; }
AcRxClass* AcRxClass::cast(const AcRxObject* p) {
  return (p && p->isKindOf(desc())) ? const_cast<AcRxClass*>(static_cast<const AcRxClass*>(p)) : nullptr;
}
AcRxClass* AcRxClass::isA() const { return desc(); }

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c; c = c->m_parent)
    if (c == other) return true;
  return false;
}

AcRxClass* AcRxDictionary::desc() { return registry().dictionaryClass; }
AcRxDictionary* AcRxDictionary::cast(const AcRxObject* p) {
  return (p && p->isKindOf(desc())) ? const_cast<AcRxDictionary*>(static_cast<const AcRxDictionary*>(p)) : nullptr;
}
AcRxClass* AcRxDictionary::isA() const { return desc(); }
AcRxDictionary::~AcRxDictionary() = default;

AcRxObject* AcRxDictionary::at(const char* key) const {
  if (!key) return nullptr;
  auto it = m_entries.find(key);
  return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const char* key, AcRxObject* obj) {
  if (!key) return nullptr;
  AcRxObject*& slot = m_entries[key];
  AcRxObject* old = slot;
  slot = obj;
  return old;
}

AcRxObject* AcRxDictionary::remove(const char* key) {
  if (!key) return nullptr;
  auto it = m_entries.find(key);
  if (it == m_entries.end()) return nullptr;
  AcRxObject* old = it->second;
  m_entries.erase(it);
  return old;
}

AcRxDictionary* acrxSysRegistry() { return &registry().sys; }
AcRxDictionary* acrxClassDictionaryPtr() { return &registry().classes; }

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int dwgVersion, int maintVersion,
                        int proxyFlags, AcRxPseudoConstructor constructor, const char* dxfName,
                        const char* appName) {
  if (!className || !*className) return nullptr;
  AcRxDictionary& dict = *static_cast<AcRxDictionary*>(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY));
  if (AcRxObject* known = dict.at(className)) return static_cast<AcRxClass*>(known);
  auto* cls = new AcRxClass();
  cls->m_name = className;
  cls->m_parentName = parentClassName ? parentClassName : "";
  cls->m_dxfName = dxfName ? dxfName : "";
  cls->m_appName = appName ? appName : "";
  cls->m_dwgVersion = dwgVersion;
  cls->m_maintVersion = maintVersion;
  cls->m_proxyFlags = proxyFlags;
  cls->m_constructor = constructor;
  dict.atPut(className, cls);
  return cls;
}

AcRxClass* newAcRxClass(const char* className, const char* parentClassName, int proxyFlags,
                        AcRxPseudoConstructor constructor, const char* dxfName, const char* appName) {
  return newAcRxClass(className, parentClassName, 0, 0, proxyFlags, constructor, dxfName, appName);
}

void deleteAcRxClass(AcRxClass* cls) {
  if (!cls) return;
  // Objects of the class in open drawings become proxies while its code is still there.
  platform::proxyObjectsOfClass(cls);
  AcRxDictionary* dict = acrxClassDictionary;
  if (dict->at(cls->name()) == cls) dict->remove(cls->name());
  // Children keep no dangling parent.
  for (auto& [name, obj] : dict->entries()) {
    auto* c = static_cast<AcRxClass*>(obj);
    if (c->m_parent == cls) c->m_parent = nullptr;
  }
  if (cls->m_ownerSlot && *cls->m_ownerSlot == cls) *cls->m_ownerSlot = nullptr;
  delete cls;
}

void acrxBuildClassHierarchy() {
  AcRxDictionary& dict = *static_cast<AcRxDictionary*>(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY));
  for (auto& [name, obj] : dict.entries()) {
    auto* c = static_cast<AcRxClass*>(obj);
    c->m_parent = c->m_parentName.empty() ? nullptr : static_cast<AcRxClass*>(dict.at(c->m_parentName.c_str()));
  }
}

namespace platform {
void classMismatch(const char* className) {
  // The host cannot go on: objects of the known class would be taken for the
  // new one. The run ends as a failed run does.
  std::fflush(stdout);
  std::fprintf(stderr, "Class mismatch: %s\n", className ? className : "");
  std::fflush(stderr);
  std::_Exit(1);
}
}  // namespace platform
