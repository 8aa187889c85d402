#include "CFixedText.h"

namespace pelidore {

void CFixedText::Assign(std::u16string_view text)
{
    AssignUnits(text.data(), text.size());
}

std::u16string_view CFixedText::View() const
{
    std::size_t length = 0;
    while (length < kUnits && m_Units[length] != 0)
        ++length;
    return std::u16string_view(m_Units.data(), length);
}

} // namespace pelidore
