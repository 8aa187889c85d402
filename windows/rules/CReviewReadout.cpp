#include "CReviewReadout.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace pelidore {

namespace {

constexpr std::size_t kTextChars = 96;

} // namespace

std::wstring CReviewReadout::FrameText(int frame, int frameCount)
{
    return L"Frame " + std::to_wstring(frame + 1) + L" of " + std::to_wstring(frameCount);
}

std::wstring CReviewReadout::SecondsText(double seconds)
{
    if (!(seconds > 0.0)) // NaN too
        seconds = 0.0;
    wchar_t text[kTextChars];
    std::swprintf(text, kTextChars, L"%.2f s", seconds);
    return text;
}

std::wstring CReviewReadout::KeptText(int keptCount, double keptSeconds)
{
    const std::wstring frames = keptCount == 1 ? L" frame, " : L" frames, ";
    return L"Keeping " + std::to_wstring(keptCount) + frames + SecondsText(keptSeconds);
}

std::wstring CReviewReadout::SelectionText(int first, int last)
{
    if (first == last)
        return L"Frame " + std::to_wstring(first + 1) + L" selected";
    return L"Frames " + std::to_wstring(std::min(first, last) + 1) + L" to " +
           std::to_wstring(std::max(first, last) + 1) + L" selected";
}

} // namespace pelidore
