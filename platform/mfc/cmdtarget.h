#pragma once
// CCmdTarget and message maps.
//
// A class's message map is a static table, written between BEGIN_MESSAGE_MAP
// and END_MESSAGE_MAP in its source; a message goes to the first entry that
// takes it, in the class's own table first, then its base classes' in turn.
// Command and notification ranges are matched in that order too, so of two
// overlapping ranges the one written first wins. Handlers are named with the
// class: ON_BN_CLICKED(IDC_BROWSE, &CMyDlg::OnBrowse); the ON_WM_ entries use
// the handler names and signatures the class library gives them (OnTimer,
// OnKillFocus, ...), found in the class or its bases.
//
//   class CMyDlg : public CDialog {
//     ...
//     afx_msg void OnBrowse();
//     afx_msg void OnTimer(UINT_PTR nIDEvent);
//     DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//     ON_BN_CLICKED(2002, &CMyDlg::OnBrowse)
//     ON_WM_TIMER()
//   END_MESSAGE_MAP()

#include "mfc/atltypes.h"
#include "mfc/cobject.h"
#include "win/winuser.h"

#define afx_msg

class CCmdTarget;
class CCmdUI;
class CWnd;
class CScrollBar;

namespace platform::afx {
// What a map entry's handler is given, and where it leaves its result.
struct MsgCall {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  UINT id = 0;               // WM_COMMAND, WM_NOTIFY: the control's id
  NMHDR* nmhdr = nullptr;    // WM_NOTIFY
  LRESULT* result = nullptr; // WM_NOTIFY: the notification's answer
  LRESULT lResult = 0;       // a window message's answer
  CCmdUI* cmdUI = nullptr;   // a command's update (CN_UPDATE_COMMAND_UI)
};
using Thunk = void (*)(CCmdTarget* target, MsgCall& call);
// The window object of a handle for a handler's argument (a temporary one
// when none is attached).
PLATFORM_API CWnd* wndOf(WPARAM hwnd);
PLATFORM_API CWnd* wndOf(LPARAM hwnd);
}  // namespace platform::afx

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // WM_xxx (WM_COMMAND, WM_NOTIFY for commands and notifications)
  UINT nCode;     // the control's notification code (16 bits for WM_NOTIFY)
  UINT nID;       // the first control id
  UINT nLastID;   // the last control id of a range
  platform::afx::Thunk pfn;  // null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg gets with a notification (nCode = MAKELONG(code, WM_NOTIFY)).
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

#define CN_COMMAND 0
// A command's update: OnCmdMsg with this code and a CCmdUI as pExtra asks the
// command's update handler (ON_UPDATE_COMMAND_UI) to enable, check or name
// the item that stands for it (mfc/cmdui.h).
#define CN_UPDATE_COMMAND_UI (static_cast<int>(0xFFFFFFFF))

// Where OnCmdMsg found a command's handler, when it is asked only that.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget = nullptr;
  platform::afx::Thunk pfn = nullptr;
};

class PLATFORM_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;
  // A command (nCode CN_COMMAND or a control's notification code), a
  // command's update (nCode CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) or a
  // notification (nCode MAKELONG(code, WM_NOTIFY), pExtra an AFX_NOTIFY) to
  // the first map entry that takes it; FALSE when none does. With
  // `pHandlerInfo` the entry is only looked for: it is filled in and the
  // handler is not run.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
  // The entry that takes a message: this class's map first, then its bases'.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                       \
 protected:                                         \
  static const AFX_MSGMAP* GetThisMessageMap();     \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    typedef theClass ThisClass;                                                        \
    typedef baseClass TheBaseClass;                                                    \
    static_assert(sizeof(ThisClass) > 0 && sizeof(TheBaseClass) > 0);                  \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                 \
  {0, 0, 0, 0, nullptr}                                                                   \
  }                                                                                       \
  ;                                                                                       \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                     \
  }

// The object a handler runs on.
#define AFX_THIS_ static_cast<ThisClass*>(t)
#define AFX_ENTRY_(message, notifyCode, firstId, lastId, body)                                   \
  {(UINT)(message), (UINT)(notifyCode), (UINT)(firstId), (UINT)(lastId),                          \
   [](CCmdTarget* t, ::platform::afx::MsgCall& c) { body; }},

