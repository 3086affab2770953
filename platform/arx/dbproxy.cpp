#include "arx/dbproxy.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <set>

#include "arx/dbdatabase.h"
#include "arx/dbpl.h"
#include "arx/dbstub.h"
#include "win/transcript.h"

namespace platform {
namespace {
std::atomic<long> g_liveProxies{0};
}  // namespace
ProxyCount::ProxyCount() { ++g_liveProxies; }
ProxyCount::ProxyCount(const ProxyCount&) { ++g_liveProxies; }
ProxyCount::~ProxyCount() { --g_liveProxies; }
long ProxyCount::live() { return g_liveProxies.load(); }
}  // namespace platform

AcDbProxyEntity::AcDbProxyEntity() = default;

void AcDbProxyEntity::setOriginal(std::string className, std::string dxfName, std::string appName, int proxyFlags) {
  m_className = std::move(className);
  m_dxfName = std::move(dxfName);
  m_appName = std::move(appName);
  m_proxyFlags = proxyFlags;
}

Adesk::Boolean AcDbProxyEntity::worldDraw(AcGiWorldDraw* wd) {
  // What the original drew, drawn again with its own colours and layers.
  AcGiWorldGeometry& g = wd->geometry();
  AcGiSubEntityTraits& t = wd->subEntityTraits();
  for (const platform::GiPrimitive& p : m_graphics) {
    t.setColor(p.color);
    if (!p.layer.isNull()) t.setLayer(p.layer);
    if (!p.linetype.isNull()) t.setLineType(p.linetype);
    t.setLineWeight(p.lineWeight);
    t.setFillType(p.filled ? kAcGiFillAlways : kAcGiFillNever);
    switch (p.kind) {
      case platform::GiPrimitive::kPolyline: {
        bool plain = p.widths.empty() && !p.closed;
        for (double b : p.bulges) plain = plain && b == 0;
        if (plain) {
          g.polyline(static_cast<Adesk::UInt32>(p.points.size()), p.points.data());
        } else {
          AcDbPolyline pl;
          for (size_t i = 0; i < p.points.size(); ++i) {
            double b = i < p.bulges.size() ? p.bulges[i] : 0;
            double sw = 2 * i < p.widths.size() ? p.widths[2 * i] : 0;
            double ew = 2 * i + 1 < p.widths.size() ? p.widths[2 * i + 1] : 0;
            pl.addVertexAt(static_cast<unsigned>(i), p.points[i].convert2d(), b, sw, ew);
          }
          if (!p.points.empty()) pl.setElevation(p.points[0].z);
          pl.setClosed(p.closed);
          g.pline(pl);
        }
        break;
      }
      case platform::GiPrimitive::kPolygon:
        g.polygon(static_cast<Adesk::UInt32>(p.points.size()), p.points.data());
        break;
      case platform::GiPrimitive::kCircle:
        g.circle(p.center, p.radius, p.normal);
        break;
      case platform::GiPrimitive::kArc:
        g.circularArc(p.center, p.radius, p.normal, p.startVector, p.sweep);
        break;
      case platform::GiPrimitive::kText: {
        AcGiTextStyle style;
        style.setTextSize(p.height);
        style.setXScale(p.widthFactor);
        style.setObliquingAngle(p.oblique);
        style.setStyleId(p.textStyle);
        g.text(p.position, p.normal, p.direction, p.text.c_str(), -1, false, style);
        break;
      }
    }
  }
  t.setFillType(kAcGiFillNever);
  return true;
}

Acad::ErrorStatus AcDbProxyEntity::transformBy(const AcGeMatrix3d&) {
  // What the fields mean is known only to the missing class.
  return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbProxyEntity::dwgOutFields(AcDbDwgFiler* filer) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  auto* tf = dynamic_cast<platform::TagFiler*>(filer);
  if (!tf) return Acad::eNotApplicable;
  tf->appendTags(m_tags);
  return filer->filerStatus();
}

Acad::ErrorStatus AcDbProxyEntity::dwgInFields(AcDbDwgFiler* filer) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  auto* tf = dynamic_cast<platform::TagFiler*>(filer);
  if (!tf) return Acad::eNotApplicable;
  m_tags = tf->takeRemaining();
  return filer->filerStatus();
}

