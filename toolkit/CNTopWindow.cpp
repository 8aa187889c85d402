#include "toolkit/CNTopWindow.h"

namespace pelidore {

namespace {

constexpr const char* kCreateName = "CNTopWindow::Create";
constexpr int kTopValue = 1000;
constexpr DWORD kTopExStyle = WS_EX_LAYERED | WS_EX_TOPMOST;

} // namespace

std::atomic<CNTopWindow*> CNTopWindow::s_Instance{nullptr};

CNTopWindow::CNTopWindow() = default;

CNTopWindow::~CNTopWindow()
{
    DestroyDetached();
    CNTopWindow* self = this;
    s_Instance.compare_exchange_strong(self, nullptr);
    // Lets a later top window of this process register the class again.
    if (m_OwnsClass)
        UnregisterClassW(kClassName, m_Instance);
}

HRESULT CNTopWindow::Create(HINSTANCE instance, HWND, const wchar_t*, DWORD, DWORD, int x, int y, int, int, int)
{
    return Create(instance, x, y);
}

HRESULT CNTopWindow::Create(HINSTANCE instance, int x, int y)
{
    if (RegisterWindowClass(instance, kClassName, false, kCreateName) != 0)
        return E_FAIL;
    m_OwnsClass = true;
    m_Instance = instance;
    if (CreateRegistered(instance, nullptr, kClassName, kTopExStyle, WS_POPUP, x, y, kWidth, kHeight, true,
                         kCreateName) != 0)
        return E_FAIL;
    m_TopValue = kTopValue;
    s_Instance.store(this);
    return OnCreate();
}

CNTopWindow* CNTopWindow::Instance()
{
    return s_Instance.load();
}

HINSTANCE CNTopWindow::ModuleInstance()
{
    CNTopWindow* top = s_Instance.load();
    if (top && top->GetInstance())
        return top->GetInstance();
    return GetModuleHandleW(nullptr);
}

} // namespace pelidore