// --- commands and control notifications ---------------------------------------------

#define ON_COMMAND(nID, memberFxn) AFX_ENTRY_(WM_COMMAND, CN_COMMAND, nID, nID, (void)c; (AFX_THIS_->*(memberFxn))())
// The update handler of a command: void OnUpdateX(CCmdUI* pCmdUI).
#define ON_UPDATE_COMMAND_UI(nID, memberFxn) \
  AFX_ENTRY_(WM_COMMAND, CN_UPDATE_COMMAND_UI, nID, nID, (AFX_THIS_->*(memberFxn))(c.cmdUI))
#define ON_COMMAND_RANGE(nID, nLastID, memberFxn) \
  AFX_ENTRY_(WM_COMMAND, CN_COMMAND, nID, nLastID, (AFX_THIS_->*(memberFxn))(c.id))
#define ON_CONTROL(wNotifyCode, nID, memberFxn) AFX_ENTRY_(WM_COMMAND, wNotifyCode, nID, nID, (void)c; (AFX_THIS_->*(memberFxn))())
#define ON_CONTROL_RANGE(wNotifyCode, nID, nLastID, memberFxn) \
  AFX_ENTRY_(WM_COMMAND, wNotifyCode, nID, nLastID, (AFX_THIS_->*(memberFxn))(c.id))
#define ON_NOTIFY(wNotifyCode, nID, memberFxn) \
  AFX_ENTRY_(WM_NOTIFY, (WORD)(int)(wNotifyCode), nID, nID, (AFX_THIS_->*(memberFxn))(c.nmhdr, c.result))
#define ON_NOTIFY_RANGE(wNotifyCode, nID, nLastID, memberFxn) \
  AFX_ENTRY_(WM_NOTIFY, (WORD)(int)(wNotifyCode), nID, nLastID, (AFX_THIS_->*(memberFxn))(c.id, c.nmhdr, c.result))

#define ON_BN_CLICKED(nID, memberFxn) ON_CONTROL(BN_CLICKED, nID, memberFxn)
#define ON_BN_DOUBLECLICKED(nID, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, nID, memberFxn)
#define ON_BN_SETFOCUS(nID, memberFxn) ON_CONTROL(BN_SETFOCUS, nID, memberFxn)
#define ON_BN_KILLFOCUS(nID, memberFxn) ON_CONTROL(BN_KILLFOCUS, nID, memberFxn)
#define ON_EN_CHANGE(nID, memberFxn) ON_CONTROL(EN_CHANGE, nID, memberFxn)
#define ON_EN_UPDATE(nID, memberFxn) ON_CONTROL(EN_UPDATE, nID, memberFxn)
#define ON_EN_SETFOCUS(nID, memberFxn) ON_CONTROL(EN_SETFOCUS, nID, memberFxn)
#define ON_EN_KILLFOCUS(nID, memberFxn) ON_CONTROL(EN_KILLFOCUS, nID, memberFxn)
#define ON_EN_MAXTEXT(nID, memberFxn) ON_CONTROL(EN_MAXTEXT, nID, memberFxn)
#define ON_CBN_SELCHANGE(nID, memberFxn) ON_CONTROL(CBN_SELCHANGE, nID, memberFxn)
#define ON_CBN_DBLCLK(nID, memberFxn) ON_CONTROL(CBN_DBLCLK, nID, memberFxn)
#define ON_CBN_SETFOCUS(nID, memberFxn) ON_CONTROL(CBN_SETFOCUS, nID, memberFxn)
#define ON_CBN_KILLFOCUS(nID, memberFxn) ON_CONTROL(CBN_KILLFOCUS, nID, memberFxn)
#define ON_CBN_EDITCHANGE(nID, memberFxn) ON_CONTROL(CBN_EDITCHANGE, nID, memberFxn)
#define ON_CBN_EDITUPDATE(nID, memberFxn) ON_CONTROL(CBN_EDITUPDATE, nID, memberFxn)
#define ON_CBN_DROPDOWN(nID, memberFxn) ON_CONTROL(CBN_DROPDOWN, nID, memberFxn)
#define ON_CBN_CLOSEUP(nID, memberFxn) ON_CONTROL(CBN_CLOSEUP, nID, memberFxn)
#define ON_CBN_SELENDOK(nID, memberFxn) ON_CONTROL(CBN_SELENDOK, nID, memberFxn)
#define ON_CBN_SELENDCANCEL(nID, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, nID, memberFxn)
#define ON_STN_CLICKED(nID, memberFxn) ON_CONTROL(STN_CLICKED, nID, memberFxn)
#define ON_STN_DBLCLK(nID, memberFxn) ON_CONTROL(STN_DBLCLK, nID, memberFxn)

