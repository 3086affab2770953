#pragma once
// The application object of a module: one global object of a class derived
// from AcRxArxApp (or AcRxDbxApp) answers the host's messages, one virtual
// function per message, and registers what the module lists in three tables:
// its commands (section ARXCOMMA), its LISP functions (ADSSYMBO) and its custom
// classes (DBXCUSTO). Each table is an array of pointers to entries laid out by
// the linker from the entries of every file of the module; null slots are
// skipped.
//
//   class CMyApp : public AcRxArxApp { ... };
//   CMyApp theApp;
//   ARX_COMMAND_ENTRY(myCmd, "GROUP", "MYCMD", "MYCMD", ACRX_CMD_TRANSPARENT, OnCmdMy, nullptr, (UINT)-1)
//   ADS_FUNCTION_ENTRY(myFn, "myfn", LispMyFn, false, (UINT)-1)
//   DBX_CLASS_ENTRY(MyEntity)
//   ARX_APP_ENTRY_POINT(theApp)   // defines acrxEntryPoint and acrxGetApiVersion
//
// Start-up (kInitAppMsg): unlock and register as MDI-aware through the dynamic
// linker when the flags say so; RegisterComponents(); every class entry's init
// function (its flag set to 1), then acrxBuildClassHierarchy when any ran; then
// (AcRxArxApp) every command entry goes to the command stack. kLoadDwgMsg
// defines the LISP functions numbered 0, 1, ... in table order (non-null
// entries only), kUnloadDwgMsg undefines them, kInvkSubrMsg calls the one
// acedGetFunCode names. kUnloadAppMsg deletes the classes (a class's children
// first) and removes the commands.

#include "arx/edcommand.h"
#include "arx/rxobject.h"

struct ArxCommandEntry {
  const char* group;
  const char* globalName;
  const char* localName;  // null: loaded from the string table by localNameId
  int flags;
  AcRxFunctionPtr handler;
  AcEdUIContext* uiContext;
  UINT localNameId;  // (UINT)-1 when none
};

struct AdsFunctionEntry {
  const char* name;  // null: loaded from the string table by nameId
  int (*handler)();
  bool registerAsFunction;  // also registered with acedRegFunc
  UINT nameId;
};

struct CustomClassEntry {
  AcRxClass* (*desc)();
  void (*init)();
  BYTE initialised;
};

namespace platform {
// The bounds of a module's three tables.
struct ArxAppTables {
  ArxCommandEntry** commandsBegin = nullptr;
  ArxCommandEntry** commandsEnd = nullptr;
  AdsFunctionEntry** functionsBegin = nullptr;
  AdsFunctionEntry** functionsEnd = nullptr;
  CustomClassEntry** classesBegin = nullptr;
  CustomClassEntry** classesEnd = nullptr;
};
}  // namespace platform

class PLATFORM_API AcRxDbxApp {
 public:
  AcRxDbxApp();
  virtual ~AcRxDbxApp();

  // One handler per message, in this order.
  virtual AcRx::AppRetCode OnInitApp(void* pkt);       // 1
  virtual AcRx::AppRetCode OnUnloadApp(void* pkt);     // 2
  virtual AcRx::AppRetCode OnLoadDwg(void* pkt);       // 3
  virtual AcRx::AppRetCode OnUnloadDwg(void* pkt);     // 4
  virtual AcRx::AppRetCode OnInvokeFunction(void* pkt);  // 5
  virtual AcRx::AppRetCode OnConfig(void* pkt);        // 6
  virtual AcRx::AppRetCode OnEnd(void* pkt);           // 7
  virtual AcRx::AppRetCode OnQuit(void* pkt);          // 8
  virtual AcRx::AppRetCode OnSaveDwg(void* pkt);       // 9
  virtual AcRx::AppRetCode OnDependency(void* pkt);    // 10
  virtual AcRx::AppRetCode OnNoDependency(void* pkt);  // 11
  virtual AcRx::AppRetCode OnOleUnloadApp(void* pkt);  // 12
  virtual AcRx::AppRetCode OnPreQuit(void* pkt);       // 13
  virtual AcRx::AppRetCode OnInitDialog(void* pkt);    // 14
  virtual AcRx::AppRetCode OnEndDialog(void* pkt);     // 15
  virtual AcRx::AppRetCode OnNullMsg(void* pkt);       // 0
  // Registration hook, run at start-up before the classes are registered.
  virtual void RegisterComponents();

