#include "arx/arxapp.h"

#include <cstring>
#include <string>

#include "arx/adscodes.h"
#include "arx/edlisp.h"
#include "arx/rxdynlink.h"
#include "mfc/cstring.h"

namespace {

// A name loaded from the string table, bounded as the host's buffers are
// (131 bytes of text).
std::string loadName(UINT id) {
  CString text;
  if (!text.LoadString(id)) return std::string();
  std::string s = text.str();
  if (s.size() > 131) {
    size_t cut = 131;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;  // keep whole characters
    s.resize(cut);
  }
  return s;
}

// Calls `fn(entry, number)` for every non-null entry of a table, numbered from 0.
template <typename Entry, typename Fn>
void forEachEntry(Entry** begin, Entry** end, Fn fn) {
  if (!begin || !end) return;
  int number = 0;
  for (Entry** p = begin; p < end; ++p)
    if (*p) fn(**p, number++);
}

std::string functionName(const AdsFunctionEntry& e) { return e.name ? std::string(e.name) : loadName(e.nameId); }

// Deletes the class of `entry`, after any other registered class of the table
// whose parent it is.
void deleteClassEntry(const platform::ArxAppTables& t, CustomClassEntry& entry) {
  if (!entry.initialised) return;
  entry.initialised = 0;  // cleared first, so that a cycle cannot recurse for ever
  AcRxClass* cls = entry.desc ? entry.desc() : nullptr;
  if (cls) {
    forEachEntry(t.classesBegin, t.classesEnd, [&](CustomClassEntry& other, int) {
      if (&other == &entry || !other.initialised || !other.desc) return;
      AcRxClass* child = other.desc();
      if (child && child->myParent() == cls) deleteClassEntry(t, other);
    });
    deleteAcRxClass(cls);
  }
}

}  // namespace

AcRxDbxApp::AcRxDbxApp() = default;
AcRxDbxApp::~AcRxDbxApp() = default;

AcRx::AppRetCode AcRxDbxApp::OnInitApp(void* pkt) {
  // No library entry tells the module its instance on this platform: it is
  // the module whose start-up runs.
  if (!m_hdllInstance) m_hdllInstance = platform::moduleInstance(platform::currentModule());
  if (AcRxDynamicLinker* linker = acrxDynamicLinker) {
    if (m_bUnlockApp == 1) linker->unlockApplication(pkt);
    if (m_bMDIAware == 1) linker->registerAppMDIAware(pkt);
  }
  RegisterComponents();
  bool any = false;
  forEachEntry(m_tables.classesBegin, m_tables.classesEnd, [&](CustomClassEntry& e, int) {
    if (e.init) e.init();
    e.initialised = 1;
    any = true;
  });
  if (any) acrxBuildClassHierarchy();
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxDbxApp::OnUnloadApp(void*) {
  forEachEntry(m_tables.classesBegin, m_tables.classesEnd,
               [&](CustomClassEntry& e, int) { deleteClassEntry(m_tables, e); });
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxDbxApp::OnLoadDwg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnUnloadDwg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnInvokeFunction(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnConfig(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnEnd(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnQuit(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnSaveDwg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnDependency(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnNoDependency(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnOleUnloadApp(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnPreQuit(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnInitDialog(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnEndDialog(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::OnNullMsg(void*) { return AcRx::kRetOK; }
void AcRxDbxApp::RegisterComponents() {}

AcRx::AppRetCode AcRxDbxApp::EntryPoint(AcRx::AppMsgCode msg, void* pkt) {
  switch (static_cast<int>(msg)) {
    case 1: return OnInitApp(pkt);
    case 2: return OnUnloadApp(pkt);
    case 3: return OnLoadDwg(pkt);
    case 4: return OnUnloadDwg(pkt);
    case 5: return OnInvokeFunction(pkt);
    case 6: return OnConfig(pkt);
    case 7: return OnEnd(pkt);
    case 8: return OnQuit(pkt);
    case 9: return OnSaveDwg(pkt);
    case 10: return OnDependency(pkt);
    case 11: return OnNoDependency(pkt);
    case 12: return OnOleUnloadApp(pkt);
    case 13: return OnPreQuit(pkt);
    case 14: return OnInitDialog(pkt);
    case 15: return OnEndDialog(pkt);
    case 0: return OnNullMsg(pkt);
    default: return AcRx::kRetOK;
  }
}

AcRx::AppRetCode AcRxArxApp::OnInitApp(void* pkt) {
  AcRx::AppRetCode result = AcRxDbxApp::OnInitApp(pkt);
  AcEdCommandStack* stack = acedRegCmds;
  if (!stack) return result;
  forEachEntry(m_tables.commandsBegin, m_tables.commandsEnd, [&](ArxCommandEntry& e, int) {
    std::string local = e.localName ? std::string(e.localName) : loadName(e.localNameId);
    HINSTANCE resource = (e.flags & ACRX_CMD_SESSION) ? nullptr : m_hdllInstance;
    stack->addCommand(e.group, e.globalName, local.c_str(), e.flags, e.handler, e.uiContext, -1, resource, nullptr);
  });
  return result;
}

AcRx::AppRetCode AcRxArxApp::OnUnloadApp(void* pkt) {
  AcRx::AppRetCode result = AcRxDbxApp::OnUnloadApp(pkt);
  if (AcEdCommandStack* stack = acedRegCmds)
    forEachEntry(m_tables.commandsBegin, m_tables.commandsEnd,
                 [&](ArxCommandEntry& e, int) { stack->removeCmd(e.group, e.globalName); });
  return result;
}

AcRx::AppRetCode AcRxArxApp::OnLoadDwg(void*) {
  forEachEntry(m_tables.functionsBegin, m_tables.functionsEnd, [&](AdsFunctionEntry& e, int number) {
    acedDefun(functionName(e).c_str(), number);
    if (e.registerAsFunction) acedRegFunc(e.handler, number);
  });
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::OnUnloadDwg(void*) {
  forEachEntry(m_tables.functionsBegin, m_tables.functionsEnd,
               [&](AdsFunctionEntry& e, int number) { acedUndef(functionName(e).c_str(), number); });
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::OnInvokeFunction(void*) {
  int code = acedGetFunCode();
  bool done = false;
  forEachEntry(m_tables.functionsBegin, m_tables.functionsEnd, [&](AdsFunctionEntry& e, int number) {
    if (done || number != code) return;
    done = true;
    if (e.handler) e.handler();
  });
  return AcRx::kRetOK;
}
