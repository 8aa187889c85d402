#include "CNControlFrame.h"

#include "CNLog.h"
#include "CNScreen.h"
#include "CNTheme.h"

namespace pelidore {

namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionHeight = 18;

} // namespace

CNControlFrame::CNControlFrame() : m_Edge(CNTheme::FrameEdge())
{
    m_Style.SetColor(CNTheme::TextDim());
}

CNControlFrame::~CNControlFrame() = default;

HRESULT CNControlFrame::AddControl(CNControlBase* control)
{
    if (!control)
        return E_FAIL;
    for (CNControlBase* held : m_Controls) {
        if (held->GetId() == control->GetId()) {
            NLOG("CNControlFrame::AddControl", CNLog::kLevelRefused, "find same window id %d", control->GetId());
            return E_FAIL;
        }
    }
    m_Controls.push_back(control);
    return S_OK;
}

void CNControlFrame::Release()
{
    for (CNControlBase* control : m_Controls)
        control->Release();
    m_Controls.clear();
    m_Style.Release();
    CNControlBase::Release();
}

void CNControlFrame::SetRect(int x, int y, int width, int height)
{
    int dx = x - m_X;
    int dy = y - m_Y;
    CNControlBase::SetRect(x, y, width, height);
    for (CNControlBase* control : m_Controls) {
        CNRect rect = control->GetRect();
        control->SetRect(rect.x + dx, rect.y + dy, -1, -1);
    }
}

void CNControlFrame::Draw(int mode)
{
    if (!m_Visible)
        return;
    CNControlBase::Draw(mode);
    for (CNControlBase* control : m_Controls)
        control->Draw(mode);
}

LRESULT CNControlFrame::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (auto it = m_Controls.rbegin(); it != m_Controls.rend(); ++it)
        (*it)->ProcessMessage(window, message, wParam, lParam);
    return 0;
}

void CNControlFrame::OnDraw()
{
    if (!m_Screen)
        return;
    int top = m_Text[0] != L'\0' ? m_Y + kCaptionHeight / 2 : m_Y;
    int bottom = m_Y + m_Height - 1;
    int right = m_X + m_Width - 1;
    FillColor(m_Edge, m_X, top, 1, bottom - top + 1);
    FillColor(m_Edge, right, top, 1, bottom - top + 1);
    FillColor(m_Edge, m_X, bottom, m_Width, 1);
    if (m_Text[0] == L'\0') {
        FillColor(m_Edge, m_X, top, m_Width, 1);
        return;
    }
    Gdiplus::SizeF caption = m_Screen->MeasureText(m_Style.Font(), m_Text, -1);
    int gapEnd = m_X + kCaptionIndent + static_cast<int>(caption.Width) + 4;
    FillColor(m_Edge, m_X, top, kCaptionIndent - 2, 1);
    if (gapEnd < right)
        FillColor(m_Edge, gapEnd, top, right - gapEnd + 1, 1);
    RECT rect{m_X + kCaptionIndent, m_Y, right, m_Y + kCaptionHeight};
    m_Screen->DrawText(m_Style.Font(), rect, m_Style.Color(), m_Text, 0, 0, 1, true);
}

void CNControlFrame::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    // The held controls hear nothing while the frame is silent: let them drop
    // their hover, press and drag states as if hidden themselves.
    for (CNControlBase* control : m_Controls) {
        if (!active && control->IsVisible()) {
            control->Show(false);
            control->Show(true);
        }
    }
}

} // namespace pelidore