  // Passes a message to its handler: codes 1 to 15 and 0; any other code
  // returns kRetOK without a call.
  AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* pkt);
  // The module's tables (set by ARX_APP_ENTRY_POINT before each message).
  void SetTables(const platform::ArxAppTables& tables) { m_tables = tables; }
  const platform::ArxAppTables& Tables() const { return m_tables; }

  HINSTANCE m_hdllInstance = nullptr;  // the module's instance (set at start-up when still null)
  BYTE m_bUnlockApp = 1;
  BYTE m_bMDIAware = 1;

 protected:
  platform::ArxAppTables m_tables;
};

class PLATFORM_API AcRxArxApp : public AcRxDbxApp {
 public:
  AcRx::AppRetCode OnInitApp(void* pkt) override;
  AcRx::AppRetCode OnUnloadApp(void* pkt) override;
  AcRx::AppRetCode OnLoadDwg(void* pkt) override;
  AcRx::AppRetCode OnUnloadDwg(void* pkt) override;
  AcRx::AppRetCode OnInvokeFunction(void* pkt) override;
};

// The linker's bounds of the three sections, in the module that uses them.
extern "C" {
extern ArxCommandEntry* __start_ARXCOMMA[] __attribute__((weak, visibility("hidden")));
extern ArxCommandEntry* __stop_ARXCOMMA[] __attribute__((weak, visibility("hidden")));
extern AdsFunctionEntry* __start_ADSSYMBO[] __attribute__((weak, visibility("hidden")));
extern AdsFunctionEntry* __stop_ADSSYMBO[] __attribute__((weak, visibility("hidden")));
extern CustomClassEntry* __start_DBXCUSTO[] __attribute__((weak, visibility("hidden")));
extern CustomClassEntry* __stop_DBXCUSTO[] __attribute__((weak, visibility("hidden")));
}

#define ARX_TABLE_SLOT_(SECTION, TYPE, ID)                                              \
  __attribute__((used, section(SECTION))) static TYPE* ID##_slot_ = &ID##_entry_;

// One command of the module's command table.
#define ARX_COMMAND_ENTRY(ID, GROUP, GLOBAL_NAME, LOCAL_NAME, FLAGS, HANDLER, UI_CONTEXT, LOCAL_NAME_ID)    \
  static ArxCommandEntry ID##_entry_ = {GROUP, GLOBAL_NAME, LOCAL_NAME, FLAGS, HANDLER, UI_CONTEXT, \
                                        static_cast<UINT>(LOCAL_NAME_ID)};                          \
  ARX_TABLE_SLOT_("ARXCOMMA", ArxCommandEntry, ID)

// One LISP function of the module's function table.
#define ADS_FUNCTION_ENTRY(ID, NAME, HANDLER, REGISTER_AS_FUNCTION, NAME_ID)                     \
  static AdsFunctionEntry ID##_entry_ = {NAME, HANDLER, REGISTER_AS_FUNCTION, static_cast<UINT>(NAME_ID)}; \
  ARX_TABLE_SLOT_("ADSSYMBO", AdsFunctionEntry, ID)

// One custom class (declared with ACRX_DECLARE_MEMBERS) of the module's class table.
#define DBX_CLASS_ENTRY(CLASS_NAME)                                                       \
  static CustomClassEntry CLASS_NAME##_entry_ = {&CLASS_NAME::desc, &CLASS_NAME::rxInit, 0}; \
  ARX_TABLE_SLOT_("DBXCUSTO", CustomClassEntry, CLASS_NAME)

// The module's exported entry points, passing every message to APP (the
// module's global application object) with the module's tables.
#define ARX_APP_ENTRY_POINT(APP)                                                                         \
  extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, \
                                                                                     void* pkt) {        \
    platform::ArxAppTables tables;                                                                      \
    tables.commandsBegin = __start_ARXCOMMA;                                                            \
    tables.commandsEnd = __stop_ARXCOMMA;                                                               \
    tables.functionsBegin = __start_ADSSYMBO;                                                           \
    tables.functionsEnd = __stop_ADSSYMBO;                                                              \
    tables.classesBegin = __start_DBXCUSTO;                                                             \
    tables.classesEnd = __stop_DBXCUSTO;                                                                \
    (APP).SetTables(tables);                                                                            \
    return (APP).EntryPoint(msg, pkt);                                                                  \
  }                                                                                                     \
  extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }

// The interface version the modules are built for.
#define ARX_API_VERSION 16
