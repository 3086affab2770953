#include "mfc/cmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e)
      if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // A notification comes as MAKELONG(code, WM_NOTIFY); a command as its code.
  UINT message = HIWORD(static_cast<UINT>(nCode));
  UINT code = LOWORD(static_cast<UINT>(nCode));
  if (message != WM_NOTIFY) {
    message = WM_COMMAND;
    code = static_cast<UINT>(nCode);
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
  if (!entry) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pfn = entry->pfn;
    return TRUE;
  }
  platform::afx::MsgCall call;
  call.message = message;
  call.id = nID;
  if (nCode == CN_UPDATE_COMMAND_UI) call.cmdUI = static_cast<CCmdUI*>(pExtra);
  if (message == WM_NOTIFY && pExtra) {
    AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
    call.nmhdr = notify->pNMHDR;
    call.result = notify->pResult;
  }
  // The handler may delete this object.
  entry->pfn(this, call);
  return TRUE;
}
