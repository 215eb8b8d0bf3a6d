#include "afxwin.h"
#include <commctrl.h>
#include <map>
#include <memory>

namespace {
CWinApp* g_pApp = nullptr;

// One user-interface thread: the handle maps and the message being handled
// need no lock.
std::map<HWND, CWnd*>& PermanentMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryMap()
{
    static std::map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

MSG g_currentMsg{};
int g_dispatchDepth = 0;

// Sets the message being handled for the life of one dispatch.
class CurrentMessage {
public:
    CurrentMessage(HWND h, UINT m, WPARAM w, LPARAM l) : m_saved(g_currentMsg)
    {
        g_currentMsg.hwnd = h;
        g_currentMsg.message = m;
        g_currentMsg.wParam = w;
        g_currentMsg.lParam = l;
        ++g_dispatchDepth;
    }
    ~CurrentMessage()
    {
        g_currentMsg = m_saved;
        if (--g_dispatchDepth == 0)
            TemporaryMap().clear();
    }
private:
    MSG m_saved;
};
} // namespace

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleA(nullptr); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }
LPCSTR AfxGetAppName() { return g_pApp ? g_pApp->m_pszAppName : ""; }

std::wstring AfxLoadStringW(UINT nID)
{
    wchar_t buffer[256];
    int n = ::LoadStringW(AfxGetResourceHandle(), nID, buffer, sizeof buffer / sizeof buffer[0]);
    return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

// ---------------------------------------------------------------- CCmdTarget

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, AfxSig_end, nullptr } };
    static const AFX_MSGMAP map = { nullptr, &entries[0] };
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!e)
        return FALSE;
    (this->*e->pfn)();
    return TRUE;
}

// ---------------------------------------------------------------- CWnd

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hWnd)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    std::unique_ptr<CWnd>& temp = TemporaryMap()[hWnd];
    if (!temp) {
        temp.reset(new CWnd);
        temp->m_hWnd = hWnd;
    }
    return temp.get();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        auto it = PermanentMap().find(h);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                                  AfxGetInstanceHandle(), nullptr);
    return hWnd ? SubclassWindow(hWnd) : FALSE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    BOOL ok = ::DestroyWindow(m_hWnd);
    if (m_hWnd)   // not ours to follow to WM_NCDESTROY: just forget it
        Detach();
    return ok;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd)
{
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(newStyle));
    return TRUE;
}

void CWnd::CenterWindow()
{
    RECT self, area;
    ::GetWindowRect(m_hWnd, &self);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    // The work area of the owner's monitor (or of the window's own when it
    // has no owner): an owner partly off the screen must not take the
    // window's buttons out of reach.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT work;
    if (::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        work = monitor.rcWork;
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        area = work;
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    // A window larger than the work area keeps its top-left corner, and so
    // its caption, inside it.
    if (x > work.right - width)
        x = work.right - width;
    if (x < work.left)
        x = work.left;
    if (y > work.bottom - height)
        y = work.bottom - height;
    if (y < work.top)
        y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    static CMenu menu;   // a view on the window's own menu, as long as the caller needs it
    menu.m_hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    return menu.m_hMenu ? &menu : nullptr;
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    std::wstring appName;
    if (lpszCaption == nullptr) {
        // The application's name came from the file system in the ANSI code page.
        LPCSTR name = AfxGetAppName();
        int n = ::MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
        if (n > 1) {
            appName.resize(static_cast<size_t>(n));
            ::MultiByteToWideChar(CP_ACP, 0, name, -1, &appName[0], n);
            appName.resize(static_cast<size_t>(n - 1));
        }
        lpszCaption = appName.c_str();
    }
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    if (message == WM_NOTIFYFORMAT && lParam == NF_QUERY) {
        // The procedure is wide, but the handlers read the ANSI form of
        // the notifications: a common control asks its parent which.
        *pResult = NFR_ANSI;
        return TRUE;
    }

    const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0);
    return e ? CallHandler(e, wParam, lParam, pResult) : FALSE;
}

