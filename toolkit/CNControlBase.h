#pragma once

#include "toolkit/CNMessageMap.h"
#include "toolkit/CNRect.h"
#include "toolkit/NWindows.h"

class CNScreen;

// Base of the windowless controls. This first version holds only what the
// owner window (CNWindowBase) relies on; the control classes extend it.
//
// Contract with CNWindowBase:
//  - ProcessMessage: called for every message of the owner window, last added
//    control first; its result is ignored by the owner.
//  - Draw(mode): 0 = full draw into the owner's surface, 1 = update (the
//    control then posts NWM_CONTROL_UPDATE to its owner).
//  - Release: frees what the control holds (ReleaseChildren calls it).
//  - GetId: unique among the owner's children.
//  - GetRect: the control's rectangle in window coordinates.
class CNControlBase : public CNMessageMap {
public:
    CNControlBase();
    ~CNControlBase() override;

    HRESULT Create(HWND owner, CNScreen* screen, int id, int x, int y, int width, int height, int visible);

    LRESULT ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Release();
    virtual void Draw(int mode);

    int GetId() const { return m_nID; }
    CNRect GetRect() const { return CNRect{m_X, m_Y, m_Width, m_Height}; }

protected:
    virtual void OnDraw();
    virtual HRESULT OnCreate();
    virtual void OnRelease();
    virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hOwner = nullptr;
    CNScreen* m_pScreen = nullptr;
    int m_nID = 0;
    int m_bVisible = 0;
    int m_bEnabled = 0;
    int m_X = 0;
    int m_Y = 0;
    int m_Width = 0;
    int m_Height = 0;
};
