#pragma once
// CObject with the class library's run-time class information.

#include "win/wintypes.h"

class CObject;

struct PLATFORM_API CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  const CRuntimeClass* m_pBaseClass;
  CObject* (*m_pfnCreateObject)();

  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  // A new object of the class, or nullptr when the class is not creatable.
  CObject* CreateObject() const;
};

class PLATFORM_API CObject {
 public:
  static const CRuntimeClass classCObject;
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();
  BOOL IsKindOf(const CRuntimeClass* cls) const;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)          \
 public:                                     \
  static const CRuntimeClass class##class_name; \
  const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class, creator)                                  \
  const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name),     \
                                                       RUNTIME_CLASS(base_class), creator};      \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class) IMPLEMENT_RUNTIMECLASS_(class_name, base_class, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class)                \
  CObject* class_name::CreateObject() { return new class_name; } \
  IMPLEMENT_RUNTIMECLASS_(class_name, base_class, class_name::CreateObject)
