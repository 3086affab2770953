#include "arx/apdocman.h"

#include "arx/edcmdline.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocument, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocManager, AcRxObject)

AcApDocument::AcApDocument() : m_fileName("Drawing1.dwg") {}

const char* AcApDocument::docTitle() const {
  size_t cut = m_fileName.find_last_of("/\\");
  m_title = cut == std::string::npos ? m_fileName : m_fileName.substr(cut + 1);
  return m_title.c_str();
}

bool AcApDocument::isQuiescent() const { return platform::activeCommandName().empty(); }

AcApDocManager::AcApDocManager() : m_document(new AcApDocument()) {}
AcApDocManager::~AcApDocManager() { delete m_document; }

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* doc, AcAp::DocLockMode mode, const char*, const char*,
                                               bool) {
  if (!doc || doc != m_document) return Acad::eInvalidInput;
  if (doc->m_lockCount == 0) doc->m_lockMode = mode == AcAp::kNone ? AcAp::kWrite : mode;
  ++doc->m_lockCount;
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* doc) {
  if (!doc || doc != m_document) return Acad::eInvalidInput;
  if (doc->m_lockCount == 0) return Acad::eNotLocked;
  if (--doc->m_lockCount == 0) doc->m_lockMode = AcAp::kNotLocked;
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* doc, const char* text, bool, bool, bool) {
  if (!doc || doc != m_document || !text) return Acad::eInvalidInput;
  platform::sendCommandString(text);
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::activateDocument(AcApDocument* doc, bool) {
  return doc && doc == m_document ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcApDocManager::setCurDocument(AcApDocument* doc, AcAp::DocLockMode, bool) {
  return doc && doc == m_document ? Acad::eOk : Acad::eInvalidInput;
}

void AcApDocManager::pushResourceHandle(HINSTANCE resource) { m_resources.push_back(resource); }

void AcApDocManager::popResourceHandle() {
  if (!m_resources.empty()) m_resources.pop_back();
}

HINSTANCE AcApDocManager::currentResourceHandle() const {
  return m_resources.empty() ? nullptr : m_resources.back();
}

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager* manager = [] {
    AcApDocument::rxInit();
    AcApDocManager::rxInit();
    acrxBuildClassHierarchy();
    return new AcApDocManager();
  }();
  return manager;
}
