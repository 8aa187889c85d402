#include "CSaveWnd.h"

#include "CNColor.h"
#include "CNTheme.h"
#include "NControlMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

#include <cstdint>
#include <cwchar>
#include <utility>

namespace pelidore {

namespace {

constexpr int kBarX = 34;
constexpr int kBarY = 76;
constexpr int kBarHeight = 25;
constexpr RECT kCountArea = {34, 76, 321, 101};
constexpr RECT kStopPlace = {285, 73, 285 + 61, 73 + 31};
constexpr int kTitleTop = 35;
constexpr int kTitleBottom = 70;
constexpr BYTE kBarGrey = 160;
constexpr int kCentred = 1;

constexpr int kFontHeight = 17;
constexpr int kFontWeight = 800;
constexpr const wchar_t* kFontFace = L"Arial";

} // namespace

CSaveWnd::CSaveWnd() : CToolWnd(kHeight, IDB_SAVE_BACKGROUND) {}

CSaveWnd::~CSaveWnd() = default;

void CSaveWnd::SetProgress(unsigned total, int done)
{
    m_Total = total;
    m_Done = done;
    Draw();
}

void CSaveWnd::SetNote(std::wstring note, bool final)
{
    m_Note = std::move(note);
    m_NoteIsFinal = final;
    Draw();
}

int CSaveWnd::BarWidth() const
{
    if (m_Total == 0 || m_Done <= 0)
        return 0;
    const std::uint64_t done = static_cast<std::uint64_t>(m_Done) < m_Total ? m_Done : m_Total;
    return static_cast<int>(done * kBarWidth / m_Total);
}

HRESULT CSaveWnd::OnCreate()
{
    if (FAILED(LoadBackground()) || FAILED(m_Font.Create(kFontHeight, kFontWeight, kFontFace)) ||
        FAILED(AddButton(m_Stop, kStopButton, kStopPlace, IDB_CANCEL, IDB_CANCEL_PRESSED, CNButton::kPush)) ||
        FAILED(AddToolHandlers()) || FAILED(AddMessageFunc(NWM_BUTTON_CLICKED, &CSaveWnd::OnButtonClicked)))
        return E_FAIL;
    return S_OK;
}

void CSaveWnd::DrawDecorations()
{
    const int bar = BarWidth();
    if (bar > 0)
        m_Screen.FillRect(kBarGrey, kBarGrey, kBarGrey, 255, kBarX, kBarY, bar, kBarHeight);
    wchar_t count[32];
    if (std::swprintf(count, sizeof count / sizeof count[0], L"%d / %u", m_Done, m_Total) > 0)
        m_Screen.DrawText(m_Font, kCountArea, CNTheme::Text(), count, 0, kCentred, kCentred, true);
    const RECT title = {0, kTitleTop, m_Screen.Width(), kTitleBottom};
    std::wstring text = m_NoteIsFinal ? m_Note : L"Saving...";
    if (!m_NoteIsFinal && !m_Note.empty())
        text += L"  " + m_Note;
    m_Screen.DrawText(m_Font, title, CNTheme::Text(), text.c_str(), 0, kCentred, kCentred, true);
}

LRESULT CSaveWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    if (wParam == kStopButton)
        PostToOwner(CMD_CANCEL_SAVING);
    return 1;
}

} // namespace pelidore
