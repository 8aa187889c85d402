#include "CAboutWnd.h"

#include "CNTheme.h"
#include "NControlMessages.h"
#include "PelidoreVersion.h"
#include "ResourceIds.h"

namespace pelidore {

#define PELIDORE_WIDEN_(text) L##text
#define PELIDORE_WIDEN(text) PELIDORE_WIDEN_(text)

namespace {

constexpr const wchar_t kAboutText[] =
    L"Pelidore\n"
    L"Version " PELIDORE_WIDEN(PELIDORE_VERSION_STRING) L"\n"
                                                        L"Screen recordings as animated GIFs\n"
                                                        L"Contact: pelidore@example.org";

constexpr RECT kTextArea = {24, 45, 353, 170};
constexpr int kNear = 0;

constexpr int kFontHeight = 17;
constexpr int kFontWeight = 800;
constexpr const wchar_t* kFontFace = L"Arial";

} // namespace

CAboutWnd::CAboutWnd() : CToolWnd(kHeight, IDB_ABOUT_BACKGROUND) {}

CAboutWnd::~CAboutWnd() = default;

const wchar_t* CAboutWnd::Text()
{
    return kAboutText;
}

void CAboutWnd::DrawDecorations()
{
    m_Screen.DrawText(m_Font, kTextArea, CNTheme::Text(), kAboutText, 0, kNear, kNear, false);
}

HRESULT CAboutWnd::OnCreate()
{
    if (FAILED(CreateFrame(m_Close)) || FAILED(m_Font.Create(kFontHeight, kFontWeight, kFontFace)) ||
        FAILED(AddToolHandlers()) || FAILED(AddMessageFunc(NWM_BUTTON_CLICKED, &CAboutWnd::OnButtonClicked)))
        return E_FAIL;
    return S_OK;
}

LRESULT CAboutWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    if (wParam == kCloseButton)
        Hide();
    return 1;
}

} // namespace pelidore