BOOL CWnd::CallHandler(const AFX_MSGMAP_ENTRY* e, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    switch (e->nSig) {
    case AfxSig_vv:
        (this->*e->pfn)();
        break;
    case AfxSig_vwl:
        (this->*reinterpret_cast<void (CCmdTarget::*)(UINT, LPARAM)>(e->pfn))(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_hv:
        *pResult = reinterpret_cast<LRESULT>((this->*reinterpret_cast<HCURSOR (CCmdTarget::*)()>(e->pfn))());
        break;
    case AfxSig_lwl:
        *pResult = (this->*reinterpret_cast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(e->pfn))(wParam, lParam);
        break;
    case AfxSig_vwp:
        (this->*reinterpret_cast<void (CCmdTarget::*)(UINT, CPoint)>(e->pfn))(static_cast<UINT>(wParam), CPoint(lParam));
        break;
    case AfxSig_vW:
        (this->*reinterpret_cast<void (CCmdTarget::*)(CWnd*)>(e->pfn))(FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case AfxSig_vNMHDRpl:
        (this->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(e->pfn))(reinterpret_cast<NMHDR*>(lParam), pResult);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode))
        return TRUE;
    // Commands no window takes go to the application (Help).
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    CWnd* child = FromHandlePermanent(hdr->hwndFrom);
    return child && child->OnChildNotify(WM_NOTIFY, 0, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_NOTIFY)
        return FALSE;
    const AFX_MSGMAP_ENTRY* e = FindEntry(AFX_WM_REFLECT_NOTIFY, reinterpret_cast<NMHDR*>(lParam)->code, 0);
    return e ? CallHandler(e, wParam, lParam, pResult) : FALSE;
}

void CWnd::OnFinalNcDestroy()
{
    if (m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &CWnd::AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    CurrentMessage current(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into Windows; the message counts as handled.
        result = 0;
    }
    if (message == WM_NCDESTROY)
        wnd->OnFinalNcDestroy();
    return result;
}

// ---------------------------------------------------------------- DDX

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == nullptr)
        rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

// ---------------------------------------------------------------- CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal()
{
    HWND owner = nullptr;
    if (m_pParentWnd)
        owner = m_pParentWnd->m_hWnd;
    else if (CWnd* main = AfxGetMainWnd(); main && main != this && ::IsWindow(main->m_hWnd))
        owner = main->m_hWnd;
    return ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                             &CDialog::AfxDlgProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFYFORMAT && lParam == NF_QUERY) {
        // The template's common controls ask before the dialog is
        // subclassed: the answer is the framework's, as after.
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, NFR_ANSI);
        return TRUE;
    }
    if (message != WM_INITDIALOG)
        return FALSE;
    // From here on the dialog's messages come through AfxWndProc; what the
    // dialog does not handle goes on to the dialog manager's own procedure.
    CDialog* dlg = reinterpret_cast<CDialog*>(lParam);
    if (!dlg->Attach(hWnd))
        return FALSE;
    dlg->m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    RECT before;
    ::GetWindowRect(hWnd, &before);
    CurrentMessage current(hWnd, message, 0, lParam);
    BOOL result = FALSE;
    try {
        result = dlg->OnInitDialog();
    } catch (...) {
        result = FALSE;
    }
    // A dialog that its initialisation did not move is centred.
    RECT after;
    ::GetWindowRect(hWnd, &after);
    if (::EqualRect(&before, &after) && !(dlg->GetStyle() & DS_ABSALIGN))
        dlg->CenterWindow();
    return result;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

// ---------------------------------------------------------------- CWinApp

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    if (lpszAppName) {
        m_appName = lpszAppName;
        m_pszAppName = m_appName;
    }
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitApplication(HINSTANCE hInstance)
{
    m_hInstance = hInstance;
    // For the whole process a drive without its medium (a removed card or
    // disc) fails its file calls like a missing file instead of raising the
    // system's "no disk" box; whatever else the mode holds stays.
    ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS);

    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    m_helpPath = path;
    // The executable's name without folder and extension names the application.
    const char* name = path;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    CString exe(name);
    int dot = -1;
    for (const char* p = exe; *p; p = ::CharNextA(p))
        if (*p == '.')
            dot = static_cast<int>(p - static_cast<LPCSTR>(exe));
    m_exeName = dot >= 0 ? exe.Left(dot) : exe;
    m_pszExeName = m_exeName;
    if (m_pszAppName == nullptr) {
        m_appName = m_exeName;
        m_pszAppName = m_appName;
    }
    int pathDot = m_helpPath.GetLength() - (exe.GetLength() - (dot >= 0 ? dot : exe.GetLength()));
    m_helpPath = m_helpPath.Left(pathDot) + ".HLP";
    m_pszHelpFilePath = m_helpPath;

    INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_WIN95_CLASSES };
    return ::InitCommonControlsEx(&icc);
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

void CWinApp::OnHelp()
{
    ::WinHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, m_pszHelpFilePath, HELP_FINDER, 0);
}

void CWinApp::BeginWaitCursor()
{
    if (m_waitCount++ == 0)
        m_hcurWaitCursorRestore = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    else
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCount > 0 && --m_waitCount == 0)
        ::SetCursor(m_hcurWaitCursorRestore);
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr || !app->InitApplication(hInstance))
        return -1;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
