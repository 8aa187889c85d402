#pragma once

#include "NWindows.h"

namespace pelidore {

// A memory DC that puts back what it had selected and deletes itself on every
// path. Select() remembers only the first original object of each kind the
// caller replaces, which is what DeleteDC needs to be safe.
class CNMemoryDC {
public:
    // Compatible with reference; null means the screen.
    explicit CNMemoryDC(HDC reference = nullptr);
    ~CNMemoryDC();
    CNMemoryDC(const CNMemoryDC&) = delete;
    CNMemoryDC& operator=(const CNMemoryDC&) = delete;

    HDC Get() const { return m_DC; }
    explicit operator bool() const { return m_DC != nullptr; }
    // Selects a bitmap; false when the DC does not accept it.
    bool SelectBitmap(HBITMAP bitmap);
    // Puts the original bitmap back (so the selected one can be deleted).
    void RestoreBitmap();

private:
    HDC m_DC = nullptr;
    HGDIOBJ m_OldBitmap = nullptr;
};

} // namespace pelidore
