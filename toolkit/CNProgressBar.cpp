#include "CNProgressBar.h"

#include "CNScreen.h"
#include "CNTheme.h"

#include <algorithm>

namespace pelidore {

CNProgressBar::CNProgressBar()
{
    m_ReadOnly = true;
}

CNProgressBar::~CNProgressBar() = default;

HRESULT CNProgressBar::SetBarImages(UINT backgroundId, UINT fillId)
{
    HRESULT result = SetImage(kImageBackground, backgroundId);
    if (FAILED(SetImage(kImageFill, fillId)))
        result = E_FAIL;
    return result;
}

void CNProgressBar::OnDraw()
{
    if (!m_Screen)
        return;
    if (m_Images[kImageBackground].IsLoaded()) {
        m_Screen->DrawImage(m_Images[kImageBackground], m_X, m_Y);
    } else {
        FillColor(CNTheme::FieldBack(), GetRect());
    }
    DrawFill();
}

HRESULT CNProgressBar::OnCreate()
{
    return CNSliderControl::OnCreate();
}

void CNProgressBar::OnRelease()
{
    CNSliderControl::OnRelease();
}

void CNProgressBar::DrawFill()
{
    bool horizontal = m_Orientation == kHorizontal;
    int length = static_cast<int>((horizontal ? m_Width : m_Height) * Fraction());
    if (length <= 0)
        return;
    const CNBitmap& fill = m_Images[kImageFill];
    if (fill.IsLoaded()) {
        int width = horizontal ? std::min(length, fill.Width()) : fill.Width();
        int height = horizontal ? fill.Height() : std::min(length, fill.Height());
        m_Screen->DrawImage(fill, m_X, m_Y, width, height, 0, 0);
        return;
    }
    FillColor(CNTheme::Accent(), m_X, m_Y, horizontal ? length : m_Width, horizontal ? m_Height : length);
}

} // namespace pelidore
