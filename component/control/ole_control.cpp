#include "component/control/ole_control.h"

#include "component/control/module.h"

namespace kvctl {
namespace {

constexpr wchar_t windowClassName[] = L"KvOleControl";

ATOM registerWindowClass(WNDPROC procedure)
{
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = thisModule();
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = windowClassName;
        return RegisterClassExW(&windowClass);
    }();
    return atom;
}

bool isActivatingVerb(LONG verb)
{
    return verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_SHOW || verb == OLEIVERB_UIACTIVATE ||
           verb == OLEIVERB_PRIMARY;
}

}  // namespace

OleControl::OleControl() { objectCreated(); }

OleControl::~OleControl()
{
    if (window_) {
        // The derived part is gone already: the window must not call back into it.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    objectDestroyed();
}

bool OleControl::queryOleInterface(REFIID iid, void** object)
{
    if (iid == IID_IOleObject)
        *object = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
        *object = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IOleInPlaceActiveObject)
        *object = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IViewObject || iid == IID_IViewObject2)
        *object = static_cast<IViewObject2*>(this);
    else if (iid == IID_IOleControl)
        *object = static_cast<IOleControl*>(this);
    else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
        *object = static_cast<IPersistStreamInit*>(this);
    else
        return false;
    static_cast<IOleObject*>(this)->AddRef();
    return true;
}

// ---- the control window

HRESULT OleControl::activate(IOleClientSite* activeSite, HWND parent, LPCRECT position)
{
    if (window_)
        return S_OK;
    IOleClientSite* site = activeSite ? activeSite : clientSite_.Get();
    if (!site || FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlaceSite_))))
        return E_UNEXPECTED;
    if (inPlaceSite_->CanInPlaceActivate() != S_OK) {
        inPlaceSite_.Reset();
        return E_FAIL;
    }
    inPlaceSite_->OnInPlaceActivate();

    HWND siteWindow = nullptr;
    if (FAILED(inPlaceSite_->GetWindow(&siteWindow)) || !siteWindow)
        siteWindow = parent;
    RECT area{};
    if (position) {
        area = *position;
    } else {
        Microsoft::WRL::ComPtr<IOleInPlaceFrame> frame;
        Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> document;
        RECT clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof frameInfo;
        inPlaceSite_->GetWindowContext(&frame, &document, &area, &clip, &frameInfo);
    }

    registerWindowClass(&OleControl::windowProcedure);
    CreateWindowExW(0, windowClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left,
                    area.top, area.right - area.left, area.bottom - area.top, siteWindow, nullptr, thisModule(), this);
    if (!window_) {
        inPlaceSite_->OnInPlaceDeactivate();
        inPlaceSite_.Reset();
        return E_FAIL;
    }
    onActivated();
    return S_OK;
}

// The window may have gone already, with the host's parent, before the host let go of the
// control: the site is still told and released, so that a later host can activate it anew.
void OleControl::deactivate()
{
    if (window_)
        DestroyWindow(window_);
    if (inPlaceSite_)
        inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_.Reset();
}

LRESULT CALLBACK OleControl::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* control = static_cast<OleControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        control->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<OleControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    // Whoever destroys the window (the control, or the system with its parent), the derived
    // control hears of it before it goes.
    if (message == WM_DESTROY)
        control->onDeactivating();
    LRESULT result = control->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        control->window_ = nullptr;
    }
    return result;
}

LRESULT OleControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        RECT client;
        GetClientRect(window_, &client);
        paint(dc, client);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void OleControl::paint(HDC dc, const RECT& client)
{
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// ---- IOleObject

HRESULT OleControl::SetClientSite(IOleClientSite* site)
{
    if (!site)
        deactivate();
    clientSite_ = site;
    return S_OK;
}

HRESULT OleControl::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    return clientSite_.CopyTo(site);
}

HRESULT OleControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT OleControl::Close(DWORD)
{
    deactivate();
    clientSite_.Reset();
    return S_OK;
}