AcRxObject* AcDbProxyEntity::clone() const {
  auto* p = AcDbProxyEntity::cast(AcDbEntity::clone());
  if (p) {
    p->setOriginal(m_className, m_dxfName, m_appName, m_proxyFlags);
    p->m_graphics = m_graphics;
  }
  return p;
}

namespace platform {

namespace {

void copyEntityProperties(const AcDbEntity* from, AcDbEntity* to) {
  to->setLayerDirect(from->layerId());
  to->setLinetypeDirect(from->linetypeId());
  to->setColorDirect(from->colorIndex());
  to->setLineWeightDirect(from->lineWeight());
  to->setLinetypeScaleDirect(from->linetypeScale());
  to->setVisibleDirect(from->visibility() == AcDb::kVisible);
}

}  // namespace

void proxyObjectsOfClass(const AcRxClass* cls) {
  if (!cls) return;
  for (AcDbDatabase* db : liveDatabases()) {
    std::vector<AcDbStub*> stubs = db->allStubs();
    for (AcDbStub* s : stubs) {
      AcDbObject* o = s->object;
      if (!o || AcDbProxyEntity::cast(o) || !o->isKindOf(cls)) continue;
      AcDbEntity* e = AcDbEntity::cast(o);
      if (!e) {
        std::fprintf(stderr, "%s: an object of a class being removed stays without its class\n", o->isA()->name());
        continue;
      }
      auto* proxy = new AcDbProxyEntity();
      AcRxClass* own = o->isA();
      proxy->setOriginal(own->name(), own->dxfName(), own->appName(), own->proxyFlags());
      TagFiler out(AcDb::kFileFiler, db);
      GiRecorder rec(db);
      {
        AcDbObject::FilingScope scope(e);
        e->dwgOutFields(&out);
        rec.drawEntity(e);
      }
      proxy->setFiledData(out.takeTags());
      proxy->setGraphics(rec.takePrimitives());
      copyEntityProperties(e, proxy);
      db->replaceObjectDirect(s, proxy);
      delete o;
    }
  }
}

bool reviveProxy(AcDbStub* stub) {
  auto* proxy = stub && stub->object ? AcDbProxyEntity::cast(stub->object) : nullptr;
  if (!proxy || proxy->openMode() != AcDb::kNotOpen) return false;
  auto* cls = AcRxClass::cast(acrxClassDictionary->at(proxy->originalClassName()));
  if (!cls || !cls->constructor()) return false;
  AcRxObject* made = cls->create();
  AcDbEntity* e = AcDbEntity::cast(made);
  if (!e) {
    delete made;
    return false;
  }
  TagFiler in(proxy->filedData(), AcDb::kFileFiler, stub->database);
  Acad::ErrorStatus es = e->dwgInFields(&in);
  if (es != Acad::eOk || !in.atEnd()) {
    // The class reads its data differently now: the proxy keeps it unchanged.
    static std::set<std::string> told;
    if (told.insert(proxy->originalClassName()).second)
      transcriptLine(std::string("The data of ") + proxy->originalClassName() +
                     " entities does not fit the loaded class; they stay proxies.");
    delete e;
    return false;
  }
  copyEntityProperties(proxy, e);
  stub->database->replaceObjectDirect(stub, e);
  delete proxy;
  return true;
}

void reviveProxies() {
  // No proxy in memory: none to look for.
  if (ProxyCount::live() == 0) return;
  // Each class is asked once whether it is a proxy: a save runs this over
  // every object of every open drawing.
  const AcRxClass* proxy = AcDbProxyEntity::desc();
  std::vector<const AcRxClass*> others;
  auto isProxy = [&](const AcRxObject* o) {
    const AcRxClass* c = o->isA();
    if (std::find(others.begin(), others.end(), c) != others.end()) return false;
    if (c && c->isDerivedFrom(proxy)) return true;
    others.push_back(c);
    return false;
  };
  for (AcDbDatabase* db : liveDatabases()) {
    std::vector<AcDbStub*> stubs = db->allStubs();
    for (AcDbStub* s : stubs)
      if (s->object && isProxy(s->object)) reviveProxy(s);
  }
}

}  // namespace platform
