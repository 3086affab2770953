#pragma once
// Proxy entities: an entity of a custom class whose module is not loaded.
//
// The proxy keeps everything of the original: the class's name, DXF name,
// application name and proxy flags, the entity's layer, colour and other
// common properties, the data its dwgOutFields filed (as filer tags) and,
// when the original was turned into a proxy in memory, what it drew. It is
// saved exactly as the original would be. As soon as a class of its name is
// registered again, opening the proxy brings back an object of that class,
// read from the kept data, under the same id and handle.

#include <string>
#include <vector>

#include "arx/dbfiler.h"
#include "arx/dbmain.h"
#include "arx/dbstub.h"
#include "arx/gidrawing.h"

namespace platform {
// Counts the proxies in memory (a member of each proxy, made and copied with
// it): with none there is nothing to revive, and no object need be looked at.
class PLATFORM_API ProxyCount {
 public:
  ProxyCount();
  ProxyCount(const ProxyCount&);
  ProxyCount& operator=(const ProxyCount&) { return *this; }
  ~ProxyCount();
  static long live();
};
}  // namespace platform

class PLATFORM_API AcDbProxyEntity : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbProxyEntity);
  AcDbProxyEntity();

  const char* originalClassName() const { return m_className.c_str(); }
  const char* originalDxfName() const { return m_dxfName.c_str(); }
  const char* applicationDescription() const { return m_appName.c_str(); }
  int proxyFlags() const { return m_proxyFlags; }
  // The data the original filed, as filer tags.
  const platform::DxfTags& filedData() const { return m_tags; }

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  AcRxObject* clone() const override;

  // ---- used by the database ----
  void setOriginal(std::string className, std::string dxfName, std::string appName, int proxyFlags);
  void setFiledData(platform::DxfTags tags) { m_tags = std::move(tags); }
  void setGraphics(std::vector<platform::GiPrimitive> g) { m_graphics = std::move(g); }
  const std::vector<platform::GiPrimitive>& graphics() const { return m_graphics; }

 private:
  std::string m_className, m_dxfName, m_appName;
  int m_proxyFlags = 0;
  platform::DxfTags m_tags;
  std::vector<platform::GiPrimitive> m_graphics;
  platform::ProxyCount m_counted;
};

namespace platform {
// Turns every entity of `cls` (or a class derived from it) in every open
// database into a proxy, before the class and its module go. The host calls
// this when a class is deleted.
PLATFORM_API void proxyObjectsOfClass(const AcRxClass* cls);
// Brings back every proxy whose class is registered again (opening a proxy
// does the same for that one object).
PLATFORM_API void reviveProxies();
// Revives the proxy of one slot when its class is registered and the proxy is
// not open; true when the slot now holds the revived object.
PLATFORM_API bool reviveProxy(AcDbStub* stub);
}  // namespace platform
