#pragma once

#include "NWindows.h"

namespace pelidore {

// Owns one GDI object (bitmap, font, brush, pen) and deletes it on every path.
template <class Handle>
class CNGdiObject {
public:
    CNGdiObject() = default;
    explicit CNGdiObject(Handle handle) : m_Handle(handle) {}
    ~CNGdiObject() { Reset(); }
    CNGdiObject(const CNGdiObject&) = delete;
    CNGdiObject& operator=(const CNGdiObject&) = delete;
    CNGdiObject(CNGdiObject&& other) noexcept : m_Handle(other.Detach()) {}
    CNGdiObject& operator=(CNGdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    Handle Get() const { return m_Handle; }
    explicit operator bool() const { return m_Handle != nullptr; }
    // Hands the object over to the caller, who deletes it.
    Handle Detach()
    {
        Handle handle = m_Handle;
        m_Handle = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr)
    {
        if (m_Handle)
            DeleteObject(m_Handle);
        m_Handle = handle;
    }

private:
    Handle m_Handle = nullptr;
};

} // namespace pelidore
