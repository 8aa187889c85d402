#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace pelidore {

// A text setting as the settings files hold it: 260 UTF-16 units, zero-
// terminated inside the buffer, unused units zero. Every way in keeps the
// terminator, so a file whose buffer is full to the last unit still yields a
// bounded string.
class CFixedText {
public:
    static constexpr std::size_t kUnits = 260;
    static constexpr std::size_t kMaxLength = kUnits - 1;

    CFixedText() = default;
    explicit CFixedText(std::u16string_view text) { Assign(text); }

    // Keeps the first kMaxLength units (or up to an embedded zero).
    void Assign(std::u16string_view text);
    // Same for a zero-terminated buffer of another 16-bit unit type (wchar_t
    // on Windows); reads at most `capacity` units.
    template <typename Unit>
    void AssignUnits(const Unit* text, std::size_t capacity);
    // Copies the text with its terminator into `out`, cut to capacity - 1.
    template <typename Unit>
    void CopyTo(Unit* out, std::size_t capacity) const;

    std::u16string_view View() const;
    std::size_t Length() const { return View().size(); }
    bool Empty() const { return m_Units[0] == 0; }
    const std::array<char16_t, kUnits>& Units() const { return m_Units; }

    bool operator==(const CFixedText& other) const { return m_Units == other.m_Units; }
    bool operator!=(const CFixedText& other) const { return !(*this == other); }

private:
    std::array<char16_t, kUnits> m_Units{};
};

template <typename Unit>
void CFixedText::AssignUnits(const Unit* text, std::size_t capacity)
{
    static_assert(sizeof(Unit) >= sizeof(char16_t), "16-bit text units expected");
    m_Units.fill(0);
    if (text == nullptr)
        return;
    for (std::size_t i = 0; i < capacity && i < kMaxLength && text[i] != 0; ++i)
        m_Units[i] = static_cast<char16_t>(text[i]);
}

template <typename Unit>
void CFixedText::CopyTo(Unit* out, std::size_t capacity) const
{
    if (out == nullptr || capacity == 0)
        return;
    std::size_t i = 0;
    for (; i + 1 < capacity && i < kMaxLength && m_Units[i] != 0; ++i)
        out[i] = static_cast<Unit>(m_Units[i]);
    out[i] = 0;
}

} // namespace pelidore
