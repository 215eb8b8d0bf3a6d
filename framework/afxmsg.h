// Message maps: each class lists the messages it handles; a window looks a
// message up in its own map, then in its base class's, and so on.
#pragma once
#include <windows.h>

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures the maps can call.
enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_vv,          // void ()
    AfxSig_vwl,         // void (UINT, LPARAM)           WM_SYSCOMMAND
    AfxSig_hv,          // HCURSOR ()                    WM_QUERYDRAGICON
    AfxSig_lwl,         // LRESULT (WPARAM, LPARAM)      private messages
    AfxSig_vwp,         // void (UINT, CPoint)           mouse messages
    AfxSig_vW,          // void (CWnd*)                  focus messages
    AfxSig_vNMHDRpl,    // void (NMHDR*, LRESULT*)       notifications
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message, or WM_COMMAND / WM_NOTIFY / AFX_WM_REFLECT_NOTIFY
    UINT nCode;      // notification code for commands and notifications
    UINT nID;        // first control id
    UINT nLastID;    // last control id
    UINT nSig;       // AfxSig
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// A WM_NOTIFY that the parent hands back to the control that sent it.
const UINT AFX_WM_REFLECT_NOTIFY = 0xBC00 + WM_NOTIFY;

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, AfxSig_end, nullptr } \
        }; \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        (void)sizeof(ThisClass); \
        return &messageMap; \
    }

// Checks the handler's type against the signature, then stores it untyped.
#define AFX_HANDLER(type, fn) \
    reinterpret_cast<AFX_PMSG>(static_cast<type>(&ThisClass::fn))

#define ON_WM_PAINT()          { WM_PAINT, 0, 0, 0, AfxSig_vv, AFX_HANDLER(void (CCmdTarget::*)(), OnPaint) },
#define ON_WM_CLOSE()          { WM_CLOSE, 0, 0, 0, AfxSig_vv, AFX_HANDLER(void (CCmdTarget::*)(), OnClose) },
#define ON_WM_SYSCOMMAND()     { WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, AFX_HANDLER(void (CCmdTarget::*)(UINT, LPARAM), OnSysCommand) },
#define ON_WM_QUERYDRAGICON()  { WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv, AFX_HANDLER(HCURSOR (CCmdTarget::*)(), OnQueryDragIcon) },
#define ON_WM_MOUSEMOVE()      { WM_MOUSEMOVE, 0, 0, 0, AfxSig_vwp, AFX_HANDLER(void (CCmdTarget::*)(UINT, CPoint), OnMouseMove) },
#define ON_WM_LBUTTONDOWN()    { WM_LBUTTONDOWN, 0, 0, 0, AfxSig_vwp, AFX_HANDLER(void (CCmdTarget::*)(UINT, CPoint), OnLButtonDown) },
#define ON_WM_LBUTTONUP()      { WM_LBUTTONUP, 0, 0, 0, AfxSig_vwp, AFX_HANDLER(void (CCmdTarget::*)(UINT, CPoint), OnLButtonUp) },
#define ON_WM_SETFOCUS()       { WM_SETFOCUS, 0, 0, 0, AfxSig_vW, AFX_HANDLER(void (CCmdTarget::*)(CWnd*), OnSetFocus) },
#define ON_WM_KILLFOCUS()      { WM_KILLFOCUS, 0, 0, 0, AfxSig_vW, AFX_HANDLER(void (CCmdTarget::*)(CWnd*), OnKillFocus) },
#define ON_MESSAGE(message, fn) { message, 0, 0, 0, AfxSig_lwl, AFX_HANDLER(LRESULT (CCmdTarget::*)(WPARAM, LPARAM), fn) },
#define ON_COMMAND(id, fn)     { WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_vv, AFX_HANDLER(void (CCmdTarget::*)(), fn) },
#define ON_BN_CLICKED(id, fn)  { WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_vv, AFX_HANDLER(void (CCmdTarget::*)(), fn) },
#define ON_NOTIFY_REFLECT(code, fn) \
    { AFX_WM_REFLECT_NOTIFY, static_cast<UINT>(code), 0, 0, AfxSig_vNMHDRpl, AFX_HANDLER(void (CCmdTarget::*)(NMHDR*, LRESULT*), fn) },
