#pragma once
// The document manager. The host has one document, the drawing being edited;
// it is current and active for the whole run.
//
// sendStringToExecute puts text on the command line as if typed: it is read
// when the running command has ended, before the rest of the script (see
// arx/edcmdline.h).

#include <string>
#include <vector>

#include "arx/errorstatus.h"
#include "arx/rxobject.h"

class AcDbDatabase;

namespace AcAp {
enum DocLockMode {
  kNone = 0x00,
  kAutoWrite = 0x01,
  kNotLocked = 0x02,
  kWrite = 0x04,
  kProtectedAutoWrite = 0x14,
  kRead = 0x20,
  kXWrite = 0x40,
};
}  // namespace AcAp

class PLATFORM_API AcApDocument : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcApDocument);
  AcApDocument();

  const char* fileName() const { return m_fileName.c_str(); }
  const char* docTitle() const;
  // The drawing database of the document (set by the drawing layer).
  AcDbDatabase* database() const { return m_database; }
  AcAp::DocLockMode myLockMode() const { return m_lockCount > 0 ? m_lockMode : AcAp::kNotLocked; }
  int lockCount() const { return m_lockCount; }
  bool isQuiescent() const;

  void setFileName(const char* fileName) { m_fileName = fileName ? fileName : ""; }
  void setDatabase(AcDbDatabase* database) { m_database = database; }

 private:
  friend class AcApDocManager;
  std::string m_fileName;
  mutable std::string m_title;
  AcDbDatabase* m_database = nullptr;
  AcAp::DocLockMode m_lockMode = AcAp::kNotLocked;
  int m_lockCount = 0;
};

class PLATFORM_API AcApDocManager : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcApDocManager);
  AcApDocManager();
  ~AcApDocManager() override;

  AcApDocument* curDocument() const { return m_document; }
  AcApDocument* mdiActiveDocument() const { return m_document; }
  int documentCount() const { return 1; }

  // Locks nest: each lockDocument needs its unlockDocument. eInvalidInput for
  // a document that is not this manager's; eNotLocked when unlocking a
  // document that is not locked.
  Acad::ErrorStatus lockDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kWrite,
                                 const char* globalCmdName = nullptr, const char* localCmdName = nullptr,
                                 bool prompt = true);
  Acad::ErrorStatus unlockDocument(AcApDocument* doc);

  // Queues `text` for the command line of `doc`; eInvalidInput for another
  // document or no text.
  Acad::ErrorStatus sendStringToExecute(AcApDocument* doc, const char* text, bool activate = true,
                                        bool wrapUpInactiveDoc = false, bool echoString = true);
  Acad::ErrorStatus activateDocument(AcApDocument* doc, bool passScript = false);
  Acad::ErrorStatus setCurDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kNone, bool activate = false);

  // The resource handle stack of the modules' dialogs (pushed around a dialog).
  void pushResourceHandle(HINSTANCE resource);
  void popResourceHandle();
  HINSTANCE currentResourceHandle() const;

 private:
  AcApDocument* m_document;
  std::vector<HINSTANCE> m_resources;
};

PLATFORM_API AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
inline AcApDocument* curDoc() { return acDocManagerPtr()->curDocument(); }
