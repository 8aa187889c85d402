#include "windows/CWindowBackground.h"

#include "toolkit/CNLog.h"
#include "toolkit/CNScreen.h"
#include "toolkit/CNTopWindow.h"

HRESULT CWindowBackground::Load(UINT resourceId, const char* window)
{
    if (FAILED(m_Picture.LoadResource(CNTopWindow::ModuleInstance(), resourceId))) {
        NLOG(window, CNLog::kLevelCreateFailed, "no background picture %u", resourceId);
        return E_FAIL;
    }
    return 0;
}

void CWindowBackground::Paint(CNScreen& screen) const
{
    screen.ClearRect(0, 0, screen.Width(), screen.Height());
    screen.DrawImage(m_Picture, 0, 0);
}

void CWindowBackground::Restore(CNScreen& screen, const RECT& area) const
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    screen.ClearRect(area.left, area.top, width, height);
    screen.DrawImage(m_Picture, area.left, area.top, width, height, area.left, area.top);
}