HRESULT OleControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
HRESULT OleControl::GetMoniker(DWORD, DWORD, IMoniker**) { return E_NOTIMPL; }
HRESULT OleControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
HRESULT OleControl::GetClipboardData(DWORD, IDataObject**) { return E_NOTIMPL; }

HRESULT OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND parent, LPCRECT position)
{
    if (verb == OLEIVERB_HIDE) {
        deactivate();
        return S_OK;
    }
    if (!isActivatingVerb(verb))
        return OLEOBJ_S_INVALIDVERB;
    return activate(activeSite, parent, position);
}

HRESULT OleControl::EnumVerbs(IEnumOLEVERB**) { return OLEOBJ_E_NOVERBS; }
HRESULT OleControl::Update() { return S_OK; }
HRESULT OleControl::IsUpToDate() { return S_OK; }
HRESULT OleControl::GetUserClassID(CLSID*) { return E_NOTIMPL; }
HRESULT OleControl::GetUserType(DWORD, LPOLESTR*) { return OLE_S_USEREG; }

HRESULT OleControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!size)
        return E_POINTER;
    extent_ = *size;
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!size)
        return E_POINTER;
    *size = extent_;
    return S_OK;
}

HRESULT OleControl::Advise(IAdviseSink*, DWORD*) { return E_NOTIMPL; }
HRESULT OleControl::Unadvise(DWORD) { return E_NOTIMPL; }
HRESULT OleControl::EnumAdvise(IEnumSTATDATA**) { return E_NOTIMPL; }

HRESULT OleControl::GetMiscStatus(DWORD, DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
              OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

HRESULT OleControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- IOleWindow, IOleInPlaceObject

HRESULT OleControl::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

HRESULT OleControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT OleControl::InPlaceDeactivate()
{
    deactivate();
    return S_OK;
}

HRESULT OleControl::UIDeactivate() { return S_OK; }

HRESULT OleControl::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position)
        return E_POINTER;
    if (window_) {
        MoveWindow(window_, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    }
    return S_OK;
}

HRESULT OleControl::ReactivateAndUndo() { return E_NOTIMPL; }

// ---- IOleInPlaceActiveObject

HRESULT OleControl::TranslateAccelerator(LPMSG) { return S_FALSE; }
HRESULT OleControl::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT OleControl::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT OleControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT OleControl::EnableModeless(BOOL) { return S_OK; }

// ---- IViewObject2: the control draws itself in its own window; a host drawing a picture
// of it (printing, inactive display) gets the same painting.

HRESULT OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawInto, LPCRECTL bounds, LPCRECTL,
                         BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!drawInto || !bounds)
        return E_INVALIDARG;
    RECT area{bounds->left, bounds->top, bounds->right, bounds->bottom};
    paint(drawInto, area);
    return S_OK;
}

HRESULT OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) { return S_FALSE; }
HRESULT OleControl::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT OleControl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT OleControl::SetAdvise(DWORD, DWORD, IAdviseSink* sink)
{
    viewSink_ = sink;
    return S_OK;
}

HRESULT OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = DVASPECT_CONTENT;
    if (flags)
        *flags = 0;
    if (sink)
        viewSink_.CopyTo(sink);
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, SIZEL* size) { return GetExtent(aspect, size); }

// ---- IOleControl

HRESULT OleControl::GetControlInfo(CONTROLINFO*) { return E_NOTIMPL; }
HRESULT OleControl::OnMnemonic(MSG*) { return E_NOTIMPL; }
HRESULT OleControl::OnAmbientPropertyChange(DISPID) { return S_OK; }
HRESULT OleControl::FreezeEvents(BOOL) { return S_OK; }

// ---- IPersistStreamInit: nothing persists

HRESULT OleControl::GetClassID(CLSID*) { return E_NOTIMPL; }
HRESULT OleControl::IsDirty() { return S_FALSE; }
HRESULT OleControl::Load(IStream*) { return S_OK; }
HRESULT OleControl::Save(IStream*, BOOL) { return S_OK; }

HRESULT OleControl::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

HRESULT OleControl::InitNew() { return S_OK; }

}  // namespace kvctl
