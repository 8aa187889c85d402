#include "toolkit/CNControlBase.h"

#include "toolkit/NMessages.h"

CNControlBase::CNControlBase() = default;

CNControlBase::~CNControlBase() = default;

HRESULT CNControlBase::Create(HWND owner, CNScreen* screen, int id, int x, int y, int width, int height, int visible)
{
    m_hOwner = owner;
    m_pScreen = screen;
    m_nID = id;
    m_X = x;
    m_Y = y;
    m_Width = width;
    m_Height = height;
    m_bVisible = visible;
    m_bEnabled = 1;
    return OnCreate();
}

LRESULT CNControlBase::ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_bVisible || !m_bEnabled)
        return 0;
    LRESULT result = OnMessage(window, message, wParam, lParam);
    if (result != 0)
        return result;
    return DispatchMap(message, wParam, lParam);
}

void CNControlBase::Release()
{
    OnRelease();
    ClearMessageFuncs();
}

void CNControlBase::Draw(int mode)
{
    if (!m_bVisible)
        return;
    OnDraw();
    if (mode != 0 && m_hOwner)
        PostMessageW(m_hOwner, NWM_CONTROL_UPDATE, static_cast<WPARAM>(m_nID), reinterpret_cast<LPARAM>(this));
}

void CNControlBase::OnDraw() {}

HRESULT CNControlBase::OnCreate() { return 0; }

void CNControlBase::OnRelease() {}

LRESULT CNControlBase::OnMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
