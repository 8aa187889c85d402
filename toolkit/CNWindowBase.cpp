#include "toolkit/CNWindowBase.h"

#include "toolkit/CNControlBase.h"

CNWindowBase::CNWindowBase() = default;
CNWindowBase::~CNWindowBase() { Destroy(); }
HRESULT CNWindowBase::Create(HINSTANCE, HWND, const wchar_t*, DWORD, DWORD, int, int, int, int, int) { return E_FAIL; }
LRESULT CNWindowBase::OnMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
void CNWindowBase::Draw() {}
HRESULT CNWindowBase::OnCreate() { return 0; }
void CNWindowBase::OnHook() {}
int CNWindowBase::OnHookValue(int) { return 0; }
void CNWindowBase::OnMove(int, int, int, int) {}
LRESULT CNWindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}
HRESULT CNWindowBase::AddChild(CNControlBase*) { return E_FAIL; }
void CNWindowBase::ReleaseChildren() {}
BOOL CNWindowBase::Move(int, int, int, int, BOOL) { return FALSE; }
void CNWindowBase::Destroy() {}
LRESULT CALLBACK CNWindowBase::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}
HRESULT CNWindowBase::RegisterWindowClass(HINSTANCE, const wchar_t*, bool, const char*) { return E_FAIL; }
HRESULT CNWindowBase::CreateRegistered(HINSTANCE, HWND, const wchar_t*, DWORD, DWORD, int, int, int, int, bool,
                                       const char*)
{
    return E_FAIL;
}
void CNWindowBase::RunBuiltInReactions(HWND, UINT, WPARAM, LPARAM) {}
void CNWindowBase::OfferToChildren(HWND, UINT, WPARAM, LPARAM) {}
void CNWindowBase::ArmMouseTracking(HWND) {}
void CNWindowBase::PresentControl(LPARAM) {}
void CNWindowBase::PresentRectMessage(WPARAM, LPARAM) {}
void CNWindowBase::ForgetWindow() {}
