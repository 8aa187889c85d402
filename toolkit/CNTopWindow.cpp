#include "CNTopWindow.h"

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
    if (!m_ClassName.empty())
        UnregisterClassW(m_ClassName.c_str(), m_Instance);
}

HRESULT CNTopWindow::Create(HINSTANCE instance, HWND, const wchar_t* className, DWORD, DWORD, int x, int y, int width,
                            int height, int)
{
    return Create(instance, className, x, y, width, height);
}

HRESULT CNTopWindow::Create(HINSTANCE instance, const wchar_t* className, int x, int y, int width, int height)
{
    if (!className || !*className || FAILED(RegisterWindowClass(instance, className, false, kCreateName)))
        return E_FAIL;
    m_ClassName = className;
    m_Instance = instance;
    if (FAILED(CreateRegistered(instance, nullptr, className, kTopExStyle, WS_POPUP, x, y, width, height, true,
                                kCreateName)))
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
