#include "CSavedGifActions.h"

#include "CNLog.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

namespace pelidore {

namespace {

// Frees a global memory block unless the clipboard has taken it.
class CGlobalBlock {
public:
    explicit CGlobalBlock(HGLOBAL block) : m_Block(block) {}
    ~CGlobalBlock()
    {
        if (m_Block)
            GlobalFree(m_Block);
    }
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;

    HGLOBAL Get() const { return m_Block; }
    void Release() { m_Block = nullptr; }

private:
    HGLOBAL m_Block;
};

// The clipboard, opened for the owner window and closed on every path.
class CClipboard {
public:
    explicit CClipboard(HWND owner) : m_Open(OpenClipboard(owner) != FALSE) {}
    ~CClipboard()
    {
        if (m_Open)
            CloseClipboard();
    }
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;

    bool IsOpen() const { return m_Open; }
    // Hands the block to the clipboard, which owns it from then on.
    bool Put(UINT format, CGlobalBlock& block)
    {
        if (!SetClipboardData(format, block.Get()))
            return false;
        block.Release();
        return true;
    }

private:
    bool m_Open;
};

} // namespace

HGLOBAL CSavedGifActions::MakeFileList(const std::filesystem::path& gif)
{
    // DROPFILES, then the wide path and the empty name that ends the list.
    const std::wstring path = gif.wstring();
    const SIZE_T bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!block)
        return nullptr;
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    if (!files) {
        GlobalFree(block);
        return nullptr;
    }
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

HGLOBAL CSavedGifActions::MakeDropEffect()
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    if (!block)
        return nullptr;
    auto* effect = static_cast<DWORD*>(GlobalLock(block));
    if (!effect) {
        GlobalFree(block);
        return nullptr;
    }
    *effect = DROPEFFECT_COPY;
    GlobalUnlock(block);
    return block;
}

bool CSavedGifActions::CopyToClipboard(HWND owner, const std::filesystem::path& gif)
{
    CGlobalBlock files(MakeFileList(gif));
    CGlobalBlock effect(MakeDropEffect());
    const UINT effectFormat = RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT);
    CClipboard clipboard(owner);
    if (!files.Get() || !clipboard.IsOpen() || !EmptyClipboard() || !clipboard.Put(CF_HDROP, files)) {
        NLOG("CSavedGifActions::CopyToClipboard", CNLog::kLevelRefused, "clipboard refused, error %lu", GetLastError());
        return false;
    }
    // Without it some programs would take the file as one to move.
    if (effectFormat && effect.Get())
        clipboard.Put(effectFormat, effect);
    return true;
}

bool CSavedGifActions::ShowInFolder(const std::filesystem::path& gif)
{
    const std::wstring parameters = L"/select,\"" + gif.wstring() + L"\"";
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL));
    // ShellExecute reports success as a value above 32.
    if (result <= 32) {
        NLOG("CSavedGifActions::ShowInFolder", CNLog::kLevelRefused, "explorer not started (%d)",
             static_cast<int>(result));
        return false;
    }
    return true;
}

} // namespace pelidore