// --- window messages --------------------------------------------------------------

#define ON_MESSAGE(message, memberFxn) \
  AFX_ENTRY_(message, 0, 0, 0, c.lResult = (AFX_THIS_->*(memberFxn))(c.wParam, c.lParam))

#define AFX_WM_(message, call) AFX_ENTRY_(message, 0, 0, 0, call)
#define AFX_POINT_ CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam))

#define ON_WM_CREATE() AFX_WM_(WM_CREATE, c.lResult = AFX_THIS_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam)))
#define ON_WM_DESTROY() AFX_WM_(WM_DESTROY, (void)c; AFX_THIS_->OnDestroy())
#define ON_WM_NCDESTROY() AFX_WM_(WM_NCDESTROY, (void)c; AFX_THIS_->OnNcDestroy())
#define ON_WM_CLOSE() AFX_WM_(WM_CLOSE, (void)c; AFX_THIS_->OnClose())
#define ON_WM_SIZE() \
  AFX_WM_(WM_SIZE, AFX_THIS_->OnSize(static_cast<UINT>(c.wParam), (short)LOWORD(c.lParam), (short)HIWORD(c.lParam)))
#define ON_WM_MOVE() AFX_WM_(WM_MOVE, AFX_THIS_->OnMove((short)LOWORD(c.lParam), (short)HIWORD(c.lParam)))
#define ON_WM_TIMER() AFX_WM_(WM_TIMER, AFX_THIS_->OnTimer(static_cast<UINT_PTR>(c.wParam)))
#define AFX_KEY_ARGS_ static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)
#define ON_WM_KEYDOWN() AFX_WM_(WM_KEYDOWN, AFX_THIS_->OnKeyDown(AFX_KEY_ARGS_))
#define ON_WM_KEYUP() AFX_WM_(WM_KEYUP, AFX_THIS_->OnKeyUp(AFX_KEY_ARGS_))
#define ON_WM_CHAR() AFX_WM_(WM_CHAR, AFX_THIS_->OnChar(AFX_KEY_ARGS_))
#define ON_WM_SYSKEYDOWN() AFX_WM_(WM_SYSKEYDOWN, AFX_THIS_->OnSysKeyDown(AFX_KEY_ARGS_))
#define ON_WM_SYSCHAR() AFX_WM_(WM_SYSCHAR, AFX_THIS_->OnSysChar(AFX_KEY_ARGS_))
#define ON_WM_SETFOCUS() AFX_WM_(WM_SETFOCUS, AFX_THIS_->OnSetFocus(::platform::afx::wndOf(c.wParam)))
#define ON_WM_KILLFOCUS() AFX_WM_(WM_KILLFOCUS, AFX_THIS_->OnKillFocus(::platform::afx::wndOf(c.wParam)))
#define ON_WM_GETDLGCODE() AFX_WM_(WM_GETDLGCODE, c.lResult = static_cast<LRESULT>(AFX_THIS_->OnGetDlgCode()))
#define AFX_MOUSE_(message, fn) AFX_WM_(message, AFX_THIS_->fn(static_cast<UINT>(c.wParam), AFX_POINT_))
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEWHEEL()                                                                                  \
  AFX_WM_(WM_MOUSEWHEEL, c.lResult = AFX_THIS_->OnMouseWheel(LOWORD(c.wParam), GET_WHEEL_DELTA_WPARAM(c.wParam), \
                                                             AFX_POINT_))
#define ON_WM_CAPTURECHANGED() AFX_WM_(WM_CAPTURECHANGED, AFX_THIS_->OnCaptureChanged(::platform::afx::wndOf(c.lParam)))
#define AFX_SCROLL_(message, fn)                                                                   \
  AFX_WM_(message, AFX_THIS_->fn(LOWORD(c.wParam), (short)HIWORD(c.wParam),                       \
                                 reinterpret_cast<CScrollBar*>(::platform::afx::wndOf(c.lParam))))
