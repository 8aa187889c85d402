#pragma once

#include "CLockWnd.h"
#include "CNEdit.h"

namespace pelidore {

// The size lock strip: megabytes (0..999), 1 at first.
class CSizeLockWnd : public CLockWnd {
public:
    static constexpr int kWidth = 287;
    static constexpr const wchar_t* kTitle = L"Pelidore - SizeLock";
    enum FieldId : int { kMegabytesEdit = 0 };

    CSizeLockWnd();
    ~CSizeLockWnd() override;

    int LimitMegabytes() const;
    CNEdit& MegabytesEdit() { return m_Megabytes; }

protected:
    HRESULT CreateFields() override;

private:
    CNEdit m_Megabytes;
};

} // namespace pelidore