#define ON_WM_HSCROLL() AFX_SCROLL_(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_(WM_VSCROLL, OnVScroll)
#define ON_WM_SHOWWINDOW() \
  AFX_WM_(WM_SHOWWINDOW, AFX_THIS_->OnShowWindow(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam)))
#define ON_WM_ENABLE() AFX_WM_(WM_ENABLE, AFX_THIS_->OnEnable(static_cast<BOOL>(c.wParam)))
#define ON_WM_PAINT() AFX_WM_(WM_PAINT, (void)c; AFX_THIS_->OnPaint())
// The DC a paint message carries, as a (temporary) CDC.
#define AFX_DC_ CDC::FromHandle(reinterpret_cast<HDC>(c.wParam))
#define ON_WM_NCPAINT() AFX_WM_(WM_NCPAINT, (void)c; AFX_THIS_->OnNcPaint())
#define ON_WM_ERASEBKGND() \
  AFX_WM_(WM_ERASEBKGND, c.lResult = AFX_THIS_->OnEraseBkgnd(AFX_DC_))
// WM_CTLCOLORMSGBOX ... WM_CTLCOLORSTATIC to OnCtlColor, nCtlColor telling which.
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#define AFX_CTLCOLOR_(kind)                                                                                 \
  AFX_WM_(WM_CTLCOLORMSGBOX + (kind),                                                                       \
          c.lResult = reinterpret_cast<LRESULT>(AFX_THIS_->OnCtlColor(AFX_DC_, ::platform::afx::wndOf(c.lParam), \
                                                                      (kind))))
#define ON_WM_CTLCOLOR()                                                                                        \
  AFX_CTLCOLOR_(CTLCOLOR_MSGBOX) AFX_CTLCOLOR_(CTLCOLOR_EDIT) AFX_CTLCOLOR_(CTLCOLOR_LISTBOX)                    \
  AFX_CTLCOLOR_(CTLCOLOR_BTN) AFX_CTLCOLOR_(CTLCOLOR_DLG) AFX_CTLCOLOR_(CTLCOLOR_SCROLLBAR)                     \
  AFX_CTLCOLOR_(CTLCOLOR_STATIC)
#define ON_WM_SETCURSOR()                                                                                  \
  AFX_WM_(WM_SETCURSOR, c.lResult = AFX_THIS_->OnSetCursor(::platform::afx::wndOf(c.wParam), LOWORD(c.lParam), \
                                                           HIWORD(c.lParam)))
#define ON_WM_SYSCOMMAND() AFX_WM_(WM_SYSCOMMAND, AFX_THIS_->OnSysCommand(static_cast<UINT>(c.wParam), c.lParam))
#define ON_WM_GETMINMAXINFO() \
  AFX_WM_(WM_GETMINMAXINFO, AFX_THIS_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c.lParam)))
#define ON_WM_ACTIVATE()                                                                            \
  AFX_WM_(WM_ACTIVATE, AFX_THIS_->OnActivate(LOWORD(c.wParam), ::platform::afx::wndOf(c.lParam), \
                                             static_cast<BOOL>(HIWORD(c.wParam))))
#define ON_WM_CONTEXTMENU() \
  AFX_WM_(WM_CONTEXTMENU, AFX_THIS_->OnContextMenu(::platform::afx::wndOf(c.wParam), AFX_POINT_))
#define ON_WM_NCHITTEST() AFX_WM_(WM_NCHITTEST, c.lResult = AFX_THIS_->OnNcHitTest(AFX_POINT_))
#define ON_WM_INITMENUPOPUP()                                                                              \
  AFX_WM_(WM_INITMENUPOPUP, AFX_THIS_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(c.wParam)),   \
                                                      LOWORD(c.lParam), static_cast<BOOL>(HIWORD(c.lParam))))
#define ON_WM_SYSCOLORCHANGE() AFX_WM_(WM_SYSCOLORCHANGE, (void)c; AFX_THIS_->OnSysColorChange())
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_WM_(WM_WINDOWPOSCHANGED, AFX_THIS_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c.lParam)))
